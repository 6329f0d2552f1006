// mirado-cli info: one JSON object per file (JSON Lines) with the header, the
// identification texts in UTF-8, the stored result block as the file holds it and the
// results of both pressure-determination methods.

#include "cli/CliCommand.h"
#include "cli/CliOptions.h"
#include "cli/RunOptions.h"
#include "files/FileAccess.h"
#include "platform/ConsolePrompts.h"
#include "platform/JsonWriter.h"
#include "platform/OrderedPrefetch.h"
#include "records/AnalysisSequence.h"
#include "records/LoadedRecord.h"
#include "records/MethodResults.h"
#include "records/TextEncoding.h"
#include "records/WaveCodec.h"

#include <CLI/CLI.hpp>

#include <deque>
#include <mutex>
#include <optional>
#include <ostream>

namespace mirado {

namespace {

void WriteText(CJsonWriter& json, const char* key, const std::string& cp932) {
    json.Key(key).String(Cp932ToUtf8(cp932));
}

void WriteIntegers(CJsonWriter& json, const int16_t* values, int count) {
    json.BeginArray();
    for (int i = 0; i < count; ++i)
        json.Int(values[i]);
    json.EndArray();
}

void WriteStored(CJsonWriter& json, const CAdData& record) {
    int16_t sbp = 0, mbp = 0, dbp = 0, s = 0, m = 0, d = 0;
    record.GetStoredPressures(sbp, mbp, dbp);
    record.GetStoredMarkers(s, m, d);
    json.Key("stored").BeginObject();
    json.Key("sbp_raw").Int(sbp).Key("mbp_raw").Int(mbp).Key("dbp_raw").Int(dbp);
    json.Key("sbp")
        .Int(HalfRound(sbp))
        .Key("mbp")
        .Int(HalfRound(mbp))
        .Key("dbp")
        .Int(HalfRound(dbp));
    json.Key("marker_s").Int(s).Key("marker_m").Int(m).Key("marker_d").Int(d);
    json.Key("hr").Int(record.GetStoredHeartRate());
    json.Key("beats");
    WriteIntegers(json, record.GetBeatPositions(), BeatCount(record.GetBeatPositions()));
    json.EndObject();
}

struct InfoOptions {
    bool withSamples = false;
    bool withCurves = false;
    bool sequential = false;
};

// The fields both methods share, then the method's own value under its key.
void WriteMethodResults(CJsonWriter& json, const MethodResults& results, const char* ownKey,
                        const CPressureAnalysis& record, bool withCurve) {
    json.BeginObject();
    json.Key("sbp_raw").Int(results.sbpRaw).Key("mbp_raw").Int(results.mbpRaw);
    json.Key("dbp_raw").Int(results.dbpRaw);
    json.Key("marker_s").Int(results.markerS).Key("marker_m").Int(results.markerM);
    json.Key("marker_d").Int(results.markerD);
    json.Key("hr").Int(results.heartRate);
    json.Key("code").Int(results.code);
    json.Key("flag_text").String(results.flagText);
    json.Key("beats");
    WriteIntegers(json, results.beats.data(), static_cast<int>(results.beats.size()));
    json.Key("fitted_span").Int(results.fittedSpan);
    if (withCurve) {
        json.Key("fitted_curve");
        WriteIntegers(json, record.GetFittedCurve(), kSampleCount);
    }
    json.Key(ownKey).Int(results.ownValue);
    json.EndObject();
}

void WriteAnalyses(CJsonWriter& json, AnalysisRecords& records, int model, bool withCurves) {
    json.Key("method_a");
    WriteMethodResults(json, MethodAResults(records), "optical_base", records.recordA, withCurves);
    json.Key("method_e");
    WriteMethodResults(json, MethodEResults(records), "fall_per_beat", records.recordE, withCurves);
    json.Key("inflation_pressure").Int(records.RecordFor(model).GetInflationPressure());
}

void WriteNullAnalyses(CJsonWriter& json) {
    json.Key("method_a").Null().Key("method_e").Null().Key("inflation_pressure").Null();
}

void WriteRecordFields(CJsonWriter& json, const CAdData& record, bool withSamples) {
    WriteText(json, "date", record.GetDate());
    WriteText(json, "time", record.GetTime());
    WriteText(json, "animal_no", record.GetAnimalNo());
    WriteText(json, "study_no", record.GetStudyNo());
    WriteText(json, "weight", record.GetWeight());
    WriteText(json, "sex_age", record.GetSexAge());
    WriteText(json, "comment", record.GetComment());
    json.Key("sampling").Int(record.GetSampleInterval());
    json.Key("sense").Int(record.GetSense());
    json.Key("valid").Bool(record.IsValid());
    WriteStored(json, record);
    if (withSamples) {
        json.Key("ch1");
        WriteIntegers(json, record.GetChannel1(), kSampleCount);
        json.Key("ch2");
        WriteIntegers(json, record.GetChannel2(), kSampleCount);
    }
}

void WriteNullRecordFields(CJsonWriter& json, bool withSamples) {
    for (const char* key : {"date", "time", "animal_no", "study_no", "weight", "sex_age", "comment",
                            "sampling", "sense", "valid", "stored"})
        json.Key(key).Null();
    if (withSamples)
        json.Key("ch1").Null().Key("ch2").Null();
}

// "A" for models 0, 2 and 4; "E" for 1 and 3.
const char* VariantName(int model) {
    return UsesVariantE(model) ? "E" : "A";
}

std::string FileInfoLine(const LoadedRecord& file, AnalysisRecords& records,
                         const InfoOptions& options) {
    const int model = ModelCodeWithFileName(file.modelCode, file.path);
    CJsonWriter json;
    json.BeginObject();
    WritePath(json, file.path);
    json.Key("ok").Bool(file.Loaded());
    json.Key("error");
    if (file.Loaded())
        json.Null();
    else
        json.String(file.message);
    json.Key("model_letter_code").Int(file.modelCode);
    json.Key("model").Int(model);
    json.Key("variant").String(VariantName(model));
    if (file.AnythingRead())
        WriteRecordFields(json, *file.data, options.withSamples);
    else
        WriteNullRecordFields(json, options.withSamples);
    if (file.Loaded()) {
        records.AnalyzeBoth(*file.data);
        WriteAnalyses(json, records, model, options.withCurves);
    } else {
        WriteNullAnalyses(json);
    }
    json.EndObject();
    return json.Text();
}

constexpr const char* kInfoDescription =
    "Prints one JSON object per file and line (UTF-8) with the keys path, ok, error\n"
    "(the load message after the path, null on success), model_letter_code, model\n"
    "(after the file-name rule), variant (\"A\" or \"E\"), date, time, animal_no,\n"
    "study_no, weight, sex_age, comment, sampling, sense, valid and stored (sbp_raw,\n"
    "mbp_raw, dbp_raw, sbp, mbp, dbp in mmHg, marker_s, marker_m, marker_d, hr, beats).\n"
    "For a file that failed to load the keys hold what the load left in the record,\n"
    "or null when nothing could be read.\n"
    "For a file that loaded, method_a and method_e hold each method's results\n"
    "(sbp_raw, mbp_raw, dbp_raw, marker_s, marker_m, marker_d, hr, code, flag_text,\n"
    "beats, fitted_span, and optical_base or fall_per_beat), and inflation_pressure\n"
    "the cuff's inflation pressure in mmHg; they are null for a file that failed.\n"
    "Files named on the command line or in a list are shown as absolute paths. A path\n"
    "that is not valid UTF-8 shows U+FFFD for each byte that is not, and the added key\n"
    "path_bytes holds the path's exact bytes in hex.";

// What info reports for one file.
struct FileReport {
    std::string line;
    bool ok = false;
    std::string error;
};

// The reports of files already read in this run. Without --sequential a file's report
// depends only on its path and its bytes, so a path that comes again with unchanged
// bytes is reported again without decoding and analysing it a second time. A few
// entries of recording size serve lists that repeat files; memory stays small for any
// list. The threads of a parallel run share it.
class CRepeatedFiles {
public:
    std::optional<FileReport> Find(const std::string& path,
                                   const std::vector<uint8_t>& bytes) const {
        std::lock_guard<std::mutex> lock(mutex_);
        for (const Entry& entry : entries_) {
            if (entry.path == path && entry.bytes == bytes)
                return entry.report;
        }
        return std::nullopt;
    }

