#include "views/WaveView.h"

#include "document/MiradoDoc.h"
#include "platform/qtcore/UiText.h"
#include "platform/qtcore/UserEvents.h"
#include "views/HandCursor.h"
#include "views/InformationView.h"
#include "views/ViewingTexts.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStringList>
#include <QWheelEvent>

#include <algorithm>
#include <cstdlib>

namespace mirado {

namespace {

constexpr int kScrollLineStep = 1;
constexpr int kWheelNotch = 120; // eighths of a degree
constexpr int kTravelBack = -1;
constexpr int kTravelOn = 1;
constexpr int kDragLineWidth = 1;
constexpr int kNudgeStep = 1;       // samples per Left or Right while a marker is carried
constexpr int kLargeNudgeStep = 10; // the same with Shift
constexpr Colour kStartHintColour = 0x808080;

} // namespace

CWaveView::CWaveView(CMiradoDoc* document, QWidget* parent)
    : CViewBase(document, parent), dragCursor_(MakeHandCursor()) {
    setMouseTracking(true);
    scrollBar_ = new QScrollBar(Qt::Horizontal, this);
    scrollBar_->setObjectName(QStringLiteral("waveScrollBar"));
    scrollBar_->setRange(0, 0);
    scrollBar_->setSingleStep(kScrollLineStep);
    // The page step sizes the thumb to the visible span; clicks beside the thumb still
    // move by the page step of the scroll requests (OnHScroll).
    scrollBar_->setPageStep(SamplesAcross(zoomIndex_));
    connect(scrollBar_, &QScrollBar::actionTriggered, this, &CWaveView::OnScrollAction);
}

CWaveView::~CWaveView() = default;

CMiradoDoc* CWaveView::GetDocument() const {
    return static_cast<CMiradoDoc*>(Document());
}

void CWaveView::OnInitialUpdate() {
    SetStatusText(QString());
    CViewBase::OnInitialUpdate();
    scrollBar_->setRange(0, 0);
    scrollBar_->show();
    ApplyColourSettings();
}

QRect CWaveView::CalcWindowRect(const QRect& area) const {
    return FromEdges(kSideColumnWidth, area.top() + kOverviewBandHeight,
                     area.x() + area.width() - kSideColumnWidth, area.y() + area.height());
}

void CWaveView::ApplyColourSettings() {
    if (const CMiradoDoc* doc = GetDocument()) {
        backgroundColour_ = doc->GetBackgroundColour();
        pens_.wave = Pen{PenStyle::Solid, 1, doc->GetWaveColour()};
        pens_.pressure = Pen{PenStyle::Solid, 1, doc->GetPressColour()};
    }
    update();
}

Rect CWaveView::WaveClientRect() const {
    Rect rect = ClientRect();
    if (!scrollBar_->isHidden())
        rect.bottom = std::max(rect.top, rect.bottom - scrollBar_->sizeHint().height());
    return rect;
}

void CWaveView::resizeEvent(QResizeEvent* event) {
    const int barHeight = scrollBar_->sizeHint().height();
    scrollBar_->setGeometry(0, std::max(0, height() - barHeight), width(), barHeight);
    CViewBase::resizeEvent(event);
}

void CWaveView::OnEraseBackground(IDrawingSurface& surface) {
    surface.FillRect(ClientRect(), backgroundColour_);
}

WaveScene CWaveView::SceneFromDocument() const {
    const CMiradoDoc* doc = GetDocument();
    WaveScene scene;
    scene.client = clientRect_;
    scene.zoomIndex = zoomIndex_;
    scene.scrollOffset = scrollOffset_;
    scene.viewScale = doc->GetViewScale();
    scene.deviceTypeCode = doc->GetDeviceTypeCode();
    scene.sampling = doc->GetSampling();
    scene.pulse = doc->GetPulseSamples();
    scene.pressure = doc->GetPressureSamples();
    scene.fittedCurve = doc->GetFittedCurve();
    scene.fittedCurveShown = doc->IsFittedCurveShown();
    int markerD = 0;
    doc->GetMarkers(scene.markerS, scene.markerM, markerD);
    scene.markerMValid = doc->IsValid();
    scene.scaleLabels = ScaleLabelOptionsOf(*doc);
    return scene;
}

void CWaveView::OnDraw(IDrawingSurface& surface) {
    clientRect_ = WaveClientRect();
    const CMiradoDoc* doc = GetDocument();
    // Without a file, or with one that failed to open, the status pane shows nothing:
    // the date, time and comment of the file shown before would be taken for its.
    if (doc == nullptr || !doc->IsLoaded()) {
        SetStatusText(QString());
        if (doc == nullptr || doc->GetFileCount() == 0)
            DrawStartHint(surface);
        return;
    }
    if (!doc->IsCurrentRecordUsable()) {
        DrawDamagedFileText(surface, clientRect_, doc->GetErrorText(0), backgroundColour_);
        SetStatusText(QString());
        return;
    }
    const WaveScene scene = SceneFromDocument();
    CWaveDrawing drawing(surface, scene, pens_);
    drawing.Draw();
    baselines_ = drawing.Baselines();
    SetStatusText(
        QString::fromStdString(doc->GetDate() + " " + doc->GetTime() + "  " + doc->GetComment()));
    DrawDragLine(surface);
}

// An empty window says how to begin: its lines centred in the pane, in grey.
void CWaveView::DrawStartHint(IDrawingSurface& surface) const {
    const QStringList lines = {
        UiText("No recordings are open."), UiText("Open files with File > Open (Ctrl+O),"),
        UiText("drop them on this window,"), UiText("or pick a set from File > Recent Files.")};
    surface.SelectSystemFont();
    surface.SetTextColour(kStartHintColour);
    surface.SetBackgroundMode(BackgroundMode::Transparent);
    const int lineHeight = surface.GetFontMetrics().height;
    int y =
        (clientRect_.top + clientRect_.bottom - lineHeight * static_cast<int>(lines.size())) / 2;
    for (const QString& line : lines) {
        const std::string text = line.toStdString();
        surface.TextOut((clientRect_.left + clientRect_.right - surface.TextWidth(text)) / 2, y,
                        text);
        y += lineHeight;
    }
}

// The carried marker's line inverts what lies under it, over the whole pane height.
void CWaveView::DrawDragLine(IDrawingSurface& surface) const {
    if (carriedMarker_ == kNoMarker)
        return;
    surface.SetRasterMode(RasterMode::NotXorPen);
    surface.SetPen(pens_.frame);
    surface.MoveTo(dragLineX_, clientRect_.Height());
    surface.LineTo(dragLineX_, 0);
    surface.SetRasterMode(RasterMode::CopyPen);
}

void CWaveView::InvalidateDragColumn(int x) {
    update(x, 0, kDragLineWidth, height());
}

void CWaveView::SetStatusText(const QString& text) {
    if (text == statusText_ && !text.isEmpty())
        return;
    statusText_ = text;
    emit StatusTextChanged(text);
}

// --- Zoom, amplitude and scrolling ------------------------------------------------

bool CWaveView::event(QEvent* event) {
    if (!IsUserMessage(event))
        return CViewBase::event(event);
    switch (static_cast<int>(event->type())) {
    case WM_AMPLITUDE_UP:
        OnAmplitude(-1);
        return true;
    case WM_AMPLITUDE_DOWN:
        OnAmplitude(+1);
        return true;
    case WM_ZOOM_OUT:
        OnZoom(-1);
        return true;
    case WM_ZOOM_IN:
        OnZoom(+1);
        return true;
    default:
        return CViewBase::event(event);
    }
}

void CWaveView::OnAmplitude(int delta) {
    CMiradoDoc* doc = GetDocument();
    if (doc == nullptr)
        return;
    const auto next = StepViewScale(doc->GetViewScale(), delta);
    if (!next)
        return;
    doc->SetViewScale(*next);
    doc->UpdateAllViews();
}

void CWaveView::OnZoom(int delta) {
    zoomIndex_ = StepZoomIndex(zoomIndex_, delta);
    UpdateScrollRange();
    update();
    emit VisibleSpanChanged();
    RefreshReadout();
}

void CWaveView::UpdateScrollRange() {
    scrollOffset_ = ClampScrollOffset(scrollOffset_, zoomIndex_);
    scrollBar_->setRange(0, ScrollLimit(zoomIndex_));
    scrollBar_->setPageStep(SamplesAcross(zoomIndex_));
    scrollBar_->setValue(scrollOffset_);
}

void CWaveView::OnScrollAction(int action) {
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        OnHScroll(ScrollRequest::LineLeft, 0);
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        OnHScroll(ScrollRequest::LineRight, 0);
        break;
    case QAbstractSlider::SliderPageStepSub:
        OnHScroll(ScrollRequest::PageLeft, 0);
        break;
    case QAbstractSlider::SliderPageStepAdd:
        OnHScroll(ScrollRequest::PageRight, 0);
        break;
    case QAbstractSlider::SliderToMinimum:
        OnHScroll(ScrollRequest::LeftEnd, 0);
        break;
    case QAbstractSlider::SliderToMaximum:
        OnHScroll(ScrollRequest::RightEnd, 0);
        break;
    case QAbstractSlider::SliderMove:
        OnHScroll(ScrollRequest::ThumbTrack, scrollBar_->sliderPosition());
        break;
    default:
        OnHScroll(ScrollRequest::Other, 0);
        break;
    }
}

