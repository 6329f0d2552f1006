#include "document/MiradoSettings.h"

#include "platform/SystemServices.h"

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

} // namespace mirado
