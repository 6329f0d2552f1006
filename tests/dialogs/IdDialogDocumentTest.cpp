#include "dialogs/IdDialog.h"
#include "dialogs/QtDocumentDialogs.h"
#include "document/MiradoDoc.h"
#include "records/RecordLayout.h"
#include "records/synth/SampleSet.h"
#include "support/ScriptedUserPrompts.h"
#include "support/TempFolder.h"

#include "support/NamedChild.h"
#include "support/TestApplication.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace mirado {
namespace {

namespace fs = std::filesystem;

// Plays the user on the ID dialog once it is shown: an optional edit, then OK or Cancel.
void PlayIdDialog(std::function<void(CIdDialog&)> edit, bool ok) {
    QTimer::singleShot(0, [edit, ok] {
        auto* dialog = qobject_cast<CIdDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        if (edit)
            edit(*dialog);
        (ok ? test::NamedChild<QPushButton>(*dialog, "ok")
            : test::NamedChild<QPushButton>(*dialog, "cancel"))
            ->click();
    });
}

class IdDialogDocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::EnsureQtApp();
        const Result<void> written = WriteBundledSamples(folder.Path());
        ASSERT_TRUE(written.ok()) << written.error();
        path = folder.File(BundledSamples()[0].name);
        // Bytes CP932 has no character for, in the weight and the comment.
        std::string bytes = test::ReadText(path);
        bytes[kOffsetWeight + 1] = '\xA0';
        bytes[kOffsetComment + 2] = '\xFD';
        test::WriteText(path, bytes);
        original = test::ReadText(path);
        DocumentServices services;
        services.prompts = &prompts;
        services.idDialog = &idDialog;
        document = std::make_unique<CMiradoDoc>(services);
        document->SetFileList({path});
        ASSERT_TRUE(document->OpenFileAt(0));
    }
    std::string IdBytes(const std::string& file) const {
        return file.substr(kOffsetAnimalNo, kOffsetSampleInterval - kOffsetAnimalNo);
    }

    test::TempFolder folder;
    std::string path;
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

    const std::string saved = test::ReadText(path);
    EXPECT_EQ(saved.substr(kOffsetAnimalNo, 3), "Z-9");
    const size_t otherFields = kOffsetSampleInterval - kOffsetStudyNo;
    EXPECT_EQ(saved.substr(kOffsetStudyNo, otherFields),
              original.substr(kOffsetStudyNo, otherFields));
}

TEST_F(IdDialogDocumentTest, OkWithoutChangesAndCancelChangeNothing) {
    PlayIdDialog(nullptr, false);
    EXPECT_FALSE(document->EditIdFields());
    EXPECT_FALSE(document->IsModified());

    PlayIdDialog([](CIdDialog& dialog) { dialog.Edit(CIdDialog::Comment)->clear(); }, false);
    EXPECT_FALSE(document->EditIdFields());
    EXPECT_FALSE(document->IsModified());
    EXPECT_FALSE(document->GetComment().empty());

    PlayIdDialog(nullptr, true);
    EXPECT_TRUE(document->EditIdFields());
    EXPECT_FALSE(document->IsModified());
    ASSERT_TRUE(document->SaveCurrentFile());
    EXPECT_EQ(IdBytes(test::ReadText(path)), IdBytes(original));
}

} // namespace
} // namespace mirado
