#pragma once
// CMiradoSettings: the settings of this program's own features, kept in their own
// section "Mirado" of the settings file so that the section of the display settings
// keeps exactly its five values. A value that is missing or no number gives its default.

#include "document/TextExport.h"

#include <optional>
#include <string>

namespace mirado {

class IProfile;

inline constexpr const char* kMiradoSection = "Mirado";
inline constexpr const char* kKeyScaleLabels = "scaleLabels";
inline constexpr bool kDefaultScaleLabels = true;
// The encoding of the Dominant and Mean text export: 0 CP932, 1 UTF-8 with BOM.
inline constexpr const char* kKeyExportEncoding = "exportEncoding";
inline constexpr const char* kKeyKeepOriginals = "keepOriginals";
inline constexpr bool kDefaultKeepOriginals = true;
// The language of the window's own texts: "en" (the default) or "ja".
inline constexpr const char* kKeyLanguage = "language";

enum class UiLanguage { English, Japanese };

// "en" gives English, "ja" Japanese; any other text gives nothing.
bool ParseUiLanguage(const std::string& code, UiLanguage* language);
const char* UiLanguageCode(UiLanguage language);
// The main window's place on the desktop, written when it closes.
inline constexpr const char* kKeyWindowX = "windowX";
inline constexpr const char* kKeyWindowY = "windowY";
inline constexpr const char* kKeyWindowWidth = "windowWidth";
inline constexpr const char* kKeyWindowHeight = "windowHeight";
inline constexpr const char* kKeyWindowMaximized = "windowMaximized";
// The side the toolbar is docked at: "top", "bottom", "left" or "right".
inline constexpr const char* kKeyToolBarSide = "toolBarSide";

enum class ToolBarSide { Top, Bottom, Left, Right };

// The main window's normal (not maximised) frame position and size, whether it is
// maximised, and the toolbar's side.
struct WindowPlacement {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool maximized = false;
    ToolBarSide toolBarSide = ToolBarSide::Top;

    bool operator==(const WindowPlacement&) const = default;
};

class CMiradoSettings {
public:
    // profile may be null: Load then gives the defaults and the setters store nothing.
    explicit CMiradoSettings(IProfile* profile) : profile_(profile) {}

    void Load();

    // Seconds at the time lines and the cuff's mmHg scale, on screen and on the page
    // of the current file.
    bool GetScaleLabels() const { return scaleLabels_; }
    // Takes the value and stores it at once; false when the profile refused it.
    bool SetScaleLabels(bool shown);

    // The encoding the save-as-text dialog offers first.
    ExportEncoding GetExportEncoding() const { return exportEncoding_; }
    bool SetExportEncoding(ExportEncoding encoding);
    // Whether a save first keeps the file's original in ".mirado-originals" beside it.
    bool GetKeepOriginals() const { return keepOriginals_; }

    // The language the window starts in; a change takes effect at the next start.
    UiLanguage GetLanguage() const { return language_; }
    bool SetLanguage(UiLanguage language);
    // The stored placement; nothing when no usable size is stored (first run).
    std::optional<WindowPlacement> LoadWindowPlacement() const;
    bool SaveWindowPlacement(const WindowPlacement& placement) const;

private:
    bool ReadFlag(const char* key, bool defaultValue) const;
    bool WriteFlag(const char* key, bool value) const;

    IProfile* profile_;
    bool scaleLabels_ = kDefaultScaleLabels;
    ExportEncoding exportEncoding_ = ExportEncoding::Cp932;
    UiLanguage language_ = UiLanguage::English;
    bool keepOriginals_ = kDefaultKeepOriginals;
};

} // namespace mirado
