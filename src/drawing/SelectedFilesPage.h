#pragma once
// The printed pages of the selected files, as the file list prints them: one page per
// selected file in list order. Page n first makes the n-th selected file the document's
// current file (the caller decides how: the program sends the frame its select-file
// message, the batch tool opens the entry itself) and then draws the sibling of the
// current-file page: narrower top margin, the graph height converted with the
// horizontal resolution, one zero line for both traces, no white fill, the file list's
// fixed pens, "Courier New" and one title for every file.

#include "drawing/PrintedPage.h"

#include <functional>
#include <string>
#include <utility>

namespace mirado {

class CMiradoDoc;
class IUserPrompts;

inline constexpr const char* kPrintSelectionError = "Print Selection Logial Error";

class CSelectedFilesPage {
public:
    // Makes list entry `index` the document's current file and returns when it is.
    using MakeCurrent = std::function<void(int index)>;

    CSelectedFilesPage(const CMiradoDoc& doc, IUserPrompts& prompts, MakeCurrent makeCurrent)
        : doc_(doc), prompts_(prompts), makeCurrent_(std::move(makeCurrent)) {}

    // The number of selected files; 0 when none is selected.
    int PageCount() const;

    // Draws page n (counted from 1). Without an n-th selected file the logical-error
    // box is shown and the page stays empty; so it does when the file fails to load.
    void Draw(IDrawingSurface& surface, const Rect& drawingRect, int pageNumber) const;

private:
    const CMiradoDoc& doc_;
    IUserPrompts& prompts_;
    MakeCurrent makeCurrent_;
};

} // namespace mirado
