// The printed pages read from the document: which file each selected-files page shows,
// the order in which files are made current, and the empty pages.

#include "drawing/CurrentFilePage.h"
#include "drawing/PageStyles.h"
#include "drawing/SelectedFilesPage.h"

#include "document/DisplaySettings.h"
#include "document/MiradoDoc.h"
#include "support/RecordingSurface.h"
#include "support/ScriptedUserPrompts.h"

#include "support/RecordBuilder.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace mirado {
namespace {

const Rect kPage300{0, 0, 3507, 2481};

class PrintingFlow : public ::testing::Test {
protected:
    // Five files whose sense values 0..4 tell them apart on the page; file 3 is damaged.
    void SetUp() override {
        std::vector<std::string> paths;
        for (int i = 0; i < 5; ++i) {
            test::RecordBuilder record(static_cast<uint32_t>(i + 1));
            record.fixed[kOffsetSense] = static_cast<uint8_t>(i);
            std::vector<uint8_t> bytes = record.Bytes();
            if (i == 3)
                bytes.resize(kOffsetChannels + 10);
            paths.push_back(folder_.File("rec" + std::to_string(i) + ".001"));
            test::WriteBytes(paths.back(), bytes);
        }
        services_.prompts = &prompts_;
        doc_ = std::make_unique<CMiradoDoc>(services_);
        doc_->SetFileList(paths);
    }

    // Draws every page of the selected-files job as the print flow does.
    std::vector<RecordingSurface> PrintSelected(std::vector<int>& madeCurrent) {
        CSelectedFilesPage page(*doc_, prompts_, [&](int index) {
            madeCurrent.push_back(index);
            doc_->OpenFileAt(index);
        });
        std::vector<RecordingSurface> pages;
        for (int n = 1; n <= std::max(page.PageCount(), 1); ++n) {
            pages.emplace_back(300);
            page.Draw(pages.back(), kPage300, n);
        }
        return pages;
    }

    static bool HasText(const RecordingSurface& s, const std::string& text) {
        for (const auto& t : s.texts)
            if (t.text == text)
                return true;
        return false;
    }

