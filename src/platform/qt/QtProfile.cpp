#include "platform/qt/QtProfile.h"

#include "platform/ProfileValue.h"

#include <QSettings>
#include <QStringList>

namespace mirado {

namespace {

QString KeyOf(const std::string& section, const std::string& key) {
    return QString::fromStdString(section) + QLatin1Char('/') + QString::fromStdString(key);
}

// QSettings reads an unquoted value holding commas as a list; the file meant one text.
std::optional<std::string> RawText(const QSettings& settings, const QString& key) {
    if (!settings.contains(key))
        return std::nullopt;
    const QVariant value = settings.value(key);
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(',')).toStdString();
    return value.toString().toStdString();
}

} // namespace

CQtProfile::CQtProfile(const std::string& filePath)
    : settings_(
          std::make_unique<QSettings>(QString::fromStdString(filePath), QSettings::IniFormat)) {}

CQtProfile::~CQtProfile() = default;

int CQtProfile::GetProfileInt(const std::string& section, const std::string& key,
                              int defaultValue) {
    const std::optional<std::string> text = RawText(*settings_, KeyOf(section, key));
    if (!text)
        return defaultValue;
    return ParseProfileInt(*text).value_or(defaultValue);
}

std::string CQtProfile::GetProfileString(const std::string& section, const std::string& key,
                                         const std::string& defaultValue) {
    return RawText(*settings_, KeyOf(section, key)).value_or(defaultValue);
}

bool CQtProfile::WriteProfileInt(const std::string& section, const std::string& key, int value) {
    return WriteProfileString(section, key, std::to_string(value));
}

bool CQtProfile::WriteProfileString(const std::string& section, const std::string& key,
                                    const std::string& value) {
    settings_->setValue(KeyOf(section, key), QString::fromStdString(value));
    settings_->sync();
    return settings_->status() == QSettings::NoError;
}

} // namespace mirado
