#pragma once
// Fixed sizes and byte offsets of a measurement file.

#include <cstddef>

namespace mirado {

inline constexpr int kSampleCount = 4000;   // samples per channel
inline constexpr int kBeatCapacity = 100;   // beat-position entries (zero-terminated)
inline constexpr int kStoredBeatCount = 64; // beat positions held in the file
inline constexpr int kFitCapacity = 50;     // points of a curve fit

inline constexpr size_t kHeaderSize = 256;
inline constexpr size_t kResultBlockSize = 80;
inline constexpr size_t kMiddleSize = 800;
inline constexpr size_t kOffsetDateTime = 0;
inline constexpr size_t kOffsetAnimalNo = 16;
inline constexpr size_t kOffsetStudyNo = 24;
inline constexpr size_t kOffsetWeight = 32;
inline constexpr size_t kOffsetSexAge = 40;
inline constexpr size_t kOffsetComment = 48;
inline constexpr size_t kOffsetSampleInterval = 96;
inline constexpr size_t kOffsetSense = 105;
inline constexpr size_t kOffsetValidMark = 112;
inline constexpr size_t kOffsetModelLetter = 120;
inline constexpr size_t kOffsetResultBlock = 128;
inline constexpr size_t kOffsetSecondResultCopy = 848;
inline constexpr size_t kOffsetWriterMark = 906;
inline constexpr size_t kOffsetBeatPositions = 928;
inline constexpr size_t kOffsetChannels = 1056;


} // namespace mirado
