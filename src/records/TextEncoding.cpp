#include "records/TextEncoding.h"

#include <cerrno>
#include <iconv.h>

namespace mirado {

namespace {

constexpr const char* kCp932 = "CP932";
constexpr const char* kUtf8 = "UTF-8";
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
        out.append(kUtf8Replacement);
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

} // namespace mirado
