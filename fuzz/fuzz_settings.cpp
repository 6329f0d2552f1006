// Reads arbitrary bytes as the settings file and changes it the way the program does.
// The profile below holds the file's text and reads and writes it line by line with the
// same functions as the program's settings file, so the display settings and the
// program's own settings load from the fuzzed text and are written back into it.
// Checks:
// - every value a write stores reads back as written; after a write of any text, every
//   other value the two settings read keeps what it read before;
// - the loaded settings are within their ranges whatever the text holds;
// - settings loaded again from the text they just wrote are the same settings.

#include "document/DisplaySettings.h"
#include "document/MiradoSettings.h"
#include "platform/ProfileValue.h"
#include "platform/SystemServices.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

namespace mirado {
namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "fuzz_settings: %s\n", what);
    std::abort();
}

// The settings file's text in memory.
class TextProfile : public IProfile {
public:
    explicit TextProfile(std::string text) : text_(std::move(text)) {}
    const std::string& Text() const { return text_; }

    int GetProfileInt(const std::string& section, const std::string& key,
                      int defaultValue) override {
        const std::optional<std::string> value = FindProfileValue(text_, section, key);
        return value ? ParseProfileInt(*value).value_or(defaultValue) : defaultValue;
    }
    std::string GetProfileString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) override {
        return FindProfileValue(text_, section, key).value_or(defaultValue);
    }
    bool WriteProfileInt(const std::string& section, const std::string& key, int value) override {
        return WriteProfileString(section, key, std::to_string(value));
    }
    bool WriteProfileString(const std::string& section, const std::string& key,
                            const std::string& value) override {
        std::optional<std::string> changed = WithProfileValue(text_, section, key, value);
        if (!changed)
            return false;
        if (FindProfileValue(*changed, section, key) != value)
            Fail("a written value does not read back");
        text_ = std::move(*changed);
        return true;
    }
    // Several values as one change: all of them or none.
    bool WriteProfileStrings(const std::string& section, const ProfileValues& values) override {
        const std::string before = text_;
        for (const auto& [key, value] : values)
            if (!WriteProfileString(section, key, value)) {
                text_ = before;
                return false;
            }
        return true;
    }

private:
    std::string text_;
};

struct ProfileKey {
    const char* section;
    const char* key;
};

// Every value the two settings read.
constexpr std::array<ProfileKey, 17> kKnownKeys = {{
    {kProfileSection, kKeyBkColor},
    {kProfileSection, kKeyPressColor},
    {kProfileSection, kKeyWaveColor},
    {kProfileSection, kKeyInterval},
    {kProfileSection, kKeyAlert},
    {kProfileSection, kKeyDataFolder},
    {kMiradoSection, kKeyScaleLabels},
    {kMiradoSection, kKeyExportEncoding},
    {kMiradoSection, kKeyKeepOriginals},
    {kMiradoSection, kKeyLanguage},
    {kMiradoSection, kKeyWindowX},
    {kMiradoSection, kKeyWindowY},
    {kMiradoSection, kKeyWindowWidth},
    {kMiradoSection, kKeyWindowHeight},
    {kMiradoSection, kKeyWindowMaximized},
    {kMiradoSection, kKeyToolBarSide},
    {"Other", "value"},
}};

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

// Writes value under key and checks that every other value the settings read keeps
// what it read before.
void WriteAndCheckOthers(TextProfile& profile, const char* section, const char* key,
                         const std::string& value) {
    std::array<std::optional<std::string>, kKnownKeys.size()> before;
    for (size_t i = 0; i < kKnownKeys.size(); ++i)
        before[i] = FindProfileValue(profile.Text(), kKnownKeys[i].section, kKnownKeys[i].key);
    if (!profile.WriteProfileString(section, key, value))
        return;
    for (size_t i = 0; i < kKnownKeys.size(); ++i) {
        if (SameName(kKnownKeys[i].section, section) && SameName(kKnownKeys[i].key, key))
            continue;
        if (FindProfileValue(profile.Text(), kKnownKeys[i].section, kKnownKeys[i].key) != before[i])
            Fail("a write changed another value");
    }
}

void CheckRanges(const CDisplaySettings& display) {
    for (int index : {display.GetPressColor(), display.GetWaveColor()})
        if (index < 0 || index >= kColourCount)
            Fail("a colour index outside the table");
    if (display.GetInterval() < 1 || display.GetStepPeriod() <= 0)
        Fail("a stepping interval below one");
}

bool SameDisplay(const CDisplaySettings& a, const CDisplaySettings& b) {
    return a.GetBkColor() == b.GetBkColor() && a.GetPressColor() == b.GetPressColor() &&
           a.GetWaveColor() == b.GetWaveColor() && a.GetInterval() == b.GetInterval() &&
           a.GetAlert() == b.GetAlert();
}

// A value for the fuzzed writes: the input's last line, which may hold anything.
std::string LastLine(const std::string& text) {
    const size_t lineBreak = text.find_last_of('\n');
    return lineBreak == std::string::npos ? text : text.substr(lineBreak + 1);
}

void WriteAndReload(TextProfile& profile, const std::string& input) {
    CDisplaySettings display(&profile);
    display.Load();
    CheckRanges(display);
    display.SetInterval(display.GetInterval() == kDefaultInterval ? 7 : kDefaultInterval);
    display.SetAlert(display.GetAlert() == 0 ? 1 : 0);
    display.Save();
    CDisplaySettings reloaded(&profile);
    reloaded.Load();
    if (!SameDisplay(display, reloaded))
        Fail("the display settings read back differ");

    CMiradoSettings mirado(&profile);
    mirado.Load();
    const std::optional<WindowPlacement> placement = mirado.LoadWindowPlacement();
    if (placement && (placement->width <= 0 || placement->height <= 0))
        Fail("a placement without a usable size");
    WindowPlacement moved = placement.value_or(WindowPlacement{10, 20, 640, 480});
    moved.x /= 2;
    moved.maximized = !moved.maximized;
    moved.toolBarSide = ToolBarSide::Left;
    mirado.SaveWindowPlacement(moved);
    if (mirado.LoadWindowPlacement() != moved)
        Fail("the window placement read back differs");
    mirado.SetScaleLabels(!mirado.GetScaleLabels());
    mirado.SetExportEncoding(ExportEncoding::Utf8WithBom);
    mirado.SetLanguage(mirado.GetLanguage() == UiLanguage::English ? UiLanguage::Japanese
                                                                   : UiLanguage::English);
    CMiradoSettings again(&profile);
    again.Load();
    if (again.GetScaleLabels() != mirado.GetScaleLabels() ||
        again.GetExportEncoding() != mirado.GetExportEncoding() ||
        again.GetLanguage() != mirado.GetLanguage())
        Fail("the program's settings read back differ");

    // A value of any bytes (a line break excepted) under a key of the input's own.
    WriteAndCheckOthers(profile, kMiradoSection, kKeyLanguage, LastLine(input));
    WriteAndCheckOthers(profile, "Other", "value", LastLine(input));
    WriteAndCheckOthers(profile, kProfileSection, kKeyInterval, "12");
}

} // namespace
} // namespace mirado

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    const std::string text(reinterpret_cast<const char*>(bytes), size);
    mirado::TextProfile profile(text);
    mirado::WriteAndReload(profile, text);
    return 0;
}
