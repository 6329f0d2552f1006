#pragma once
// CQtProfile: the settings file as an INI-format text file, read and written through
// QSettings. Each write is flushed to the file at once, so a crash loses nothing.

#include "platform/SystemServices.h"

#include <memory>

class QSettings;

namespace mirado {

class CQtProfile : public IProfile {
public:
    explicit CQtProfile(const std::string& filePath);
    ~CQtProfile() override;

    int GetProfileInt(const std::string& section, const std::string& key,
                      int defaultValue) override;
    std::string GetProfileString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) override;
    bool WriteProfileInt(const std::string& section, const std::string& key, int value) override;
    bool WriteProfileString(const std::string& section, const std::string& key,
                            const std::string& value) override;

private:
    std::unique_ptr<QSettings> settings_;
};

} // namespace mirado
