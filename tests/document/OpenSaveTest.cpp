#include "DocumentFixture.h"

#include "records/AdData.h"

namespace mirado::test {

namespace {

std::vector<uint8_t> Truncated(const RecordSpec& spec, size_t size) {
    std::vector<uint8_t> bytes = BuildRecord(spec);
    bytes.resize(size);
    return bytes;
}

} // namespace

TEST_F(DocumentTest, VariantFollowsModelLetterThenFileName) {
    struct Case {
        char letter;
        const char* name;
        int code;
        bool variantA;
    };
    const Case cases[] = {
        {'A', "b.01", 0, true},  {'B', "a.01", 1, false},    {'C', "b.01", 2, true},
        {'D', "a.01", 3, false}, {'X', "a.01", 0, true},     {'X', "B.01", 1, false},
        {'X', "c.01", 4, true},  {'\0', "bat.01", 1, false},
    };
    for (const Case& c : cases) {
        RecordSpec spec;
        spec.modelLetter = c.letter;
        Doc().SetFileList({Write(c.name, spec)});
        ASSERT_TRUE(Doc().OpenFileAt(0)) << c.letter << c.name;
        EXPECT_EQ(Doc().GetDeviceTypeCode(), c.code) << c.letter << c.name;
        EXPECT_EQ(Doc().IsVariantA(), c.variantA) << c.letter << c.name;
    }
}

TEST_F(DocumentTest, NeutralValuesBeforeAnyFile) {
    EXPECT_EQ(Doc().GetDate(), "00/00/00");
    EXPECT_EQ(Doc().GetTime(), "00:00:00");
    EXPECT_EQ(Doc().GetAnimalNo(), "");
    EXPECT_EQ(Doc().GetComment(), "");
    EXPECT_EQ(Doc().GetSampling(), 1);
    EXPECT_EQ(Doc().GetHeartRate(), 0);
    EXPECT_EQ(Doc().GetMarkerInterval(), 0);
    EXPECT_FALSE(Doc().IsValid());
    EXPECT_EQ(Doc().GetBeatPositions(), nullptr);
    EXPECT_NE(Doc().GetPressureSamples(), nullptr);
    EXPECT_EQ(Doc().GetTitle(), "");
    EXPECT_EQ(Doc().GetErrorText(0), "File format Error.");
    EXPECT_EQ(Doc().GetErrorText(1), "");
    EXPECT_EQ(Doc().GetViewScale(), 5);
}

TEST_F(DocumentTest, OpeningReadsStoredValuesAndTitlesTheDocument) {
    RecordSpec spec;
    spec.sampleInterval = 20;
    const std::string path = Write("rat.01", spec);
    Doc().SetFileList({path});
    view.Clear();

    ASSERT_TRUE(Doc().OpenFileAt(0));

    EXPECT_FALSE(view.Updates().empty());
    EXPECT_EQ(Doc().GetTitle(), path);
    EXPECT_EQ(Doc().GetCurrentName(), "rat.01");
    EXPECT_TRUE(Doc().IsCurrentRecordUsable());
    EXPECT_EQ(Doc().GetDate(), "24/01/02");
    EXPECT_EQ(Doc().GetTime(), "09:30:15");
    EXPECT_EQ(Doc().GetAnimalNo(), "A-001");
    EXPECT_EQ(Doc().GetExNo(), "EX1");
    int sbp, mbp, dbp;
    Doc().GetDominantPressures(sbp, mbp, dbp);
    EXPECT_EQ(sbp, 241);
    EXPECT_EQ(mbp, 190);
    EXPECT_EQ(dbp, 160);
    EXPECT_EQ(Doc().GetMarkerInterval(), 20 * 500 / 10);
    EXPECT_EQ(Doc().GetPressureAt(3997), 0);
    EXPECT_EQ(Doc().GetPressureAt(-1), 0);
    EXPECT_EQ(Doc().GetPressureAt(0), 400);
}

TEST_F(DocumentTest, StoredValuesThatAreNotValidHideMbpAndDbp) {
    RecordSpec spec;
    spec.valid = false;
    Doc().SetFileList({Write("a.01", spec)});
    ASSERT_TRUE(Doc().OpenFileAt(0));
    int sbp, mbp, dbp;
    Doc().GetDominantPressures(sbp, mbp, dbp);
    EXPECT_EQ(sbp, 241);
    EXPECT_EQ(mbp, 0);
    EXPECT_EQ(dbp, 0);
}

TEST_F(DocumentTest, AnalysisSwitchAndValidityDecideTheShownValues) {
    Pick(1);
    ASSERT_TRUE(Doc().OpenFileAt(0));
    view.Clear();
    Doc().ShowAnalysis(false);
    EXPECT_EQ(view.Updates().size(), 2u);
    EXPECT_TRUE(Doc().IsAnalysisSource());
    EXPECT_FALSE(Doc().IsValid());
    int sbp, mbp, dbp;
    Doc().GetDominantPressures(sbp, mbp, dbp);
    EXPECT_EQ(mbp, 0);
    EXPECT_EQ(dbp, 0);
    Doc().ShowAnalysis(true);
    EXPECT_TRUE(Doc().IsValid());
    // A successful open goes back to the stored values.
    ASSERT_TRUE(Doc().OpenFileAt(0));
    EXPECT_FALSE(Doc().IsAnalysisSource());
}

TEST_F(DocumentTest, DamagedFileBecomesCurrentAndIsNeverSaved) {
    const std::string good = Write("a.01");
    const std::string damaged = folder.File("b.01");
    const std::vector<uint8_t> bytes = Truncated(RecordSpec{}, 600);
    WriteBytes(damaged, bytes);
    Doc().SetFileList({good, damaged});
    ASSERT_TRUE(Doc().OpenFileAt(0));
    prompts.Clear();

    EXPECT_FALSE(Doc().OpenFileAt(1));

    EXPECT_FALSE(prompts.Shown().empty()); // the load's own message
    EXPECT_EQ(Doc().GetCurrentIndex(), 1);
    EXPECT_TRUE(Doc().IsLoaded());
    EXPECT_FALSE(Doc().IsCurrentRecordUsable());
    EXPECT_TRUE(Doc().IsDamagedAt(1));
    EXPECT_EQ(Doc().GetTitle(), damaged);
    EXPECT_FALSE(Doc().CanSaveCurrentFile());

    prompts.Clear();
    EXPECT_FALSE(Doc().SaveCurrentFile());
    ASSERT_EQ(prompts.Shown().size(), 1u);
    EXPECT_EQ(prompts.Shown()[0].icon, MessageIcon::Stop);
    EXPECT_EQ(ReadText(damaged), std::string(bytes.begin(), bytes.end()));

    ASSERT_TRUE(Doc().OpenFileAt(0));
    EXPECT_TRUE(Doc().IsDamagedAt(1)); // the flag stays for the list's life
}

class SavePromptTest : public DocumentTest {
protected:
    void EditFirstOfTwo(int alert) {
        profile.SetRaw(kProfileSection, kKeyAlert, std::to_string(alert));
        paths = Pick(2);
        ASSERT_TRUE(Doc().OpenFileAt(0));
        IdDialogFields edited;
        edited.animalNo = "NEW-7";
        edited.comment = "edited";
        idDialog.QueueOk(edited);
        ASSERT_TRUE(Doc().EditIdFields());
        ASSERT_TRUE(Doc().IsModified());
        prompts.Clear();
    }
    std::string AnimalNoOnDisk(const std::string& path) {
        CAdData data;
        int code = 0;
        EXPECT_TRUE(data.Load(path, code, nullptr).ok());
        return data.GetAnimalNo();
    }
    std::vector<std::string> paths;
};

TEST_F(SavePromptTest, AlertOffKeepsTheEditsForWhenTheFileIsOpenedAgain) {
    EditFirstOfTwo(0);
    ASSERT_TRUE(Doc().OpenFileAt(1));
    EXPECT_TRUE(prompts.Shown().empty());
    EXPECT_EQ(AnimalNoOnDisk(paths[0]), "A-001");
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_TRUE(Doc().HasUnsavedEditsAt(0));
    EXPECT_FALSE(Doc().HasUnsavedEditsAt(1));
    EXPECT_EQ(Doc().UnsavedFiles(), std::vector<std::string>{paths[0]});

    ASSERT_TRUE(Doc().OpenFileAt(0));
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_EQ(Doc().GetAnimalNo(), "NEW-7");
    EXPECT_EQ(Doc().GetComment(), "edited");
    EXPECT_FALSE(Doc().HoldsEditsOf(paths[0])); // back on the record, no longer kept aside
}

TEST_F(SavePromptTest, AlertOnAsksYesOrNoBeforeAnotherFileOpens) {
    EditFirstOfTwo(1);
    prompts.QueueAnswer(MessageAnswer::No);
    ASSERT_TRUE(Doc().OpenFileAt(1));
    ASSERT_EQ(prompts.Shown().size(), 1u);
    EXPECT_EQ(prompts.Shown()[0].text, "Save changes to " + paths[0] + "?");
    EXPECT_EQ(prompts.Shown()[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(AnimalNoOnDisk(paths[0]), "A-001");
}

TEST_F(SavePromptTest, YesRewritesTheFileBeforeTheOtherOpens) {
    EditFirstOfTwo(1);
    prompts.QueueAnswer(MessageAnswer::Yes);
    ASSERT_TRUE(Doc().OpenFileAt(1));
    EXPECT_EQ(AnimalNoOnDisk(paths[0]), "NEW-7");
    ASSERT_TRUE(Doc().OpenFileAt(0));
    EXPECT_EQ(Doc().GetAnimalNo(), "NEW-7");
    EXPECT_EQ(Doc().GetComment(), "edited");
}

TEST_F(SavePromptTest, ClosingOffersCancelWhichKeepsTheProgramOpen) {
    EditFirstOfTwo(1);
    prompts.QueueAnswer(MessageAnswer::Cancel);
    EXPECT_FALSE(Doc().SaveModified());
    ASSERT_EQ(prompts.Shown().size(), 1u);
    EXPECT_EQ(prompts.Shown()[0].buttons, MessageButtons::YesNoCancel);
    prompts.QueueAnswer(MessageAnswer::No);
    EXPECT_TRUE(Doc().SaveModified());
    EXPECT_EQ(AnimalNoOnDisk(paths[0]), "A-001");
    prompts.QueueAnswer(MessageAnswer::Yes);
    EXPECT_TRUE(Doc().SaveModified());
    EXPECT_EQ(AnimalNoOnDisk(paths[0]), "NEW-7");
}

// The list can change under an edited record (recycle bin, a new pick); the edits
// still belong to the file they were made in, and only to it.
TEST_F(SavePromptTest, EditsGoToTheirOwnFileAfterTheListChanged) {
    profile.SetRaw(kProfileSection, kKeyAlert, "1");
    paths = Pick(3);
    ASSERT_TRUE(Doc().OpenFileAt(2));
    IdDialogFields edited;
    edited.animalNo = "NEW-7";
    idDialog.QueueOk(edited);
    ASSERT_TRUE(Doc().EditIdFields());
    Doc().ToggleSelected(1);
    Doc().RemoveSelectedFiles();
    prompts.Clear();
    prompts.QueueAnswer(MessageAnswer::Yes);

    ASSERT_TRUE(Doc().OpenFileAt(0));

    ASSERT_EQ(prompts.Shown().size(), 1u);
    EXPECT_EQ(prompts.Shown()[0].text, "Save changes to " + paths[2] + "?");
    EXPECT_EQ(AnimalNoOnDisk(paths[0]), "A-001");
    EXPECT_EQ(AnimalNoOnDisk(paths[2]), "NEW-7");

    // A new pick: the edited file is no longer listed at all.
    idDialog.QueueOk(edited);
    ASSERT_TRUE(Doc().EditIdFields());
    const std::string picked = Write("new.01");
    openDialog.QueuePick({picked});
    prompts.Clear();
    prompts.QueueAnswer(MessageAnswer::Yes);
    ASSERT_EQ(Doc().ChooseFiles(), 1);
    ASSERT_TRUE(Doc().OpenFileAt(0));
    ASSERT_EQ(prompts.Shown().size(), 1u);
    EXPECT_EQ(prompts.Shown()[0].text, "Save changes to " + paths[0] + "?");
    EXPECT_EQ(AnimalNoOnDisk(picked), "A-001");
    EXPECT_EQ(AnimalNoOnDisk(paths[0]), "NEW-7");
}

TEST_F(SavePromptTest, DamagedRecordIsNeverSavedOverTheFileNowCurrent) {
    profile.SetRaw(kProfileSection, kKeyAlert, "1");
    const std::string good = Write("a.01");
    const std::string damaged = folder.File("b.01");
    WriteBytes(damaged, Truncated(RecordSpec{}, 600));
    Doc().SetFileList({good, damaged});
    ASSERT_FALSE(Doc().OpenFileAt(1));
    IdDialogFields edited;
    edited.animalNo = "NEW-7";
    idDialog.QueueOk(edited);
    ASSERT_TRUE(Doc().EditIdFields());
    Doc().ToggleSelected(1);
    Doc().RemoveSelectedFiles(); // the good file is entry 0 now; the record is still b.01's

    EXPECT_FALSE(Doc().CanSaveCurrentFile());
    const std::string before = ReadText(good);
    prompts.QueueAnswer(MessageAnswer::Yes);
    ASSERT_TRUE(Doc().OpenFileAt(0));
    EXPECT_TRUE(ReadText(good) == before); // (no dump of the whole file on failure)
}

TEST_F(SavePromptTest, EditsOfAFileSentToTheTrashGoWithItOnceTheUserAgrees) {
    EditFirstOfTwo(1);
    Doc().ToggleSelected(0);
    prompts.QueueAnswer(MessageAnswer::No);
    Doc().RemoveSelectedFiles();
    ASSERT_EQ(prompts.Shown().size(), 1u);
    EXPECT_EQ(prompts.Shown()[0].text, std::string(kTrashDropsEditsQuestion) + "\n" + paths[0]);
    EXPECT_EQ(Doc().GetFileCount(), 2); // No: nothing removed, the edits stay
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_TRUE(trash.Requested().empty());

    prompts.Clear();
    prompts.QueueAnswer(MessageAnswer::Yes);
    Doc().RemoveSelectedFiles();
    EXPECT_EQ(prompts.Shown().size(), 1u);
    ASSERT_TRUE(Doc().OpenFileAt(0));
    EXPECT_EQ(prompts.Shown().size(), 1u);
    EXPECT_EQ(AnimalNoOnDisk(paths[1]), "A-001");
    EXPECT_FALSE(Doc().HasUnsavedEdits());
}

TEST_F(DocumentTest, IdDialogShowsTheFieldsAndCancelChangesNothing) {
    Pick(1);
    ASSERT_TRUE(Doc().OpenFileAt(0));
    idDialog.QueueCancel();
    EXPECT_FALSE(Doc().EditIdFields());
    ASSERT_EQ(idDialog.Shown().size(), 1u);
    const IdDialogFields& shown = idDialog.Shown()[0];
    EXPECT_EQ(shown.animalNo, "A-001");
    EXPECT_EQ(shown.weight, "25g");
    EXPECT_EQ(shown.sexAge, "M8W");
    EXPECT_EQ(shown.dateTimeLine, "DATE&TIME: 24/01/02 09:30:15");
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_EQ(Doc().GetAnimalNo(), "A-001");
}

TEST_F(DocumentTest, IdTextsRoundTripThroughCp932) {
    Pick(1);
    ASSERT_TRUE(Doc().OpenFileAt(0));
    IdTexts texts = Doc().GetIdTexts();
    texts.comment = "ラット実験";
    texts.animalNo = "€1"; // no CP932 code for the euro sign
    Doc().SetIdTexts(texts);
    EXPECT_EQ(Doc().GetComment(), "ラット実験");
    EXPECT_EQ(Doc().GetAnimalNo(), "?1");
}

TEST_F(DocumentTest, SavingAfterMarkerMovesStoresTheShownValuesAndReloadsIdentically) {
    const std::string path = Pick(1)[0];
    ASSERT_TRUE(Doc().OpenFileAt(0));
    Doc().ShowAnalysis(true);
    Doc().MoveMarker({MovableMarker::S, 1200});
    Doc().MoveMarker({MovableMarker::M, 1800});
    int shown[6];
    Doc().GetMarkers(shown[0], shown[1], shown[2]);
    Doc().GetDominantPressures(shown[3], shown[4], shown[5]);
    EXPECT_EQ(shown[0], 1200);
    EXPECT_EQ(shown[1], 1800);

    ASSERT_TRUE(Doc().SaveCurrentFile());
    ASSERT_TRUE(Doc().OpenFileAt(0));

    EXPECT_FALSE(Doc().IsAnalysisSource());
    int reloaded[6];
    Doc().GetMarkers(reloaded[0], reloaded[1], reloaded[2]);
    Doc().GetDominantPressures(reloaded[3], reloaded[4], reloaded[5]);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(reloaded[i], shown[i]) << i;
}

TEST_F(DocumentTest, NewDocumentLeavesNothingLoadedAndNothingToSave) {
    const std::string path = Pick(1)[0];
    ASSERT_TRUE(Doc().OpenFileAt(0));
    const std::string before = ReadText(path);
    Doc().NewDocument();
    EXPECT_EQ(Doc().GetTitle(), "");
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_FALSE(Doc().IsLoaded());
    EXPECT_EQ(Doc().GetFileCount(), 0);
    EXPECT_FALSE(Doc().CanSaveCurrentFile());
    EXPECT_EQ(Doc().GetAnimalNo(), "");
    EXPECT_EQ(Doc().GetPressureSamples()[100], 0); // the panes draw no waves
    EXPECT_FALSE(Doc().SaveCurrentFile());
    EXPECT_EQ(ReadText(path), before);
}

TEST_F(DocumentTest, ParametersOkAppliesColoursAndRedraws) {
    parametersDialog.QueueAction([](CDisplaySettings&) { return false; });
    parametersDialog.QueueAction([](CDisplaySettings& settings) {
        settings.SetBkColor(1);
        return true;
    });
    EXPECT_FALSE(Doc().EditParameters());
    EXPECT_EQ(frame.ApplyColoursCount(), 0);
    view.Clear();
    EXPECT_TRUE(Doc().EditParameters());
    EXPECT_EQ(frame.ApplyColoursCount(), 1);
    EXPECT_FALSE(view.Updates().empty());
    EXPECT_EQ(Doc().GetBackgroundColour(), 0x000000u);
}

} // namespace mirado::test
