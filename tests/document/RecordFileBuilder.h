#pragma once
// Builds measurement files byte by byte for the document tests: header texts, sample
// interval, sense, model letter, the stored result block, beat positions and two
// packed channels (a deflating cuff and a pulse train).

#include "records/RecordLayout.h"
#include "records/WaveCodec.h"

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace mirado::test {

struct RecordSpec {
    std::string dateTime = "24/01/0209:30:15"; // 16 bytes: date then time
    std::string animalNo = "A-001";
    std::string exNo = "EX1";
    std::string weight = "25g";
    std::string sexAge = "M8W";
    std::string comment = "";
    int sampleInterval = 20;
    int sense = 3;
    char modelLetter = 'A';
    int16_t sbp = 241, dbp = 160, mbp = 190;
    int16_t markerS = 1000, markerM = 1500, markerD = 2000;
    bool valid = true;
    int beatSpacing = 100; // samples between beats; 0 for none
};

inline void PutText(std::vector<uint8_t>& bytes, size_t offset, size_t width,
                    const std::string& text) {
    for (size_t i = 0; i < width; ++i)
        bytes[offset + i] = i < text.size() ? static_cast<uint8_t>(text[i]) : ' ';
}

inline void PutInt16(std::vector<uint8_t>& bytes, size_t offset, int16_t value) {
    bytes[offset] = static_cast<uint8_t>(value & 0xFF);
    bytes[offset + 1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}

inline std::vector<uint8_t> BuildRecord(const RecordSpec& spec) {
    std::vector<uint8_t> bytes(kOffsetChannels, 0);
    PutText(bytes, kOffsetDateTime, kDateTimeWidth, spec.dateTime);
    PutText(bytes, kOffsetAnimalNo, kIdTextWidth, spec.animalNo);
    PutText(bytes, kOffsetStudyNo, kIdTextWidth, spec.exNo);
    PutText(bytes, kOffsetWeight, kIdTextWidth, spec.weight);
    PutText(bytes, kOffsetSexAge, kIdTextWidth, spec.sexAge);
    PutText(bytes, kOffsetComment, kCommentWidth, spec.comment);
    bytes[kOffsetSampleInterval] = static_cast<uint8_t>(spec.sampleInterval);
    bytes[kOffsetSense] = static_cast<uint8_t>(spec.sense);
    PutInt16(bytes, kOffsetValidMark, spec.valid ? kValidMark : 0);
    bytes[kOffsetModelLetter] = static_cast<uint8_t>(spec.modelLetter);
    for (size_t block : {kOffsetResultBlock, kOffsetSecondResultCopy}) {
        PutInt16(bytes, block + kResultSbp, spec.sbp);
        PutInt16(bytes, block + kResultDbp, spec.dbp);
        PutInt16(bytes, block + kResultMbp, spec.mbp);
        PutInt16(bytes, block + kResultMarkerS, spec.markerS);
        PutInt16(bytes, block + kResultMarkerM, spec.markerM);
        PutInt16(bytes, block + kResultMarkerD, spec.markerD);
    }
    PutInt16(bytes, kOffsetWriterMark, 0);
    int beat = 0;
    for (int i = 0; spec.beatSpacing > 0 && i < kStoredBeatCount; ++i) {
        beat += spec.beatSpacing;
        if (beat >= kSampleCount)
            break;
        PutInt16(bytes, kOffsetBeatPositions + kInt16Width * static_cast<size_t>(i),
                 static_cast<int16_t>(beat));
    }
    std::vector<int16_t> cuff(kSampleCount), pulse(kSampleCount);
    for (int i = 0; i < kSampleCount; ++i) {
        cuff[static_cast<size_t>(i)] = static_cast<int16_t>(400 - i / 12);
        const double phase = spec.beatSpacing > 0 ? (i % spec.beatSpacing) : 0;
        pulse[static_cast<size_t>(i)] = static_cast<int16_t>(500 + 200 * std::exp(-phase / 20.0));
    }
    CWaveCodec codec;
    std::vector<uint8_t> packed(kPackedCapacity);
    for (const std::vector<int16_t>* channel : {&cuff, &pulse}) {
        const int length = codec.Pack(kSampleCount, packed.data(), channel->data());
        bytes.insert(bytes.end(), packed.begin(), packed.begin() + length);
    }
    return bytes;
}

inline void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A fresh folder under the system's temporary folder, removed with the object.
class TempFolder {
public:
    TempFolder() {
        static int counter = 0;
        path_ = std::filesystem::temp_directory_path() /
                ("mirado-doc-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    std::string Folder() const { return path_.string() + "/"; }

private:
    std::filesystem::path path_;
};

} // namespace mirado::test
