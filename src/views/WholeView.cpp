#include "views/WholeView.h"

#include "document/MiradoDoc.h"
#include "drawing/PaneLayout.h"
#include "drawing/WholeDrawing.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

namespace mirado {

CWholeView::CWholeView(CMiradoDoc* document, QWidget* parent) : CWaveView(document, parent) {
    HorizontalScrollBar()->hide();
}

void CWholeView::OnInitialUpdate() {
    HorizontalScrollBar()->setRange(0, 0);
    HorizontalScrollBar()->hide();
}

QRect CWholeView::CalcWindowRect(const QRect& area) const {
    return FromEdges(kSideColumnWidth, area.top(), area.x() + area.width() - kSideColumnWidth,
                     area.top() + kOverviewBandHeight);
}

void CWholeView::SetNavigatedView(CWaveView* view) {
    if (navigated_ != nullptr)
        disconnect(navigated_, nullptr, this, nullptr);
    navigated_ = view;
    if (view != nullptr)
        connect(view, &CWaveView::VisibleSpanChanged, this, [this] { update(); });
    update();
}

void CWholeView::OnEraseBackground(IDrawingSurface& surface) {
    surface.FillRect(ClientRect(), overviewBackground_);
}

void CWholeView::OnDraw(IDrawingSurface& surface) {
    clientRect_ = WaveClientRect();
    tickCount_ = 0;
    const CMiradoDoc* doc = GetDocument();
    if (doc == nullptr || !doc->IsLoaded() || !doc->IsCurrentRecordUsable())
        return;
    if (Navigates())
        DrawVisibleSpan(surface, clientRect_, navigated_->ScrollOffset(),
                        SamplesAcross(navigated_->ZoomIndex()));
    baselines_.pressure = OverviewBaseline(clientRect_.Height());
    tickCount_ = DrawWholeRecording(surface, clientRect_, doc->GetPulseSamples(),
                                    doc->GetBeatPositions(), pens_.tick);
}

// Only a zoomed wave view has a span to show and move.
bool CWholeView::Navigates() const {
    const CMiradoDoc* doc = GetDocument();
    return navigated_ != nullptr && navigated_->ZoomIndex() != 0 && doc != nullptr &&
           doc->IsLoaded() && doc->IsCurrentRecordUsable();
}

int CWholeView::SampleUnder(int x) const {
    return mirado::SampleAtX(x, WaveClientRect().Width(), 0, 0);
}

std::optional<PointerReadout> CWholeView::ReadoutAtX(int x) const {
    const CMiradoDoc* doc = GetDocument();
    if (doc == nullptr || !doc->IsLoaded() || !doc->IsCurrentRecordUsable())
        return std::nullopt;
    return OverviewReadoutAt(*doc, SampleUnder(x));
}

void CWholeView::OnNavigate(int x) {
    if (Navigates())
        navigated_->ScrollTo(CentredOffset(SampleUnder(x), navigated_->ZoomIndex()));
}

// A navigating click leaves the keyboard with the wave view, so Left and Right go on
// travelling from where the click put the span.
void CWholeView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && Navigates()) {
        OnNavigate(static_cast<int>(event->position().x()));
        navigated_->setFocus();
    }
    event->accept();
}

void CWholeView::mouseMoveEvent(QMouseEvent* event) {
    if ((event->buttons() & Qt::LeftButton) != 0)
        OnNavigate(static_cast<int>(event->position().x()));
    CWaveView::mouseMoveEvent(event);
}

// The band has no zoom or scroll of its own: the wheel and the keys pass it by.
void CWholeView::wheelEvent(QWheelEvent* event) {
    event->ignore();
}

void CWholeView::keyPressEvent(QKeyEvent* event) {
    CViewBase::keyPressEvent(event);
}

} // namespace mirado
