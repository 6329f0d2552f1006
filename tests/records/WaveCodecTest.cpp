#include "records/WaveCodec.h"

#include "support/RecordBuilder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
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

TEST(WaveCodec, LeavesSamplesAfterTheDecodedOnesAsTheyWere) {
    // A block of one 6-bit delta and a run of three, with bytes after it so that the
    // whole block is decoded on the fast path: nothing beyond its five samples changes.
    std::vector<uint8_t> block = {0x08, 0x00, 0x10, 0x00, 0x06, 0x07, 0x2F, 0x03};
    block.resize(block.size() + 80, 0xFF);
    Channel out;
    out.fill(-7);
    ASSERT_EQ(UnpackBlock(block, out), 4);
    EXPECT_EQ((std::vector<int16_t>(out.begin(), out.begin() + 8)),
              (std::vector<int16_t>{16, 17, 16, 18, 21, -7, -7, -7}));
}

// Every code read one byte at a time with every read and every sample checked: the
// codec's result must match it byte for byte on any input.
class ReferenceDecoder {
public:
    int Unpack(int16_t* s, const uint8_t* data, size_t size, int channel) {
        if (channel == 0)
            position_ = 0;
        size_t p = position_;
        if (p + 4 > size)
            return 0;
        const auto end = static_cast<uint16_t>(p + (data[p] | data[p + 1] << 8) - 1);
        s[0] = static_cast<int16_t>(data[p + 2] | data[p + 3] << 8);
        p += 4;
        int i = 1;
        const auto add = [&](int delta) {
            if (i >= kSampleCount)
                return false;
            s[i] = static_cast<int16_t>(s[i - 1] + delta);
            ++i;
            return true;
        };
        if (p > end)
            return 0;
        while (p <= end) {
            if (p >= size)
                return 0;
            const uint8_t b = data[p++];
            bool ok = true;
            if (b & 1) {
                uint8_t x = 0;
                for (int k = 0; ok && k < b >> 1; ++k) {
                    if (k % 2 == 1) {
                        ok = add(static_cast<int8_t>(x) >> 4);
                    } else if (p >= size) {
                        return 0;
                    } else {
                        x = data[p++];
                        ok = add(static_cast<int8_t>(x << 4) >> 4);
                    }
                }
            } else if ((b & 3) == 2) {
                ok = add(static_cast<int8_t>(b) >> 2);
            } else {
                if (p >= size)
                    return 0;
                ok = add(static_cast<int16_t>(b | data[p++] << 8) >> 2);
            }
            if (!ok)
                return 0;
        }
        position_ = p;
        return i - 1;
    }

private:
    size_t position_ = 0;
};

// Codes of every form in a random mix, mostly short runs as in a noisy signal, until
// they describe at least `deltas` deltas; the head's length is right or, rarely, random.
std::vector<uint8_t> RandomBlock(std::mt19937& random, int deltas) {
    std::vector<uint8_t> block = {0, 0, static_cast<uint8_t>(random()),
                                  static_cast<uint8_t>(random())};
    for (int produced = 0; produced < deltas;) {
        const uint32_t form = random() % 4;
        if (form < 2) {
            const int n = static_cast<int>(random() % 2 == 0 ? random() % 9 : random() % 128);
            block.push_back(static_cast<uint8_t>(2 * n + 1));
            for (int k = 0; k < (n + 1) / 2; ++k)
                block.push_back(static_cast<uint8_t>(random()));
            produced += n;
        } else {
            block.push_back(static_cast<uint8_t>((random() & 0xFC) | (form == 2 ? 2 : 0)));
            if (form == 3)
                block.push_back(static_cast<uint8_t>(random()));
            ++produced;
        }
    }
    const size_t length = random() % 16 == 0 ? random() % 0x10000 : block.size();
    block[0] = static_cast<uint8_t>(length & 0xFF);
    block[1] = static_cast<uint8_t>(length >> 8);
    return block;
}

