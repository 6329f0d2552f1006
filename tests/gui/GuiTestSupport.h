#pragma once
// Shared set-up of the GUI tests: the offscreen application, a document on scripted
// services and synthetic recordings written to a temporary folder.

#include "document/MiradoDoc.h"
#include "platform/ScriptedUserPrompts.h"

#include <QTemporaryDir>

#include <memory>
#include <string>
#include <vector>

namespace mirado::test {

// The one QApplication of the test run (offscreen unless a platform is set).
void EnsureApplication();

// Writes count recordings (names R000.001, R001.001, ...) and returns their paths.
std::vector<std::string> WriteRecordings(const QTemporaryDir& dir, int count);

// A document whose message boxes are scripted.
struct ScriptedDocument {
    ScriptedUserPrompts prompts;
    std::unique_ptr<CMiradoDoc> doc;
    ScriptedDocument();
};

} // namespace mirado::test
