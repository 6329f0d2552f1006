#pragma once
// CQtTrash: the desktop's trash as the freedesktop.org trash layout has it. A file is
// moved (renamed, never copied) into the "files" folder of a trash on its own file
// system, with a ".trashinfo" record in the "info" folder holding its original path and
// the deletion time, so a file manager can restore it:
// - a file on the file system of the user's data folder ($XDG_DATA_HOME, else
//   ~/.local/share) goes to its "Trash" folder, which is created when missing;
// - a file elsewhere goes to ".Trash/<uid>" at the top of its file system when the
//   administrator prepared that shared folder (sticky, not a link), else to
//   ".Trash-<uid>" there, created when missing.
// When none of these can take the file it stays where it is and the move reports false.
// Nothing is ever created outside these folders.

#include "platform/SystemServices.h"

#include <string>

namespace mirado {

class CQtTrash : public ITrash {
public:
    bool MoveToTrash(const std::string& path) override;
};

} // namespace mirado
