// mirado-cli synth: writes synthetic measurement files from the physiological model, one
// file with the given options or the whole bundled sample set.

#include "cli/CliCommand.h"
#include "cli/CliOptions.h"
#include "platform/ConsolePrompts.h"
#include "platform/JsonWriter.h"
#include "records/synth/RecordingGenerator.h"
#include "records/synth/SampleSet.h"

#include <CLI/CLI.hpp>

#include <filesystem>
#include <map>
#include <ostream>

namespace mirado {

namespace {

constexpr int kUnitsPerMmHg = 2;

template <typename T> using Choices = std::map<std::string, T>;

template <typename T> std::vector<std::string> NamesOf(const Choices<T>& choices) {
    std::vector<std::string> names;
    for (const auto& [name, value] : choices)
        names.push_back(name);
    return names;
}

const Choices<Deflation> kDeflations = {
    {"normal", Deflation::Normal}, {"slow", Deflation::TooSlow}, {"fast", Deflation::TooFast}};
const Choices<Onset> kOnsets = {
    {"auto", Onset::Auto}, {"sharp", Onset::Sharp}, {"gradual", Onset::Gradual}};
const Choices<Damage> kDamages = {{"none", Damage::None},
                                  {"truncated", Damage::Truncated},
                                  {"corrupt-codes", Damage::CorruptCodes},
                                  {"short-ch2", Damage::ShortChannel2},
                                  {"overlong-ch1", Damage::OverlongChannel1}};

// A value that is one of the names of choices, stored as its meaning.
template <typename T>
void AddChoice(CLI::App& command, const std::string& name, const Choices<T>& choices, T& value,
               const std::string& help) {
    command
        .add_option_function<std::string>(
            name, [&choices, &value](const std::string& text) { value = choices.at(text); }, help)
        ->type_name("KIND")
        ->check(CLI::IsMember(NamesOf(choices)));
}

// An integer option with its range, stored multiplied by scale.
void AddInteger(CLI::App& command, const std::string& name, int& field, int lowest, int highest,
                const std::string& help, const std::string& typeName, int scale = 1) {
    AddIntegerOption(
        command, name, lowest, highest,
        [&field, scale](int64_t value) { field = static_cast<int>(value) * scale; }, help)
        ->type_name(typeName);
}

void AddText(CLI::App& command, const std::string& name, std::optional<std::string>& field,
             const std::string& help) {
    command
        .add_option_function<std::string>(
            name, [&field](const std::string& text) { field = text; }, help)
        ->type_name("T")
        ->group("Header texts (UTF-8, stored as CP932)");
}

const CLI::Validator kOneCharacter(
    [](const std::string& text) {
        return text.size() == 1 && text[0] != '\0' ? std::string() : "must be one character";
    },
    "");

std::string TruthLine(const std::string& path, const SynthTruth& truth) {
    CJsonWriter json;
    json.BeginObject();
    WritePath(json, path);
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

class CSynthCommand : public CCliCommand {
public:
    void Declare(CLI::App& command) override {
        command.footer(
            "mirado-cli synth [OPTIONS] -o FILE\n"
            "mirado-cli synth --sample-set FOLDER\n"
            "Writes a synthetic measurement file: cuff deflating from the inflation pressure,\n"
            "optical pulse at the species' heart rate with an oscillometric envelope, the true\n"
            "pressures, their cuff positions and the beat positions in the stored result.");
        DeclareOutputs(command);
        DeclareModel(command);
        DeclareArtefacts(command);
        for (const auto& [name, field, help] : TextFields())
            AddText(command, name, options_.*field, help);
        command.add_flag("--truth", printTruth_, "print the model's truth as one JSON line");
        command.add_flag("--force", force_, "replace files that exist already");
    }

    Result<void> Prepare(std::istream&) override {
        if (output_.empty() == sampleSet_.empty())
            return Fail("give either -o FILE or --sample-set FOLDER");
        if (std::string problem = CheckSynthOptions(options_); !problem.empty())
            return Fail(std::move(problem));
        return Ok();
    }

    int Run(CliStreams& io) override {
        if (!force_) {
            if (const Result<void> fresh = CheckNothingReplaced(); !fresh.ok())
                return Refuse(fresh, io);
        }
        if (!sampleSet_.empty()) {
            if (const Result<void> written = WriteBundledSamples(sampleSet_); !written.ok())
                return Refuse(written, io);
            return kExitOk;
        }
        const SynthRecording recording = GenerateRecording(options_);
        if (const Result<void> written = WriteBytes(output_, recording.bytes); !written.ok())
            return Refuse(written, io);
        if (printTruth_)
            io.out << TruthLine(output_, recording.truth) << '\n';
        return kExitOk;
    }

private:
    using TextField = std::optional<std::string> SynthOptions::*;

    // Without --force no existing file is replaced: an edited recording could be lost.
    // Every output is checked before anything is written.
    Result<void> CheckNothingReplaced() const {
        std::vector<std::string> outputs;
        if (sampleSet_.empty())
            outputs.push_back(output_);
        for (const SampleFile& sample :
             sampleSet_.empty() ? std::vector<SampleFile>() : BundledSamples())
            outputs.push_back(sampleSet_ + "/" + sample.name);
        for (const std::string& output : outputs) {
            std::error_code ec;
            if (std::filesystem::exists(std::filesystem::symlink_status(output, ec)))
                return Fail(output + " exists; give --force to replace it");
        }
        return Ok();
    }

    static int Refuse(const Result<void>& failure, CliStreams& io) {
        io.err << "mirado-cli synth: " << SingleLine(failure.error()) << "\n";
        return kExitLoadFailed;
    }

    struct TextOption {
        const char* name;
        TextField field;
        const char* help;
    };

    static std::vector<TextOption> TextFields() {
        return {{"--date", &SynthOptions::date, "recording date, 8 characters (YY/MM/DD)"},
                {"--time", &SynthOptions::time, "recording time, 8 characters (HH:MM:SS)"},
                {"--animal-no", &SynthOptions::animalNo, "animal number, at most 8 bytes"},
                {"--study-no", &SynthOptions::studyNo, "study number, at most 8 bytes"},
                {"--weight", &SynthOptions::weight, "weight, at most 8 bytes"},
                {"--sex-age", &SynthOptions::sexAge, "sex and age, at most 8 bytes"},
                {"--comment", &SynthOptions::comment, "comment, at most 32 bytes"}};
    }

    void DeclareOutputs(CLI::App& command) {
        command
            .add_option("--sample-set", sampleSet_,
                        "write the bundled sample recordings into FOLDER")
            ->type_name("FOLDER");
        command.add_option("-o,--output", output_, "the file to write")->type_name("FILE");
        AddUnsignedOption(command, "--seed", options_.seed,
                          "random seed (default 1); equal options give equal bytes");
    }

    void DeclareModel(CLI::App& command) {
        command
            .add_option_function<std::string>(
                "--species",
                [this](const std::string& name) { options_.species = *ParseSpecies(name); },
                "mouse (default), rat, rabbit, monkey, dog or other")
            ->type_name("NAME")
            ->check(CLI::Validator(
                [](const std::string& name) {
                    return ParseSpecies(name) ? std::string() : "unknown species '" + name + "'";
                },
                ""));
        command
            .add_option_function<std::string>(
                "--model", [this](const std::string& letter) { options_.modelLetter = letter[0]; },
                "model letter byte (default A for mouse and rat, else B)")
            ->type_name("LETTER")
            ->check(kOneCharacter);
        AddInteger(command, "--sbp", options_.sbp, 2, 300,
                   "true systolic pressure, 2 to 300 (default drawn)", "MMHG", kUnitsPerMmHg);
        AddInteger(command, "--mbp", options_.mbp, 2, 299,
                   "true mean pressure, 2 to 299, between DBP and SBP (default derived)", "MMHG",
                   kUnitsPerMmHg);
        AddInteger(command, "--dbp", options_.dbp, 1, 299,
                   "true diastolic pressure, 1 to 299, below SBP (default drawn)", "MMHG",
                   kUnitsPerMmHg);
        AddInteger(command, "--heart-rate", options_.heartRate, 20, 1000,
                   "heart rate, 20 to 1000 (default drawn from the species' range)", "BPM");
        AddInteger(command, "--inflation", options_.inflationMmHg, 1, 350,
                   "inflation pressure, 1 to 350, at least SBP + 10 (default drawn above SBP)",
                   "MMHG");
    }

    void DeclareArtefacts(CLI::App& command) {
        AddInteger(command, "--noise", options_.noise, 0, 200,
                   "optical noise in A/D counts, 0 to 200 (default 4; the cuff gets N/4)", "N");
        command.add_flag("--saturated", options_.saturated,
                         "pulse beyond the optical A/D range (clipped tops)");
        AddInteger(command, "--spikes", options_.spikes, 0, 50, "N motion artefacts, 0 to 50", "N");
        AddInteger(command, "--missing-beats", options_.missingBeats, 0, 20,
                   "N beats without a pulse below the systolic pressure, 0 to 20", "N");
        command.add_flag("--flat", options_.flatOptical, "no pulse; constant optical channel");
        AddChoice(command, "--deflation", kDeflations, options_.deflation,
                  "how fast the cuff falls (default normal)");
        AddChoice(command, "--onset", kOnsets, options_.onset, "pulse onset at SBP (default auto)");
        command.add_flag("--incomplete", options_.incompleteResult,
                         "stored result without MBP and DBP (valid mark 0)");
        AddChoice(command, "--damage", kDamages, options_.damage,
                  "damage to the written file (default none)");
    }

    SynthOptions options_;
    std::string output_;
    std::string sampleSet_;
    bool printTruth_ = false;
    bool force_ = false;
};

} // namespace

std::unique_ptr<CCliCommand> MakeSynthCommand() {
    return std::make_unique<CSynthCommand>();
}

} // namespace mirado
