#include "records/synth/RecordingGenerator.h"

#include "records/RecordLayout.h"
#include "records/RecordUnits.h"
#include "records/TextEncoding.h"
#include "records/WaveCodec.h"
#include "records/synth/SignalModel.h"
#include "records/synth/SynthRandom.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>

namespace mirado {

namespace {

// Random streams of the file (see CSynthRandom); the model has its own.
constexpr uint64_t kParameterStream = 1;
constexpr uint64_t kTextStream = 2;
constexpr uint64_t kFillerStream = 3;

constexpr int kUnitsPerMmHg = 2;
constexpr int kSenseLow = 2, kSenseHigh = 5;
constexpr int kInflationStepMmHg = 10;
constexpr int kInflationMarginLow = 30, kInflationMarginHigh = 50; // mmHg above SBP
constexpr double kTooSlowFactor = 0.3;
constexpr double kTooFastFactor = 4.5;

// Byte ranges without a meaning to this system: filled with the device's "settings".
struct ByteRange {
    size_t begin, end;
};
constexpr ByteRange kFillerRanges[] = {
    {kOffsetComment + kCommentWidth, kOffsetSampleInterval},
    {kOffsetSampleInterval + kByteFieldWidth, kOffsetSense},
    {kOffsetSense + kByteFieldWidth, kOffsetValidMark},
    {kOffsetValidMark + kInt16Width, kOffsetModelLetter},
    {kOffsetModelLetter + kByteFieldWidth, kWrittenHeaderSize},
    {kOffsetResultBlock + kResultMbp + kInt16Width, kOffsetResultBlock + kResultMarkerS},
    {kOffsetResultBlock + kResultMarkerD + kInt16Width, kOffsetResultBlock + kResultBlockSize},
    {kOffsetResultBlock + kResultBlockSize, kOffsetSecondResultCopy},
};

// Pressures and cuff deflation of a species. The deflation (mmHg per second) lets the
// cuff pass well below the diastolic pressure within the 4000 samples; for the larger
// animals, whose hearts beat slowly, it is slower, so that the pulse is seen over enough
// beats between the systolic pressure and the fall of the envelope below the mean.
struct SpeciesPressures {
    int sbpLow, sbpHigh;             // mmHg
    int pulseLow, pulseHigh;         // SBP - DBP, mmHg
    int deflationLow, deflationHigh; // mmHg per second
};

SpeciesPressures PressuresOf(Species species) {
    switch (species) {
    case Species::Mouse:
        return {100, 135, 30, 45, 18, 26};
    case Species::Rat:
        return {110, 150, 30, 45, 9, 13};
    case Species::Rabbit:
        return {90, 120, 25, 40, 14, 18};
    case Species::Monkey:
        return {110, 140, 35, 50, 14, 18};
    case Species::Dog:
        return {120, 160, 40, 60, 7, 10};
    case Species::Other:
        return {100, 140, 30, 45, 4, 5};
    }
    return {100, 140, 30, 45, 4, 5};
}

struct Resolved {
    SignalParameters signal;
    char modelLetter = 'A';
    int inflationMmHg = 0;
    int deflationMmHgPerSecond = 0;
};

bool GradualOnsetFor(Onset onset, char modelLetter) {
    if (onset != Onset::Auto)
        return onset == Onset::Gradual;
    return modelLetter == 'B' || modelLetter == 'D';
}

// Every value is drawn whether or not the options override it, so that one override
// never changes the others.
Resolved Resolve(const SynthOptions& o) {
    CSynthRandom random(o.seed, kParameterStream);
    Resolved r;
    SignalParameters& s = r.signal;
    s.seed = o.seed;
    s.sampleInterval = SampleIntervalOf(o.species);
    r.modelLetter = o.modelLetter != 0 ? o.modelLetter : DefaultModelLetterOf(o.species);

    const SpeciesPressures range = PressuresOf(o.species);
    const int sbpMmHg = random.Between(range.sbpLow, range.sbpHigh);
    const int pulseMmHg = random.Between(range.pulseLow, range.pulseHigh);
    int low = 0, high = 0;
    HeartRateRangeOf(o.species, low, high);
    const int heartRate = random.Between(low, high);
    const int margin = random.Between(kInflationMarginLow, kInflationMarginHigh);
    const int deflation = random.Between(range.deflationLow, range.deflationHigh);

    const int sbp = o.sbp != 0 ? o.sbp : kUnitsPerMmHg * sbpMmHg;
    const int dbp = o.sbp != 0 ? o.dbp : kUnitsPerMmHg * (sbpMmHg - pulseMmHg);
    const int mbp = o.mbp != 0 ? o.mbp : dbp + (sbp - dbp + 1) / 3;
    s.sbp = sbp, s.mbp = mbp, s.dbp = dbp;
    s.heartRate = o.heartRate != 0 ? o.heartRate : heartRate;
    const int sbpRounded = (sbp + 1) / kUnitsPerMmHg;
    r.inflationMmHg = o.inflationMmHg != 0
                          ? o.inflationMmHg
                          : (sbpRounded + margin) / kInflationStepMmHg * kInflationStepMmHg;
    s.inflation = kUnitsPerMmHg * r.inflationMmHg;

    double rate = deflation;
    if (o.deflation == Deflation::TooSlow)
        rate *= kTooSlowFactor;
    else if (o.deflation == Deflation::TooFast)
        rate *= kTooFastFactor;
    r.deflationMmHgPerSecond = static_cast<int>(rate + 0.5);
    s.deflationPerSample = rate * kUnitsPerMmHg * s.sampleInterval / kIntervalUnitsPerSecond;

    s.gradualOnset = GradualOnsetFor(o.onset, r.modelLetter);
    s.saturated = o.saturated;
    s.flatOptical = o.flatOptical;
    s.noise = o.noise;
    s.spikes = o.spikes;
    s.missingBeats = o.missingBeats;
    return r;
}

// ---- header texts --------------------------------------------------------------------

template <size_t N> const char* Pick(CSynthRandom& random, const char* const (&list)[N]) {
    return list[random.Between(0, static_cast<int>(N) - 1)];
}

std::string TwoDigits(int v) {
    return std::string(1, static_cast<char>('0' + v / 10)) + static_cast<char>('0' + v % 10);
}

// Tenths as "12.3".
std::string Tenths(int v) {
    return std::to_string(v / 10) + "." + std::to_string(v % 10);
}

struct DrawnTexts {
    std::string date, time, animalNo, studyNo, weight, sexAge, comment;
};

const char* AnimalPrefix(Species species) {
    switch (species) {
    case Species::Mouse:
        return "M-";
    case Species::Rat:
        return "R-";
    case Species::Rabbit:
        return "RB-";
    case Species::Monkey:
        return "MK-";
    case Species::Dog:
        return "D-";
    case Species::Other:
        return "X-";
    }
    return "X-";
}

std::string DrawWeight(CSynthRandom& random, Species species) {
    switch (species) {
    case Species::Mouse:
        return Tenths(random.Between(180, 320)) + "g";
    case Species::Rat:
        return std::to_string(random.Between(220, 450)) + "g";
    case Species::Rabbit:
        return Tenths(random.Between(22, 35)) + "kg";
    case Species::Monkey:
        return Tenths(random.Between(30, 80)) + "kg";
    case Species::Dog:
        return Tenths(random.Between(80, 140)) + "kg";
    case Species::Other:
        return Tenths(random.Between(8, 20)) + "kg";
    }
    return {};
}

std::string DrawSexAge(CSynthRandom& random, Species species) {
    static const char* const kSexes[] = {"雄", "雌"};
    const std::string sex = Pick(random, kSexes);
    switch (species) {
    case Species::Mouse:
        return sex + " " + std::to_string(random.Between(6, 16)) + "週";
    case Species::Rat:
        return sex + " " + std::to_string(random.Between(7, 20)) + "週";
    case Species::Rabbit:
        return sex + " " + std::to_string(random.Between(12, 30)) + "週";
    case Species::Monkey:
        return sex + " " + std::to_string(random.Between(3, 8)) + "歳";
    case Species::Dog:
        return sex + " " + std::to_string(random.Between(1, 6)) + "歳";
    case Species::Other:
        return sex + " " + std::to_string(random.Between(10, 40)) + "週";
    }
    return sex;
}

DrawnTexts DrawTexts(uint64_t seed, Species species) {
    static const char* const kStudies[] = {"試験A-01", "試験B-12", "PK-2024", "BP-005"};
    // Some comments hold CP932 codes whose second byte is a backslash (表, ソ).
    static const char* const kComments[] = {
        "覚醒下 尾動脈測定", "保温 37℃ 10分後", "血圧表示確認 ソフト",
        "baseline day 3",    "投与後 30分",     "再測定",
    };
    CSynthRandom random(seed, kTextStream);
    DrawnTexts t;
    t.date = "24/" + TwoDigits(random.Between(1, 12)) + "/" + TwoDigits(random.Between(1, 28));
    t.time = TwoDigits(random.Between(9, 17)) + ":" + TwoDigits(random.Between(0, 59)) + ":" +
             TwoDigits(random.Between(0, 59));
    t.animalNo = AnimalPrefix(species) + TwoDigits(random.Between(1, 40));
    t.studyNo = Pick(random, kStudies);
    t.weight = DrawWeight(random, species);
    t.sexAge = DrawSexAge(random, species);
    t.comment = Pick(random, kComments);
    return t;
}

// ---- file assembly -------------------------------------------------------------------

void PutS16(std::vector<uint8_t>& bytes, size_t offset, int value) {
    const auto v = static_cast<uint16_t>(value);
    bytes[offset] = static_cast<uint8_t>(v & 0xFF);
    bytes[offset + 1] = static_cast<uint8_t>(v >> 8);
}

int GetU16(const std::vector<uint8_t>& bytes, size_t offset) {
    return bytes[offset] | (bytes[offset + 1] << 8);
}

// A text field as the device stores it: CP932, padded with spaces, no terminator.
void PutText(std::vector<uint8_t>& bytes, size_t offset, size_t width, const std::string& utf8) {
    const std::string cp932 = Utf8ToCp932(utf8).value_or(std::string());
    for (size_t i = 0; i < width; ++i)
        bytes[offset + i] = i < cp932.size() ? static_cast<uint8_t>(cp932[i]) : ' ';
}

void PutHeader(std::vector<uint8_t>& bytes, const SynthOptions& o, const Resolved& r) {
    const DrawnTexts drawn = DrawTexts(o.seed, o.species);
    PutText(bytes, kOffsetDateTime, kDateWidth, o.date.value_or(drawn.date));
    PutText(bytes, kOffsetDateTime + kDateWidth, kDateWidth, o.time.value_or(drawn.time));
    PutText(bytes, kOffsetAnimalNo, kIdTextWidth, o.animalNo.value_or(drawn.animalNo));
    PutText(bytes, kOffsetStudyNo, kIdTextWidth, o.studyNo.value_or(drawn.studyNo));
    PutText(bytes, kOffsetWeight, kIdTextWidth, o.weight.value_or(drawn.weight));
    PutText(bytes, kOffsetSexAge, kIdTextWidth, o.sexAge.value_or(drawn.sexAge));
    PutText(bytes, kOffsetComment, kCommentWidth, o.comment.value_or(drawn.comment));

    CSynthRandom filler(o.seed, kFillerStream);
    for (const ByteRange& range : kFillerRanges) {
        for (size_t i = range.begin; i < range.end; ++i)
            bytes[i] = static_cast<uint8_t>(filler.Next() & 0xFF);
    }
    bytes[kOffsetSampleInterval] = static_cast<uint8_t>(r.signal.sampleInterval);
    bytes[kOffsetSense] = static_cast<uint8_t>(filler.Between(kSenseLow, kSenseHigh));
    PutS16(bytes, kOffsetValidMark, o.incompleteResult ? 0 : kValidMark);
    bytes[kOffsetModelLetter] = static_cast<uint8_t>(r.modelLetter);
}

void PutResult(std::vector<uint8_t>& bytes, const SynthOptions& o, const SynthTruth& truth) {
    const size_t block = kOffsetResultBlock;
    PutS16(bytes, block + kResultSbp, truth.sbp);
    PutS16(bytes, block + kResultDbp, o.incompleteResult ? 0 : truth.dbp);
    PutS16(bytes, block + kResultMbp, o.incompleteResult ? 0 : truth.mbp);
    PutS16(bytes, block + kResultMarkerS, truth.markerS);
    PutS16(bytes, block + kResultMarkerM, o.incompleteResult ? 0 : truth.markerM);
    PutS16(bytes, block + kResultMarkerD, o.incompleteResult ? 0 : truth.markerD);
    std::copy_n(bytes.begin() + block, kResultBlockSize, bytes.begin() + kOffsetSecondResultCopy);
    PutS16(bytes, kOffsetWriterMark, kAcquisitionWriterMark);

    const size_t stored = std::min<size_t>(truth.beats.size(), kStoredBeatCount);
    for (size_t k = 0; k < stored; ++k)
        PutS16(bytes, kOffsetBeatPositions + kInt16Width * k, truth.beats[k]);
}

// One packed block; `count` may differ from 4000 only to damage a file on purpose.
void AppendPacked(std::vector<uint8_t>& bytes, const int16_t* samples, int count) {
    std::vector<uint8_t> block(PackedSizeLimit(count));
    CWaveCodec codec;
    const int length = codec.Pack(count, block.data(), samples);
    bytes.insert(bytes.end(), block.begin(), block.begin() + length);
}

void AppendChannels(std::vector<uint8_t>& bytes, const Channel& cuff, const Channel& optical,
                    Damage damage) {
    if (damage == Damage::OverlongChannel1) {
        std::vector<int16_t> longer(cuff.begin(), cuff.end());
        longer.push_back(cuff.back());
        AppendPacked(bytes, longer.data(), kSampleCount + 1);
    } else {
        AppendPacked(bytes, cuff.data(), kSampleCount);
    }
    const int opticalCount = damage == Damage::ShortChannel2 ? kSampleCount - 1 : kSampleCount;
    AppendPacked(bytes, optical.data(), opticalCount);
}

void ApplyDamage(std::vector<uint8_t>& bytes, Damage damage) {
    const int channel1Length = GetU16(bytes, kOffsetChannels);
    if (damage == Damage::Truncated) {
        const size_t channel2 = kOffsetChannels + channel1Length;
        bytes.resize(channel2 + GetU16(bytes, channel2) / 2);
    } else if (damage == Damage::CorruptCodes) {
        PutS16(bytes, kOffsetChannels, channel1Length / 2);
    }
}

} // namespace

SynthRecording GenerateRecording(const SynthOptions& options) {
    const Resolved resolved = Resolve(options);
    SynthRecording recording;
    SynthTruth& truth = recording.truth;
    truth.sampleInterval = resolved.signal.sampleInterval;
    truth.modelLetter = resolved.modelLetter;
    truth.sbp = static_cast<int16_t>(resolved.signal.sbp);
    truth.mbp = static_cast<int16_t>(resolved.signal.mbp);
    truth.dbp = static_cast<int16_t>(resolved.signal.dbp);
    truth.heartRate = resolved.signal.heartRate;
    truth.inflation = static_cast<int>(resolved.signal.inflation);
    truth.deflationMmHgPerSecond = resolved.deflationMmHgPerSecond;

    Channel cuff{}, optical{};
    CSignalModel model(resolved.signal);
    model.Generate(cuff, optical, truth);

    std::vector<uint8_t>& bytes = recording.bytes;
    bytes.assign(kOffsetChannels, 0);
    PutHeader(bytes, options, resolved);
    PutResult(bytes, options, truth);
    AppendChannels(bytes, cuff, optical, options.damage);
    ApplyDamage(bytes, options.damage);
    return recording;
}

Result<void> WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (out)
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    if (out)
        out.close();
    if (!out)
        return Fail("cannot write " + path);
    return Ok();
}

Result<void> WriteRecording(const std::string& path, const SynthOptions& options) {
    return WriteBytes(path, GenerateRecording(options).bytes);
}

} // namespace mirado