    test::TempFolder folder_;
    ScriptedUserPrompts prompts_;
    DocumentServices services_;
    std::unique_ptr<CMiradoDoc> doc_;
};

TEST_F(PrintingFlow, SelectedFilesPrintInListOrderWhateverWasCurrent) {
    doc_->OpenFileAt(1);
    doc_->ToggleSelected(4);
    doc_->ToggleSelected(0);
    doc_->ToggleSelected(2);
    std::vector<int> madeCurrent;
    const auto pages = PrintSelected(madeCurrent);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(madeCurrent, (std::vector<int>{0, 2, 4}));
    const int expectedSense[] = {0, 2, 4};
    for (size_t i = 0; i < pages.size(); ++i) {
        EXPECT_TRUE(HasText(pages[i], FormatPageHeading(SelectedFilesTitle(), expectedSense[i])));
        EXPECT_EQ(pages[i].texts.front().font.face, "Courier New");
        EXPECT_EQ(pages[i].lines.front().pen.colour, 0u); // the frame comes first
    }
    // The last printed file stays current.
    EXPECT_EQ(doc_->GetCurrentIndex(), 4);
    EXPECT_TRUE(prompts_.Shown().empty());
}

TEST_F(PrintingFlow, NoSelectedFileGivesTheLogicalErrorAndAnEmptyPage) {
    std::vector<int> madeCurrent;
    const auto pages = PrintSelected(madeCurrent);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_TRUE(madeCurrent.empty());
    EXPECT_TRUE(pages[0].lines.empty());
    EXPECT_TRUE(pages[0].texts.empty());
    ASSERT_EQ(prompts_.Shown().size(), 1u);
    EXPECT_EQ(prompts_.Shown()[0].text, "Print Selection Logial Error");
    EXPECT_EQ(prompts_.Shown()[0].buttons, MessageButtons::Ok);
}

TEST_F(PrintingFlow, DamagedSelectedFileGivesAnEmptyPage) {
    doc_->OpenFileAt(0);
    doc_->ToggleSelected(3);
    doc_->ToggleSelected(4);
    std::vector<int> madeCurrent;
    const auto pages = PrintSelected(madeCurrent);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_TRUE(pages[0].lines.empty());
    EXPECT_TRUE(pages[0].texts.empty());
    EXPECT_FALSE(pages[1].lines.empty());
    for (const auto& box : prompts_.Shown())
        EXPECT_NE(box.text, "Print Selection Logial Error");
}

TEST_F(PrintingFlow, CurrentFilePageReadsTheDocument) {
    CCurrentFilePage page(*doc_, prompts_);
    RecordingSurface nothingLoaded(600);
    page.Draw(nothingLoaded, {0, 0, 7014, 4962});
    EXPECT_TRUE(nothingLoaded.lines.empty());

    doc_->OpenFileAt(3);
    RecordingSurface damaged(600);
    page.Draw(damaged, {0, 0, 7014, 4962});
    EXPECT_TRUE(damaged.lines.empty());
    EXPECT_TRUE(damaged.texts.empty());

    doc_->OpenFileAt(2);
    doc_->SetFittedCurveShown(true);
    RecordingSurface surface(600);
    page.Draw(surface, {0, 0, 7014, 4962});
    // Model letter A: device code 0, the first family text; stored SBP 240 is 120 mmHg.
    EXPECT_TRUE(HasText(surface, FormatPageHeading(CurrentFileTitle(0), 2)));
    EXPECT_TRUE(HasText(surface, doc_->IsValid() ? "120" : "  0"));
    EXPECT_TRUE(HasText(surface, "24/05/01"));
    EXPECT_TRUE(HasText(surface, "2ms"));
    EXPECT_EQ(surface.texts.front().font.face, "ＭＳ ゴシック");
    EXPECT_EQ(surface.polylines.front().pen.colour, doc_->GetWaveColour());
    EXPECT_EQ(surface.polylines[1].pen.colour, doc_->GetPressColour());
}

TEST(PrintableTraceColour, ThePaleColoursOfTheTableAreHalvedTheOthersKept) {
    std::vector<std::string> pale;
    for (const ColourTableEntry& entry : kColourTable) {
        const Colour printed = PrintableTraceColour(entry.colour);
        if (printed == entry.colour) {
            EXPECT_GE(ContrastOnWhite(entry.colour), 3.0) << entry.name;
            continue;
        }
        pale.push_back(entry.name);
        EXPECT_LT(ContrastOnWhite(entry.colour), 3.0) << entry.name;
        EXPECT_EQ(printed,
                  Rgb(RedOf(entry.colour) / 2, GreenOf(entry.colour) / 2, BlueOf(entry.colour) / 2))
            << entry.name;
        EXPECT_GE(ContrastOnWhite(printed), 4.0) << entry.name;
    }
    EXPECT_EQ(pale, (std::vector<std::string>{"Aqua", "White", "LightGray", "Green", "Silver",
                                              "Yellow"}));
    EXPECT_NEAR(ContrastOnWhite(Rgb(0, 0, 0)), 21.0, 1e-9);
    EXPECT_NEAR(ContrastOnWhite(Rgb(255, 255, 255)), 1.0, 1e-9);
}

TEST_F(PrintingFlow, APaleTraceColourPrintsDarkenedAndOthersAsChosen) {
    doc_->GetSettings().SetWaveColor(17);  // Yellow
    doc_->GetSettings().SetPressColor(14); // Red
    doc_->OpenFileAt(2);
    ASSERT_EQ(doc_->GetWaveColour(), Rgb(255, 255, 0)); // the screen keeps Yellow
    CCurrentFilePage page(*doc_, prompts_);
    RecordingSurface surface(600);
    page.Draw(surface, {0, 0, 7014, 4962});
    ASSERT_GE(surface.polylines.size(), 2u);
    EXPECT_EQ(surface.polylines[0].pen.colour, Rgb(127, 127, 0));
    EXPECT_EQ(surface.polylines[1].pen.colour, Rgb(255, 0, 0));
}

} // namespace
} // namespace mirado
