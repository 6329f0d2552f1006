#pragma once
// The whole program on scripted services: a home folder of its own for the preference
// folders, scripted message boxes and open dialog.

#include "support/GuiTestSupport.h"

#include "app/MiradoApp.h"
#include "support/ScriptedPlatform.h"

#include <gtest/gtest.h>

#include <memory>

namespace mirado::test {

class AppFixture : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApp();
        documents = std::make_unique<FixedDocumentsFolder>(home.Path() + "/");
        services.documentsFolder = documents.get();
        services.prompts = &prompts;
        services.openDialog = &openDialog;
    }

    TempFolder home;
    ScriptedUserPrompts prompts;
    ScriptedOpenFileDialog openDialog;
    std::unique_ptr<FixedDocumentsFolder> documents;
    AppServices services;
};

} // namespace mirado::test