    void Keep(const std::string& path, std::vector<uint8_t> bytes, const FileReport& report) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (bytes.size() > kLargestKeptFile)
            return;
        entries_.push_back({path, std::move(bytes), report});
        if (entries_.size() > kCapacity)
            entries_.pop_front();
    }

private:
    static constexpr size_t kCapacity = 16;
    // Recordings are about 10 KiB; larger files, damaged anyway, are not kept.
    static constexpr size_t kLargestKeptFile = 64 * 1024;
    struct Entry {
        std::string path;
        std::vector<uint8_t> bytes;
        FileReport report;
    };
    mutable std::mutex mutex_;
    std::deque<Entry> entries_;
};

class CInfoCommand : public CCliCommand {
public:
    void Declare(CLI::App& command) override {
        command.footer(kInfoDescription);
        files_.AddTo(command, true);
        command.add_flag("--samples", options_.withSamples,
                         "also print the channels as ch1 and ch2 (4000 integers each)");
        command.add_flag("--curves", options_.withCurves,
                         "also print each method's fitted_curve (4000 integers)");
        command.add_flag("--sequential", options_.sequential,
                         "analyse the files in the given order with one set of analysis\n"
                         "records, as the viewer does when it steps through them. Without it\n"
                         "every file is analysed as the first file after start-up. A few\n"
                         "working values carry over from one file to the next (method A's\n"
                         "refractory count after an unusual sample interval, its interval\n"
                         "mean after an empty interval list, its fit after too few points),\n"
                         "so results of recordings that already carry an error flag or an\n"
                         "unusual sample interval may then differ from a fresh analysis.");
        AddJobsOption(command, jobs_);
    }

