#pragma once
// Shared set-up of the GUI tests: a document on scripted services and synthetic
// recordings written to a temporary folder.

#include "document/MiradoDoc.h"
#include "support/ScriptedUserPrompts.h"
#include "support/TempFolder.h"
#include "support/TestApplication.h"

#include <memory>
#include <string>
#include <vector>

namespace mirado::test {

// Writes count recordings (names R000.001, R001.001, ...) and returns their paths.
std::vector<std::string> WriteRecordings(const TempFolder& dir, int count);

// A document whose message boxes are scripted.
struct ScriptedDocument {
    ScriptedUserPrompts prompts;
    std::unique_ptr<CMiradoDoc> doc;
    ScriptedDocument();
};

} // namespace mirado::test
