#include "layout/DocumentValues.h"
#include "layout/RepeatedAddition.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <random>

namespace tavrin {
namespace {

TEST(ReadFactor, ReadsDecimalNumbersOnly)
{
    const struct {
        QString text;
        double value;
    } cases[] = {
        {"1.500", 1.5},
        {" \t-2.25cm", -2.25},
        {"+.5", 0.5},
        {"7.", 7.0},
        {"1e3", 1000.0},
        {"1E-2x", 0.01},
        {"2e", 2.0},
        {"2e+", 2.0},
        {".", 0.0},
        {"-", 0.0},
        {"", 0.0},
        // Forms C's strtod knows that are not decimal numbers.
        {"0x10", 0.0},
        {"0X1p4", 0.0},
        {"inf", 0.0},
        {"-infinity", 0.0},
        {"nan", 0.0},
        {"NAN(123)", 0.0},
        // Beyond a double: the largest finite one, so it is written back as a number.
        {"1e999", DBL_MAX},
        {"-1e999", -DBL_MAX},
        // Length is no limit.
        {QString(1100, u'0') + "5", 5.0},
        {"0." + QString(300, u'0') + "25", 25e-302},
        {"3." + QString(2000, u'0') + "1", 3.0},
        {"1" + QString(300, u'0'), 1e300},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ReadFactor(c.text), c.value) << c.text.left(40).toStdString();
}

// What the correction of the reader must equal: the steps taken one by one.
double SteppedOneByOne(double value, double step, const std::function<bool(double)> &keepGoing)
{
    while (keepGoing(value))
        value += step;
    return value;
}

TEST(RepeatAdditionWhile, EqualsTakingEveryStep)
{
    std::mt19937_64 random(2024);
    std::uniform_real_distribution<double> exponent(-3.0, 4.0), factor(-1.0, 12.0);
    for (int round = 0; round < 400; ++round) {
        const double start = std::pow(10.0, exponent(random)) * (round % 5 == 0 ? -1 : 1);
        const double bound = factor(random);
        SCOPED_TRACE(testing::Message() << std::hexfloat << "start " << start << " bound " << bound);
        const auto above = [bound](double v) { return v > 0.7 * bound; };
        const auto below = [start](double v) { return std::fabs(start) > 0.7 * v; };
        EXPECT_EQ(RepeatAdditionWhile(start, -0.2, above), SteppedOneByOne(start, -0.2, above));
        EXPECT_EQ(RepeatAdditionWhile(bound, 0.2, below), SteppedOneByOne(bound, 0.2, below));
    }
}

TEST(RepeatAdditionWhile, LoopsThatNeverEndAreReported)
{
    const auto always = [](double) { return true; };
    EXPECT_FALSE(RepeatAdditionWhile(1e300, -0.2, always));
    EXPECT_FALSE(RepeatAdditionWhile(-HUGE_VAL, 0.2, always));
    EXPECT_FALSE(RepeatAdditionWhile(1.0, 0.2, always)); // grows until 0.2 no longer changes it
    const std::optional<double> notANumber = RepeatAdditionWhile(std::nan(""), 0.2, [](double v) { return v > 0; });
    ASSERT_TRUE(notANumber);
    EXPECT_TRUE(std::isnan(*notANumber));
}

} // namespace
} // namespace tavrin