// The scroll bar has already moved its slider for the action; the thumb is set again
// from the position the request gives, so both agree with the offset drawn.
void CWaveView::OnHScroll(ScrollRequest request, int position) {
    const auto target = ScrollTarget(request, scrollBar_->value(), position, zoomIndex_);
    if (!target)
        return;
    scrollBar_->setSliderPosition(*target);
    scrollBar_->setValue(*target);
    scrollOffset_ = *target;
    update();
    emit VisibleSpanChanged();
    RefreshReadout();
}

void CWaveView::ScrollTo(int offset) {
    if (zoomIndex_ != 0)
        OnHScroll(ScrollRequest::ThumbPosition, offset);
}

void CWaveView::Travel(int steps) {
    const int step = TravelStep(zoomIndex_);
    if (step != 0)
        ScrollTo(scrollOffset_ + steps * step);
}

int CWaveView::SampleAtX(int x) const {
    return mirado::SampleAtX(x, clientRect_.Width(), zoomIndex_, scrollOffset_);
}

// --- Pointer and keys ----------------------------------------------------------------

void CWaveView::mousePressEvent(QMouseEvent* event) {
    const int x = static_cast<int>(event->position().x());
    if (event->button() == Qt::LeftButton)
        OnLButtonDown(x);
    else if (event->button() == Qt::RightButton)
        OnRButtonDown();
    else
        CViewBase::mousePressEvent(event);
}

