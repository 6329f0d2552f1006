#pragma once
// The save dialog as the program asks for it: a title, the file types offered and a
// suggested name. The GUI shows the desktop's dialog; tests script the chosen path.

#include "platform/OpenFileDialog.h"

#include <string>
#include <vector>

namespace mirado {

struct SaveFileRequest {
    std::string title;
    std::vector<FileFilter> filters; // in the order shown; the first is preselected
    std::string suggestedName;       // file name, or a full path to start in its folder
};

class ISaveFileDialog {
public:
    virtual ~ISaveFileDialog() = default;
    // Lets the user choose a file to write. False on cancel (path untouched); on OK the
    // full path, with the chosen type's extension when the user typed none.
    virtual bool RunSave(const SaveFileRequest& request, std::string& path) = 0;
};

} // namespace mirado
