#pragma once
// The layout of a measurement file: counts, byte offsets, field widths and marks. Every
// file that reads or writes a recording's bytes names them from here.

#include <cstddef>

namespace mirado {

// ---- Counts ------------------------------------------------------------------------

inline constexpr int kSampleCount = 4000;   // samples per channel
inline constexpr int kBeatCapacity = 100;   // beat-position entries (zero-terminated)
inline constexpr int kStoredBeatCount = 64; // beat positions held in the file
inline constexpr int kFitCapacity = 50;     // points of a curve fit

// ---- Field widths ------------------------------------------------------------------

inline constexpr size_t kInt16Width = 2;     // every number is a little-endian 16-bit word
inline constexpr size_t kByteFieldWidth = 1; // sample interval, sense, model letter
inline constexpr size_t kDateTimeWidth = 16; // the date, then the time
inline constexpr size_t kDateWidth = 8;      // each half of the date-time field
inline constexpr size_t kIdTextWidth = 8;    // animal no., study no., weight, sex/age
inline constexpr size_t kCommentWidth = 32;

// ---- Header: file bytes 0 to 127 (held as 256 bytes; the last 128 are not written) ----

inline constexpr size_t kHeaderSize = 256;
inline constexpr size_t kWrittenHeaderSize = 128;
inline constexpr size_t kOffsetDateTime = 0;
inline constexpr size_t kOffsetAnimalNo = 16;
inline constexpr size_t kOffsetStudyNo = 24;
inline constexpr size_t kOffsetWeight = 32;
inline constexpr size_t kOffsetSexAge = 40;
inline constexpr size_t kOffsetComment = 48;
inline constexpr size_t kIdFieldsEnd = kOffsetComment + kCommentWidth; // end of the five texts
inline constexpr size_t kOffsetSampleInterval = 96;
inline constexpr size_t kOffsetSense = 105;
inline constexpr size_t kOffsetValidMark = 112;
inline constexpr size_t kOffsetModelLetter = 120;

// ---- Result block: 80 bytes, offsets relative to its start -------------------------

inline constexpr size_t kResultBlockSize = 80;
inline constexpr size_t kResultSbp = 0;
inline constexpr size_t kResultDbp = 2;
inline constexpr size_t kResultMbp = 4;
inline constexpr size_t kResultMarkerS = 62;
inline constexpr size_t kResultMarkerM = 64;
inline constexpr size_t kResultMarkerD = 66;

// ---- Middle block: file bytes 128 to 927, the result block's two copies in it ------

inline constexpr size_t kOffsetResultBlock = 128; // the first copy, the one that is read
inline constexpr size_t kMiddleSize = 800;
inline constexpr size_t kOffsetSecondResultCopy = 848; // written on save, never read
inline constexpr size_t kOffsetWriterMark = 906;       // inside the second copy
inline constexpr size_t kMiddleSecondCopy = kOffsetSecondResultCopy - kOffsetResultBlock;
inline constexpr size_t kMiddleWriterMark = kOffsetWriterMark - kOffsetResultBlock;

// ---- Beat area and channels --------------------------------------------------------

inline constexpr size_t kOffsetBeatPositions = 928;
inline constexpr size_t kBeatAreaSize = kInt16Width * kStoredBeatCount;
inline constexpr size_t kOffsetChannels = 1056; // channel 1 packed, then channel 2
// A packed channel: its length word and first sample, then at most two bytes per delta.
inline constexpr size_t kPackedHeadSize = 2 * kInt16Width;
inline constexpr size_t PackedSizeLimit(int count) {
    return kPackedHeadSize + kInt16Width * static_cast<size_t>(count - 1);
}
inline constexpr int kPackedCapacity = static_cast<int>(PackedSizeLimit(kSampleCount));

// ---- Marks -------------------------------------------------------------------------

inline constexpr int kValidMark = 256;           // the stored result is complete
inline constexpr int kAcquisitionWriterMark = 9; // written by the acquisition program
inline constexpr int kOwnWriterMark = 28;        // written by this program's save
inline constexpr char kFirstModelLetter = 'A';   // model letters 'A' to 'D': codes 0 to 3
inline constexpr char kLastModelLetter = 'D';

// Model codes: 0 to 3 for the model letters 'A' to 'D', 4 for any other letter.
inline constexpr int kModelCodeA = 0;
inline constexpr int kModelCodeB = 1;
inline constexpr int kModelCodeC = 2;
inline constexpr int kModelCodeD = 3;
inline constexpr int kModelCodeUnknown = 4;

static_assert(kOffsetResultBlock == kWrittenHeaderSize);
static_assert(kOffsetResultBlock + kMiddleSize == kOffsetBeatPositions);
static_assert(kOffsetBeatPositions + kBeatAreaSize == kOffsetChannels);
static_assert(kMiddleWriterMark < kMiddleSecondCopy + kResultBlockSize);

} // namespace mirado
