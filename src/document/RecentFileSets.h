#pragma once
// CRecentFileSets: the file sets opened last, newest first, kept in a file of their own
// ("recent-files.txt") in the preference folder. Each set is the list of paths one open
// gave; reopening a set drops the files that are gone.
//
// File layout: UTF-8 or raw path bytes, LF line ends. A line starting with "#" is a
// comment; a blank line ends a set; every other line is one path. In a path a backslash
// is written "\\", a line feed "\n" and a carriage return "\r", so every name the file
// system allows fits on one line.

#include <functional>
#include <string>
#include <vector>

namespace mirado {

inline constexpr const char* kRecentFilesName = "recent-files.txt";
inline constexpr size_t kMaxRecentFileSets = 8;

using FileSet = std::vector<std::string>;

// The files of a set that still exist, and how many were dropped.
struct ExistingFiles {
    FileSet kept;
    int dropped = 0;
};

class CRecentFileSets {
public:
    // Newest first, at most kMaxRecentFileSets.
    const std::vector<FileSet>& Sets() const { return sets_; }

    // Puts the set first; an equal set further down is removed, the oldest beyond the
    // limit is dropped. An empty set changes nothing.
    void Add(const FileSet& set);
    // Removes an equal set, if listed.
    void Remove(const FileSet& set);

    // The text of the file, and the sets read back from it (at most the limit; empty sets
    // and lines with a broken escape are skipped).
    std::string Format() const;
    static CRecentFileSets Parse(const std::string& text);

    // Reads the file; a missing or unreadable file gives no sets.
    static CRecentFileSets Load(const std::string& path);
    // Replaces the file atomically; false with `error` set when it could not be written.
    bool Save(const std::string& path, std::string& error) const;

private:
    std::vector<FileSet> sets_;
};

// The path of the recent-files file inside the preference folder.
std::string RecentFilesPath(const std::string& preferenceFolder);

// Keeps the files for which exists is true, in order.
ExistingFiles KeepExistingFiles(const FileSet& set,
                                const std::function<bool(const std::string&)>& exists);
// The same with the file system: a path exists when it names a regular file.
ExistingFiles KeepExistingFiles(const FileSet& set);

} // namespace mirado
