#include "exchange/RecordingEdf.h"

#include "document/DominantValues.h"
#include "document/StudySummary.h"
#include "files/FileAccess.h"
#include "records/AnalysisSequence.h"
#include "records/LoadedRecord.h"
#include "records/PaneTexts.h"
#include "records/PressureAnalysis.h"
#include "records/TextEncoding.h"

#include <algorithm>
#include <cctype>
#include <set>

#include <sys/stat.h>

namespace mirado {

namespace {

constexpr int kDigitalLimit = 32767;
constexpr const char* kEquipment = "Mirado";

std::string TwoDigits(int value) {
    return std::string(1, static_cast<char>('0' + value / 10)) +
           static_cast<char>('0' + value % 10);
}

// "hh:mm:ss" with hours 0-23 and minutes and seconds 0-59.
bool ReadsAsTime(const std::string& time) {
    if (time.size() != 8 || time[2] != ':' || time[5] != ':')
        return false;
    for (const size_t at : {0u, 1u, 3u, 4u, 6u, 7u})
        if (!std::isdigit(static_cast<unsigned char>(time[at])))
            return false;
    return std::stoi(time.substr(0, 2)) < 24 && std::stoi(time.substr(3, 2)) < 60 &&
           std::stoi(time.substr(6, 2)) < 60;
}

// The device and inode of the file at path (following links); (0, 0) when there is none.
std::pair<dev_t, ino_t> FileIdOf(const std::string& path) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0)
        return {0, 0};
    return {status.st_dev, status.st_ino};
}

std::string FileNameOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

EdfSignal Channel(const char* label, const char* transducer, const char* unit, const char* min,
                  const char* max, const int16_t* samples) {
    EdfSignal signal{label, transducer, unit, min, max, -kDigitalLimit - 1, kDigitalLimit, {}};
    signal.samples.assign(samples, samples + kSampleCount);
    return signal;
}

// The patient field: the animal number as the code, sex, birth date and name unknown,
// then the species, the weight and the sex/age text.
std::string PatientField(const CAdData& data, const std::string& species) {
    return EdfSubfield(Cp932ToUtf8(data.GetAnimalNo())) + " X X X " + EdfSubfield(species) + " " +
           EdfSubfield(Cp932ToUtf8(data.GetWeight())) + " " +
           EdfSubfield(Cp932ToUtf8(data.GetSexAge()));
}

// The recording field: the start date, the study number as the administration code, the
// technician unknown, the equipment, then the file name.
std::string RecordingField(const CAdData& data, const EdfStart& start,
                           const std::string& fileName) {
    return "Startdate " + start.startdate + " " + EdfSubfield(Cp932ToUtf8(data.GetStudyNo())) +
           " X " + kEquipment + " " + EdfSubfield(fileName);
}

// The identification texts in full, the stored result and the review at the start.
std::vector<EdfAnnotation> StartAnnotations(const EdfRecordingSource& source,
                                            const std::string& species) {
    const CAdData& data = source.data;
    std::vector<EdfAnnotation> annotations;
    const auto add = [&](const std::string& name, const std::string& text) {
        if (!text.empty())
            annotations.push_back({"+0", name + text});
    };
    add("Animal no.: ", Cp932ToUtf8(data.GetAnimalNo()));
    add("Study no.: ", Cp932ToUtf8(data.GetStudyNo()));
    add("Weight: ", Cp932ToUtf8(data.GetWeight()));
    add("Sex/age: ", Cp932ToUtf8(data.GetSexAge()));
    add("Comment: ", Cp932ToUtf8(data.GetComment()));
    add("Species: ", species);
    const CExportFields stored = ExportFieldsFor(data, true, nullptr, ValueSource::Stored);
    add("SBP ", std::to_string(stored.sbp) + " mmHg");
    if (data.IsValid()) {
        add("MBP ", std::to_string(stored.mbp) + " mmHg");
        add("DBP ", std::to_string(stored.dbp) + " mmHg");
    }
    add("HR ", std::to_string(stored.hr) + " bpm");
    AnalysisRecords records;
    const int code = records.Analyze(data, source.modelCode).GetResultCode();
    const std::string flag = ResultFlagText(ShownResultCode(code, data.IsValid()));
    add("Result code ", std::to_string(code) + (flag.empty() ? "" : " " + flag));
    add("Review: ", source.reviewText);
    return annotations;
}

