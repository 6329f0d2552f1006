#pragma once
// The user's documents folder, on QtCore.

#include "platform/SystemServices.h"

namespace mirado {

// The documents folder the desktop names; the home folder's "Documents" when it names
// none. Always ends with "/"; it may not exist yet.
class CQtDocumentsFolder : public IDocumentsFolder {
public:
    std::string GetDocumentsFolder() override;
};

} // namespace mirado
