#pragma once
// A document wired to the scripted platform doubles, and a folder of generated files.

#include "document/MiradoDoc.h"
#include "support/RecordBuilder.h"
#include "support/ScriptedPlatform.h"
#include "support/ScriptedUserPrompts.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <memory>

namespace mirado::test {

class DocumentTest : public ::testing::Test {
protected:
    DocumentServices Services() {
        DocumentServices services;
        services.prompts = &prompts;
        services.openDialog = &openDialog;
        services.idDialog = &idDialog;
        services.parametersDialog = &parametersDialog;
        services.trash = &trash;
        services.profile = &profile;
        services.frame = &frame;
        services.saveDialog = &saveDialog;
        return services;
    }
    CMiradoDoc& Doc() {
        if (!doc) {
            doc = std::make_unique<CMiradoDoc>(Services());
            doc->AddView(&view);
        }
        return *doc;
    }
    std::string Write(const std::string& name, const RecordSpec& spec = {}) {
        const std::string path = folder.File(name);
        WriteBytes(path, BuildRecord(spec));
        return path;
    }
    // "a<number>.01" (built by appending: GCC 12 warns wrongly about "a" + std::string).
    static std::string NumberedName(size_t number) {
        std::string name = "a";
        name += std::to_string(number);
        name += ".01";
        return name;
    }
    // Writes count files named name0.01, name1.01, ... and makes them the list.
    std::vector<std::string> Pick(int count, const RecordSpec& spec = {}) {
        std::vector<std::string> paths;
        for (int i = 0; i < count; ++i)
            paths.push_back(Write(NumberedName(static_cast<size_t>(i)), spec));
        Doc().SetFileList(paths);
        return paths;
    }

    TempFolder folder;
    ScriptedUserPrompts prompts;
    ScriptedOpenFileDialog openDialog;
    ScriptedIdDialog idDialog;
    ScriptedParametersDialog parametersDialog;
    ScriptedTrash trash;
    ScriptedSaveFileDialog saveDialog;
    MemoryProfile profile;
    CountingFrameNotifier frame;
    RecordingView view;
    std::unique_ptr<CMiradoDoc> doc;
};

} // namespace mirado::test
