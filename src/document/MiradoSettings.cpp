#include "document/MiradoSettings.h"

#include "platform/SystemServices.h"

#include <array>
#include <utility>

namespace mirado {

bool ParseUiLanguage(const std::string& code, UiLanguage* language) {
    if (code == "en")
        *language = UiLanguage::English;
    else if (code == "ja")
        *language = UiLanguage::Japanese;
    else
        return false;
    return true;
}

const char* UiLanguageCode(UiLanguage language) {
    return language == UiLanguage::Japanese ? "ja" : "en";
}

namespace {

constexpr std::array<std::pair<ToolBarSide, const char*>, 4> kToolBarSideNames{{
    {ToolBarSide::Top, "top"},
    {ToolBarSide::Bottom, "bottom"},
    {ToolBarSide::Left, "left"},
    {ToolBarSide::Right, "right"},
}};

ToolBarSide ToolBarSideOfName(const std::string& name) {
    for (const auto& [side, text] : kToolBarSideNames)
        if (name == text)
            return side;
    return ToolBarSide::Top;
}

const char* NameOfToolBarSide(ToolBarSide side) {
    for (const auto& [entry, text] : kToolBarSideNames)
        if (entry == side)
            return text;
    return "top";
}

} // namespace

bool CMiradoSettings::ReadFlag(const char* key, bool defaultValue) const {
    if (profile_ == nullptr)
        return defaultValue;
    return profile_->GetProfileInt(kMiradoSection, key, defaultValue ? 1 : 0) != 0;
}

bool CMiradoSettings::WriteFlag(const char* key, bool value) const {
    return profile_ != nullptr && profile_->WriteProfileInt(kMiradoSection, key, value ? 1 : 0);
}

void CMiradoSettings::Load() {
    scaleLabels_ = ReadFlag(kKeyScaleLabels, kDefaultScaleLabels);
    exportEncoding_ =
        ReadFlag(kKeyExportEncoding, false) ? ExportEncoding::Utf8WithBom : ExportEncoding::Cp932;
    keepOriginals_ = ReadFlag(kKeyKeepOriginals, kDefaultKeepOriginals);
    language_ = UiLanguage::English;
    if (profile_ != nullptr)
        ParseUiLanguage(profile_->GetProfileString(kMiradoSection, kKeyLanguage, "en"), &language_);
}

bool CMiradoSettings::SetLanguage(UiLanguage language) {
    language_ = language;
    return profile_ != nullptr &&
           profile_->WriteProfileString(kMiradoSection, kKeyLanguage, UiLanguageCode(language));
}

bool CMiradoSettings::SetScaleLabels(bool shown) {
    scaleLabels_ = shown;
    return WriteFlag(kKeyScaleLabels, shown);
}

bool CMiradoSettings::SetExportEncoding(ExportEncoding encoding) {
    exportEncoding_ = encoding;
    return WriteFlag(kKeyExportEncoding, encoding == ExportEncoding::Utf8WithBom);
}

std::optional<WindowPlacement> CMiradoSettings::LoadWindowPlacement() const {
    if (profile_ == nullptr)
        return std::nullopt;
    WindowPlacement placement;
    placement.width = profile_->GetProfileInt(kMiradoSection, kKeyWindowWidth, 0);
    placement.height = profile_->GetProfileInt(kMiradoSection, kKeyWindowHeight, 0);
    if (placement.width <= 0 || placement.height <= 0)
        return std::nullopt;
    placement.x = profile_->GetProfileInt(kMiradoSection, kKeyWindowX, 0);
    placement.y = profile_->GetProfileInt(kMiradoSection, kKeyWindowY, 0);
    placement.maximized = ReadFlag(kKeyWindowMaximized, false);
    placement.toolBarSide =
        ToolBarSideOfName(profile_->GetProfileString(kMiradoSection, kKeyToolBarSide, ""));
    return placement;
}

bool CMiradoSettings::SaveWindowPlacement(const WindowPlacement& placement) const {
    if (profile_ == nullptr)
        return false;
    // One change, so that another instance closing at the same time cannot mix its
    // placement with this one or lose its own values.
    return profile_->WriteProfileStrings(
        kMiradoSection, {{kKeyWindowX, std::to_string(placement.x)},
                         {kKeyWindowY, std::to_string(placement.y)},
                         {kKeyWindowWidth, std::to_string(placement.width)},
                         {kKeyWindowHeight, std::to_string(placement.height)},
                         {kKeyWindowMaximized, placement.maximized ? "1" : "0"},
                         {kKeyToolBarSide, NameOfToolBarSide(placement.toolBarSide)}});
}

} // namespace mirado
