#pragma once
// What the document and the start-up need from the operating system besides the user:
// the settings file (profile), the user's documents folder and the desktop's trash.
// Folder paths handed around always end with "/".

#include <string>
#include <utility>
#include <vector>

namespace mirado {

// Values to write together: (name, value) pairs of one section.
using ProfileValues = std::vector<std::pair<std::string, std::string>>;

// Profile storage: named integer and string values in sections of one INI-format file.
class IProfile {
public:
    virtual ~IProfile() = default;
    // Returns defaultValue when the value is missing or is not a whole decimal number
    // that fits an int.
    virtual int GetProfileInt(const std::string& section, const std::string& key,
                              int defaultValue) = 0;
    virtual std::string GetProfileString(const std::string& section, const std::string& key,
                                         const std::string& defaultValue) = 0;
    // Both return false when the value could not be stored.
    virtual bool WriteProfileInt(const std::string& section, const std::string& key, int value) = 0;
    virtual bool WriteProfileString(const std::string& section, const std::string& key,
                                    const std::string& value) = 0;
    // Writes the values as one change: another reader sees all of them or none, and
    // another writer never interleaves. False when they could not be stored.
    virtual bool WriteProfileStrings(const std::string& section, const ProfileValues& values) = 0;
};

class IDocumentsFolder {
public:
    virtual ~IDocumentsFolder() = default;
    // The user's documents folder, ending with "/". It need not exist yet.
    virtual std::string GetDocumentsFolder() = 0;
};

class ITrash {
public:
    virtual ~ITrash() = default;
    // Moves one file to the desktop's trash, from where the user can restore it. Never
    // deletes permanently. Returns false when the file stays where it is.
    virtual bool MoveToTrash(const std::string& path) = 0;
};

} // namespace mirado
