#include "views/FilenameView.h"

#include "document/MiradoDoc.h"
#include "drawing/PaneLayout.h"
#include "platform/qtcore/UiText.h"
#include "platform/qtcore/UserEvents.h"
#include "rendering/QtPainterSurface.h"

#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QLocale>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>

namespace mirado {

namespace {

constexpr Colour kEvenRowColour = Rgb(255, 255, 255);
constexpr Colour kOddRowColour = Rgb(240, 240, 240);
constexpr Colour kTextColour = Rgb(0, 0, 0);
constexpr Colour kBoxOutline = Rgb(0, 0, 0);
constexpr Colour kBoxInterior = Rgb(255, 255, 255);
const Pen kCrossPen{PenStyle::Solid, 1, Rgb(0, 0, 0)};
// A file that failed to load: its name in red, struck through.
constexpr Colour kDamagedTextColour = Rgb(192, 0, 0);
const Pen kDamagedStrikePen{PenStyle::Solid, 1, kDamagedTextColour};
// A file with unsaved edits: a mark after its name.
constexpr Colour kUnsavedMarkColour = Rgb(0, 0, 192);
constexpr const char* kUnsavedMark = " *";

constexpr int kListFontTenths = 90;
constexpr int kTextTop = 2;
constexpr int kBoxLeft = 4;
constexpr int kBoxRightPadding = 5;
constexpr int kWheelStepRows = 3;
constexpr int kWheelDegreesPerStep = 120;

int RowHeightFor(const FontMetrics& metrics) {
    const int h = metrics.height + metrics.externalLeading;
    return h + h / 3;
}

} // namespace

FontSpec CFilenameView::ListFont() {
    const QLocale locale = QLocale::system();
    const bool eastAsian =
        locale.language() == QLocale::Japanese ||
        (locale.language() == QLocale::Chinese && locale.territory() == QLocale::China);
    return FontSpec{eastAsian ? "ＭＳ ゴシック" : "Times New Roman", kListFontTenths, 0, 400};
}

Colour CFilenameView::RowColour(int screenRow) {
    return screenRow % 2 == 0 ? kEvenRowColour : kOddRowColour;
}

CFilenameView::CFilenameView(CMiradoDoc* document, QWidget* parent)
    : CViewBase(document, parent), scrollBar_(new QScrollBar(Qt::Vertical, this)),
      printSelected_(new QAction(UiText("Print selected files"), this)),
      printPreview_(new QAction(UiText("Print Preview"), this)),
      saveToText_(new QAction(UiText("Save to Textfile"), this)),
      sendToRecycleBin_(new QAction(UiText("Send to Recycle Bin"), this)),
      selectAll_(new QAction(UiText("Select all files"), this)),
      clearSelection_(new QAction(UiText("Clear selection"), this)),
      summary_(new QAction(UiText("Summary..."), this)) {
    // Printing, the text export, the recycle bin and the summary are wired by their own
    // features.
    printSelected_->setEnabled(false);
    printPreview_->setEnabled(false);
    saveToText_->setEnabled(false);
    sendToRecycleBin_->setEnabled(false);
    summary_->setEnabled(false);
    connect(selectAll_, &QAction::triggered, this, &CFilenameView::SelectAllRequested);
    connect(clearSelection_, &QAction::triggered, this, &CFilenameView::ClearSelectionRequested);

    scrollBar_->setObjectName(QStringLiteral("fileListScrollBar"));
    selectAll_->setObjectName(QStringLiteral("selectAllFiles"));
    clearSelection_->setObjectName(QStringLiteral("clearFileSelection"));
    scrollBar_->setSingleStep(1);
    scrollBar_->setPageStep(kPageRows);
    scrollBar_->setRange(0, 0);
    scrollBar_->hide();
    scrollBar_->setFocusPolicy(Qt::NoFocus);
    connect(scrollBar_, &QScrollBar::valueChanged, this, [this] { update(); });

    // The row height follows the list font from the start, so the scroll range is right
    // even when files arrive before the first paint.
    const QFont font = QtPainterSurface::MakeFont(ListFont(), this);
    const QFontMetrics metrics(font, this);
    rowHeight_ = RowHeightFor({metrics.height(), metrics.ascent(), std::max(metrics.leading(), 0),
                               metrics.averageCharWidth()});
}

CMiradoDoc* CFilenameView::GetDocument() const {
    return static_cast<CMiradoDoc*>(Document());
}

QRect CFilenameView::CalcWindowRect(const QRect& area) const {
    const int right = area.left() + area.width();
    return FromEdges(right - kSideColumnWidth, area.top(), right, area.top() + area.height());
}

void CFilenameView::OnInitialUpdate() {
    scrollBar_->setRange(0, 0);
    scrollBar_->hide();
    CViewBase::OnInitialUpdate();
}

int CFilenameView::GetFirstRow() const {
    return scrollBar_->value();
}

int CFilenameView::ClientWidth() const {
    return scrollBar_->isHidden() ? width() : width() - scrollBar_->sizeHint().width();
}

void CFilenameView::PlaceScrollBar() {
    const int barWidth = scrollBar_->sizeHint().width();
    scrollBar_->setGeometry(width() - barWidth, 0, barWidth, height());
}

void CFilenameView::UpdateScrollRange(bool resetPosition) {
    visibleRows_ = rowHeight_ > 0 ? ClientHeight() / rowHeight_ : 0;
    if (fileCount_ != 0 && fileCount_ > visibleRows_) {
        const int position = scrollBar_->value();
        scrollBar_->setRange(0, fileCount_ - visibleRows_);
        scrollBar_->setValue(resetPosition ? 0 : position);
        scrollBar_->show();
    } else {
        scrollBar_->setRange(0, 0);
        scrollBar_->hide();
    }
    PlaceScrollBar();
    update();
}

void CFilenameView::UpdateFileCount() {
    const CMiradoDoc* doc = GetDocument();
    if (doc == nullptr)
        return;
    fileCount_ = doc->GetFileCount();
    UpdateScrollRange(true);
}

void CFilenameView::SetCurrentRow(int index) {
    currentRow_ = index;
    const int offset = index - GetFirstRow();
    if (offset < 0 || offset >= visibleRows_)
        scrollBar_->setValue(index);
    update();
}

void CFilenameView::MeasureRowHeight(IDrawingSurface& surface) {
    surface.SetFont(ListFont());
    const int measured = RowHeightFor(surface.GetFontMetrics());
    if (measured > 0 && measured != rowHeight_) {
        rowHeight_ = measured;
        UpdateScrollRange(false);
    }
}

void CFilenameView::OnEraseBackground(IDrawingSurface& surface) {
    MeasureRowHeight(surface);
    const Rect client = ClientRect();
    for (int band = 0, top = client.top; top < client.bottom; ++band, top += rowHeight_)
        surface.FillRect(Rect{client.left, top, client.right, top + rowHeight_}, RowColour(band));
    surface.SelectSystemFont();
}

void CFilenameView::DrawRow(IDrawingSurface& surface, int screenRow, int index) const {
    const CMiradoDoc& doc = *GetDocument();
    const int h = rowHeight_;
    surface.SetTextBackground(RowColour(screenRow));
    if (doc.IsDamagedAt(index))
        DrawDamagedName(surface, screenRow, doc.GetNameAt(index));
    else
        surface.TextOut(kTextX, kTextTop + screenRow * h, doc.GetNameAt(index));
    if (doc.HasUnsavedEditsAt(index)) {
        surface.SetTextColour(kUnsavedMarkColour);
        surface.TextOut(kTextX + surface.TextWidth(doc.GetNameAt(index)), kTextTop + screenRow * h,
                        kUnsavedMark);
        surface.SetTextColour(kTextColour);
    }

    const int boxRight = (2 * h) / 3 + kBoxRightPadding;
    const int top = screenRow * h + h / 6;
    const int bottom = top + (2 * h) / 3 + 1;
    const Rect box{kBoxLeft, top, boxRight, bottom};
    surface.FillRect(box, kBoxInterior);
    surface.FrameRect(box, kBoxOutline);
    if (doc.IsSelected(index)) {
        surface.SetPen(kCrossPen);
        surface.MoveTo(kBoxLeft, top);
        surface.LineTo(boxRight, bottom);
        surface.MoveTo(kBoxLeft, bottom - 1);
        surface.LineTo(boxRight - 1, top);
    }
}

void CFilenameView::DrawDamagedName(IDrawingSurface& surface, int screenRow,
                                    const std::string& name) const {
    const int top = kTextTop + screenRow * rowHeight_;
    surface.SetTextColour(kDamagedTextColour);
    surface.TextOut(kTextX, top, name);
    surface.SetTextColour(kTextColour);
    const int middle = top + surface.GetFontMetrics().ascent * 2 / 3;
    surface.SetPen(kDamagedStrikePen);
    surface.MoveTo(kTextX, middle);
    surface.LineTo(kTextX + surface.TextWidth(name), middle);
}

bool CFilenameView::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return CViewBase::event(event);
    // The tool tip of a row is its file's full path.
    const auto* help = static_cast<QHelpEvent*>(event);
    const auto hit = HitTest(help->pos().x(), help->pos().y());
    if (hit.has_value())
        QToolTip::showText(help->globalPos(), QString::fromStdString(ToolTipAt(hit->index)), this);
    else
        QToolTip::hideText();
    return true;
}

