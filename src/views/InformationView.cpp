#include "views/InformationView.h"

#include "document/MiradoDoc.h"
#include "drawing/PaneLayout.h"
#include "platform/qt/UserEvents.h"
#include "rendering/QtPainterSurface.h"

#include <QImage>
#include <QPainter>
#include <QPalette>

namespace mirado {

namespace {

constexpr int kSystolicMarker = 1;

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

void CInformationView::OnEraseBackground(IDrawingSurface& surface) {
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
    if (doc != nullptr && doc->IsLoaded() && doc->IsCurrentFileDamaged() == 0)
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
    if (event->type() == static_cast<QEvent::Type>(WM_MARKER_VALUE)) {
        const auto* message = static_cast<CUserEvent*>(event);
        ShowLiveMarkerValue(static_cast<int>(message->WParam()),
                            static_cast<int16_t>(message->LParam()));
        return true;
    }
    return CViewBase::event(event);
}

} // namespace mirado
