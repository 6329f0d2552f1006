// Accuracy of both pressure-determination methods against generated recordings: for
// each species, the mean and SD of (method - truth) in mmHg over the recordings a
// method accepted (result code 0), and the share of each result code. Prints a
// Markdown table. Usage: validate_analysis [recordings per species, default 300].

#include "records/AdData.h"
#include "records/AnalysisSequence.h"
#include "records/synth/RecordingGenerator.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

namespace {

using namespace mirado;

struct ErrorSum {
    int n = 0;
    double sum = 0, squares = 0;
    void Add(double v) {
        ++n;
        sum += v;
        squares += v * v;
    }
    std::string Text() const {
        if (n == 0)
            return "-";
        const double mean = sum / n;
        const double sd =
            n > 1 ? std::sqrt(std::max(0.0, (squares - n * mean * mean) / (n - 1))) : 0;
        char text[64];
        std::snprintf(text, sizeof text, "%+.1f ± %.1f", mean, sd);
        return text;
    }
};

struct MethodTally {
    ErrorSum sbp, mbp, dbp;
    std::map<int, int> codes;
};

double Mmhg(int halfMmhg) {
    return halfMmhg / 2.0;
}

void Tally(MethodTally& tally, int code, int16_t sbp, int16_t mbp, int16_t dbp,
           const SynthTruth& truth) {
    ++tally.codes[code];
    if (code != 0)
        return;
    tally.sbp.Add(Mmhg(sbp - truth.sbp));
    tally.mbp.Add(Mmhg(mbp - truth.mbp));
    tally.dbp.Add(Mmhg(dbp - truth.dbp));
}

std::string CodeShares(const MethodTally& tally, int total) {
    std::string text;
    for (const auto& [code, count] : tally.codes) {
        char part[32];
        std::snprintf(part, sizeof part, "%s%d: %.0f%%", text.empty() ? "" : ", ", code,
                      100.0 * count / total);
        text += part;
    }
    return text;
}

} // namespace

int main(int argc, char** argv) {
    const int perSpecies = argc > 1 ? std::atoi(argv[1]) : 300;
    std::printf(
        "| Species | Method | n (code 0) | SBP error | MBP error | DBP error | Result codes |\n");
    std::printf("|---|---|---|---|---|---|---|\n");
    for (const Species species :
         {Species::Mouse, Species::Rat, Species::Rabbit, Species::Monkey, Species::Dog}) {
        MethodTally a, e;
        for (int seed = 1; seed <= perSpecies; ++seed) {
            SynthOptions options;
            options.seed = static_cast<uint64_t>(seed);
            options.species = species;
            const SynthRecording recording = GenerateRecording(options);
            auto data = std::make_unique<CAdData>();
            int modelCode = 4;
            if (!data->LoadFromBytes("validate", recording.bytes.data(), recording.bytes.size(),
                                     modelCode, nullptr)
                     .ok())
                continue;
            auto records = std::make_unique<AnalysisRecords>();
            records->AnalyzeBoth(*data);
            int16_t sbp = 0, mbp = 0, dbp = 0;
            int code = records->recordA.GetPressures(sbp, mbp, dbp);
            Tally(a, code, sbp, mbp, dbp, recording.truth);
            code = records->recordE.GetPressures(sbp, mbp, dbp);
            Tally(e, code, sbp, mbp, dbp, recording.truth);
        }
        for (const auto& [name, tally] : {std::pair{"A", &a}, std::pair{"E", &e}}) {
            std::printf("| %s | %s | %d | %s | %s | %s | %s |\n", SpeciesName(species), name,
                        tally->sbp.n, tally->sbp.Text().c_str(), tally->mbp.Text().c_str(),
                        tally->dbp.Text().c_str(), CodeShares(*tally, perSpecies).c_str());
        }
    }
    return 0;
}
