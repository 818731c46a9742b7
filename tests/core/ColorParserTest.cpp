#include "ColorParser.h"

#include "CorePrinters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace corvane;

namespace {

struct ParseCase {
    const char *text;
    const char *hex; // nullptr: rejected
    double alpha = 1;
};

void PrintTo(const ParseCase &c, std::ostream *os) { *os << c.text; }

class ColorParserParse : public testing::TestWithParam<ParseCase>
{ };

TEST_P(ColorParserParse, AcceptsSupportedNotationsAndRejectsTheRest)
{
    const ParseCase &c = GetParam();
    const auto color = ColorParser::parse(QString::fromUtf8(c.text));
    if (!c.hex) {
        EXPECT_FALSE(color.has_value()) << color->hexString().toStdString();
        return;
    }
    ASSERT_TRUE(color.has_value());
    EXPECT_EQ(color->hexString(), QString::fromLatin1(c.hex));
    EXPECT_NEAR(color->alpha, c.alpha, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Notations, ColorParserParse,
    testing::Values(ParseCase{"#123", "#112233"}, ParseCase{"#1234", "#112233", 0x44 / 255.0}, ParseCase{"#ff8800", "#FF8800"},
                    ParseCase{"#FF880080", "#FF8800", 0x80 / 255.0}, ParseCase{" #abc \n", "#AABBCC"},
                    ParseCase{"rgb(255, 128, 0)", "#FF8000"}, ParseCase{"RGB(255,128,0)", "#FF8000"},
                    ParseCase{"rgba(0, 0, 255, 0.5)", "#0000FF", 0.5}, ParseCase{"rgb(100% 50% 0%)", "#FF8000"},
                    ParseCase{"rgb(255 0 0 / 25%)", "#FF0000", 0.25}, ParseCase{"rgba(10 20 30/0.3)", "#0A141E", 0.3},
                    ParseCase{"hsl(0, 100%, 50%)", "#FF0000"}, ParseCase{"hsl(120deg 100% 25%)", "#008000"},
                    ParseCase{"HSLA(240, 100%, 50%, 0.5)", "#0000FF", 0.5}, ParseCase{"hsl(-120 100% 50%)", "#0000FF"},
                    ParseCase{"hsl(0 0% 100%)", "#FFFFFF"},
                    // Rejected: no "#", wrong lengths, named colours, out of range, malformed.
                    ParseCase{"123456", nullptr}, ParseCase{"#12345", nullptr}, ParseCase{"#ggg", nullptr},
                    ParseCase{"#", nullptr}, ParseCase{"red", nullptr}, ParseCase{"rgb(256, 0, 0)", nullptr},
                    ParseCase{"rgb(-1, 0, 0)", nullptr}, ParseCase{"rgb(0, 0, 0, 1.5)", nullptr},
                    ParseCase{"rgb(101%, 0%, 0%)", nullptr}, ParseCase{"rgb(0, 0)", nullptr},
                    ParseCase{"rgb(0, 0, 0, 0, 0)", nullptr}, ParseCase{"rgb(0, 0, 0 / 1)", nullptr},
                    ParseCase{"rgb(inf, 0, 0)", nullptr}, ParseCase{"rgb(nan, 0, 0)", nullptr},
                    ParseCase{"rgb(0x10, 0, 0)", nullptr}, ParseCase{"rgb(0,,0)", nullptr},
                    ParseCase{"rgb(1 2 3) extra", nullptr}, ParseCase{"hsl(0, 120%, 50%)", nullptr},
                    ParseCase{"hsl(50%, 50%, 50%)", nullptr}, ParseCase{"cmyk(0, 0, 0, 0)", nullptr}));

struct HexCase {
    RGBA color;
    const char *hex;
};

TEST(RGBAHexString, ClampsRoundsAndMapsNaNToZero)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const HexCase cases[] = {
        {{0, 0, 0, 1}, "#000000"},
        {{1, 1, 1, 0}, "#FFFFFF"},       // alpha never written
        {{0.5, 0.5, 0.5, 1}, "#808080"}, // 127.5 rounds half away from zero
        {{0.499 / 255, 1.5 / 255, 254.5 / 255, 1}, "#0002FF"},
        {{-0.2, 1.7, 0.2, 1}, "#00FF33"}, // clamped
        {{nan, 1, nan, 1}, "#00FF00"},
        {{std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(), 0, 1}, "#FF0000"},
    };
    for (const HexCase &c : cases)
        EXPECT_EQ(c.color.hexString(), QString::fromLatin1(c.hex)) << c.hex;
}

TEST(ColorParserNotation, NamesTheNotationUsed)
{
    EXPECT_EQ(ColorParser::parseNotation(u"#fff")->notation, ColorParser::Notation::hex);
    EXPECT_EQ(ColorParser::parseNotation(u"rgba(1,2,3,0)")->notation, ColorParser::Notation::rgb);
    EXPECT_EQ(ColorParser::notationName(ColorParser::parseNotation(u"hsl(1 2% 3%)")->notation), "HSL");
}

} // namespace
