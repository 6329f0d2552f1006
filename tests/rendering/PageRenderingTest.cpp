// The pages rendered on Qt devices: PDF pages per job, the PNG sheet, and the pixels of
// the graph frame where the page geometry puts them.

#include "rendering/PageRendering.h"
#include "app/Printing.h"

#include "document/MiradoDoc.h"
#include "support/ScriptedUserPrompts.h"

#include "support/RecordBuilder.h"
#include "support/TempFolder.h"
#include "support/TestApplication.h"

#include <QBuffer>
#include <QImage>
#include <QPrinter>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

namespace mirado {
namespace {

int CountPdfPages(const QByteArray& bytes) {
    return static_cast<int>(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") +
                            bytes.count("/Type /Page/") + bytes.count("/Type /Page "));
}

class PageRendering : public ::testing::Test {
protected:
    void SetUp() override {
        std::vector<std::string> paths;
        for (int i = 0; i < 3; ++i) {
            paths.push_back(folder_.File("rec" + std::to_string(i) + ".001"));
            test::WriteBytes(paths.back(),
                             test::RecordBuilder(static_cast<uint32_t>(i + 1)).Bytes());
        }
        services_.prompts = &prompts_;
        doc_ = std::make_unique<CMiradoDoc>(services_);
        doc_->SetFileList(paths);
        doc_->OpenFileAt(0);
    }

    test::TempFolder folder_;
    ScriptedUserPrompts prompts_;
    DocumentServices services_;
    std::unique_ptr<CMiradoDoc> doc_;
};

TEST_F(PageRendering, SelectedFilesGiveOnePdfPageEach) {
    doc_->SelectAll();
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    ASSERT_TRUE(RenderJobToPdf(
        SelectedFilesJob(*doc_, prompts_, [this](int index) { doc_->OpenFileAt(index); }), pdf,
        300));
    EXPECT_EQ(CountPdfPages(pdf.data()), 3);
    EXPECT_EQ(doc_->GetCurrentIndex(), 2);

    doc_->ClearSelection();
    QBuffer none;
    none.open(QIODevice::WriteOnly);
    ASSERT_TRUE(RenderJobToPdf(SelectedFilesJob(*doc_, prompts_, nullptr), none, 300));
    EXPECT_EQ(CountPdfPages(none.data()), 1);
    ASSERT_EQ(prompts_.Shown().size(), 1u);
    EXPECT_EQ(prompts_.Shown()[0].text, "Print Selection Logial Error");
}

TEST_F(PageRendering, PngSheetHasTheGraphFrameWhereTheGeometryPutsIt) {
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    ASSERT_TRUE(RenderFirstPageToPng(CurrentFileJob(*doc_, prompts_), png, 100));
    const QImage image = QImage::fromData(png.data(), "PNG");
    ASSERT_EQ(image.size(), QSize(1169, 826)); // A4 is 11.69 by 8.27 inches, less a fraction
    // At 100 dpi: m = 71, graph top 158, width 787, height 472.
    EXPECT_EQ(image.pixelColor(71 + 300, 158), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(71, 158 + 100), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(71 + 787, 158 + 100), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(71 + 300, 158 + 472), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(1000, 700), QColor(Qt::white));
    EXPECT_TRUE(prompts_.Shown().empty());

    // A resolution the image cannot take is refused, not lowered.
    QBuffer tooFine;
    tooFine.open(QIODevice::WriteOnly);
    EXPECT_FALSE(
        RenderFirstPageToPng(CurrentFileJob(*doc_, prompts_), tooFine, kLargestImageDpi + 1));
    EXPECT_TRUE(tooFine.data().isEmpty());
}

TEST_F(PageRendering, PreviewDrawsTheSelectedFilesInListOrderOnALandscapeSheet) {
    doc_->ToggleSelected(2);
    doc_->ToggleSelected(1);
    std::vector<int> madeCurrent;
    const PageJob job = SelectedFilesJob(*doc_, prompts_, [&](int index) {
        madeCurrent.push_back(index);
        doc_->OpenFileAt(index);
    });
    QTimer::singleShot(0, [] {
        if (QWidget* dialog = QApplication::activeModalWidget())
            dialog->close();
    });
    CPrinting::Preview(nullptr, job);
    ASSERT_GE(madeCurrent.size(), 2u);
    EXPECT_EQ(madeCurrent[0], 1);
    EXPECT_EQ(madeCurrent[1], 2);
    EXPECT_EQ(CPrinting::Printer().pageLayout().orientation(), QPageLayout::Landscape);
}

} // namespace
} // namespace mirado

int main(int argc, char** argv) {
    mirado::test::EnsureQtApp();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
