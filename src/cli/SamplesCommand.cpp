// mirado-cli samples: the decoded channels of one file as CSV.

#include "cli/CliCommand.h"
#include "cli/LoadedFile.h"
#include "records/WaveCodec.h"

#include <cstdlib>
#include <ostream>

namespace mirado {

const char* const kSamplesUsage =
    "mirado-cli samples FILE\n"
    "  Prints the decoded channels as CSV (LF line ends) with the header row\n"
    "  index,time_ms,cuff_raw,cuff_mmHg,optical; time_ms = index x sample interval / 10\n"
    "  with one decimal, cuff_mmHg = the cuff sample in mmHg rounded half away from zero.\n";

namespace {

constexpr int kTenthsPerMs = 10;

// Tenths of a millisecond as milliseconds with one decimal ("%.1f" of the exact value).
std::string Milliseconds(long tenths) {
    const std::string sign = tenths < 0 ? "-" : "";
    const long magnitude = std::labs(tenths);
    return sign + std::to_string(magnitude / kTenthsPerMs) + "." +
           std::to_string(magnitude % kTenthsPerMs);
}

} // namespace

int RunSamples(const CliArgs& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 1 || (args[0].size() > 1 && args[0][0] == '-')) {
        err << "mirado-cli samples: expected exactly one FILE\n" << kSamplesUsage;
        return kExitUsage;
    }
    const std::unique_ptr<LoadedFile> file = LoadMeasurementFile(args[0]);
    if (!file->ok) {
        err << file->path << file->error << '\n';
        return kExitLoadFailed;
    }
    const CAdData& record = file->record;
    const long interval = record.GetSampleInterval();
    std::string csv = "index,time_ms,cuff_raw,cuff_mmHg,optical\n";
    for (int i = 0; i < kSampleCount; ++i) {
        const int16_t cuff = record.GetChannel1()[i];
        csv += std::to_string(i) + "," + Milliseconds(i * interval) + "," + std::to_string(cuff) +
               "," + std::to_string(HalfRound(cuff)) + "," +
               std::to_string(record.GetChannel2()[i]) + "\n";
    }
    out << csv;
    return kExitOk;
}

} // namespace mirado
