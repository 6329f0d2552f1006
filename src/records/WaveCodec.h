#pragma once
// CWaveCodec: the delta code in which a measurement file stores its two A/D channels.
// Unpacking keeps a read position so that channel 2 continues where channel 1 ended.

#include "records/RecordLayout.h"

#include <cstddef>
#include <cstdint>

namespace mirado {

class CWaveCodec {
public:
    // Decodes one block into samples (4000 entries) and returns the number of deltas
    // decoded (3999 for a complete channel), or 0 when the block is unusable: empty,
    // describing more than 4000 samples, or running past `size`. Channel 0 starts at the
    // first byte of data; any other channel continues at the stored read position.
    // Never reads at or beyond data[size]; writes only the samples it decodes, also when it
    // fails, and leaves the rest of `samples` as it was.
    int Unpack(int16_t* samples, const uint8_t* data, size_t size, int channel);
    // Packs `count` samples into out (at least 4 + 2 x (count - 1) bytes) and returns
    // the block length L, which is also stored in the block's first two bytes.
    int Pack(int count, uint8_t* out, const int16_t* samples);

private:
    int readPosition_ = 0;
};

// Half of v rounded half away from zero: channel-1 units (half mmHg) to mmHg.
int16_t HalfRound(int16_t v);

} // namespace mirado
