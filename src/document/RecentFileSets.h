#pragma once
// CRecentFileSets: the file sets opened last, newest first, kept in a file of their own
// ("recent-files.txt") in the preference folder. Each set is the list of paths one open
// gave; reopening a set drops the files that are gone.
//
// File layout: UTF-8 or raw path bytes, LF line ends. A line starting with "#" is a
// comment; a blank line ends a set; every other line is one path. In a path a backslash
// is written "\\", a line feed "\n" and a carriage return "\r", so every name the file
// system allows fits on one line. The file never outgrows what Load reads
// (kMaxRecentFilesBytes): the oldest sets are dropped first to keep it within.
//
// Several instances of the program share the file: each change is made under the file's
// update lock on what the file holds then (Update), so no instance drops another's set.

#include "files/Result.h"

#include <functional>
#include <string>
#include <vector>

namespace mirado {

inline constexpr const char* kRecentFilesName = "recent-files.txt";
inline constexpr size_t kMaxRecentFileSets = 8;
// The file lists a few hundred paths at most; a larger one is not read.
inline constexpr size_t kMaxRecentFilesBytes = 4u * 1024u * 1024u;

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
    // limits (the number of sets, then the file's size) are dropped. An empty set changes
    // nothing; a set too large for the file on its own is not kept.
    void Add(const FileSet& set);
    // Removes an equal set, if listed.
    void Remove(const FileSet& set);

    // The text of the file, and the sets read back from it (at most the limit; empty sets
    // and lines with a broken escape are skipped).
    std::string Format() const;
    static CRecentFileSets Parse(const std::string& text);

    // Reads the file; a missing or unreadable file gives no sets.
    static CRecentFileSets Load(const std::string& path);
    // Replaces the file atomically; fails with the reason when it could not be written.
    Result<void> Save(const std::string& path) const;
    // Under the file's update lock: reads the sets, applies change to them and saves them.
    // Gives what the file then holds; fails with the reason when the lock could not be
    // taken or the file could not be written.
    static Result<CRecentFileSets> Update(const std::string& path,
                                          const std::function<void(CRecentFileSets&)>& change);

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
