#pragma once
// The multiple-file open dialog as the document asks for it. The GUI shows the
// desktop's dialog; tests script the picked paths.

#include <string>
#include <vector>

namespace mirado {

// One choice of the dialog's type filter: a label and its wildcard patterns.
struct FileFilter {
    std::string label;
    std::vector<std::string> patterns; // e.g. "*.0*"
};

struct OpenFileRequest {
    std::vector<FileFilter> filters; // in the order shown; the first is preselected
    std::string initialFolder;       // may be empty: the dialog's own choice
};

class IOpenFileDialog {
public:
    virtual ~IOpenFileDialog() = default;
    // Lets the user pick one or more existing files. Returns false on cancel (paths
    // untouched); on OK fills paths with full paths in the dialog's order.
    virtual bool RunOpenMultiple(const OpenFileRequest& request,
                                 std::vector<std::string>& paths) = 0;
};

} // namespace mirado
