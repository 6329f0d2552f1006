#include "exchange/EdfFile.h"

#include "platform/Utf8.h"

#include <cstdlib>

namespace mirado {

namespace {

constexpr size_t kFixedHeaderSize = 256;
constexpr size_t kSignalHeaderSize = 256;
constexpr int kBytesPerSample = 2;
constexpr const char* kAnnotationLabel = "EDF Annotations";
constexpr char kOnsetEnd = '\x14';

// The text cut or padded with spaces to width.
std::string Field(const std::string& text, size_t width) {
    std::string field = text.substr(0, width);
    field.resize(width, ' ');
    return field;
}

// The code point of the valid UTF-8 sequence of length bytes at text[at].
char32_t CodePointAt(const std::string& text, size_t at, size_t length) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[at + i]); };
    if (length == 1)
        return byte(0);
    char32_t point = byte(0) & (0x7Fu >> length);
    for (size_t i = 1; i < length; ++i)
        point = (point << 6) | (byte(i) & 0x3Fu);
    return point;
}

// Printable ASCII for one code point: full-width forms fold to ASCII, the ideographic
// space to a space, anything else outside printable ASCII to '?'.
char AsciiFor(char32_t point) {
    constexpr char32_t kFullWidthFirst = 0xFF01, kFullWidthLast = 0xFF5E;
    constexpr char32_t kFullWidthOffset = 0xFF01 - 0x21;
    constexpr char32_t kIdeographicSpace = 0x3000;
    if (point >= 0x20 && point < 0x7F)
        return static_cast<char>(point);
    if (point >= kFullWidthFirst && point <= kFullWidthLast)
        return static_cast<char>(point - kFullWidthOffset);
    if (point == kIdeographicSpace)
        return ' ';
    return '?';
}

std::string AnnotationSignal(const EdfContents& contents) {
    std::string lists = std::string("+0") + kOnsetEnd + kOnsetEnd + '\0';
    for (const EdfAnnotation& annotation : contents.annotations)
        lists +=
            annotation.onset + kOnsetEnd + EdfAnnotationText(annotation.text) + kOnsetEnd + '\0';
    if (lists.size() % kBytesPerSample != 0)
        lists += '\0';
    return lists;
}

void AppendSamples(std::string& bytes, const std::vector<int16_t>& samples) {
    for (const int16_t sample : samples) {
        const auto word = static_cast<uint16_t>(sample);
        bytes += static_cast<char>(word & 0xFF);
        bytes += static_cast<char>(word >> 8);
    }
}

std::string SignalHeaders(const std::vector<EdfSignal>& signals, size_t annotationSamples) {
    const auto each = [&](size_t width, auto text, const std::string& annotation) {
        std::string fields;
        for (const EdfSignal& signal : signals)
            fields += Field(text(signal), width);
        return fields + Field(annotation, width);
    };
    return each(
               16, [](const EdfSignal& s) { return s.label; }, kAnnotationLabel) +
           each(
               80, [](const EdfSignal& s) { return s.transducer; }, "") +
           each(
               8, [](const EdfSignal& s) { return s.unit; }, "") +
           each(
               8, [](const EdfSignal& s) { return s.physicalMin; }, "-1") +
           each(
               8, [](const EdfSignal& s) { return s.physicalMax; }, "1") +
           each(
               8, [](const EdfSignal& s) { return std::to_string(s.digitalMin); }, "-32768") +
           each(
               8, [](const EdfSignal& s) { return std::to_string(s.digitalMax); }, "32767") +
           each(
               80, [](const EdfSignal&) { return std::string(); }, "") +
           each(
               8, [](const EdfSignal& s) { return std::to_string(s.samples.size()); },
               std::to_string(annotationSamples)) +
           each(
               32, [](const EdfSignal&) { return std::string(); }, "");
}

} // namespace

std::string EdfBytes(const EdfContents& contents) {
    const std::string annotations = AnnotationSignal(contents);
    const size_t signalCount = contents.signals.size() + 1;
    std::string bytes =
        Field("0", 8) + Field(contents.patient, 80) + Field(contents.recording, 80) +
        Field(contents.startDate, 8) + Field(contents.startTime, 8) +
        Field(std::to_string(kFixedHeaderSize + kSignalHeaderSize * signalCount), 8) +
        Field("EDF+C", 44) + Field("1", 8) + Field(contents.recordSeconds, 8) +
        Field(std::to_string(signalCount), 4);
    bytes += SignalHeaders(contents.signals, annotations.size() / kBytesPerSample);
    for (const EdfSignal& signal : contents.signals)
        AppendSamples(bytes, signal.samples);
    return bytes + annotations;
}

std::string EdfSubfield(const std::string& utf8) {
    std::string ascii;
    for (size_t at = 0; at < utf8.size();) {
        const size_t length = ValidUtf8SequenceLength(utf8, at);
        const char c = length == 0 ? '?' : AsciiFor(CodePointAt(utf8, at, length));
        ascii += c == ' ' ? '_' : c;
        at += length == 0 ? 1 : length;
    }
    return ascii.empty() ? "X" : ascii;
}

std::string TenthMillisecondsAsSeconds(int64_t units) {
    constexpr int64_t kUnitsPerSecond = 10000;
    const int64_t magnitude = std::llabs(units);
    std::string text = units < 0 ? "-" : "";
    text += std::to_string(magnitude / kUnitsPerSecond);
    int64_t fraction = magnitude % kUnitsPerSecond;
    if (fraction == 0)
        return text;
    std::string decimals = std::to_string(kUnitsPerSecond + fraction).substr(1);
    while (decimals.back() == '0')
        decimals.pop_back();
    return text + '.' + decimals;
}

std::string EdfOnset(int sample, int sampleInterval) {
    const int64_t units = static_cast<int64_t>(sample) * sampleInterval;
    std::string onset = units < 0 ? "" : "+";
    return onset + TenthMillisecondsAsSeconds(units);
}

std::string EdfAnnotationText(const std::string& utf8) {
    std::string text = WithInvalidUtf8Replaced(utf8);
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    return text;
}

} // namespace mirado
