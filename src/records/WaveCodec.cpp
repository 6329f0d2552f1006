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
// The longest code: a run byte followed by 64 data bytes.
constexpr size_t kMaxCodeBytes = 1 + (kMaxRunLength + 1) / 2;

int16_t Wrap16(int v) {
    return static_cast<int16_t>(v);
}
int16_t LowNibble(uint8_t x) {
    return static_cast<int16_t>(static_cast<int8_t>(x << 4) >> 4);
}
int16_t HighNibble(uint8_t x) {
    return static_cast<int16_t>(static_cast<int8_t>(x) >> 4);
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
        while (position_ <= end) {
            const bool roomy =
                position_ + kMaxCodeBytes <= size_ && count_ <= kSampleCount - kMaxRunLength;
            if (roomy ? !DecodeCodeUnchecked() : !DecodeCodeChecked())
                return false;
        }
        return true;
    }

    size_t Position() const { return position_; }
    int Count() const { return count_; }

private:
    // Used only where the whole code and the byte after it lie inside the data and a
    // full run fits, so no read or write needs a check of its own.
    bool DecodeCodeUnchecked() {
        const uint8_t b = data_[position_++];
        int16_t* out = samples_ + count_;
        int16_t value = out[-1];
        if (b & kRunBit) {
            const int n = b >> 1;
            const uint8_t* x = data_ + position_;
            position_ += static_cast<size_t>((n + 1) / 2);
            count_ += n;
            for (int pair = n / 2; pair > 0; --pair, ++x) {
                *out++ = value = Wrap16(value + LowNibble(*x));
                *out++ = value = Wrap16(value + HighNibble(*x));
            }
            if (n % 2 == 1)
                *out = Wrap16(value + LowNibble(*x));
            return true;
        }
        int16_t delta = 0;
        if ((b & kFormMask) == kByteForm) {
            delta = static_cast<int16_t>(static_cast<int8_t>(b) >> 2);
        } else {
            delta = static_cast<int16_t>(static_cast<int16_t>(b | data_[position_++] << 8) >> 2);
        }
        *out = Wrap16(value + delta);
        ++count_;
        return true;
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
    BlockDecoder decoder(data, size, static_cast<size_t>(readPosition_), samples);
    uint16_t end = 0;
    if (!decoder.ReadHead(end) || !decoder.DecodeCodes(end))
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