    Result<void> Prepare(std::istream& in) override { return files_.Collect(in); }

    int Run(CliStreams& io) override {
        int status = kExitOk;
        // Writes one file's report; false once standard output fails.
        const auto write = [&](const std::string& path, const FileReport& report) {
            io.out << report.line << '\n';
            if (!report.ok) {
                io.err << SingleLine(path + report.error) << '\n';
                status = kExitLoadFailed;
            }
            return static_cast<bool>(io.out);
        };
        const std::vector<std::string>& paths = files_.Paths();
        if (options_.sequential) {
            // One set of records for the whole run, in the given order.
            const auto records = std::make_unique<AnalysisRecords>();
            for (const std::string& path : paths) {
                if (!write(path, ReportOf(LoadRecord(path), *records)))
                    break;
            }
            return status;
        }
        // Every file is analysed with fresh records, so the files can be done in parallel.
        ForEachInOrder(
            paths.size(), jobs_, [&](size_t index) { return Report(paths[index]); },
            [&](size_t index, FileReport&& report) { return write(paths[index], report); });
        return status;
    }

private:
    // The report of one file analysed with fresh records (called on any thread).
    FileReport Report(const std::string& path) {
        Result<std::vector<uint8_t>> read = ReadWholeFile(path, kMaxRecordFileSize);
        if (!read.ok())
            return FreshReportOf(LoadRecord(path));
        std::vector<uint8_t> bytes = std::move(read).value();
        if (std::optional<FileReport> known = repeated_.Find(path, bytes))
            return *known;
        FileReport report = FreshReportOf(LoadRecordFromBytes(path, bytes));
        repeated_.Keep(path, std::move(bytes), report);
        return report;
    }

    FileReport FreshReportOf(const LoadedRecord& file) const {
        const auto records = std::make_unique<AnalysisRecords>();
        return ReportOf(file, *records);
    }

    FileReport ReportOf(const LoadedRecord& file, AnalysisRecords& records) const {
        return {FileInfoLine(file, records, options_), file.Loaded(), file.message};
    }

    InfoOptions options_;
    CFileArguments files_;
    CRepeatedFiles repeated_;
    unsigned jobs_ = 1;
};

} // namespace

std::unique_ptr<CCliCommand> MakeInfoCommand() {
    return std::make_unique<CInfoCommand>();
}

} // namespace mirado
