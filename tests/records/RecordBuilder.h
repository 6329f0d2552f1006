#pragma once
// Builds measurement-file bytes in memory for the record tests: a header with every
// byte set, both channels packed the way the codec packs them, optional trailing bytes.

#include "records/RecordLayout.h"
#include "records/WaveCodec.h"

#include <array>
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

struct RecordBuilder {
    std::vector<uint8_t> fixed = std::vector<uint8_t>(kOffsetChannels);
    Channel channel1 = NoisyChannel(1, 300, 3);
    Channel channel2 = NoisyChannel(2, 800, 40);
    std::vector<uint8_t> trailing;

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
};

} // namespace mirado::test
