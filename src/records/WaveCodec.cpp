#include "records/WaveCodec.h"

#include "records/RecordLayout.h"

#include <cstdlib>

namespace mirado {

namespace {

constexpr int kHeadBytes = 4;
constexpr int kMaxRunLength = 127;
constexpr int kMaxNibbleDelta = 7;
constexpr int kMaxByteDelta = 31;
constexpr uint8_t kRunBit = 0x01;
constexpr uint8_t kFormMask = 0x03;
constexpr uint8_t kByteForm = 0x02;
constexpr uint8_t kNibbleMask = 0x0F;

int16_t SignExtendNibble(uint8_t nibble) {
    return static_cast<int16_t>(nibble & 0x08 ? nibble - 16 : nibble);
}

int16_t Wrap16(int v) {
    return static_cast<int16_t>(v);
}

// Bounds-checked reader over the packed bytes: every read past the end marks failure.
class PackedReader {
public:
    PackedReader(const uint8_t* data, size_t size, size_t position)
        : data_(data), size_(size), position_(position) {}

    uint8_t Next() {
        if (position_ >= size_) {
            overrun_ = true;
            return 0;
        }
        return data_[position_++];
    }
    size_t Position() const { return position_; }
    bool Overrun() const { return overrun_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t position_;
    bool overrun_ = false;
};

// Appends samples, refusing the 4001st.
class SampleWriter {
public:
    explicit SampleWriter(int16_t* samples) : samples_(samples) {}

    bool Add(int16_t delta) {
        if (count_ >= kSampleCount)
            return false;
        samples_[count_] = Wrap16(samples_[count_ - 1] + delta);
        ++count_;
        return true;
    }
    int Count() const { return count_; }

private:
    int16_t* samples_;
    int count_ = 1;
};

} // namespace

int CWaveCodec::Unpack(int16_t* samples, const uint8_t* data, size_t size, int channel) {
    if (channel == 0)
        readPosition_ = 0;
    PackedReader in(data, size, static_cast<size_t>(readPosition_));
    const uint8_t lengthLow = in.Next();
    const uint16_t length = static_cast<uint16_t>(lengthLow | in.Next() << 8);
    // The block's last byte, held in 16 bits as the format defines it.
    const uint16_t end = static_cast<uint16_t>(in.Position() - 2 + length - 1);
    const uint8_t firstLow = in.Next();
    samples[0] = static_cast<int16_t>(firstLow | in.Next() << 8);
    if (in.Overrun())
        return 0;

    SampleWriter out(samples);
    if (in.Position() > end)
        return 0;
    while (in.Position() <= end) {
        const uint8_t b = in.Next();
        if (b & kRunBit) {
            for (int remaining = b >> 1; remaining > 0; remaining -= 2) {
                const uint8_t x = in.Next();
                if (in.Overrun() || !out.Add(SignExtendNibble(x & kNibbleMask)))
                    return 0;
                if (remaining > 1 && !out.Add(SignExtendNibble(x >> 4)))
                    return 0;
            }
        } else if ((b & kFormMask) == kByteForm) {
            if (!out.Add(static_cast<int16_t>(static_cast<int8_t>(b) >> 2)))
                return 0;
        } else {
            const uint8_t high = in.Next();
            const int16_t w = static_cast<int16_t>(b | high << 8);
            if (in.Overrun() || !out.Add(static_cast<int16_t>(w >> 2)))
                return 0;
        }
        if (in.Overrun())
            return 0;
    }
    readPosition_ = static_cast<int>(in.Position());
    return out.Count() - 1;
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
