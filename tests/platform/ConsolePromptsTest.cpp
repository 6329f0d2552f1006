#include "platform/ConsolePrompts.h"

#include <gtest/gtest.h>

#include <sstream>

namespace mirado {
namespace {

TEST(ConsolePrompts, EachBoxIsOneLineAnsweredAtOnce) {
    std::ostringstream stream;
    CConsolePrompts prompts(stream, "tool", MessageAnswer::No);
    EXPECT_EQ(
        prompts.ShowMessage("/d/a.001  Error", "Mirado", MessageIcon::Warning, MessageButtons::Ok),
        MessageAnswer::Ok);
    EXPECT_EQ(
        prompts.ShowMessage("Save?", "Mirado", MessageIcon::Question, MessageButtons::YesNoCancel),
        MessageAnswer::No);
    EXPECT_EQ(prompts.ShowMessage("Save?", "Mirado", MessageIcon::Question, MessageButtons::YesNo),
              MessageAnswer::No);
    EXPECT_EQ(
        prompts.ShowMessage("Again?", "Mirado", MessageIcon::Stop, MessageButtons::RetryCancel),
        MessageAnswer::Cancel);
    EXPECT_EQ(stream.str(), "tool: Mirado: /d/a.001  Error\ntool: Mirado: Save?\n"
                            "tool: Mirado: Save?\ntool: Mirado: Again?\n");

    CConsolePrompts yes(stream, "tool", MessageAnswer::Yes);
    EXPECT_EQ(yes.ShowMessage("Save?", "Mirado", MessageIcon::Question, MessageButtons::YesNo),
              MessageAnswer::Yes);
    // A question whose default is No takes No even here: nobody chose what cannot be undone.
    EXPECT_EQ(
        yes.ShowMessage("Revert?", "Mirado", MessageIcon::Question, MessageButtons::YesNoDefaultNo),
        MessageAnswer::No);
}

TEST(ConsolePrompts, ControlCharactersNeverBreakTheLine) {
    EXPECT_EQ(SingleLine("a\nb\rc\td\x01\x7f\x1b[2J é"), "a\\nb\\rc\\td\\x01\\x7f\\x1b[2J é");
    std::ostringstream stream;
    CConsolePrompts prompts(stream, "tool", MessageAnswer::Yes);
    prompts.ShowMessage("/d/new\nline.001  Error", "Cap\ntion", MessageIcon::Warning,
                        MessageButtons::Ok);
    EXPECT_EQ(stream.str(), "tool: Cap\\ntion: /d/new\\nline.001  Error\n");
}

} // namespace
} // namespace mirado
