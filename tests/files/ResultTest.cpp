// Result<T> carries a value or the message of a failure; Result<void> the same without a
// value.

#include "files/Result.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace mirado {
namespace {

Result<int> Half(int n) {
    if (n % 2 != 0)
        return Fail("  odd: " + std::to_string(n));
    return n / 2;
}

Result<void> Check(bool good) {
    if (!good)
        return Fail("  refused");
    return Ok();
}

TEST(Result, HoldsTheValueOrTheMessage) {
    const Result<int> half = Half(8);
    ASSERT_TRUE(half.ok());
    EXPECT_TRUE(static_cast<bool>(half));
    EXPECT_EQ(half.value(), 4);
    EXPECT_EQ(half.error(), "");

    const Result<int> odd = Half(7);
    EXPECT_FALSE(odd.ok());
    EXPECT_FALSE(static_cast<bool>(odd));
    EXPECT_EQ(odd.error(), "  odd: 7");
}

TEST(Result, VoidResultsSayOnlyWhetherAndWhy) {
    EXPECT_TRUE(Check(true).ok());
    EXPECT_EQ(Check(true).error(), "");
    EXPECT_FALSE(Check(false).ok());
    EXPECT_EQ(Check(false).error(), "  refused");
    EXPECT_FALSE(Result<void>(Fail("")).ok()) << "a failure without a message is a failure";
}

TEST(Result, AStringValueIsNotTakenForAMessage) {
    const Result<std::string> text = std::string("  odd");
    ASSERT_TRUE(text.ok());
    EXPECT_EQ(text.value(), "  odd");
    EXPECT_EQ(text.error(), "");
}

TEST(Result, MovesAValueThatCannotBeCopied) {
    Result<std::unique_ptr<int>> made = std::make_unique<int>(5);
    ASSERT_TRUE(made.ok());
    const std::unique_ptr<int> taken = std::move(made).value();
    EXPECT_EQ(*taken, 5);
}

} // namespace
} // namespace mirado
