#pragma once
// The user's documents folder and the desktop's trash, on QtCore.

#include "platform/SystemServices.h"

namespace mirado {

// The documents folder the desktop names; the home folder's "Documents" when it names
// none. Always ends with "/"; it may not exist yet.
class CQtDocumentsFolder : public IDocumentsFolder {
public:
    std::string GetDocumentsFolder() override;
};

// Moves files to the desktop's trash (restorable); never deletes permanently.
class CQtTrash : public ITrash {
public:
    bool MoveToTrash(const std::string& path) override;
};

} // namespace mirado
