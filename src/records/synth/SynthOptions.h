#pragma once
// What a synthetic recording should look like (SynthOptions) and what it truly holds
// (SynthTruth). Pressures are in cuff-channel units (half mmHg) unless a name says mmHg.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace mirado {

enum class Species { Mouse, Rat, Rabbit, Monkey, Dog, Other };
enum class Deflation { Normal, TooSlow, TooFast };
// How the pulse appears as the cuff falls through the systolic pressure: a sharp onset
// (the first clear beat lies at the systolic pressure) or a gradual one (the pulse
// reaches 55 % of its largest amplitude there). Auto takes sharp for model letters whose
// devices read the first beat (A, C and the others) and gradual for B and D.
enum class Onset { Auto, Sharp, Gradual };
enum class Damage {
    None,
    Truncated,        // the file ends in the middle of channel 2
    CorruptCodes,     // channel 1's length word covers only half its codes
    ShortChannel2,    // channel 2 holds 3999 samples
    OverlongChannel1, // channel 1 holds 4001 samples
};

struct SynthOptions {
    uint64_t seed = 1;
    Species species = Species::Mouse;
    char modelLetter = 0; // 0: 'A' for mouse and rat, 'B' for the larger animals and other
    // True pressures in half mmHg; 0 draws them from the seed (MBP alone 0 derives it).
    int sbp = 0, mbp = 0, dbp = 0;
    int heartRate = 0;        // bpm; 0 draws it from the species' range
    int inflationMmHg = 0;    // 0 draws it above the systolic pressure
    int noise = 4;            // optical noise in A/D counts (the cuff gets a quarter)
    bool saturated = false;   // pulse far beyond the optical A/D range, tops clipped
    int spikes = 0;           // motion artefacts
    int missingBeats = 0;     // beats without a pulse below the systolic pressure
    bool flatOptical = false; // no pulse at all; the optical channel is constant
    Deflation deflation = Deflation::Normal;
    Onset onset = Onset::Auto;
    bool incompleteResult = false; // stored result without MBP and DBP, valid mark 0
    Damage damage = Damage::None;
    // Header texts in UTF-8 (stored as CP932); unset ones are drawn from the seed.
    std::optional<std::string> date, time, animalNo, studyNo, weight, sexAge, comment;
};

struct SynthTruth {
    int sampleInterval = 0; // 0.1 ms units
    char modelLetter = 0;
    int16_t sbp = 0, mbp = 0, dbp = 0;             // half mmHg
    int16_t markerS = 0, markerM = 0, markerD = 0; // where the cuff crossed them
    int heartRate = 0;                             // bpm of the model
    int inflation = 0;                             // half mmHg at the start
    int deflationMmHgPerSecond = 0;
    int releaseIndex = 0;        // first sample of the released (zero) cuff; 4000 when none
    std::vector<int16_t> beats;  // every pulse peak present in the optical channel
    std::vector<int16_t> spikes; // start of every motion artefact
};

struct SynthRecording {
    std::vector<uint8_t> bytes;
    SynthTruth truth;
};

// Sample interval (0.1 ms units) and heart-rate range (bpm) of a species.
int SampleIntervalOf(Species species);
void HeartRateRangeOf(Species species, int& low, int& high);
char DefaultModelLetterOf(Species species);
const char* SpeciesName(Species species);
std::optional<Species> ParseSpecies(const std::string& name);

// Empty when the options describe a recording the generator can make, else the reason.
std::string CheckSynthOptions(const SynthOptions& options);

} // namespace mirado