// Marker S, marker M (while the values are valid) and every stored beat, in time order.
std::vector<EdfAnnotation> TimedAnnotations(const CAdData& data) {
    std::vector<std::pair<int, std::string>> events;
    int16_t s = 0, m = 0, d = 0;
    data.GetStoredMarkers(s, m, d);
    if (s != 0)
        events.emplace_back(s, "Marker S");
    // Marker M goes with the mean pressure: the viewer shows neither while the values
    // are not valid.
    if (m != 0 && data.IsValid())
        events.emplace_back(m, "Marker M");
    const int16_t* beats = data.GetBeatPositions();
    for (int i = 0; i < kBeatCapacity && beats[i] != 0; ++i)
        events.emplace_back(beats[i], "Beat");
    std::stable_sort(events.begin(), events.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<EdfAnnotation> annotations;
    for (const auto& [sample, text] : events)
        annotations.push_back({EdfOnset(sample, data.GetSampleInterval()), text});
    return annotations;
}

} // namespace

EdfStart EdfStartOf(const std::string& date, const std::string& time) {
    static const char* const kMonths[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                          "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    // Years from 2085 on are written "yy" in the date field, whose two digits end there.
    constexpr int kLastTwoDigitYear = 2084;
    EdfStart start{"01.01.85", "00.00.00", "X"};
    if (const std::optional<SessionDate> read = ReadSessionDate(date)) {
        start.date = TwoDigits(read->day) + "." + TwoDigits(read->month) + "." +
                     (read->year > kLastTwoDigitYear ? "yy" : TwoDigits(read->year % 100));
        start.startdate = TwoDigits(read->day) + "-" + kMonths[read->month - 1] + "-" +
                          std::to_string(read->year);
    }
    if (ReadsAsTime(time))
        start.time = time.substr(0, 2) + "." + time.substr(3, 2) + "." + time.substr(6, 2);
    return start;
}

EdfContents RecordingEdfContents(const EdfRecordingSource& source) {
    const CAdData& data = source.data;
    const std::string species = SpeciesText(source.modelCode, data.GetSampleInterval());
    const EdfStart start = EdfStartOf(data.GetDate(), data.GetTime());
    EdfContents contents;
    contents.patient = PatientField(data, species);
    contents.recording = RecordingField(data, start, source.fileName);
    contents.startDate = start.date;
    contents.startTime = start.time;
    contents.recordSeconds =
        TenthMillisecondsAsSeconds(static_cast<int64_t>(kSampleCount) * data.GetSampleInterval());
    contents.signals.push_back(Channel("Cuff pressure", "Tail cuff", "mmHg", kCuffPhysicalMin,
                                       kCuffPhysicalMax, data.GetChannel1()));
    contents.signals.push_back(
        Channel("Pulse", "Optical pulse sensor", "", "-32768", "32767", data.GetChannel2()));
    contents.annotations = StartAnnotations(source, species);
    for (EdfAnnotation& timed : TimedAnnotations(data))
        contents.annotations.push_back(std::move(timed));
    return contents;
}

std::string EdfOutputPath(const std::string& folder, const std::string& inputPath) {
    const std::string separator = !folder.empty() && folder.back() == '/' ? "" : "/";
    return folder + separator + FileNameOf(inputPath) + ".edf";
}

Result<std::vector<std::string>> EdfOutputPaths(const std::string& folder,
                                                const std::vector<std::string>& inputs) {
    struct stat folderStatus {};
    if (stat(folder.c_str(), &folderStatus) != 0 || !S_ISDIR(folderStatus.st_mode))
        return Fail(folder + ": no such folder");
    std::vector<std::string> outputs;
    std::set<std::string> taken;
    std::set<std::pair<dev_t, ino_t>> inputFiles;
    for (const std::string& input : inputs)
        inputFiles.insert(FileIdOf(input));
    inputFiles.erase({0, 0});
    for (const std::string& input : inputs) {
        std::string output = EdfOutputPath(folder, input);
        if (!taken.insert(output).second)
            return Fail("two files would both be written to " + output +
                        "; export files of the same name to different folders");
        if (inputFiles.count(FileIdOf(output)) > 0)
            return Fail("the output " + output + " is one of the files read");
        outputs.push_back(std::move(output));
    }
    return outputs;
}

Result<void> WriteRecordingEdf(const std::string& input, const std::string& output,
                               const std::string& reviewText) {
    const LoadedRecord record = LoadRecord(input);
    if (!record.Loaded())
        return Fail(input + record.message);
    // A sample interval byte of 128 or more reads as a negative interval: no sampling rate.
    if (const int interval = record.data->GetSampleInterval(); interval <= 0)
        return Fail(input + ": the sample interval (" + std::to_string(interval) +
                    ") gives no sampling rate");
    const EdfRecordingSource source{*record.data, ModelCodeWithFileName(record.modelCode, input),
                                    FileNameOf(input), reviewText};
    const Result<void> written =
        WriteFileAtomically(output, EdfBytes(RecordingEdfContents(source)));
    if (!written.ok())
        return Fail(output + ": " + written.error());
    return Ok();
}

} // namespace mirado