std::string CFilenameView::ToolTipAt(int index) const {
    const CMiradoDoc* doc = GetDocument();
    if (doc == nullptr)
        return {};
    if (doc->HasUnsavedEditsAt(index))
        return doc->GetPathAt(index) + "\n" + UiText("Unsaved changes").toStdString();
    return doc->GetPathAt(index);
}

void CFilenameView::OnDraw(IDrawingSurface& surface) {
    if (fileCount_ == 0 || GetDocument() == nullptr)
        return;
    const int first = GetFirstRow();
    surface.SetFont(ListFont());
    surface.SetTextColour(kTextColour);
    surface.SetBackgroundMode(BackgroundMode::Opaque);
    for (int i = 0; i < visibleRows_ && first + i < fileCount_; ++i)
        DrawRow(surface, i, first + i);

    const int offset = currentRow_ - first;
    if (currentRow_ >= 0 && offset >= 0 && offset < visibleRows_) {
        const int top = ClientRect().top + offset * rowHeight_;
        surface.InvertRect(Rect{kCheckBoxColumn, top, ClientWidth(), top + rowHeight_});
    }
    surface.SelectSystemFont();
}

std::optional<CFilenameView::Hit> CFilenameView::HitTest(int x, int y) const {
    // A release outside the pane (the button was pressed here and let go elsewhere) is
    // not a click on a row, not even on a file scrolled out of sight below the pane.
    if (rowHeight_ <= 0 || x < 0 || y < 0 || x >= ClientWidth() || y >= ClientHeight())
        return std::nullopt;
    const int index = GetFirstRow() + y / rowHeight_;
    if (index < 0 || index >= fileCount_)
        return std::nullopt;
    return Hit{x < kCheckBoxColumn ? WM_TOGGLE_FILE : WM_SELECT_FILE, index};
}

