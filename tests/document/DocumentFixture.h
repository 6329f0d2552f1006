#pragma once
// A document wired to the scripted platform doubles, and a folder of generated files.

#include "RecordFileBuilder.h"
#include "document/MiradoDoc.h"
#include "platform/ScriptedPlatform.h"
#include "platform/ScriptedUserPrompts.h"

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
        WriteFile(path, BuildRecord(spec));
        return path;
    }
    // Writes count files named name0.01, name1.01, ... and makes them the list.
    std::vector<std::string> Pick(int count, const RecordSpec& spec = {}) {
        std::vector<std::string> paths;
        for (int i = 0; i < count; ++i)
            paths.push_back(Write("a" + std::to_string(i) + ".01", spec));
        Doc().SetFileList(paths);
        return paths;
    }

    TempFolder folder;
    ScriptedUserPrompts prompts;
    ScriptedOpenFileDialog openDialog;
    ScriptedIdDialog idDialog;
    ScriptedParametersDialog parametersDialog;
    ScriptedTrash trash;
    MemoryProfile profile;
    CountingFrameNotifier frame;
    RecordingView view;
    std::unique_ptr<CMiradoDoc> doc;
};

} // namespace mirado::test
