#pragma once
// The decoded channels of a record as CSV: the header row
// "index,time_ms,cuff_raw,cuff_mmHg,optical", then one row per sample, LF line ends.
// time_ms is index x sample interval / 10 with one decimal; cuff_mmHg is the cuff sample
// in mmHg rounded half away from zero. `mirado-cli samples` and the window's
// "Export Samples..." both write these bytes.

#include <string>

namespace mirado {

class CAdData;

std::string SamplesCsv(const CAdData& record);

} // namespace mirado
