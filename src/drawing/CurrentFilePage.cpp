#include "drawing/CurrentFilePage.h"

#include "document/MiradoDoc.h"
#include "drawing/PageStyles.h"
#include "records/WaveCodec.h"

namespace mirado {

namespace {

int Mmhg(int raw) {
    return HalfRound(static_cast<int16_t>(raw));
}

} // namespace

PrintedRecording ReadPrintedRecording(const CMiradoDoc& doc) {
    PrintedRecording r;
    r.drawable = doc.IsLoaded() && doc.IsCurrentRecordUsable();
    if (!r.drawable)
        return r;
    r.sampling = doc.GetSampling();
    r.pressureSamples = doc.GetPressureSamples();
    r.pulseSamples = doc.GetPulseSamples();
    r.fittedCurve = doc.IsFittedCurveShown() ? doc.GetFittedCurve() : nullptr;
    r.viewScale = doc.GetViewScale();
    int markerD = 0;
    doc.GetMarkers(r.markerS, r.markerM, markerD);
    r.valid = doc.IsValid();
    r.sense = doc.GetSense();
    int sbp = 0;
    int mbp = 0;
    int dbp = 0;
    doc.GetDominantPressures(sbp, mbp, dbp);
    r.sbp = Mmhg(sbp);
    r.mbp = Mmhg(mbp);
    r.dbp = Mmhg(dbp);
    r.heartRate = doc.GetHeartRate();
    r.date = doc.GetDate();
    r.time = doc.GetTime();
    r.animalNo = doc.GetAnimalNo();
    r.exNo = doc.GetExNo();
    r.weight = doc.GetWeight();
    r.sexAge = doc.GetSexAge();
    r.comment = doc.GetComment();
    return r;
}

void CCurrentFilePage::Draw(IDrawingSurface& surface, const Rect& drawingRect) const {
    const PrintedRecording recording = ReadPrintedRecording(doc_);
    if (!recording.drawable)
        return;
    // Pale trace colours are darkened on paper; the screen keeps the chosen ones.
    PageStyle style = CurrentFilePageStyle(PrintableTraceColour(doc_.GetWaveColour()),
                                           PrintableTraceColour(doc_.GetPressColour()));
    style.scaleLabels = scaleLabels_;
    const std::string heading =
        FormatPageHeading(CurrentFileTitle(doc_.GetDeviceTypeCode()), recording.sense);
    DrawRecordingPage(surface, drawingRect, recording, style, heading, prompts_);
}

} // namespace mirado