// Decodes both channels of `bytes` (held in a heap copy of exactly their size) with the
// codec and with the reference, into arrays filled alike, and compares everything.
void ExpectSameAsReference(const std::vector<uint8_t>& bytes, const std::string& what) {
    const std::vector<uint8_t> exact(bytes);
    Channel got1, got2, want1, want2;
    for (Channel* channel : {&got1, &got2, &want1, &want2})
        for (size_t k = 0; k < channel->size(); ++k)
            (*channel)[k] = static_cast<int16_t>(0x5A5A + k);
    CWaveCodec codec;
    ReferenceDecoder reference;
    const uint8_t* data = exact.empty() ? nullptr : exact.data();
    EXPECT_EQ(codec.Unpack(got1.data(), data, exact.size(), 0),
              reference.Unpack(want1.data(), data, exact.size(), 0))
        << what;
    EXPECT_EQ(codec.Unpack(got2.data(), data, exact.size(), 1),
              reference.Unpack(want2.data(), data, exact.size(), 1))
        << what;
    EXPECT_EQ(got1, want1) << what;
    EXPECT_EQ(got2, want2) << what;
}

TEST(WaveCodec, DecodesLikeTheByteByByteReference) {
    std::mt19937 random(2024);
    for (int round = 0; round < 400; ++round) {
        const std::string what = "round " + std::to_string(round);
        // Two channels of random codes describing about 4000 samples each.
        const int deltas = random() % 2 == 0 ? 3990 + static_cast<int>(random() % 20)
                                             : static_cast<int>(random() % 4100);
        std::vector<uint8_t> bytes = RandomBlock(random, deltas);
        const std::vector<uint8_t> second = RandomBlock(random, kSampleCount - 1);
        bytes.insert(bytes.end(), second.begin(), second.end());
        ExpectSameAsReference(bytes, what);
        // The same cut short anywhere, and with one byte changed.
        std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + random() % (bytes.size() + 1));
        ExpectSameAsReference(cut, what + " cut");
        bytes[random() % bytes.size()] = static_cast<uint8_t>(random());
        ExpectSameAsReference(bytes, what + " changed");
    }
}

TEST(WaveCodec, DecodesPackedSignalsLikeTheByteByByteReference) {
    for (uint32_t seed = 0; seed < 40; ++seed) {
        const int spread = seed % 4 == 0 ? 3 : seed % 4 == 1 ? 9 : seed % 4 == 2 ? 40 : 20000;
        const Channel first = test::NoisyChannel(seed, 0, spread);
        const Channel second = test::NoisyChannel(seed + 100, 500, seed % 2 == 0 ? 8 : 2);
        std::vector<uint8_t> bytes = PackChannel(first.data(), kSampleCount);
        const std::vector<uint8_t> tail = PackChannel(second.data(), kSampleCount);
        bytes.insert(bytes.end(), tail.begin(), tail.end());
        ExpectSameAsReference(bytes, "seed " + std::to_string(seed));
        bytes.resize(bytes.size() - seed % 7);
        ExpectSameAsReference(bytes, "seed " + std::to_string(seed) + " cut");
    }
}

TEST(WaveCodec, FullRunsAtTheLastByteAndAroundTheLastSample) {
    // Three runs of 127, the last one ending at the data's last byte or one byte after it.
    const std::vector<int16_t> flat(1 + 3 * 127, 5);
    std::vector<uint8_t> runs = PackChannel(flat.data(), static_cast<int>(flat.size()));
    ExpectSameAsReference(runs, "flat");
    runs.pop_back();
    ExpectSameAsReference(runs, "flat cut");
    // One-byte codes, then a long run ending before, at or after the 4000th sample, with
    // bytes after the block so that the decode does not slow down for the data's end.
    for (int before = kSampleCount - 1 - 127 - 8; before <= kSampleCount - 1 - 120 + 8; ++before) {
        for (int n : {120, 127}) {
            std::vector<uint8_t> block = {0, 0, 0, 0};
            block.insert(block.end(), static_cast<size_t>(before), 0x0A);
            block.push_back(static_cast<uint8_t>(2 * n + 1));
            block.insert(block.end(), static_cast<size_t>((n + 1) / 2), 0x1F);
            block[0] = static_cast<uint8_t>(block.size() & 0xFF);
            block[1] = static_cast<uint8_t>(block.size() >> 8);
            block.resize(block.size() + 80, 0xFF);
            ExpectSameAsReference(block, std::to_string(before) + " and " + std::to_string(n));
        }
    }
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
