#pragma once
// Builds measurement files byte by byte for the tests and benchmarks: the fixed part
// (header, result blocks, beat positions), both channels packed the way the codec packs
// them, and optional trailing bytes. RecordBuilder gives a plausible record whose bytes
// without a meaning hold random values; BuildRecord gives a record from a RecordSpec on
// a zero header, with a deflating cuff and a pulse train.

#include "records/RecordLayout.h"
#include "records/WaveCodec.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace mirado::test {

using Channel = std::array<int16_t, kSampleCount>;

inline Channel NoisyChannel(uint32_t seed, int base, int spread) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> step(-spread, spread);
    Channel channel{};
    int value = base;
    for (auto& sample : channel) {
        value += step(random);
        sample = static_cast<int16_t>(value);
    }
    return channel;
}

inline std::vector<uint8_t> PackChannel(const int16_t* samples, int count) {
    std::vector<uint8_t> block(PackedSizeLimit(count));
    CWaveCodec codec;
    block.resize(static_cast<size_t>(codec.Pack(count, block.data(), samples)));
    return block;
}

inline void PutInt16(std::vector<uint8_t>& bytes, size_t offset, int16_t value) {
    bytes[offset] = static_cast<uint8_t>(value & 0xFF);
    bytes[offset + 1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}

inline void PutText(std::vector<uint8_t>& bytes, size_t offset, const std::string& text) {
    std::copy(text.begin(), text.end(), bytes.begin() + static_cast<long>(offset));
}

// The text in a field of the given width, cut or padded with spaces.
inline void PutText(std::vector<uint8_t>& bytes, size_t offset, size_t width,
                    const std::string& text) {
    for (size_t i = 0; i < width; ++i)
        bytes[offset + i] = i < text.size() ? static_cast<uint8_t>(text[i]) : ' ';
}

struct RecordBuilder {
    std::vector<uint8_t> fixed = std::vector<uint8_t>(kOffsetChannels);
    Channel channel1 = NoisyChannel(1, 300, 3);
    Channel channel2 = NoisyChannel(2, 800, 40);
    std::vector<uint8_t> trailing;

    // Every byte of the fixed part and every sample zero.
    static RecordBuilder Zeroed() {
        RecordBuilder builder(std::vector<uint8_t>(kOffsetChannels, 0));
        builder.channel1.fill(0);
        builder.channel2.fill(0);
        return builder;
    }

    // A plausible record whose bytes without a meaning hold random values.
    explicit RecordBuilder(uint32_t seed = 7) {
        std::mt19937 random(seed);
        for (auto& byte : fixed)
            byte = static_cast<uint8_t>(random());
        PutText(fixed, kOffsetDateTime, "24/05/0113:45:07");
        PutText(fixed, kOffsetAnimalNo, "A-001   ");
        PutText(fixed, kOffsetStudyNo, "ST1     ");
        PutText(fixed, kOffsetWeight, "25g     ");
        PutText(fixed, kOffsetSexAge, "M 8w    ");
        PutText(fixed, kOffsetComment, std::string(kCommentWidth, ' '));
        fixed[kOffsetSampleInterval] = 20;
        fixed[kOffsetSense] = 3;
        PutInt16(fixed, kOffsetValidMark, kValidMark);
        fixed[kOffsetModelLetter] = 'A';
        PutInt16(fixed, kOffsetResultBlock + kResultSbp, 240);
        PutInt16(fixed, kOffsetResultBlock + kResultDbp, 160);
        PutInt16(fixed, kOffsetResultBlock + kResultMbp, 190);
        PutInt16(fixed, kOffsetWriterMark, kOwnWriterMark);
        const int16_t beats[] = {100, 600, 1100};
        for (int i = 0; i < kStoredBeatCount; ++i)
            PutInt16(fixed, kOffsetBeatPositions + kInt16Width * i, i < 3 ? beats[i] : 0);
    }

    std::vector<uint8_t> Bytes() const {
        std::vector<uint8_t> bytes = fixed;
        for (const auto* channel : {&channel1, &channel2}) {
            const std::vector<uint8_t> block = PackChannel(channel->data(), kSampleCount);
            bytes.insert(bytes.end(), block.begin(), block.end());
        }
        bytes.insert(bytes.end(), trailing.begin(), trailing.end());
        return bytes;
    }

private:
    explicit RecordBuilder(std::vector<uint8_t> fixedPart) : fixed(std::move(fixedPart)) {}
};

// The fields of a record built on a zero header.
struct RecordSpec {
    std::string dateTime = "24/01/0209:30:15"; // 16 bytes: date then time
    std::string animalNo = "A-001";
    std::string exNo = "EX1";
    std::string weight = "25g";
    std::string sexAge = "M8W";
    std::string comment = "";
    int sampleInterval = 20;
    int sense = 3;
    char modelLetter = 'A';
    int16_t sbp = 241, dbp = 160, mbp = 190;
    int16_t markerS = 1000, markerM = 1500, markerD = 2000;
    bool valid = true;
    int beatSpacing = 100; // samples between beats; 0 for none
};

inline std::vector<uint8_t> BuildRecord(const RecordSpec& spec) {
    RecordBuilder builder = RecordBuilder::Zeroed();
    std::vector<uint8_t>& bytes = builder.fixed;
    PutText(bytes, kOffsetDateTime, kDateTimeWidth, spec.dateTime);
    PutText(bytes, kOffsetAnimalNo, kIdTextWidth, spec.animalNo);
    PutText(bytes, kOffsetStudyNo, kIdTextWidth, spec.exNo);
    PutText(bytes, kOffsetWeight, kIdTextWidth, spec.weight);
    PutText(bytes, kOffsetSexAge, kIdTextWidth, spec.sexAge);
    PutText(bytes, kOffsetComment, kCommentWidth, spec.comment);
    bytes[kOffsetSampleInterval] = static_cast<uint8_t>(spec.sampleInterval);
    bytes[kOffsetSense] = static_cast<uint8_t>(spec.sense);
    PutInt16(bytes, kOffsetValidMark, spec.valid ? kValidMark : 0);
    bytes[kOffsetModelLetter] = static_cast<uint8_t>(spec.modelLetter);
    for (size_t block : {kOffsetResultBlock, kOffsetSecondResultCopy}) {
        PutInt16(bytes, block + kResultSbp, spec.sbp);
        PutInt16(bytes, block + kResultDbp, spec.dbp);
        PutInt16(bytes, block + kResultMbp, spec.mbp);
        PutInt16(bytes, block + kResultMarkerS, spec.markerS);
        PutInt16(bytes, block + kResultMarkerM, spec.markerM);
        PutInt16(bytes, block + kResultMarkerD, spec.markerD);
    }
    PutInt16(bytes, kOffsetWriterMark, 0);
    int beat = 0;
    for (int i = 0; spec.beatSpacing > 0 && i < kStoredBeatCount; ++i) {
        beat += spec.beatSpacing;
        if (beat >= kSampleCount)
            break;
        PutInt16(bytes, kOffsetBeatPositions + kInt16Width * static_cast<size_t>(i),
                 static_cast<int16_t>(beat));
    }
    for (int i = 0; i < kSampleCount; ++i) {
        builder.channel1[static_cast<size_t>(i)] = static_cast<int16_t>(400 - i / 12);
        const double phase = spec.beatSpacing > 0 ? (i % spec.beatSpacing) : 0;
        builder.channel2[static_cast<size_t>(i)] =
            static_cast<int16_t>(500 + 200 * std::exp(-phase / 20.0));
    }
    return builder.Bytes();
}

} // namespace mirado::test