void CWaveView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        OnLButtonUp(static_cast<int>(event->position().x()));
    else
        CViewBase::mouseReleaseEvent(event);
}

void CWaveView::mouseMoveEvent(QMouseEvent* event) {
    OnMouseMove(static_cast<int>(event->position().x()));
    if (carriedMarker_ == kNoMarker)
        CViewBase::mouseMoveEvent(event);
}

void CWaveView::leaveEvent(QEvent* event) {
    OnPointerLeave();
    CViewBase::leaveEvent(event);
}

// Wheels that turn in small steps add up to whole notches.
void CWaveView::wheelEvent(QWheelEvent* event) {
    const bool zoom = (event->modifiers() & Qt::ControlModifier) != 0;
    if (zoomIndex_ == 0 && !zoom) {
        event->ignore();
        return;
    }
    const QPoint delta = event->angleDelta();
    wheelAngle_ += std::abs(delta.x()) > std::abs(delta.y()) ? delta.x() : delta.y();
    const int notches = wheelAngle_ / kWheelNotch;
    wheelAngle_ -= notches * kWheelNotch;
    OnWheel(notches, zoom);
    event->accept();
}

void CWaveView::keyPressEvent(QKeyEvent* event) {
    // A carried marker takes the keys first; otherwise Left and Right travel.
    const bool shift = (event->modifiers() & Qt::ShiftModifier) != 0;
    if (OnMarkerKey(event->key(), shift) || OnKeyDown(event->key()))
        event->accept();
    else
        CViewBase::keyPressEvent(event);
}

void CWaveView::OnWheel(int notches, bool zoom) {
    if (notches == 0)
        return;
    if (zoom) {
        // Away from the user zooms in, as in other viewers.
        const int direction = notches > 0 ? 1 : -1;
        for (int i = 0; i < std::abs(notches); ++i)
            OnZoom(direction);
        return;
    }
    // Away from the user shows earlier samples, as a scroll bar's wheel does.
    Travel(-notches);
}

bool CWaveView::OnKeyDown(int key) {
    if (carriedMarker_ != kNoMarker)
        return false;
    switch (key) {
    case Qt::Key_Left:
        Travel(kTravelBack);
        return true;
    case Qt::Key_Right:
        Travel(kTravelOn);
        return true;
    default:
        return false;
    }
}

void CWaveView::OnPointerLeave() {
    pointerX_.reset();
    RefreshReadout();
}

void CWaveView::OnUpdate(IView* sender) {
    CViewBase::OnUpdate(sender);
    RefreshReadout();
}

bool CWaveView::ShowsFile() const {
    const CMiradoDoc* doc = GetDocument();
    return doc != nullptr && doc->IsLoaded() && doc->IsCurrentRecordUsable();
}

std::optional<PointerReadout> CWaveView::ReadoutAtX(int x) const {
    if (!ShowsFile())
        return std::nullopt;
    const int sample = mirado::SampleAtX(x, WaveClientRect().Width(), zoomIndex_, scrollOffset_);
    return WaveReadoutAt(*GetDocument(), sample);
}

