#include "dialogs/IdDialog.h"
#include "dialogs/QtDocumentDialogs.h"
#include "document/MiradoDoc.h"
#include "platform/ScriptedUserPrompts.h"
#include "records/RecordLayout.h"
#include "records/synth/SampleSet.h"

#include "QtTestApp.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace mirado {
namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Plays the user on the ID dialog once it is shown: an optional edit, then OK or Cancel.
void PlayIdDialog(std::function<void(CIdDialog&)> edit, bool ok) {
    QTimer::singleShot(0, [edit, ok] {
        auto* dialog = qobject_cast<CIdDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        if (edit)
            edit(*dialog);
        (ok ? dialog->OkButton() : dialog->CancelButton())->click();
    });
}

class IdDialogDocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::EnsureQtApp();
        folder = fs::temp_directory_path() / ("mirado_id_" + std::to_string(::getpid()));
        fs::create_directories(folder);
        std::string error;
        ASSERT_TRUE(WriteBundledSamples(folder.string(), error)) << error;
        path = folder / BundledSamples()[0].name;
        // Bytes CP932 has no character for, in the weight and the comment.
        std::string bytes = ReadBytes(path);
        bytes[kOffsetWeight + 1] = '\xA0';
        bytes[kOffsetComment + 2] = '\xFD';
        WriteBytes(path, bytes);
        original = ReadBytes(path);
        DocumentServices services;
        services.prompts = &prompts;
        services.idDialog = &idDialog;
        document = std::make_unique<CMiradoDoc>(services);
        document->SetFileList({path.string()});
        ASSERT_TRUE(document->OpenFileAt(0));
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string IdBytes(const std::string& file) const {
        return file.substr(kOffsetAnimalNo, kOffsetSampleInterval - kOffsetAnimalNo);
    }

    fs::path folder, path;
    std::string original;
    ScriptedUserPrompts prompts;
    QtIdDialog idDialog{nullptr, prompts};
    std::unique_ptr<CMiradoDoc> document;
};

TEST_F(IdDialogDocumentTest, UntouchedFieldsKeepTheirBytesThroughOkAndSave) {
    PlayIdDialog([](CIdDialog& dialog) { dialog.Edit(CIdDialog::AnimalNo)->setText("Z-9"); }, true);
    ASSERT_TRUE(document->EditIdFields());
    EXPECT_TRUE(document->IsModified());
    EXPECT_TRUE(prompts.Shown().empty());
    ASSERT_TRUE(document->SaveCurrentFile());

    const std::string saved = ReadBytes(path);
    EXPECT_EQ(saved.substr(kOffsetAnimalNo, 3), "Z-9");
    const size_t otherFields = kOffsetSampleInterval - kOffsetStudyNo;
    EXPECT_EQ(saved.substr(kOffsetStudyNo, otherFields),
              original.substr(kOffsetStudyNo, otherFields));
}

TEST_F(IdDialogDocumentTest, OkWithoutChangesMarksModifiedAndCancelChangesNothing) {
    PlayIdDialog(nullptr, false);
    EXPECT_FALSE(document->EditIdFields());
    EXPECT_FALSE(document->IsModified());

    PlayIdDialog([](CIdDialog& dialog) { dialog.Edit(CIdDialog::Comment)->clear(); }, false);
    EXPECT_FALSE(document->EditIdFields());
    EXPECT_FALSE(document->IsModified());
    EXPECT_FALSE(document->GetComment().empty());

    PlayIdDialog(nullptr, true);
    EXPECT_TRUE(document->EditIdFields());
    EXPECT_TRUE(document->IsModified());
    ASSERT_TRUE(document->SaveCurrentFile());
    EXPECT_EQ(IdBytes(ReadBytes(path)), IdBytes(original));
}

} // namespace
} // namespace mirado
