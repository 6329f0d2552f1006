#include "document/FileList.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>

namespace mirado {

namespace {

constexpr char kPathSeparator = '/';

// True when path is a folder itself, not a link to one: its ".." is then the folder
// above it in the text too.
bool IsRealFolder(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

void AppendPart(std::string& absolute, const std::string& part) {
    if (part.empty() || part == ".")
        return;
    if (part == ".." && absolute.size() > 1 && IsRealFolder(absolute)) {
        absolute.erase(absolute.rfind(kPathSeparator) == 0 ? 1 : absolute.rfind(kPathSeparator));
        return;
    }
    if (absolute.back() != kPathSeparator)
        absolute += kPathSeparator;
    absolute += part;
}

} // namespace

std::string FileNameOfPath(const std::string& path) {
    const size_t separator = path.rfind(kPathSeparator);
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string FolderOfPath(const std::string& path) {
    const size_t separator = path.rfind(kPathSeparator);
    return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

std::string AbsolutePath(const std::string& path) {
    if (path.empty() || path.front() == kPathSeparator)
        return path;
    const std::unique_ptr<char, decltype(&std::free)> folder(::getcwd(nullptr, 0), &std::free);
    if (folder == nullptr)
        return path;
    std::string absolute = folder.get();
    size_t begin = 0;
    while (begin <= path.size()) {
        size_t end = path.find(kPathSeparator, begin);
        if (end == std::string::npos)
            end = path.size();
        AppendPart(absolute, path.substr(begin, end - begin));
        begin = end + 1;
    }
    return absolute;
}

void CFileList::Assign(const std::vector<std::string>& paths) {
    std::vector<CFileEntry> entries;
    entries.reserve(paths.size());
    for (const std::string& path : paths)
        entries.push_back(CFileEntry{FileNameOfPath(path), path, 0, false});
    entries_ = std::move(entries);
}

void CFileList::SelectAll(bool selected) {
    for (CFileEntry& entry : entries_)
        entry.selected = selected;
}

int CFileList::CountSelected() const {
    int count = 0;
    for (const CFileEntry& entry : entries_)
        count += entry.selected ? 1 : 0;
    return count;
}

int CFileList::IndexOfNthSelected(int n) const {
    if (n < 1)
        return -1;
    int seen = 0;
    for (int index = 0; index < GetCount(); ++index)
        if (At(index).selected && ++seen == n)
            return index;
    return -1;
}

std::vector<CFileEntry> CFileList::RemoveSelected() {
    std::vector<CFileEntry> kept;
    std::vector<CFileEntry> removed;
    for (CFileEntry& entry : entries_)
        (entry.selected ? removed : kept).push_back(std::move(entry));
    entries_ = std::move(kept);
    return removed;
}

} // namespace mirado
