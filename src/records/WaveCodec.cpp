#include "records/WaveCodec.h"

#include "records/RecordLayout.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

namespace mirado {

namespace {

constexpr int kHeadBytes = static_cast<int>(kPackedHeadSize);
constexpr int kMaxRunLength = 127;
constexpr int kMaxNibbleDelta = 7;
constexpr int kMaxByteDelta = 31;
constexpr uint8_t kRunBit = 0x01;
constexpr uint8_t kFormMask = 0x03;
constexpr uint8_t kByteForm = 0x02;
constexpr uint8_t kNibbleMask = 0x0F;
// The longest code: a run byte followed by 64 data bytes.
constexpr size_t kMaxCodeBytes = 1 + (kMaxRunLength + 1) / 2;

// Nibble runs are decoded four data bytes (eight deltas) at a time in 16-bit lanes.
constexpr int kLanes = 8;
constexpr int kBytesPerGroup = kLanes / 2;
using Lanes = uint16_t __attribute__((vector_size(16)));
using SignedLanes = int16_t __attribute__((vector_size(16)));
using ByteLanes = uint8_t __attribute__((vector_size(16)));
using WordLanes = uint32_t __attribute__((vector_size(16)));
// A lane holding a data byte twice (x * 257) is multiplied so that the nibble it stands
// for reaches the top four bits, then shifted back down with its sign.
constexpr uint16_t kLowNibbleUp = 1 << 12;
constexpr uint16_t kHighNibbleUp = 1 << 8;
constexpr int kNibbleDown = 12;
// The fast path starts a code only where a whole run, written in groups of eight, still
// fits into the 4000 samples.
constexpr int kFastCountLimit = kSampleCount - (kMaxRunLength + 1);

int16_t Wrap16(int v) {
    return static_cast<int16_t>(v);
}
int16_t LowNibble(uint8_t x) {
    return static_cast<int16_t>(static_cast<int8_t>(x << 4) >> 4);
}
int16_t HighNibble(uint8_t x) {
    return static_cast<int16_t>(static_cast<int8_t>(x) >> 4);
}

// The eight sign-extended nibbles of four data bytes, each byte's low nibble first;
// lanes from `count` on are zero, so that the last running sum is the group's total.
Lanes GroupDeltas(const uint8_t* x, int count) {
    uint32_t group = 0;
    std::memcpy(&group, x, kBytesPerGroup);
    const ByteLanes raw = reinterpret_cast<ByteLanes>(WordLanes{group, 0, 0, 0});
    const ByteLanes doubled =
        __builtin_shufflevector(raw, raw, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7);
    const Lanes twice = reinterpret_cast<Lanes>(
        __builtin_shufflevector(doubled, doubled, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7));
    const Lanes up = twice * Lanes{kLowNibbleUp, kHighNibbleUp, kLowNibbleUp, kHighNibbleUp,
                                   kLowNibbleUp, kHighNibbleUp, kLowNibbleUp, kHighNibbleUp};
    const Lanes deltas = reinterpret_cast<Lanes>(reinterpret_cast<SignedLanes>(up) >> kNibbleDown);
    const SignedLanes lane{0, 1, 2, 3, 4, 5, 6, 7};
    return deltas & reinterpret_cast<Lanes>(lane < static_cast<int16_t>(count));
}

// Running sums of the eight lanes, wrapping in 16 bits.
Lanes PrefixSums(Lanes v) {
    const Lanes zero{};
    v += __builtin_shufflevector(v, zero, 8, 0, 1, 2, 3, 4, 5, 6);
    v += __builtin_shufflevector(v, zero, 8, 8, 0, 1, 2, 3, 4, 5);
    v += __builtin_shufflevector(v, zero, 8, 8, 8, 8, 0, 1, 2, 3);
    return v;
}

// Decoding state of one block: the packed bytes, the read position and the samples.
class BlockDecoder {
public:
    BlockDecoder(const uint8_t* data, size_t size, size_t position, int16_t* samples)
        : data_(data), size_(size), position_(position), samples_(samples) {}

    // Reads the block head; false when it lies past the end of the data.
    bool ReadHead(uint16_t& end) {
        if (size_ < kHeadBytes || position_ > size_ - kHeadBytes)
            return false;
        const uint8_t* head = data_ + position_;
        const uint16_t length = static_cast<uint16_t>(head[0] | head[1] << 8);
        // The block's last byte, held in 16 bits as the format defines it.
        end = static_cast<uint16_t>(position_ + length - 1);
        samples_[0] = static_cast<int16_t>(head[2] | head[3] << 8);
        position_ += kHeadBytes;
        return true;
    }

    // Decodes the codes up to end; false on a block that runs past the data or that
    // describes more than 4000 samples.
    bool DecodeCodes(uint16_t end) {
        if (position_ > end)
            return false;
        DecodeRoomyCodes(end);
        while (position_ <= end) {
            if (!DecodeCodeChecked())
                return false;
        }
        return true;
    }

