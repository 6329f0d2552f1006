#include "document/DominantValues.h"

#include "records/AdData.h"
#include "records/PressureAnalysis.h"
#include "records/RecordUnits.h"
#include "records/WaveCodec.h"

namespace mirado {

namespace {

int ToMillimetres(int raw) {
    return HalfRound(static_cast<int16_t>(raw));
}

void CopyTexts(const CAdData* data, CExportFields& fields) {
    if (data == nullptr) {
        fields.date = kNeutralDate;
        fields.time = kNeutralTime;
        return;
    }
    fields.date = data->GetDate();
    fields.time = data->GetTime();
    fields.animalNo = data->GetAnimalNo();
    fields.exNo = data->GetStudyNo();
    fields.weight = data->GetWeight();
    fields.sexAge = data->GetSexAge();
    fields.comment = data->GetComment();
}

} // namespace

DominantPressures DominantPressuresOf(const CAdData* data, CPressureAnalysis* analysis,
                                      bool valid) {
    int16_t s = 0, m = 0, d = 0;
    if (analysis != nullptr)
        analysis->GetPressures(s, m, d);
    else if (data != nullptr)
        data->GetStoredPressures(s, m, d);
    DominantPressures pressures{s, m, d};
    if (!valid) {
        pressures.mbp = 0;
        pressures.dbp = 0;
    }
    return pressures;
}

CExportFields ExportFieldsOf(const CAdData* data, const DominantPressures& pressures) {
    CExportFields fields;
    CopyTexts(data, fields);
    const int sampling = data != nullptr ? data->GetSampleInterval() : kNeutralSampling;
    fields.sampling = sampling / kIntervalUnitsPerMs;
    fields.hr = data != nullptr ? data->GetStoredHeartRate() : 0;
    fields.sbp = ToMillimetres(pressures.sbp);
    fields.dbp = ToMillimetres(pressures.dbp);
    fields.mbp = ToMillimetres(pressures.mbp);
    return fields;
}

CExportFields ExportFieldsFor(const CAdData& data, bool loaded, CPressureAnalysis* analysis,
                              ValueSource source) {
    if (source == ValueSource::Stored || !loaded || analysis == nullptr)
        return ExportFieldsOf(&data, DominantPressuresOf(&data, nullptr, data.IsValid()));
    const bool valid = source == ValueSource::AnalysisSM;
    return ExportFieldsOf(&data, DominantPressuresOf(&data, analysis, valid));
}

} // namespace mirado
