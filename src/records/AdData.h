#pragma once
// CAdData: one loaded measurement file. It owns the file's bytes as loaded (header,
// result block, middle block, beat positions) and both decoded 4000-sample channels,
// loads and saves the file and answers the identification texts.

#include "files/Result.h"
#include "records/RecordLayout.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace mirado {

class IUserPrompts;

class CAdData {
public:
    CAdData();

    // Loads the file; a failure carries GetLastError() and is reported through prompts
    // (which may be null in batch use). modelCode is 4 before anything is read, then 0-3 for
    // model letters 'A'-'D'. A failed load leaves the bytes that were read in place.
    Result<void> Load(const std::string& path, int& modelCode, IUserPrompts* prompts);
    // Same as Load on bytes already in memory (path is only used for messages).
    Result<void> LoadFromBytes(const std::string& path, const uint8_t* data, size_t size,
                               int& modelCode, IUserPrompts* prompts);
    // Writes the file back atomically; a failure carries GetLastError() and is reported.
    Result<void> Save(const std::string& path, IUserPrompts* prompts);
    // The bytes Save would write (applies Save's updates of the valid mark, the second
    // result copy and the writer mark to the record).
    std::string SerializedBytes();
    // The message of the last failed Load or Save as shown after the path (leading
    // spaces included); empty after a success.
    const std::string& GetLastError() const { return lastError_; }
    // The file's bytes as this record last read or wrote them: a writer compares the
    // file with them to see whether anyone else changed it since. Empty after a failure.
    const std::vector<uint8_t>& DiskBytes() const { return diskBytes_; }

    const int16_t* GetChannel1() const { return channel1_.data(); }
    const int16_t* GetChannel2() const { return channel2_.data(); }
    const int16_t* GetBeatPositions() const { return beats_.data(); }

    int GetSampleInterval() const; // byte 96; 0 reads as 1
    int GetSense() const;          // byte 105; -1 outside 0..7
    int16_t GetStoredHeartRate() const { return storedHeartRate_; }
    bool IsValid() const { return valid_ != 0; }
    // Whether the record carries the mark of a known writer (the acquisition program or
    // this program's save): a file without it, when it also fails to load, has no header
    // whose texts can be trusted.
    bool HasWriterMark() const;
    void SetValid(bool valid) { valid_ = valid ? 1 : 0; }
    const std::string& GetPath() const { return path_; }
    char GetModelLetter() const { return static_cast<char>(header_[kOffsetModelLetter]); }

    // Identification texts as CP932 bytes (up to the first NUL, trimmed).
    std::string GetAnimalNo() const;
    std::string GetStudyNo() const;
    std::string GetWeight() const;
    std::string GetSexAge() const;
    std::string GetComment() const;
    std::string GetDateTime() const; // 16 characters, untrimmed, up to the first NUL
    std::string GetDate() const;     // first 8 of the date-time field
    std::string GetTime() const;     // last 8 of the date-time field
    // Stores CP932 bytes: trimmed, padded with spaces, cut to the field's width.
    void SetAnimalNo(const std::string& cp932);
    void SetStudyNo(const std::string& cp932);
    void SetWeight(const std::string& cp932);
    void SetSexAge(const std::string& cp932);
    void SetComment(const std::string& cp932);
    // The five identification fields as stored, padding included, so that an edit can
    // be taken back to the very bytes it replaced.
    using IdFieldBytes = std::array<uint8_t, kIdFieldsEnd - kOffsetAnimalNo>;
    IdFieldBytes GetIdFieldBytes() const;
    void SetIdFieldBytes(const IdFieldBytes& bytes);

    void GetStoredPressures(int16_t& sbp, int16_t& mbp, int16_t& dbp) const;
    void SetStoredPressures(int16_t sbp, int16_t mbp, int16_t dbp);
    void GetStoredMarkers(int16_t& s, int16_t& m, int16_t& d) const;
    void SetStoredMarkers(int16_t s, int16_t m, int16_t d);
    void SetStoredMarkerS(int16_t s);
    void SetStoredMarkerM(int16_t m);
    int GetMarkerInterval() const; // ms from marker S to marker M, 0 when either is 0

    const std::array<uint8_t, kHeaderSize>& Header() const { return header_; }
    const std::array<uint8_t, kMiddleSize>& MiddleBlock() const { return middle_; }

private:
    void ClearRecord();
    void CopyFileBlocks(const uint8_t* data, size_t size);
    Result<void> DecodeChannels(const uint8_t* data, size_t size);
    void ComputeValidFlag();
    void PrepareForSave();
    Result<void> Failed(const std::string& path, const std::string& message, IUserPrompts* prompts);
    std::string GetText(size_t offset, size_t width) const;
    void SetText(size_t offset, size_t width, const std::string& cp932);
    int16_t ResultValue(size_t offset) const;
    void SetResultValue(size_t offset, int16_t value);

    int valid_ = 0;
    std::string path_;
    std::array<uint8_t, kResultBlockSize> result_{};
    std::array<uint8_t, kHeaderSize> header_{};
    std::array<uint8_t, kMiddleSize> middle_{};
    std::array<int16_t, kBeatCapacity> beats_{};
    std::array<int16_t, kSampleCount> channel1_{};
    std::array<int16_t, kSampleCount> channel2_{};
    int16_t storedHeartRate_ = 0;
    std::string lastError_;
    std::vector<uint8_t> diskBytes_;
};

// The box a failed Load or Save shows: the path followed by the message (GetLastError).
// For a record loaded without prompts (ahead of time, on another thread) the document
// shows it when it opens the record.
void ShowFileMessage(const std::string& path, const std::string& message, IUserPrompts* prompts);

} // namespace mirado
