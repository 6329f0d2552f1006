#include "records/TextEncoding.h"

#include <cerrno>
#include <iconv.h>

namespace mirado {

namespace {

constexpr const char* kCp932 = "CP932";
constexpr const char* kUtf8 = "UTF-8";
constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD
constexpr size_t kChunk = 256;

// One iconv conversion descriptor, closed on scope exit.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (Ok())
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool Ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much as possible; returns false at a sequence that cannot be
    // converted, leaving `in` at that sequence.
    bool Convert(std::string_view& in, std::string& out) {
        char* src = const_cast<char*>(in.data());
        size_t left = in.size();
        bool ok = true;
        while (left > 0) {
            char buffer[kChunk];
            char* dst = buffer;
            size_t room = sizeof buffer;
            const size_t result = iconv(cd_, &src, &left, &dst, &room);
            out.append(buffer, static_cast<size_t>(dst - buffer));
            if (result == static_cast<size_t>(-1) && errno != E2BIG) {
                ok = false;
                break;
            }
        }
        in = std::string_view(src, left);
        return ok;
    }

private:
    iconv_t cd_;
};

} // namespace

std::string Cp932ToUtf8(std::string_view cp932) {
    Converter converter(kUtf8, kCp932);
    std::string out;
    if (!converter.Ok())
        return out;
    while (!converter.Convert(cp932, out)) {
        out.append(kReplacement);
        cp932.remove_prefix(1);
    }
    return out;
}

std::optional<std::string> Utf8ToCp932(std::string_view utf8) {
    Converter converter(kCp932, kUtf8);
    std::string out;
    if (!converter.Ok() || !converter.Convert(utf8, out))
        return std::nullopt;
    return out;
}

bool CanConvertToCp932(std::string_view utf8) {
    return Utf8ToCp932(utf8).has_value();
}

std::optional<size_t> Cp932ByteLength(std::string_view utf8) {
    const std::optional<std::string> converted = Utf8ToCp932(utf8);
    if (!converted)
        return std::nullopt;
    return converted->size();
}

size_t ValidUtf8SequenceLength(std::string_view text, size_t at) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(at);
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (at + length > text.size() || byte(at + 1) < low || byte(at + 1) > high)
        return 0;
    for (size_t k = 2; k < length; ++k) {
        if (byte(at + k) < 0x80 || byte(at + k) > 0xBF)
            return 0;
    }
    return length;
}

bool IsValidUtf8(std::string_view text) {
    for (size_t at = 0; at < text.size();) {
        const size_t length = ValidUtf8SequenceLength(text, at);
        if (length == 0)
            return false;
        at += length;
    }
    return true;
}

std::string WithInvalidUtf8Replaced(std::string_view text) {
    if (IsValidUtf8(text))
        return std::string(text);
    std::string out;
    out.reserve(text.size() + 8);
    for (size_t at = 0; at < text.size();) {
        const size_t length = ValidUtf8SequenceLength(text, at);
        if (length == 0) {
            out.append(kReplacement);
            ++at;
        } else {
            out.append(text.substr(at, length));
            at += length;
        }
    }
    return out;
}

std::string HexBytes(std::string_view bytes) {
    static const char kHex[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        hex += kHex[byte >> 4];
        hex += kHex[byte & 0x0F];
    }
    return hex;
}

} // namespace mirado