void CWaveView::RefreshReadout() {
    std::optional<PointerReadout> readout;
    if (pointerX_)
        readout = ReadoutAtX(*pointerX_);
    const QString text = readout ? ReadoutText(*readout) : QString();
    if (text == readoutText_)
        return;
    readoutText_ = text;
    emit PointerReadoutChanged(text);
}

// --- Carrying a marker --------------------------------------------------------------

void CWaveView::OnLButtonDown(int x) {
    CMiradoDoc* doc = GetDocument();
    if (doc == nullptr || !doc->IsLoaded() || !doc->IsCurrentRecordUsable())
        return;
    clientRect_ = WaveClientRect();
    const int p = SampleAtX(x);
    if (carriedMarker_ != kNoMarker) {
        DropCarriedMarker(p);
        return;
    }
    int markerS = 0;
    int markerM = 0;
    int markerD = 0;
    doc->GetMarkers(markerS, markerM, markerD);
    const auto picked = PickMarker(p, PickTolerance(clientRect_.Width(), zoomIndex_), markerS,
                                   markerM, doc->IsValid());
    if (picked == kNoMarker)
        return;
    dragLineX_ = x;
    setCursor(dragCursor_);
    carriedMarker_ = picked;
    carriedSample_ = p;
    pressX_ = x;
    InvalidateDragColumn(dragLineX_);
}

void CWaveView::OnLButtonUp(int x) {
    const std::optional<int> press = std::exchange(pressX_, std::nullopt);
    // A release near the press keeps the marker carried, so that a click picks it up
    // and the next click drops it; a drag farther than the platform's drag distance
    // drops it where it is released.
    if (!press || carriedMarker_ == kNoMarker ||
        std::abs(x - *press) < QApplication::startDragDistance())
        return;
    clientRect_ = WaveClientRect();
    DropCarriedMarker(SampleAtX(x));
}

bool CWaveView::OnMarkerKey(int key, bool shift) {
    if (carriedMarker_ == kNoMarker)
        return false;
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right: {
        const int step = shift ? kLargeNudgeStep : kNudgeStep;
        NudgeCarriedMarker(key == Qt::Key_Left ? -step : step);
        return true;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
        DropCarriedMarker(carriedSample_);
        return true;
    case Qt::Key_Escape:
        OnRButtonDown();
        return true;
    default:
        return false;
    }
}

void CWaveView::NudgeCarriedMarker(int delta) {
    const CMiradoDoc* doc = GetDocument();
    if (doc == nullptr)
        return;
    carriedSample_ = std::clamp(carriedSample_ + delta, 0, kSampleCount - 1);
    MoveDragLine(XOfSample(carriedSample_, clientRect_.Width(), zoomIndex_, scrollOffset_));
    SendMarkerValue(doc->GetPressureAt(carriedSample_));
}

void CWaveView::DropCarriedMarker(int sample) {
    CMiradoDoc* doc = GetDocument();
    const MovableMarker marker = carriedMarker_ == kMarkerS ? MovableMarker::S : MovableMarker::M;
    carriedMarker_ = kNoMarker;
    pressX_.reset();
    unsetCursor();
    if (edits_ != nullptr)
        edits_->MoveMarker({marker, sample});
    else if (doc != nullptr)
        doc->MoveMarker({marker, sample});
}

void CWaveView::MoveDragLine(int x) {
    InvalidateDragColumn(dragLineX_);
    dragLineX_ = x;
    InvalidateDragColumn(dragLineX_);
}

void CWaveView::OnMouseMove(int x) {
    pointerX_ = x;
    RefreshReadout();
    CMiradoDoc* doc = GetDocument();
    if (carriedMarker_ == kNoMarker || doc == nullptr)
        return;
    carriedSample_ = SampleAtX(x);
    MoveDragLine(x);
    SendMarkerValue(doc->GetPressureAt(carriedSample_));
}

void CWaveView::SendMarkerValue(int value) {
    QObject* receiver = markerValueReceiver_;
    if (receiver == nullptr)
        receiver = window()->findChild<CInformationView*>();
    SendUserMessage(receiver, WM_MARKER_VALUE, carriedMarker_, static_cast<int16_t>(value));
}

void CWaveView::OnRButtonDown() {
    if (carriedMarker_ == kNoMarker)
        return;
    carriedMarker_ = kNoMarker;
    pressX_.reset();
    unsetCursor();
    if (CMiradoDoc* doc = GetDocument())
        doc->UpdateAllViews();
    update();
}

} // namespace mirado
