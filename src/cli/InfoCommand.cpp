// mirado-cli info: one JSON object per file (JSON Lines) with the header, the
// identification texts in UTF-8 and the stored result block as the file holds it.

#include "cli/CliCommand.h"
#include "cli/JsonWriter.h"
#include "cli/LoadedFile.h"
#include "records/TextEncoding.h"
#include "records/WaveCodec.h"

#include <ostream>

namespace mirado {

const char* const kInfoUsage =
    "mirado-cli info [--samples] FILE...\n"
    "  Prints one JSON object per file and line (UTF-8) with the keys path, ok, error\n"
    "  (the load message after the path, null on success), model_letter_code, model\n"
    "  (after the file-name rule), variant (\"A\" or \"E\"), date, time, animal_no,\n"
    "  study_no, weight, sex_age, comment, sampling, sense, valid and stored (sbp_raw,\n"
    "  mbp_raw, dbp_raw, sbp, mbp, dbp in mmHg, marker_s, marker_m, marker_d, hr, beats).\n"
    "  For a file that failed to load the keys hold what the load left in the record,\n"
    "  or null when nothing could be read.\n"
    "  --samples  also print the channels as ch1 and ch2 (4000 integers each).\n";

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
    int beatCount = 0;
    while (beatCount < kBeatCapacity && record.GetBeatPositions()[beatCount] != 0)
        ++beatCount;
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
    WriteIntegers(json, record.GetBeatPositions(), beatCount);
    json.EndObject();
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

std::string FileInfoLine(const LoadedFile& file, bool withSamples) {
    const int model = ModelFromFileName(file.modelLetterCode, file.path);
    CJsonWriter json;
    json.BeginObject();
    json.Key("path").String(file.path);
    json.Key("ok").Bool(file.ok);
    json.Key("error");
    if (file.ok)
        json.Null();
    else
        json.String(file.error);
    json.Key("model_letter_code").Int(file.modelLetterCode);
    json.Key("model").Int(model);
    json.Key("variant").String(VariantName(model));
    if (file.anythingRead)
        WriteRecordFields(json, file.record, withSamples);
    else
        WriteNullRecordFields(json, withSamples);
    json.EndObject();
    return json.Text();
}

int UsageError(std::ostream& err, const std::string& what) {
    err << "mirado-cli info: " << what << "\n" << kInfoUsage;
    return kExitUsage;
}

} // namespace

int RunInfo(const CliArgs& args, std::ostream& out, std::ostream& err) {
    bool withSamples = false;
    CliArgs paths;
    for (const std::string& arg : args) {
        if (arg == "--samples")
            withSamples = true;
        else if (arg.size() > 1 && arg[0] == '-')
            return UsageError(err, "unknown option '" + arg + "'");
        else
            paths.push_back(arg);
    }
    if (paths.empty())
        return UsageError(err, "no FILE given");
    int status = kExitOk;
    for (const std::string& path : paths) {
        const std::unique_ptr<LoadedFile> file = LoadMeasurementFile(path);
        out << FileInfoLine(*file, withSamples) << '\n';
        if (!file->ok) {
            err << path << file->error << '\n';
            status = kExitLoadFailed;
        }
    }
    return status;
}

} // namespace mirado
