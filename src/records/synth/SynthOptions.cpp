#include "records/synth/SynthOptions.h"

#include "records/RecordLayout.h"
#include "records/RecordUnits.h"
#include "records/TextEncoding.h"

namespace mirado {

namespace {

constexpr int kMaxPressure = 600; // half mmHg (300 mmHg)
constexpr int kMaxInflationMmHg = 350;
constexpr int kInflationMarginMmHg = 10; // the cuff must start above the systolic pressure
constexpr int kMinHeartRate = 20, kMaxHeartRate = 1000;
constexpr int kMaxNoise = 200;
constexpr int kMaxSpikes = 50;
constexpr int kMaxMissingBeats = 20;

struct SpeciesInfo {
    Species species;
    const char* name;
    int sampleInterval;
    int heartRateLow, heartRateHigh;
    char modelLetter;
};

constexpr SpeciesInfo kSpecies[] = {
    {Species::Mouse, "mouse", kInterval2ms, 450, 700, 'A'},
    {Species::Rat, "rat", kInterval4ms, 300, 450, 'A'},
    {Species::Rabbit, "rabbit", kInterval2ms, 150, 300, 'B'},
    {Species::Monkey, "monkey", kInterval2ms, 150, 300, 'B'},
    {Species::Dog, "dog", kInterval4ms, 70, 160, 'B'},
    {Species::Other, "other", kInterval10ms, 60, 180, 'B'},
};

const SpeciesInfo& InfoOf(Species species) {
    for (const SpeciesInfo& info : kSpecies) {
        if (info.species == species)
            return info;
    }
    return kSpecies[0];
}

std::string CheckText(const std::optional<std::string>& text, const char* name, size_t width) {
    if (!text)
        return {};
    const std::optional<size_t> length = Cp932ByteLength(*text);
    if (!length)
        return std::string(name) + ": not representable in code page 932";
    if (*length > width)
        return std::string(name) + ": longer than " + std::to_string(width) + " bytes";
    return {};
}

std::string CheckDateTime(const std::optional<std::string>& text, const char* name) {
    if (!text)
        return {};
    bool printable = text->size() == kDateWidth;
    for (const char c : *text)
        printable = printable && c >= ' ' && c <= '~';
    return printable ? std::string() : std::string(name) + ": must be 8 ASCII characters";
}

std::string CheckPressures(const SynthOptions& o) {
    if (o.sbp == 0 && (o.mbp != 0 || o.dbp != 0))
        return "the mean and diastolic pressures need a systolic pressure";
    if (o.sbp == 0)
        return {};
    if (o.dbp == 0)
        return "a systolic pressure needs a diastolic pressure";
    if (o.sbp > kMaxPressure || o.dbp <= 0 || o.dbp >= o.sbp)
        return "pressures must satisfy 0 < diastolic < systolic <= 300 mmHg";
    if (o.mbp != 0 && (o.mbp <= o.dbp || o.mbp >= o.sbp))
        return "the mean pressure must lie between the diastolic and the systolic";
    if (o.inflationMmHg != 0 && 2 * (o.inflationMmHg - kInflationMarginMmHg) < o.sbp)
        return "the inflation pressure must exceed the systolic pressure by 10 mmHg";
    return {};
}

} // namespace

int SampleIntervalOf(Species species) {
    return InfoOf(species).sampleInterval;
}

void HeartRateRangeOf(Species species, int& low, int& high) {
    low = InfoOf(species).heartRateLow;
    high = InfoOf(species).heartRateHigh;
}

char DefaultModelLetterOf(Species species) {
    return InfoOf(species).modelLetter;
}

const char* SpeciesName(Species species) {
    return InfoOf(species).name;
}

std::optional<Species> ParseSpecies(const std::string& name) {
    for (const SpeciesInfo& info : kSpecies) {
        if (name == info.name)
            return info.species;
    }
    return std::nullopt;
}

std::string CheckSynthOptions(const SynthOptions& o) {
    if (std::string e = CheckPressures(o); !e.empty())
        return e;
    if (o.heartRate != 0 && (o.heartRate < kMinHeartRate || o.heartRate > kMaxHeartRate))
        return "heart rate must lie between 20 and 1000 bpm";
    if (o.inflationMmHg < 0 || o.inflationMmHg > kMaxInflationMmHg)
        return "inflation pressure must lie between 1 and 350 mmHg";
    if (o.noise < 0 || o.noise > kMaxNoise)
        return "noise must lie between 0 and 200";
    if (o.spikes < 0 || o.spikes > kMaxSpikes)
        return "spikes must lie between 0 and 50";
    if (o.missingBeats < 0 || o.missingBeats > kMaxMissingBeats)
        return "missing beats must lie between 0 and 20";
    const std::string checks[] = {
        CheckDateTime(o.date, "date"),
        CheckDateTime(o.time, "time"),
        CheckText(o.animalNo, "animal number", kIdTextWidth),
        CheckText(o.studyNo, "study number", kIdTextWidth),
        CheckText(o.weight, "weight", kIdTextWidth),
        CheckText(o.sexAge, "sex/age", kIdTextWidth),
        CheckText(o.comment, "comment", kCommentWidth),
    };
    for (const std::string& e : checks) {
        if (!e.empty())
            return e;
    }
    return {};
}

} // namespace mirado
