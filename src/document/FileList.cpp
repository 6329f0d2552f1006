#include "document/FileList.h"

namespace mirado {

namespace {
constexpr char kPathSeparator = '/';
}

std::string FileNameOfPath(const std::string& path) {
    const size_t separator = path.rfind(kPathSeparator);
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string FolderOfPath(const std::string& path) {
    const size_t separator = path.rfind(kPathSeparator);
    return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
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
