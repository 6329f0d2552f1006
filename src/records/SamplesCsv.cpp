#include "records/SamplesCsv.h"

#include "records/AdData.h"
#include "records/RecordUnits.h"
#include "records/WaveCodec.h"

#include <cstdlib>

namespace mirado {

namespace {

// Tenths of a millisecond as milliseconds with one decimal ("%.1f" of the exact value).
std::string Milliseconds(long tenths) {
    const std::string sign = tenths < 0 ? "-" : "";
    const long magnitude = std::labs(tenths);
    return sign + std::to_string(magnitude / kIntervalUnitsPerMs) + "." +
           std::to_string(magnitude % kIntervalUnitsPerMs);
}

} // namespace

std::string SamplesCsv(const CAdData& record) {
    const long interval = record.GetSampleInterval();
    std::string csv = "index,time_ms,cuff_raw,cuff_mmHg,optical\n";
    for (int i = 0; i < kSampleCount; ++i) {
        const int16_t cuff = record.GetChannel1()[i];
        csv += std::to_string(i) + "," + Milliseconds(i * interval) + "," + std::to_string(cuff) +
               "," + std::to_string(HalfRound(cuff)) + "," +
               std::to_string(record.GetChannel2()[i]) + "\n";
    }
    return csv;
}

} // namespace mirado