    size_t Position() const { return position_; }
    int Count() const { return count_; }

private:
    // Decodes codes while each one, with the bytes read ahead of it, lies inside the
    // data and a full run written in groups of eight fits, so no read or write needs a
    // check of its own. Writes past the last decoded sample may happen; later codes
    // overwrite them and the caller copies only the decoded samples.
    void DecodeRoomyCodes(uint16_t end) {
        if (size_ < kMaxCodeBytes)
            return;
        const size_t last = std::min<size_t>(end, size_ - kMaxCodeBytes);
        if (position_ > last)
            return;
        const uint8_t* code = data_ + position_;
        const uint8_t* const lastCode = data_ + last;
        int16_t* out = samples_ + count_;
        int16_t* const lastOut = samples_ + kFastCountLimit;
        int16_t value = out[-1];
        while (code <= lastCode && out <= lastOut) {
            const uint8_t b = *code;
            if (b & kRunBit) {
                const int n = b >> 1;
                value = DecodeRun(n, code + 1, out, value);
                code += 1 + (n + 1) / 2;
                out += n;
            } else if ((b & kFormMask) == kByteForm) {
                value = Wrap16(value + (static_cast<int8_t>(b) >> 2));
                *out++ = value;
                code += 1;
            } else {
                value = Wrap16(value + (static_cast<int16_t>(b | code[1] << 8) >> 2));
                *out++ = value;
                code += 2;
            }
        }
        position_ = static_cast<size_t>(code - data_);
        count_ = static_cast<int>(out - samples_);
    }

    // Writes a run of n nibble deltas after value in groups of eight and returns its
    // last sample.
    static int16_t DecodeRun(int n, const uint8_t* x, int16_t* out, int16_t value) {
        do {
            const Lanes sums = PrefixSums(GroupDeltas(x, n));
            const Lanes samples = sums + static_cast<uint16_t>(value);
            std::memcpy(out, &samples, sizeof samples);
            value = Wrap16(value + sums[kLanes - 1]);
            out += kLanes;
            x += kBytesPerGroup;
            n -= kLanes;
        } while (n > 0);
        return value;
    }

    bool DecodeCodeChecked() {
        uint8_t b = 0;
        if (!Next(b))
            return false;
        if (b & kRunBit) {
            for (int remaining = b >> 1; remaining > 0; remaining -= 2) {
                uint8_t x = 0;
                if (!Next(x) || !Add(LowNibble(x)))
                    return false;
                if (remaining > 1 && !Add(HighNibble(x)))
                    return false;
            }
            return true;
        }
        if ((b & kFormMask) == kByteForm)
            return Add(static_cast<int16_t>(static_cast<int8_t>(b) >> 2));
        uint8_t high = 0;
        if (!Next(high))
            return false;
        return Add(static_cast<int16_t>(static_cast<int16_t>(b | high << 8) >> 2));
    }

    bool Next(uint8_t& byte) {
        if (position_ >= size_)
            return false;
        byte = data_[position_++];
        return true;
    }

    // Appends one sample, refusing the 4001st.
    bool Add(int16_t delta) {
        if (count_ >= kSampleCount)
            return false;
        samples_[count_] = Wrap16(samples_[count_ - 1] + delta);
        ++count_;
        return true;
    }

    const uint8_t* data_;
    size_t size_;
    size_t position_;
    int16_t* samples_;
    int count_ = 1;
};

} // namespace

int CWaveCodec::Unpack(int16_t* samples, const uint8_t* data, size_t size, int channel) {
    if (channel == 0)
        readPosition_ = 0;
    // Decoded into a buffer of our own: the fast path writes ahead of the last sample,
    // and samples beyond those decoded must stay as the caller left them.
    std::array<int16_t, kSampleCount> decoded;
    BlockDecoder decoder(data, size, static_cast<size_t>(readPosition_), decoded.data());
    uint16_t end = 0;
    if (!decoder.ReadHead(end))
        return 0;
    const bool ok = decoder.DecodeCodes(end);
    std::memcpy(samples, decoded.data(), sizeof(int16_t) * static_cast<size_t>(decoder.Count()));
    if (!ok)
        return 0;
    readPosition_ = static_cast<int>(decoder.Position());
    return decoder.Count() - 1;
}

int CWaveCodec::Pack(int count, uint8_t* out, const int16_t* samples) {
    uint8_t* codes = out + kHeadBytes;
    int j = 0;       // code bytes written
    int run = 0;     // deltas in the open nibble run
    int runCode = 0; // index of the open run's code byte
    for (int k = 1; k < count; ++k) {
        const int16_t d = Wrap16(samples[k] - samples[k - 1]);
        const int magnitude = std::abs(static_cast<int>(d));
        if (magnitude <= kMaxNibbleDelta) {
            if (run == 0)
                runCode = j++;
            if (run % 2 == 0) {
                codes[j] = static_cast<uint8_t>(d & kNibbleMask);
            } else {
                codes[j] = static_cast<uint8_t>(codes[j] + ((d & kNibbleMask) << 4));
                ++j;
            }
            ++run;
            codes[runCode] = static_cast<uint8_t>(2 * run + 1);
            if (run == kMaxRunLength) {
                run = 0;
                ++j;
            }
            continue;
        }
        if (run % 2 == 1)
            ++j;
        run = 0;
        if (magnitude <= kMaxByteDelta) {
            codes[j++] = static_cast<uint8_t>((d * 4) | kByteForm);
        } else {
            codes[j++] = static_cast<uint8_t>((d * 4) & 0xFF);
            codes[j++] = static_cast<uint8_t>((d >> 6) & 0xFF);
        }
    }
    if (run % 2 == 1)
        ++j;
    const int length = j + kHeadBytes;
    out[0] = static_cast<uint8_t>(length & 0xFF);
    out[1] = static_cast<uint8_t>(length >> 8);
    out[2] = static_cast<uint8_t>(samples[0] & 0xFF);
    out[3] = static_cast<uint8_t>((samples[0] >> 8) & 0xFF);
    return length;
}

int16_t HalfRound(int16_t v) {
    if (v >= 0)
        return static_cast<int16_t>((v + 1) / 2);
    return static_cast<int16_t>(-((1 - v) / 2));
}

} // namespace mirado
