#include "document/RecentFileSets.h"

#include "files/FileAccess.h"
#include "files/UpdateLock.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <sys/stat.h>

namespace mirado {

namespace {

constexpr std::string_view kFileHeader =
    "# Mirado recent file sets, newest first; a blank line ends a set.\n";

std::string EscapePath(const std::string& path) {
    std::string line;
    line.reserve(path.size());
    for (char c : path) {
        if (c == '\\')
            line += "\\\\";
        else if (c == '\n')
            line += "\\n";
        else if (c == '\r')
            line += "\\r";
        else
            line += c;
    }
    return line;
}

// The path a line holds; nothing when an escape is broken.
std::optional<std::string> UnescapePath(const std::string& line) {
    std::string path;
    path.reserve(line.size());
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] != '\\') {
            path += line[i];
            continue;
        }
        if (++i == line.size())
            return std::nullopt;
        switch (line[i]) {
        case '\\':
            path += '\\';
            break;
        case 'n':
            path += '\n';
            break;
        case 'r':
            path += '\r';
            break;
        default:
            return std::nullopt;
        }
    }
    return path;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            if (start < text.size())
                lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// The bytes a set takes in the file: the blank line before it and its escaped lines.
size_t FormattedSize(const FileSet& set) {
    size_t size = 1;
    for (const std::string& path : set)
        size += EscapePath(path).size() + 1;
    return size;
}

bool IsRegularFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace

void CRecentFileSets::Add(const FileSet& set) {
    if (set.empty() || kFileHeader.size() + FormattedSize(set) > kMaxRecentFilesBytes)
        return;
    Remove(set);
    sets_.insert(sets_.begin(), set);
    if (sets_.size() > kMaxRecentFileSets)
        sets_.resize(kMaxRecentFileSets);
    size_t size = kFileHeader.size();
    for (size_t kept = 0; kept < sets_.size(); ++kept) {
        size += FormattedSize(sets_[kept]);
        if (size > kMaxRecentFilesBytes) {
            sets_.resize(kept);
            break;
        }
    }
}

void CRecentFileSets::Remove(const FileSet& set) {
    sets_.erase(std::remove(sets_.begin(), sets_.end(), set), sets_.end());
}

std::string CRecentFileSets::Format() const {
    std::string text(kFileHeader);
    for (const FileSet& set : sets_) {
        text += '\n';
        for (const std::string& path : set)
            text += EscapePath(path) + '\n';
    }
    return text;
}

CRecentFileSets CRecentFileSets::Parse(const std::string& text) {
    CRecentFileSets result;
    FileSet current;
    const auto finishSet = [&] {
        if (!current.empty() && result.sets_.size() < kMaxRecentFileSets)
            result.sets_.push_back(current);
        current.clear();
    };
    for (const std::string& line : SplitLines(text)) {
        if (line.empty()) {
            finishSet();
            continue;
        }
        if (line[0] == '#')
            continue;
        if (std::optional<std::string> path = UnescapePath(line))
            current.push_back(*path);
    }
    finishSet();
    return result;
}

CRecentFileSets CRecentFileSets::Load(const std::string& path) {
    const Result<std::vector<uint8_t>> read = ReadWholeFile(path, kMaxRecentFilesBytes);
    if (!read.ok())
        return {};
    return Parse(std::string(read.value().begin(), read.value().end()));
}

Result<void> CRecentFileSets::Save(const std::string& path) const {
    return WriteFileAtomically(path, Format());
}

Result<CRecentFileSets>
CRecentFileSets::Update(const std::string& path,
                        const std::function<void(CRecentFileSets&)>& change) {
    const CUpdateLock lock(path);
    if (!lock.Held())
        return Fail(lock.Error());
    CRecentFileSets stored = Load(path);
    change(stored);
    if (const Result<void> saved = stored.Save(path); !saved.ok())
        return Fail(saved.error());
    return stored;
}

std::string RecentFilesPath(const std::string& preferenceFolder) {
    return preferenceFolder + kRecentFilesName;
}

ExistingFiles KeepExistingFiles(const FileSet& set,
                                const std::function<bool(const std::string&)>& exists) {
    ExistingFiles result;
    for (const std::string& path : set) {
        if (exists(path))
            result.kept.push_back(path);
        else
            ++result.dropped;
    }
    return result;
}

ExistingFiles KeepExistingFiles(const FileSet& set) {
    return KeepExistingFiles(set, IsRegularFile);
}

} // namespace mirado
