#include "document/DisplaySettings.h"

#include "platform/SystemServices.h"

#include <limits>

namespace mirado {

const std::array<ColourTableEntry, kColourCount> kColourTable = {{
    {"Blue\t", Rgb(0, 0, 255)},
    {"Aqua", Rgb(0, 255, 255)},
    {"Black", Rgb(0, 0, 0)},
    {"White", Rgb(255, 255, 255)},
    {"LightGray", Rgb(192, 192, 192)},
    {"DarkGray", Rgb(128, 128, 128)},
    {"Gray", Rgb(132, 132, 132)},
    {"Olive", Rgb(132, 132, 0)},
    {"Green", Rgb(0, 255, 0)},
    {"Lime", Rgb(0, 132, 0)},
    {"Fuchsia", Rgb(255, 0, 255)},
    {"Maroon", Rgb(132, 0, 0)},
    {"Navy", Rgb(0, 0, 132)},
    {"Purple", Rgb(132, 0, 132)},
    {"Red", Rgb(255, 0, 0)},
    {"Silver", Rgb(198, 198, 198)},
    {"Teal", Rgb(0, 132, 132)},
    {"Yellow", Rgb(255, 255, 0)},
}};

bool IsColourIndex(int index) {
    return index >= 0 && index < kColourCount;
}
// The longest interval whose period in milliseconds still fits an int.
constexpr int kMaxStepInterval = std::numeric_limits<int>::max() / kMillisecondsPerIntervalUnit;

bool IsStepInterval(int interval) {
    return interval >= 1 && interval <= kMaxStepInterval;
}

CDisplaySettings::CDisplaySettings(IProfile* profile) : profile_(profile) {}

int CDisplaySettings::ReadInt(const char* key, int defaultValue) const {
    if (profile_ == nullptr)
        return defaultValue;
    return profile_->GetProfileInt(kProfileSection, key, defaultValue);
}

void CDisplaySettings::Load() {
    bkColor_ = ReadInt(kKeyBkColor, kDefaultBkColor);
    pressColor_ = ReadInt(kKeyPressColor, kDefaultPressColor);
    waveColor_ = ReadInt(kKeyWaveColor, kDefaultWaveColor);
    interval_ = ReadInt(kKeyInterval, kDefaultInterval);
    alert_ = ReadInt(kKeyAlert, kDefaultAlert);
    if (!IsColourIndex(pressColor_))
        pressColor_ = kDefaultPressColor;
    if (!IsColourIndex(waveColor_))
        waveColor_ = kDefaultWaveColor;
    if (!IsStepInterval(interval_))
        interval_ = kDefaultInterval;
}

bool CDisplaySettings::Save() {
    if (profile_ == nullptr)
        return false;
    bool stored = profile_->WriteProfileInt(kProfileSection, kKeyBkColor, bkColor_);
    stored = profile_->WriteProfileInt(kProfileSection, kKeyPressColor, pressColor_) && stored;
    stored = profile_->WriteProfileInt(kProfileSection, kKeyWaveColor, waveColor_) && stored;
    stored = profile_->WriteProfileInt(kProfileSection, kKeyInterval, interval_) && stored;
    stored = profile_->WriteProfileInt(kProfileSection, kKeyAlert, alert_) && stored;
    return stored;
}

void CDisplaySettings::SetDefaults() {
    bkColor_ = kDefaultBkColor;
    pressColor_ = kDefaultPressColor;
    waveColor_ = kDefaultWaveColor;
    interval_ = kDefaultInterval;
    alert_ = kDefaultAlert;
}

int CDisplaySettings::GetStepPeriod() const {
    const int interval = IsStepInterval(interval_) ? interval_ : kDefaultInterval;
    return interval * kMillisecondsPerIntervalUnit;
}

Colour CDisplaySettings::GetBackgroundColour() const {
    return bkColor_ == 0 ? kBackgroundWhite : kBackgroundBlack;
}

Colour CDisplaySettings::GetWaveColour() const {
    return kColourTable[IsColourIndex(waveColor_) ? waveColor_ : kDefaultWaveColor].colour;
}

Colour CDisplaySettings::GetPressColour() const {
    return kColourTable[IsColourIndex(pressColor_) ? pressColor_ : kDefaultPressColor].colour;
}

} // namespace mirado
