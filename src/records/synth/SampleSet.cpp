#include "records/synth/SampleSet.h"

#include "records/synth/RecordingGenerator.h"

namespace mirado {

namespace {

SynthOptions Make(uint64_t seed, Species species, char modelLetter) {
    SynthOptions o;
    o.seed = seed;
    o.species = species;
    o.modelLetter = modelLetter;
    return o;
}

std::vector<SampleFile> BuildSamples() {
    std::vector<SampleFile> samples;
    samples.push_back({"MS0412.001", Make(101, Species::Mouse, 'A')});
    SynthOptions noisyMouse = Make(102, Species::Mouse, 'A');
    noisyMouse.noise = 12;
    noisyMouse.missingBeats = 2;
    samples.push_back({"MS0412.002", noisyMouse});
    samples.push_back({"RT0415.001", Make(201, Species::Rat, 'A')});
    samples.push_back({"RT0415.002", Make(202, Species::Rat, 'C')});
    SynthOptions slowRat = Make(203, Species::Rat, 'C');
    slowRat.deflation = Deflation::TooSlow;
    samples.push_back({"RT0415.003", slowRat});
    samples.push_back({"OT0420.001", Make(301, Species::Other, 'C')});
    samples.push_back({"RB0502.001", Make(401, Species::Rabbit, 'B')});
    SynthOptions monkey = Make(402, Species::Monkey, 'B');
    monkey.spikes = 3;
    samples.push_back({"MK0508.001", monkey});
    samples.push_back({"DG0511.001", Make(501, Species::Dog, 'D')});
    SynthOptions incompleteDog = Make(502, Species::Dog, 'D');
    incompleteDog.incompleteResult = true;
    samples.push_back({"DG0511.002", incompleteDog});
    // Other model letters: the file name's first letter chooses the device.
    samples.push_back({"a_mouse.001", Make(601, Species::Mouse, 'X')});
    SynthOptions bDog = Make(602, Species::Dog, 'Z');
    bDog.onset = Onset::Gradual;
    samples.push_back({"b_dog.001", bDog});
    SynthOptions saturated = Make(701, Species::Mouse, 'A');
    saturated.saturated = true;
    samples.push_back({"SAT0601.001", saturated});
    SynthOptions flat = Make(801, Species::Rabbit, 'B');
    flat.flatOptical = true;
    samples.push_back({"FLAT0603.001", flat});
    SynthOptions damaged = Make(901, Species::Rat, 'A');
    damaged.damage = Damage::CorruptCodes;
    samples.push_back({"DMG0610.001", damaged});
    return samples;
}

} // namespace

const std::vector<SampleFile>& BundledSamples() {
    static const std::vector<SampleFile> samples = BuildSamples();
    return samples;
}

Result<void> WriteBundledSamples(const std::string& folder) {
    for (const SampleFile& sample : BundledSamples()) {
        if (Result<void> written = WriteRecording(folder + "/" + sample.name, sample.options);
            !written.ok())
            return written;
    }
    return Ok();
}

} // namespace mirado
