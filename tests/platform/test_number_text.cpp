#include "platform/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <utility>

#include <QString>

using namespace zolm;

namespace {

std::string printfText(const char *format, double v)
{
    char buf[512];
    std::snprintf(buf, sizeof buf, format, v);
    return buf;
}

const double values[] = {0.0,   -0.0,    0.125,  2.675,   -2.675, 1e-7,    359.99999999, 9999.995,
                         1e20,  -1e300,  123.456, 0.1,    1.0 / 3, 5e-324, std::numeric_limits<double>::infinity(),
                         -std::numeric_limits<double>::infinity(), std::nan("")};

} // namespace

// The texts are printf's, byte for byte, in the C locale: widths, the space flag, halves
// rounded as the binary value lies, non-finite values.
TEST(NumberText, AsPrintfWritesThem)
{
    for (const double v : values) {
        EXPECT_EQ(formatNumber(v, 5, 2), printfText("%5.2f", v)) << v;
        EXPECT_EQ(formatNumber(v, 3, 4), printfText("%3.4f", v)) << v;
        EXPECT_EQ(formatNumber(v, 5, 5, true), printfText("% 5.5f", v)) << v;
        EXPECT_EQ(formatNumber(v, 2, 2), printfText("%2.2f", v)) << v;
        EXPECT_EQ(formatGeneral15(v), printfText("%.15g", v)) << v;
    }
    // The shortest text that reads back to the same value.
    for (const double v : values) {
        if (!std::isfinite(v))
            continue;
        const std::string t = formatRoundTrip(v);
        EXPECT_EQ(std::strtod(t.c_str(), nullptr), v) << t;
    }
    EXPECT_EQ(formatRoundTrip(0.1), "0.1");
}

// Positions on a well path: a value that rounds to zero has no sign; everything else is printf's.
TEST(NumberText, DecimalsWithoutANegativeZero)
{
    EXPECT_EQ(formatDecimals(-0.004, 2), "0.00");
    EXPECT_EQ(formatDecimals(-0.0, 4), "0.0000");
    EXPECT_EQ(formatDecimals(-0.006, 2), "-0.01");
    for (const double v : values) {
        if (std::isfinite(v) && std::fabs(v) >= 0.5) {
            EXPECT_EQ(formatDecimals(v, 2), printfText("%.2f", v)) << v;
        }
    }
}

// The one reader behind arguments, tallies, settings and the virtual probe's options: what the
// command line took before (a "+", no blanks) and what Qt's reader refused ("+-5"), same either way
// in. Blanks are the caller's to trim.
TEST(NumberText, ReadsTheWholeTextAsOneFiniteNumber)
{
    const std::pair<const char *, double> good[] = {{"5", 5},      {"+5", 5},   {"-5", -5},      {".5", 0.5},
                                                     {"5.", 5},     {"-.5", -0.5}, {"+1e2", 100},  {"1E-2", 0.01},
                                                     {"007", 7},    {"-0", 0},   {"1.7976931348623157e308", 1.7976931348623157e308}};
    for (const auto &[text, value] : good) {
        EXPECT_EQ(parseNumber(std::string_view(text)), value) << text;
        EXPECT_EQ(parseNumber(QString::fromLatin1(text)), value) << text;
    }
    for (const char *bad : {"", "+", "-", ".", "+-5", "++5", "-+5", " 5", "5 ", "1e", "e5", "1,5", "1.2.3", "0x10",
                            "nan", "inf", "-inf", "infinity", "1e999", "-1e999", "5\n"}) {
        EXPECT_FALSE(parseNumber(std::string_view(bad))) << bad;
        EXPECT_FALSE(parseNumber(QString::fromLatin1(bad))) << bad;
    }
    EXPECT_FALSE(parseNumber(QStringLiteral("１２"))); // full-width digits
    EXPECT_FALSE(parseNumber(QStringLiteral("5\u00A0")));
    for (const double v : values) {
        if (std::isfinite(v)) {
            EXPECT_EQ(parseNumber(formatRoundTrip(v)), v) << v;
        }
    }

    // Whole numbers by the same rules; a point or an exponent is not one.
    EXPECT_EQ(parseInteger(std::string_view("+007")), 7);
    EXPECT_EQ(parseInteger(QStringLiteral("-9223372036854775808")), std::numeric_limits<long long>::min());
    for (const char *bad : {"", "+", "+-5", " 5", "5 ", "5.0", "1e3", "0x5", "9223372036854775808"}) {
        EXPECT_FALSE(parseInteger(std::string_view(bad))) << bad;
        EXPECT_FALSE(parseInteger(QString::fromLatin1(bad))) << bad;
    }
    EXPECT_FALSE(parseInteger(QStringLiteral("１")));
}
