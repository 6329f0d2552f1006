#pragma once
// CDisplaySettings: the persisted display settings (background, trace colours, the
// automatic stepping interval and the change alert) and the colour table that the two
// colour settings index. The document owns one and hands its values to the views and
// the frame. Values that the settings file holds out of range count as missing.

#include "platform/DrawingSurface.h"

#include <array>
#include <string>

namespace mirado {

class IProfile;

// Settings file and section names.
inline constexpr const char* kSettingsFileName = "Tenvar.s99";
inline constexpr const char* kProfileSection = "TenvarAWU";
inline constexpr const char* kKeyBkColor = "bkColor";
inline constexpr const char* kKeyPressColor = "pressColor";
inline constexpr const char* kKeyWaveColor = "waveColor";
inline constexpr const char* kKeyInterval = "interval";
inline constexpr const char* kKeyAlert = "alert";
inline constexpr const char* kKeyDataFolder = "dataFolder";

inline constexpr int kDefaultBkColor = 0;
inline constexpr int kDefaultPressColor = 6;
inline constexpr int kDefaultWaveColor = 0;
inline constexpr int kDefaultInterval = 5; // tenths of a second
inline constexpr int kDefaultAlert = 0;
inline constexpr int kMillisecondsPerIntervalUnit = 100;

inline constexpr Colour kBackgroundWhite = Rgb(255, 255, 255);
inline constexpr Colour kBackgroundBlack = Rgb(0, 0, 0);

struct ColourTableEntry {
    const char* name; // as listed in the Parameters dialog
    Colour colour;
};
inline constexpr int kColourCount = 18;
extern const std::array<ColourTableEntry, kColourCount> kColourTable;

class CDisplaySettings {
public:
    // profile may be null: Load then gives the defaults and Save stores nothing.
    explicit CDisplaySettings(IProfile* profile);

    // Reads the five values; a missing value, text that is no number, a colour index
    // outside the table or an interval below 1 (or one whose period would not fit an int) gives the
    // value's default.
    void Load();
    // Writes the five values; false when the profile refused one of them.
    bool Save();

    int GetBkColor() const { return bkColor_; }
    int GetPressColor() const { return pressColor_; }
    int GetWaveColor() const { return waveColor_; }
    int GetInterval() const { return interval_; }
    int GetAlert() const { return alert_; }
    void SetBkColor(int value) { bkColor_ = value; }
    void SetPressColor(int value) { pressColor_ = value; }
    void SetWaveColor(int value) { waveColor_ = value; }
    void SetInterval(int value) { interval_ = value; }
    void SetAlert(int value) { alert_ = value; }
    // Back to the defaults of every value (nothing is written).
    void SetDefaults();

    // Derived values. An out-of-range index or interval set through a setter reads as
    // its default here too, so no caller can index outside the table or get no period.
    int GetStepPeriod() const;
    Colour GetBackgroundColour() const;
    Colour GetWaveColour() const;
    Colour GetPressColour() const;

    IProfile* Profile() const { return profile_; }

private:
    int ReadInt(const char* key, int defaultValue) const;

    IProfile* profile_;
    int bkColor_ = kDefaultBkColor;
    int pressColor_ = kDefaultPressColor;
    int waveColor_ = kDefaultWaveColor;
    int interval_ = kDefaultInterval;
    int alert_ = kDefaultAlert;
};

bool IsColourIndex(int index);
bool IsStepInterval(int interval);

} // namespace mirado
