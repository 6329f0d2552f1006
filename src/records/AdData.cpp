#include "records/AdData.h"

#include "files/FileAccess.h"
#include "platform/UserPrompts.h"
#include "records/BeatStatistics.h"
#include "records/RecordUnits.h"
#include "records/WaveCodec.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace mirado {

namespace {

constexpr int kCompleteChannel = kSampleCount - 1; // deltas of a complete channel
constexpr int kSenseLowest = 0, kSenseHighest = 7, kSenseOutOfRange = -1;

constexpr const char* kUnpackError = "  A/D Data unpack Error";
constexpr const char* kChannel1Short = "  A/D Dataが不足しています(ch1)";
constexpr const char* kChannel2Short = "  A/D Dataが不足しています(ch2)";
constexpr const char* kMessageGap = "  ";

int16_t ReadInt16(const uint8_t* p) {
    return static_cast<int16_t>(p[0] | p[1] << 8);
}

void WriteInt16(uint8_t* p, int16_t value) {
    p[0] = static_cast<uint8_t>(value & 0xFF);
    p[1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}

bool IsSpace(uint8_t c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

std::string Trim(const std::string& text) {
    size_t first = 0, last = text.size();
    while (first < last && IsSpace(static_cast<uint8_t>(text[first])))
        ++first;
    while (last > first && IsSpace(static_cast<uint8_t>(text[last - 1])))
        --last;
    return text.substr(first, last - first);
}

bool IsCp932LeadByte(uint8_t c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Longest prefix of a CP932 text that fits width bytes without splitting a character.
size_t FittingLength(const std::string& cp932, size_t width) {
    size_t length = 0;
    while (length < cp932.size()) {
        const bool pair =
            IsCp932LeadByte(static_cast<uint8_t>(cp932[length])) && length + 1 < cp932.size();
        const size_t next = length + (pair ? 2 : 1);
        if (next > width)
            break;
        length = next;
    }
    return length;
}

// Copies bytes [from, from + count) of data into out, leaving bytes past size as they are.
void CopyAvailable(uint8_t* out, const uint8_t* data, size_t size, size_t from, size_t count) {
    if (from >= size)
        return;
    std::memcpy(out, data + from, std::min(count, size - from));
}

} // namespace

CAdData::CAdData() = default;

Result<void> CAdData::Load(const std::string& path, int& modelCode, IUserPrompts* prompts) {
    modelCode = kModelCodeUnknown;
    ClearRecord();
    const Result<std::vector<uint8_t>> read = ReadWholeFile(path, kMaxRecordFileSize);
    if (!read.ok())
        return Failed(path, kMessageGap + read.error(), prompts);
    const std::vector<uint8_t>& bytes = read.value();
    return LoadFromBytes(path, bytes.data(), bytes.size(), modelCode, prompts);
}

Result<void> CAdData::LoadFromBytes(const std::string& path, const uint8_t* data, size_t size,
                                    int& modelCode, IUserPrompts* prompts) {
    modelCode = kModelCodeUnknown;
    ClearRecord();
    CopyFileBlocks(data, size);
    const char letter = GetModelLetter();
    if (letter >= kFirstModelLetter && letter <= kLastModelLetter)
        modelCode = letter - kFirstModelLetter;
    if (const Result<void> decoded = DecodeChannels(data, size); !decoded.ok())
        return Failed(path, decoded.error(), prompts);
    path_ = path;
    diskBytes_.assign(data, data + size);
    ComputeValidFlag();
    storedHeartRate_ = StoredHeartRateFromBeats(beats_.data(), GetSampleInterval());
    return Ok();
}

void CAdData::ClearRecord() {
    valid_ = 0;
    path_.clear();
    diskBytes_.clear();
    result_.fill(0);
    header_.fill(0);
    middle_.fill(0);
    beats_.fill(0);
    channel1_.fill(0);
    channel2_.fill(0);
    storedHeartRate_ = 0;
    lastError_.clear();
}

void CAdData::CopyFileBlocks(const uint8_t* data, size_t size) {
    CopyAvailable(header_.data(), data, size, kOffsetDateTime, kHeaderSize);
    CopyAvailable(result_.data(), data, size, kOffsetResultBlock, kResultBlockSize);
    CopyAvailable(middle_.data(), data, size, kOffsetResultBlock, kMiddleSize);
    uint8_t beatArea[kBeatAreaSize] = {};
    CopyAvailable(beatArea, data, size, kOffsetBeatPositions, kBeatAreaSize);
    for (int i = 0; i < kStoredBeatCount; ++i)
        beats_[i] = ReadInt16(beatArea + kInt16Width * i);
}

// Decodes both channels from the bytes after the fixed part; a failure says why.
Result<void> CAdData::DecodeChannels(const uint8_t* data, size_t size) {
    const uint8_t* packed = size > kOffsetChannels ? data + kOffsetChannels : nullptr;
    const size_t packedSize = size > kOffsetChannels ? size - kOffsetChannels : 0;
    CWaveCodec codec;
    const int count1 = codec.Unpack(channel1_.data(), packed, packedSize, 0);
    if (count1 == 0 || count1 < kCompleteChannel)
        return Fail(count1 == 0 ? kUnpackError : kChannel1Short);
    const int count2 = codec.Unpack(channel2_.data(), packed, packedSize, 1);
    if (count2 == 0 || count2 < kCompleteChannel)
        return Fail(count2 == 0 ? kUnpackError : kChannel2Short);
    return Ok();
}

void CAdData::ComputeValidFlag() {
    const int16_t writerMark = ReadInt16(middle_.data() + kMiddleWriterMark);
    if (writerMark == kAcquisitionWriterMark) {
        valid_ = ResultValue(kResultMbp) != 0 ? 1 : 0;
        return;
    }
    const uint16_t mark = static_cast<uint16_t>(ReadInt16(header_.data() + kOffsetValidMark));
    valid_ = mark == kValidMark ? 1 : 0;
}

bool CAdData::HasWriterMark() const {
    const int16_t writerMark = ReadInt16(middle_.data() + kMiddleWriterMark);
    return writerMark == kAcquisitionWriterMark || writerMark == kOwnWriterMark;
}

Result<void> CAdData::Failed(const std::string& path, const std::string& message,
                             IUserPrompts* prompts) {
    lastError_ = message;
    ShowFileMessage(path, message, prompts);
    return Fail(message);
}

void ShowFileMessage(const std::string& path, const std::string& message, IUserPrompts* prompts) {
    if (prompts != nullptr)
        prompts->ShowMessage(path + message, kApplicationTitle, MessageIcon::Warning,
                             MessageButtons::Ok);
}

void CAdData::PrepareForSave() {
    WriteInt16(header_.data() + kOffsetValidMark,
               static_cast<int16_t>(valid_ == 1 ? kValidMark : 0));
    std::copy(result_.begin(), result_.end(), middle_.begin());
    std::copy(result_.begin(), result_.end(), middle_.begin() + kMiddleSecondCopy);
    WriteInt16(middle_.data() + kMiddleWriterMark, static_cast<int16_t>(kOwnWriterMark));
}

std::string CAdData::SerializedBytes() {
    PrepareForSave();
    std::string out;
    out.reserve(kOffsetChannels + 2 * kPackedCapacity);
    out.append(reinterpret_cast<const char*>(header_.data()), kWrittenHeaderSize);
    out.append(reinterpret_cast<const char*>(middle_.data()), kMiddleSize);
    uint8_t beatArea[kBeatAreaSize];
    for (int i = 0; i < kStoredBeatCount; ++i)
        WriteInt16(beatArea + kInt16Width * i, beats_[i]);
    out.append(reinterpret_cast<const char*>(beatArea), kBeatAreaSize);
    std::array<uint8_t, kPackedCapacity> packed;
    CWaveCodec codec;
    for (const auto* channel : {&channel1_, &channel2_}) {
        const int length = codec.Pack(kSampleCount, packed.data(), channel->data());
        out.append(reinterpret_cast<const char*>(packed.data()), static_cast<size_t>(length));
    }
    return out;
}

Result<void> CAdData::Save(const std::string& path, IUserPrompts* prompts) {
    lastError_.clear();
    const std::string bytes = SerializedBytes();
    if (const Result<void> written = WriteFileAtomically(path, bytes); !written.ok())
        return Failed(path, kMessageGap + written.error(), prompts);
    diskBytes_.assign(bytes.begin(), bytes.end());
    return Ok();
}

int CAdData::GetSampleInterval() const {
    const int interval = static_cast<int8_t>(header_[kOffsetSampleInterval]);
    return interval == 0 ? 1 : interval;
}

int CAdData::GetSense() const {
    const int sense = static_cast<int8_t>(header_[kOffsetSense]);
    return sense >= kSenseLowest && sense <= kSenseHighest ? sense : kSenseOutOfRange;
}

std::string CAdData::GetText(size_t offset, size_t width) const {
    const char* field = reinterpret_cast<const char*>(header_.data() + offset);
    return Trim(std::string(field, strnlen(field, width)));
}

void CAdData::SetText(size_t offset, size_t width, const std::string& cp932) {
    const std::string text = Trim(cp932);
    const size_t length = FittingLength(text, width);
    uint8_t* field = header_.data() + offset;
    std::memset(field, ' ', width);
    std::memcpy(field, text.data(), length);
}

std::string CAdData::GetAnimalNo() const {
    return GetText(kOffsetAnimalNo, kIdTextWidth);
}
std::string CAdData::GetStudyNo() const {
    return GetText(kOffsetStudyNo, kIdTextWidth);
}
std::string CAdData::GetWeight() const {
    return GetText(kOffsetWeight, kIdTextWidth);
}
std::string CAdData::GetSexAge() const {
    return GetText(kOffsetSexAge, kIdTextWidth);
}
std::string CAdData::GetComment() const {
    return GetText(kOffsetComment, kCommentWidth);
}

std::string CAdData::GetDateTime() const {
    const char* field = reinterpret_cast<const char*>(header_.data() + kOffsetDateTime);
    return std::string(field, strnlen(field, kDateTimeWidth));
}

std::string CAdData::GetDate() const {
    return GetDateTime().substr(0, kDateWidth);
}

std::string CAdData::GetTime() const {
    const std::string dateTime = GetDateTime();
    return dateTime.size() > kDateWidth ? dateTime.substr(kDateWidth) : std::string();
}

void CAdData::SetAnimalNo(const std::string& cp932) {
    SetText(kOffsetAnimalNo, kIdTextWidth, cp932);
}
void CAdData::SetStudyNo(const std::string& cp932) {
    SetText(kOffsetStudyNo, kIdTextWidth, cp932);
}
void CAdData::SetWeight(const std::string& cp932) {
    SetText(kOffsetWeight, kIdTextWidth, cp932);
}
void CAdData::SetSexAge(const std::string& cp932) {
    SetText(kOffsetSexAge, kIdTextWidth, cp932);
}
void CAdData::SetComment(const std::string& cp932) {
    SetText(kOffsetComment, kCommentWidth, cp932);
}

CAdData::IdFieldBytes CAdData::GetIdFieldBytes() const {
    IdFieldBytes bytes{};
    std::copy_n(header_.begin() + kOffsetAnimalNo, bytes.size(), bytes.begin());
    return bytes;
}
void CAdData::SetIdFieldBytes(const IdFieldBytes& bytes) {
    std::copy(bytes.begin(), bytes.end(), header_.begin() + kOffsetAnimalNo);
}

int16_t CAdData::ResultValue(size_t offset) const {
    return ReadInt16(result_.data() + offset);
}

void CAdData::SetResultValue(size_t offset, int16_t value) {
    WriteInt16(result_.data() + offset, value);
}

void CAdData::GetStoredPressures(int16_t& sbp, int16_t& mbp, int16_t& dbp) const {
    sbp = ResultValue(kResultSbp);
    mbp = ResultValue(kResultMbp);
    dbp = ResultValue(kResultDbp);
}

void CAdData::SetStoredPressures(int16_t sbp, int16_t mbp, int16_t dbp) {
    SetResultValue(kResultSbp, sbp);
    SetResultValue(kResultMbp, mbp);
    SetResultValue(kResultDbp, dbp);
}

void CAdData::GetStoredMarkers(int16_t& s, int16_t& m, int16_t& d) const {
    s = ResultValue(kResultMarkerS);
    m = ResultValue(kResultMarkerM);
    d = ResultValue(kResultMarkerD);
}

void CAdData::SetStoredMarkers(int16_t s, int16_t m, int16_t d) {
    SetResultValue(kResultMarkerS, s);
    SetResultValue(kResultMarkerM, m);
    SetResultValue(kResultMarkerD, d);
}

void CAdData::SetStoredMarkerS(int16_t s) {
    SetResultValue(kResultMarkerS, s);
}
void CAdData::SetStoredMarkerM(int16_t m) {
    SetResultValue(kResultMarkerM, m);
}

int CAdData::GetMarkerInterval() const {
    return MarkerIntervalMs(GetSampleInterval(), ResultValue(kResultMarkerS),
                            ResultValue(kResultMarkerM));
}

} // namespace mirado