void CFilenameView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const QPoint p = event->position().toPoint();
        const auto hit = HitTest(p.x(), p.y());
        if (hit && (event->modifiers() & Qt::ShiftModifier) != 0)
            MarkRangeTo(hit->index);
        else if (hit)
            PostUserMessage(window(), static_cast<UserMessage>(hit->message), hit->index, 0);
    }
    CViewBase::mouseReleaseEvent(event);
}

// Shift+click: every file from the current one to the clicked one gets its mark; the
// current file stays.
void CFilenameView::MarkRangeTo(int index) {
    CMiradoDoc* doc = GetDocument();
    if (doc == nullptr || index < 0 || index >= doc->GetFileCount())
        return;
    const int current = std::clamp(doc->GetCurrentIndex(), 0, doc->GetFileCount() - 1);
    for (int i = std::min(current, index); i <= std::max(current, index); ++i)
        if (!doc->IsSelected(i))
            doc->ToggleSelected(i);
    doc->UpdateAllViews();
}

QMenu* CFilenameView::CreateSelectionMenu(QWidget* parent) {
    auto* menu = new QMenu(UiText("Selection"), parent);
    menu->addAction(printSelected_);
    menu->addAction(printPreview_);
    menu->addAction(saveToText_);
    menu->addAction(sendToRecycleBin_);
    menu->addSeparator();
    menu->addAction(selectAll_);
    menu->addAction(clearSelection_);
    menu->addSeparator();
    menu->addAction(summary_);
    return menu;
}

void CFilenameView::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = CreateSelectionMenu(this);
    menu->exec(event->globalPos());
    delete menu;
}

void CFilenameView::resizeEvent(QResizeEvent* event) {
    CViewBase::resizeEvent(event);
    UpdateScrollRange(false);
}

void CFilenameView::wheelEvent(QWheelEvent* event) {
    const int steps = event->angleDelta().y() / kWheelDegreesPerStep;
    if (steps != 0)
        scrollBar_->setValue(scrollBar_->value() - steps * kWheelStepRows);
    event->accept();
}

} // namespace mirado
