// mirado-cli synth: writes synthetic measurement files from the physiological model, one
// file with the given options or the whole bundled sample set.

#include "cli/CliCommand.h"
#include "cli/JsonWriter.h"
#include "records/synth/RecordingGenerator.h"
#include "records/synth/SampleSet.h"

#include <charconv>
#include <functional>
#include <map>
#include <ostream>

namespace mirado {

const char* const kSynthUsage =
    "mirado-cli synth [OPTIONS] -o FILE\n"
    "mirado-cli synth --sample-set FOLDER\n"
    "  Writes a synthetic measurement file: cuff deflating from the inflation pressure,\n"
    "  optical pulse at the species' heart rate with an oscillometric envelope, the true\n"
    "  pressures, their cuff positions and the beat positions in the stored result.\n"
    "  --sample-set FOLDER  write the bundled sample recordings into FOLDER\n"
    "  -o, --output FILE    the file to write\n"
    "  --seed N             random seed (default 1); equal options give equal bytes\n"
    "  --species NAME       mouse (default), rat, rabbit, monkey, dog or other\n"
    "  --model LETTER       model letter byte (default A for mouse and rat, else B)\n"
    "  --sbp, --mbp, --dbp MMHG  true pressures (default drawn; MBP derived if omitted)\n"
    "  --heart-rate BPM     heart rate (default drawn from the species' range)\n"
    "  --inflation MMHG     inflation pressure (default drawn above SBP)\n"
    "  --noise N            optical noise in A/D counts (default 4; the cuff gets N/4)\n"
    "  --saturated          pulse beyond the optical A/D range (clipped tops)\n"
    "  --spikes N           N motion artefacts\n"
    "  --missing-beats N    N beats without a pulse below the systolic pressure\n"
    "  --flat               no pulse; constant optical channel\n"
    "  --deflation KIND     normal (default), slow or fast\n"
    "  --onset KIND         auto (default), sharp or gradual pulse onset at SBP\n"
    "  --incomplete         stored result without MBP and DBP (valid mark 0)\n"
    "  --damage KIND        none (default), truncated, corrupt-codes, short-ch2,\n"
    "                       overlong-ch1\n"
    "  --date YY/MM/DD, --time HH:MM:SS, --animal-no T, --study-no T, --weight T,\n"
    "  --sex-age T, --comment T   header texts (UTF-8, stored as CP932)\n"
    "  --truth              print the model's truth as one JSON line\n";

namespace {

struct SynthRequest {
    SynthOptions options;
    std::string output;
    std::string sampleSet;
    bool printTruth = false;
};

bool ParseInt(const std::string& text, int& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

bool ParseSeed(const std::string& text, uint64_t& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

template <typename T>
bool ParseChoice(const std::string& text, const std::map<std::string, T>& choices, T& value) {
    const auto found = choices.find(text);
    if (found == choices.end())
        return false;
    value = found->second;
    return true;
}

constexpr int kUnitsPerMmHg = 2;

using ValueHandler = std::function<bool(SynthRequest&, const std::string&)>;
using FlagHandler = std::function<void(SynthRequest&)>;

ValueHandler IntoInt(int SynthOptions::*field, int scale = 1) {
    return [field, scale](SynthRequest& r, const std::string& v) {
        int parsed = 0;
        if (!ParseInt(v, parsed))
            return false;
        r.options.*field = parsed * scale;
        return true;
    };
}

ValueHandler IntoText(std::optional<std::string> SynthOptions::*field) {
    return [field](SynthRequest& r, const std::string& v) {
        r.options.*field = v;
        return true;
    };
}

const std::map<std::string, ValueHandler>& ValueOptions() {
    static const std::map<std::string, ValueHandler> options = {
        {"-o", [](SynthRequest& r, const std::string& v) { return r.output = v, true; }},
        {"--output", [](SynthRequest& r, const std::string& v) { return r.output = v, true; }},
        {"--sample-set",
         [](SynthRequest& r, const std::string& v) { return r.sampleSet = v, true; }},
        {"--seed",
         [](SynthRequest& r, const std::string& v) { return ParseSeed(v, r.options.seed); }},
        {"--species",
         [](SynthRequest& r, const std::string& v) {
             const std::optional<Species> species = ParseSpecies(v);
             if (species)
                 r.options.species = *species;
             return species.has_value();
         }},
        {"--model",
         [](SynthRequest& r, const std::string& v) {
             if (v.size() != 1 || v[0] == '\0')
                 return false;
             r.options.modelLetter = v[0];
             return true;
         }},
        {"--sbp", IntoInt(&SynthOptions::sbp, kUnitsPerMmHg)},
        {"--mbp", IntoInt(&SynthOptions::mbp, kUnitsPerMmHg)},
        {"--dbp", IntoInt(&SynthOptions::dbp, kUnitsPerMmHg)},
        {"--heart-rate", IntoInt(&SynthOptions::heartRate)},
        {"--inflation", IntoInt(&SynthOptions::inflationMmHg)},
        {"--noise", IntoInt(&SynthOptions::noise)},
        {"--spikes", IntoInt(&SynthOptions::spikes)},
        {"--missing-beats", IntoInt(&SynthOptions::missingBeats)},
        {"--deflation",
         [](SynthRequest& r, const std::string& v) {
             return ParseChoice<Deflation>(v,
                                           {{"normal", Deflation::Normal},
                                            {"slow", Deflation::TooSlow},
                                            {"fast", Deflation::TooFast}},
                                           r.options.deflation);
         }},
        {"--onset",
         [](SynthRequest& r, const std::string& v) {
             return ParseChoice<Onset>(
                 v, {{"auto", Onset::Auto}, {"sharp", Onset::Sharp}, {"gradual", Onset::Gradual}},
                 r.options.onset);
         }},
        {"--damage",
         [](SynthRequest& r, const std::string& v) {
             return ParseChoice<Damage>(v,
                                        {{"none", Damage::None},
                                         {"truncated", Damage::Truncated},
                                         {"corrupt-codes", Damage::CorruptCodes},
                                         {"short-ch2", Damage::ShortChannel2},
                                         {"overlong-ch1", Damage::OverlongChannel1}},
                                        r.options.damage);
         }},
        {"--date", IntoText(&SynthOptions::date)},
        {"--time", IntoText(&SynthOptions::time)},
        {"--animal-no", IntoText(&SynthOptions::animalNo)},
        {"--study-no", IntoText(&SynthOptions::studyNo)},
        {"--weight", IntoText(&SynthOptions::weight)},
        {"--sex-age", IntoText(&SynthOptions::sexAge)},
        {"--comment", IntoText(&SynthOptions::comment)},
    };
    return options;
}

const std::map<std::string, FlagHandler>& FlagOptions() {
    static const std::map<std::string, FlagHandler> flags = {
        {"--saturated", [](SynthRequest& r) { r.options.saturated = true; }},
        {"--flat", [](SynthRequest& r) { r.options.flatOptical = true; }},
        {"--incomplete", [](SynthRequest& r) { r.options.incompleteResult = true; }},
        {"--truth", [](SynthRequest& r) { r.printTruth = true; }},
    };
    return flags;
}

// Parses the arguments; returns an empty string on success, else what is wrong.
std::string ParseRequest(const CliArgs& args, SynthRequest& request) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (const auto flag = FlagOptions().find(arg); flag != FlagOptions().end()) {
            flag->second(request);
            continue;
        }
        const auto option = ValueOptions().find(arg);
        if (option == ValueOptions().end())
            return "unknown argument '" + arg + "'";
        if (i + 1 >= args.size())
            return arg + " needs a value";
        if (!option->second(request, args[++i]))
            return "invalid value '" + args[i] + "' for " + arg;
    }
    if (request.output.empty() == request.sampleSet.empty())
        return "give either -o FILE or --sample-set FOLDER";
    return CheckSynthOptions(request.options);
}

std::string TruthLine(const std::string& path, const SynthTruth& truth) {
    CJsonWriter json;
    json.BeginObject().Key("path").String(path);
    json.Key("sampling").Int(truth.sampleInterval);
    json.Key("model_letter").String(std::string(1, truth.modelLetter));
    json.Key("sbp_raw").Int(truth.sbp).Key("mbp_raw").Int(truth.mbp).Key("dbp_raw").Int(truth.dbp);
    json.Key("marker_s").Int(truth.markerS).Key("marker_m").Int(truth.markerM);
    json.Key("marker_d").Int(truth.markerD);
    json.Key("heart_rate").Int(truth.heartRate).Key("inflation_raw").Int(truth.inflation);
    json.Key("deflation_mmhg_per_s").Int(truth.deflationMmHgPerSecond);
    json.Key("release_index").Int(truth.releaseIndex);
    json.Key("beats").BeginArray();
    for (const int16_t beat : truth.beats)
        json.Int(beat);
    json.EndArray().Key("spikes").BeginArray();
    for (const int16_t spike : truth.spikes)
        json.Int(spike);
    json.EndArray().EndObject();
    return json.Text();
}

} // namespace

int RunSynth(const CliArgs& args, std::ostream& out, std::ostream& err) {
    SynthRequest request;
    if (const std::string problem = ParseRequest(args, request); !problem.empty()) {
        err << "mirado-cli synth: " << problem << "\n" << kSynthUsage;
        return kExitUsage;
    }
    std::string error;
    if (!request.sampleSet.empty()) {
        if (!WriteBundledSamples(request.sampleSet, error)) {
            err << "mirado-cli synth: " << error << "\n";
            return kExitLoadFailed;
        }
        return kExitOk;
    }
    const SynthRecording recording = GenerateRecording(request.options);
    if (!WriteBytes(request.output, recording.bytes, error)) {
        err << "mirado-cli synth: " << error << "\n";
        return kExitLoadFailed;
    }
    if (request.printTruth)
        out << TruthLine(request.output, recording.truth) << '\n';
    return kExitOk;
}

} // namespace mirado
