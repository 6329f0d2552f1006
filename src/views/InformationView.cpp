#include "views/InformationView.h"

#include "document/MiradoDoc.h"
#include "drawing/PaneLayout.h"
#include "platform/qtcore/UserEvents.h"
#include "rendering/QtPainterSurface.h"

#include "platform/qtcore/UiText.h"
#include "records/PaneTexts.h"
#include "records/RecordUnits.h"

#include <QHelpEvent>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QToolTip>

namespace mirado {

namespace {

constexpr int kSystolicMarker = 1;

constexpr const char* kSenseTip =
    "Sense: the sensitivity setting of the optical sensor for this recording (0 to 7).";
constexpr const char* kBaseTip =
    "Base: the optical base, the lowest pulse-wave value before the first beat.";
constexpr const char* kPressTip = "Press: the pressure the cuff was inflated to, in mmHg.";
constexpr const char* kMarkerIntervalTip =
    "M-S: the time from marker S (systolic) to marker M (mean), in milliseconds.";

// The result flags and what they mean.
struct FlagTip {
    int code;
    const char* text;
};
const FlagTip kFlagTips[] = {
    {kResultLo, "Lo: the pulse wave is too weak: no usable beats were found."},
    {kResultHi,
     "Hi: the pulse wave is too strong: the optical signal went over its limit again and again."},
    {kResultIrregular, "Err1: irregular beats, or the pulse collapsed."},
    {kResultFewBeats, "Err2: too few beats around the largest pulse."},
    {kResultNoFit, "Err3: no usable curve or maximum could be fitted to the pulses."},
    {kResultDeflation, "Err4: the cuff deflated too slowly or too fast."},
};

Colour ButtonFaceColour(const QWidget& widget) {
    const QColor c = widget.palette().color(QPalette::Button);
    return Rgb(c.red(), c.green(), c.blue());
}

} // namespace

CInformationView::CInformationView(CMiradoDoc* document, QWidget* parent)
    : CViewBase(document, parent), drawing_(ButtonFaceColour(*this)) {}

CMiradoDoc* CInformationView::GetDocument() const {
    return static_cast<CMiradoDoc*>(Document());
}

QRect CInformationView::CalcWindowRect(const QRect& area) const {
    return FromEdges(area.left(), area.top(), kSideColumnWidth, area.top() + area.height());
}

int CInformationView::ColumnHeight() {
    QImage screen(1, 1, QImage::Format_RGB32);
    QPainter painter(&screen);
    QtPainterSurface surface(painter);
    return CInformationDrawing::ColumnHeight(surface);
}

// The captions and the condition lines' names, in the window's language at each paint.
InformationLabels CInformationView::Labels() {
    InformationLabels labels;
    labels.condition = UiText(labels.condition).toStdString();
    labels.animalNo = UiText(labels.animalNo).toStdString();
    labels.measurement = UiText(labels.measurement).toStdString();
    labels.sense = UiText(labels.sense).toStdString();
    labels.base = UiText(labels.base).toStdString();
    labels.press = UiText(labels.press).toStdString();
    return labels;
}

QString CInformationView::ToolTipAt(QPoint point) const {
    switch (CInformationDrawing::ItemAt({point.x(), point.y()})) {
    case InformationItem::Sense:
        return UiText(kSenseTip);
    case InformationItem::Base:
        return UiText(kBaseTip);
    case InformationItem::Press:
        return UiText(kPressTip);
    case InformationItem::MarkerInterval:
        return UiText(kMarkerIntervalTip);
    case InformationItem::ResultFlag:
        return ResultFlagTip();
    case InformationItem::None:
        break;
    }
    return {};
}

// The flag shown for the current file, explained; nothing where no flag stands.
QString CInformationView::ResultFlagTip() const {
    const CMiradoDoc* doc = GetDocument();
    if (doc == nullptr || !doc->IsLoaded() || !doc->IsCurrentRecordUsable())
        return {};
    return ResultFlagExplanation(ShownResultCode(doc->GetResultCode(), doc->IsValid()));
}

QString ResultFlagExplanation(int shownCode) {
    for (const FlagTip& tip : kFlagTips)
        if (tip.code == shownCode)
            return UiText(tip.text);
    return {};
}

void CInformationView::OnEraseBackground(IDrawingSurface& surface) {
    drawing_.SetLabels(Labels());
    drawing_.DrawBackground(surface, ClientRect());
}

InformationValues CInformationView::CollectValues() const {
    const CMiradoDoc& doc = *GetDocument();
    InformationValues values;
    values.sense = doc.GetSense();
    values.opticalBase = doc.GetOpticalBase();
    values.inflationPressure = doc.GetInflationPressure();
    values.deviceTypeCode = doc.GetDeviceTypeCode();
    values.sampling = doc.GetSampling();
    values.animalNo = doc.GetAnimalNo();
    values.heartRate = doc.GetHeartRate();
    doc.GetDominantPressures(values.sbp, values.mbp, values.dbp);
    values.valid = doc.IsValid();
    values.markerInterval = doc.GetMarkerInterval();
    values.resultCode = doc.GetResultCode();
    values.analysisSource = doc.IsAnalysisSource();
    return values;
}

void CInformationView::OnDraw(IDrawingSurface& surface) {
    const CMiradoDoc* doc = GetDocument();
    if (doc != nullptr && doc->IsLoaded() && doc->IsCurrentRecordUsable())
        drawing_.DrawLines(surface, CollectValues());
    // A live value replaces its line until the next repaint.
    if (live_) {
        drawing_.DrawLiveValue(surface, live_->marker, live_->rawPressure);
        live_.reset();
    }
}

void CInformationView::ShowLiveMarkerValue(int marker, int rawPressure) {
    live_ =
        LiveValue{marker == kSystolicMarker ? LiveMarker::Systolic : LiveMarker::Mean, rawPressure};
    repaint();
}

bool CInformationView::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QString tip = ToolTipAt(help->pos());
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, this);
        return true;
    }
    if (event->type() == static_cast<QEvent::Type>(WM_MARKER_VALUE)) {
        const auto* message = static_cast<CUserEvent*>(event);
        ShowLiveMarkerValue(static_cast<int>(message->WParam()),
                            static_cast<int16_t>(message->LParam()));
        return true;
    }
    return CViewBase::event(event);
}

} // namespace mirado
