#pragma once
// CFileList: the files the user picked, in the order they were given (the document
// orders picked and dropped files by name before), with their load-error flags and
// selection marks. It shrinks only when marked files go to the trash.

#include <string>
#include <vector>

namespace mirado {

struct CFileEntry {
    std::string name; // last path component
    std::string path; // full path as picked
    bool loadFailed = false;
    bool selected = false;
};

// The name part of a path: the text after the last "/".
std::string FileNameOfPath(const std::string& path);
// The folder part of a path, up to and including its last separator; "" without one.
std::string FolderOfPath(const std::string& path);
// The path from the root: a relative path is taken from the current folder, without its
// "." parts and doubled separators; a ".." part removes the part before it when that is
// a real folder, not a link, so the path still names the same file. An absolute path,
// or one when the current folder is unknown, is returned unchanged.
std::string AbsolutePath(const std::string& path);

class CFileList {
public:
    void Assign(const std::vector<std::string>& paths);
    int GetCount() const { return static_cast<int>(entries_.size()); }
    bool Contains(int index) const { return index >= 0 && index < GetCount(); }
    CFileEntry& At(int index) { return entries_[static_cast<size_t>(index)]; }
    const CFileEntry& At(int index) const { return entries_[static_cast<size_t>(index)]; }
    const std::vector<CFileEntry>& Entries() const { return entries_; }

    void SelectAll(bool selected);
    int CountSelected() const;
    // List index of the n-th selected entry (n from 1), -1 when fewer are selected.
    int IndexOfNthSelected(int n) const;
    // Removes the selected entries, keeping the order of the rest; returns the removed
    // ones in list order.
    std::vector<CFileEntry> RemoveSelected();

private:
    std::vector<CFileEntry> entries_;
};

} // namespace mirado
