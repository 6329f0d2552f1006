#include "records/WaveCodec.h"

#include "RecordBuilder.h"

#include <gtest/gtest.h>

#include <vector>

namespace mirado {
namespace {

using test::Channel;
using test::PackChannel;

int UnpackBlock(const std::vector<uint8_t>& block, Channel& out) {
    CWaveCodec codec;
    return codec.Unpack(out.data(), block.data(), block.size(), 0);
}

TEST(WaveCodec, PacksTheWorkedExampleIntoNineBytes) {
    const int16_t samples[] = {0, 5, -3, 40};
    const std::vector<uint8_t> block = PackChannel(samples, 4);
    EXPECT_EQ(block, (std::vector<uint8_t>{0x09, 0x00, 0x00, 0x00, 0x03, 0x05, 0xE2, 0xAC, 0x00}));
    Channel out{};
    EXPECT_EQ(UnpackBlock(block, out), 3);
    EXPECT_EQ((std::vector<int16_t>(out.begin(), out.begin() + 4)),
              (std::vector<int16_t>{0, 5, -3, 40}));
}

TEST(WaveCodec, ConstantSignalPacksIntoFullNibbleRuns) {
    Channel flat;
    flat.fill(123);
    const std::vector<uint8_t> block = PackChannel(flat.data(), kSampleCount);
    ASSERT_EQ(block.size(), 2051u);
    EXPECT_EQ(block[0] | block[1] << 8, 2051);
    EXPECT_EQ(block[4], 255);           // first full run of 127
    EXPECT_EQ(block[4 + 31 * 65], 125); // final run of 62
    Channel out{};
    EXPECT_EQ(UnpackBlock(block, out), kSampleCount - 1);
    EXPECT_EQ(out, flat);
}

TEST(WaveCodec, RoundTripsRandomSignalsOfEveryDeltaSize) {
    for (uint32_t seed = 0; seed < 20; ++seed) {
        const int spread = seed % 4 == 0 ? 7 : seed % 4 == 1 ? 31 : seed % 4 == 2 ? 300 : 8191;
        const Channel signal = test::NoisyChannel(seed, 0, spread);
        Channel out{};
        ASSERT_EQ(UnpackBlock(PackChannel(signal.data(), kSampleCount), out), kSampleCount - 1)
            << "seed " << seed;
        EXPECT_EQ(out, signal) << "seed " << seed;
    }
}

TEST(WaveCodec, SampleSumsWrapAndOversizedDeltasLoseTheirTopBits) {
    Channel signal{};
    signal.fill(26386);
    signal[0] = 32760;
    signal[1] = -32766; // +10 through the 16-bit wrap
    signal[2] = 26386;  // a delta of +10000 keeps only its low 14 bits: -6384
    Channel out{};
    ASSERT_EQ(UnpackBlock(PackChannel(signal.data(), kSampleCount), out), kSampleCount - 1);
    EXPECT_EQ(out[1], -32766);
    EXPECT_EQ(out[2], static_cast<int16_t>(-32766 - 6384));
    EXPECT_EQ(out[3], out[2]);
}

TEST(WaveCodec, ChannelTwoContinuesAfterChannelOne) {
    const Channel first = test::NoisyChannel(3, 10, 20);
    const Channel second = test::NoisyChannel(4, -10, 2000);
    std::vector<uint8_t> bytes = PackChannel(first.data(), kSampleCount);
    const std::vector<uint8_t> tail = PackChannel(second.data(), kSampleCount);
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    CWaveCodec codec;
    Channel out1{}, out2{};
    EXPECT_EQ(codec.Unpack(out1.data(), bytes.data(), bytes.size(), 0), kSampleCount - 1);
    EXPECT_EQ(codec.Unpack(out2.data(), bytes.data(), bytes.size(), 1), kSampleCount - 1);
    EXPECT_EQ(out1, first);
    EXPECT_EQ(out2, second);
}

TEST(WaveCodec, RejectsBlocksWithTooManyOrNoSamples) {
    std::vector<int16_t> long_(kSampleCount + 1, 0);
    long_.back() = 100;
    Channel out{};
    EXPECT_EQ(UnpackBlock(PackChannel(long_.data(), kSampleCount + 1), out), 0);
    EXPECT_EQ(UnpackBlock(PackChannel(long_.data(), kSampleCount - 1), out), kSampleCount - 2);
    EXPECT_EQ(UnpackBlock({0x04, 0x00, 0x11, 0x22}, out), 0);
    EXPECT_EQ(out[0], 0x2211);
}

TEST(WaveCodec, NeverReadsPastTheGivenBytes) {
    const Channel signal = test::NoisyChannel(5, 0, 100);
    const std::vector<uint8_t> block = PackChannel(signal.data(), kSampleCount);
    for (size_t size :
         {size_t{0}, size_t{1}, size_t{3}, size_t{5}, block.size() / 2, block.size() - 1}) {
        // A heap copy of exactly `size` bytes lets the address sanitizer catch overreads.
        std::vector<uint8_t> cut(block.begin(), block.begin() + static_cast<long>(size));
        cut.shrink_to_fit();
        Channel out{};
        CWaveCodec codec;
        EXPECT_EQ(codec.Unpack(out.data(), cut.data(), cut.size(), 0), 0) << size;
    }
}

TEST(WaveCodec, ZeroLengthAtTheStartRunsToTheDataEndAndFails) {
    // L = 0 makes the block end wrap to 65535; decoding must still stop at the data's end.
    std::vector<uint8_t> block = {0x00, 0x00, 0x00, 0x00, 0x03, 0x11};
    Channel out{};
    EXPECT_EQ(UnpackBlock(block, out), 0);
}

TEST(WaveCodec, HalfRoundsAwayFromZero) {
    EXPECT_EQ(HalfRound(240), 120);
    EXPECT_EQ(HalfRound(3), 2);
    EXPECT_EQ(HalfRound(-3), -2);
    EXPECT_EQ(HalfRound(1), 1);
    EXPECT_EQ(HalfRound(-1), -1);
    EXPECT_EQ(HalfRound(0), 0);
    EXPECT_EQ(HalfRound(32767), 16384);
    EXPECT_EQ(HalfRound(-32768), -16384);
}

} // namespace
} // namespace mirado
