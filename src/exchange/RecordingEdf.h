#pragma once
// A recording as an EDF+ file: the cuff pressure in mmHg and the optical pulse as two
// signals at the recording's sampling rate, each sample kept exactly (the digital value is
// the decoded sample), the start from the header, the identification in the header's
// fields as ASCII and in annotations as UTF-8, and annotations for the markers, every
// beat, the stored result and the reading's review.

#include "exchange/EdfFile.h"
#include "files/Result.h"

#include <string>
#include <vector>

namespace mirado {

class CAdData;

// The physical range of the cuff signal: the digital range -32768..32767 in half mmHg,
// so that the sample d reads d / 2 mmHg exactly (the pointer readout rounds that to whole
// mmHg).
inline constexpr const char* kCuffPhysicalMin = "-16384";
inline constexpr const char* kCuffPhysicalMax = "16383.5";

struct EdfRecordingSource {
    const CAdData& data;
    int modelCode = 0;      // with the file name's rule applied
    std::string fileName;   // the recording's file name, kept in the recording field
    std::string reviewText; // "accepted", "rejected (reason)", ...; empty for none
};

// The contents of a recording whose sample interval is positive.
EdfContents RecordingEdfContents(const EdfRecordingSource& source);

// The start date and time fields and the "Startdate" subfield for a header's date
// ("YY/MM/DD") and time ("hh:mm:ss"); a date that does not read gives "01.01.85" and "X",
// a time that does not read "00.00.00".
struct EdfStart {
    std::string date, time, startdate;
};
EdfStart EdfStartOf(const std::string& date, const std::string& time);

// The output path for an input in folder: the input's file name with ".edf" added.
std::string EdfOutputPath(const std::string& folder, const std::string& inputPath);

// The output paths of the inputs, or the reason they cannot be written: the folder is
// none, two inputs share a file name, or an output is one of the inputs.
Result<std::vector<std::string>> EdfOutputPaths(const std::string& folder,
                                                const std::vector<std::string>& inputs);

// Loads the input and writes its EDF+ file to output atomically; the error names the file.
// A recording without a positive sample interval has no sampling rate and is refused.
Result<void> WriteRecordingEdf(const std::string& input, const std::string& output,
                               const std::string& reviewText);

} // namespace mirado
