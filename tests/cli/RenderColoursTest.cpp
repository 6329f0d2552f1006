// mirado-cli render takes the trace colours of the Color dialog; a colour too pale for white
// paper prints darkened, the others as chosen.

#include "CliRun.h"
#include "support/TempFolder.h"

#include <QColor>
#include <QImage>

#include <gtest/gtest.h>

namespace mirado {
namespace {

using test::Cli;

constexpr const char* kYellow = "17";
constexpr const char* kFuchsia = "10";

int CountPixels(const QImage& image, const QColor& colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y).rgb() == colour.rgb() ? 1 : 0;
    return count;
}

TEST(RenderColours, YellowPrintsHalvedAndFuchsiaAsChosen) {
    test::TempFolder folder;
    const std::string file = folder.File("RAT0101.001");
    ASSERT_EQ(Cli({"synth", "--seed", "3", "-o", file}).status, 0);
    const std::string page = folder.File("page.png");
    const test::CliRun run = Cli({"render", file, "-o", page, "--dpi", "300", "--wave-colour",
                                  kYellow, "--pressure-colour", kFuchsia});
    ASSERT_EQ(run.status, 0) << run.err;
    const QImage image(QString::fromStdString(page));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(CountPixels(image, QColor(255, 255, 0)), 0);
    EXPECT_GT(CountPixels(image, QColor(127, 127, 0)), 100);
    EXPECT_GT(CountPixels(image, QColor(255, 0, 255)), 100);
}

} // namespace
} // namespace mirado
