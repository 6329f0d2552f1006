#include "DocumentFixture.h"

#include "document/PreferenceFolder.h"

#include <filesystem>

namespace mirado::test {

TEST(DisplaySettingsTest, MissingProfileGivesTheDefaults) {
    MemoryProfile profile;
    CDisplaySettings settings(&profile);
    settings.Load();
    EXPECT_EQ(settings.GetBkColor(), 0);
    EXPECT_EQ(settings.GetPressColor(), 6);
    EXPECT_EQ(settings.GetWaveColor(), 0);
    EXPECT_EQ(settings.GetInterval(), 5);
    EXPECT_EQ(settings.GetAlert(), 0);
    EXPECT_EQ(settings.GetStepPeriod(), 500);
    EXPECT_EQ(settings.GetBackgroundColour(), Rgb(255, 255, 255));
    EXPECT_EQ(settings.GetWaveColour(), Rgb(0, 0, 255));
    EXPECT_EQ(settings.GetPressColour(), Rgb(132, 132, 132));
}

TEST(DisplaySettingsTest, StoredValuesDriveTheDerivedOnes) {
    MemoryProfile profile;
    profile.SetRaw(kProfileSection, kKeyBkColor, "3");
    profile.SetRaw(kProfileSection, kKeyPressColor, "14");
    profile.SetRaw(kProfileSection, kKeyWaveColor, "8");
    profile.SetRaw(kProfileSection, kKeyInterval, "30");
    CDisplaySettings settings(&profile);
    settings.Load();
    EXPECT_EQ(settings.GetBackgroundColour(), Rgb(0, 0, 0));
    EXPECT_EQ(settings.GetPressColour(), Rgb(255, 0, 0));
    EXPECT_EQ(settings.GetWaveColour(), Rgb(0, 255, 0));
    EXPECT_EQ(settings.GetStepPeriod(), 3000);
    profile.SetRaw(kProfileSection, kKeyInterval, "1");
    settings.Load();
    EXPECT_EQ(settings.GetStepPeriod(), 100);
}

TEST(DisplaySettingsTest, UnusableStoredValuesCountAsMissing) {
    MemoryProfile profile;
    profile.SetRaw(kProfileSection, kKeyPressColor, "18");
    profile.SetRaw(kProfileSection, kKeyWaveColor, "-1");
    profile.SetRaw(kProfileSection, kKeyInterval, "0");
    profile.SetRaw(kProfileSection, kKeyAlert, "yes");
    CDisplaySettings settings(&profile);
    settings.Load();
    EXPECT_EQ(settings.GetPressColor(), 6);
    EXPECT_EQ(settings.GetWaveColor(), 0);
    EXPECT_EQ(settings.GetInterval(), 5);
    EXPECT_EQ(settings.GetAlert(), 0);
    for (const char* bad : {"-4", "2147483647", "5x", ""}) {
        profile.SetRaw(kProfileSection, kKeyInterval, bad);
        settings.Load();
        EXPECT_EQ(settings.GetStepPeriod(), 500) << bad;
    }
    settings.SetPressColor(99); // even a bad value set directly never leaves the table
    EXPECT_EQ(settings.GetPressColour(), Rgb(132, 132, 132));
}

TEST(DisplaySettingsTest, SaveWritesTheFiveValuesAsIntegers) {
    MemoryProfile profile;
    CDisplaySettings settings(&profile);
    settings.SetBkColor(1);
    settings.SetPressColor(2);
    settings.SetWaveColor(3);
    settings.SetInterval(4);
    settings.SetAlert(1);
    EXPECT_TRUE(settings.Save());
    EXPECT_EQ(profile.GetRaw(kProfileSection, kKeyBkColor), "1");
    EXPECT_EQ(profile.GetRaw(kProfileSection, kKeyPressColor), "2");
    EXPECT_EQ(profile.GetRaw(kProfileSection, kKeyWaveColor), "3");
    EXPECT_EQ(profile.GetRaw(kProfileSection, kKeyInterval), "4");
    EXPECT_EQ(profile.GetRaw(kProfileSection, kKeyAlert), "1");
    profile.SetWritable(false);
    EXPECT_FALSE(settings.Save());
}

TEST(DisplaySettingsTest, ColourTablePairsNamesAndColoursExactly) {
    EXPECT_STREQ(kColourTable[0].name, "Blue\t");
    EXPECT_STREQ(kColourTable[5].name, "DarkGray");
    EXPECT_EQ(kColourTable[5].colour, Rgb(128, 128, 128));
    EXPECT_STREQ(kColourTable[6].name, "Gray");
    EXPECT_EQ(kColourTable[6].colour, Rgb(132, 132, 132));
    EXPECT_STREQ(kColourTable[8].name, "Green");
    EXPECT_EQ(kColourTable[8].colour, Rgb(0, 255, 0));
    EXPECT_STREQ(kColourTable[9].name, "Lime");
    EXPECT_EQ(kColourTable[9].colour, Rgb(0, 132, 0));
    EXPECT_STREQ(kColourTable[17].name, "Yellow");
    EXPECT_EQ(kColourTable[17].colour, Rgb(255, 255, 0));
}

TEST(PreferenceFolderTest, CreatesDocumentsFolderAndTheThreeBelowIt) {
    TempFolder home;
    FixedDocumentsFolder documents(home.Folder() + "Documents");
    ScriptedUserPrompts prompts;
    const std::string preference = PreparePreferenceFolder(documents, &prompts);
    EXPECT_EQ(preference, home.Folder() + "Documents/QuorvinFiles/TenvarAWU/Preference/");
    EXPECT_TRUE(std::filesystem::is_directory(preference));
    EXPECT_TRUE(prompts.Shown().empty());
    EXPECT_EQ(SettingsFilePath(preference), preference + "Tenvar.s99");
    // A second run finds everything in place.
    EXPECT_EQ(PreparePreferenceFolder(documents, &prompts), preference);
    EXPECT_TRUE(prompts.Shown().empty());
}

TEST(PreferenceFolderTest, FolderThatCannotBeCreatedShowsTheSystemErrorOnceEach) {
    TempFolder home;
    WriteBytes(home.File("QuorvinFiles"), {1}); // a file stands where the folder belongs
    FixedDocumentsFolder documents(home.Folder());
    ScriptedUserPrompts prompts;
    PreparePreferenceFolder(documents, &prompts);
    ASSERT_EQ(prompts.Shown().size(), 3u);
    EXPECT_EQ(prompts.Shown()[0].caption,
              "Error : Create Directory[for Preference :" + home.Folder() + "QuorvinFiles/]");
    EXPECT_FALSE(prompts.Shown()[0].text.empty());
    EXPECT_EQ(prompts.Shown()[0].icon, MessageIcon::Information);
}

TEST_F(DocumentTest, DocumentReadsItsSettingsWhenBuilt) {
    profile.SetRaw(kProfileSection, kKeyInterval, "12");
    EXPECT_EQ(Doc().GetStepPeriod(), 1200);
    EXPECT_EQ(Doc().GetWaveColour(), Rgb(0, 0, 255));
}

} // namespace mirado::test
