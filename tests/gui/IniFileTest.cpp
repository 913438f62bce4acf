#include <gtest/gtest.h>

#include "app/IniFile.h"

namespace parvel {
namespace {

struct ReadCase {
    const char* text;
    const char* section;
    const char* key;
    int expected;
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class IniReadInteger : public ::testing::TestWithParam<ReadCase> {};

TEST_P(IniReadInteger, GivesValueOrDefault) {
    const ReadCase& c = GetParam();
    EXPECT_EQ(IniFile::FromText(c.text).ReadInteger(c.section, c.key, -7), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniReadInteger,
    ::testing::Values(ReadCase{"[Window]\r\nTop=200\r\n", "Window", "Top", 200},
                      ReadCase{"[Window]\nTop = 200 \n", "Window", "Top", 200},
                      ReadCase{"[window]\ntop=-3\n", "Window", "Top", -3},
                      ReadCase{"[Window]\nTop=+4\n", "Window", "Top", 4},
                      ReadCase{"[Window]\nTop=abc\n", "Window", "Top", -7},
                      ReadCase{"[Window]\nTop=12x\n", "Window", "Top", -7},
                      ReadCase{"[Window]\nTop=\n", "Window", "Top", -7},
                      ReadCase{"[Window]\nTop=99999999999\n", "Window", "Top", -7},
                      ReadCase{"[Raster]\nTop=5\n", "Window", "Top", -7},
                      ReadCase{"Top=5\n", "Window", "Top", -7},
                      ReadCase{"[Window]\n;Top=5\n", "Window", "Top", -7},
                      ReadCase{"[Window]\nTop=1\n[Window]\nTop=2\n", "Window", "Top", 1},
                      ReadCase{"", "Window", "Top", -7}));

TEST(IniFile, UnchangedFileIsWrittenBackAsRead) {
    const std::string text = "; settings\r\n[Other]\r\nfoo = bar\r\n\r\n[Window]\r\nTop=5\r\n";
    EXPECT_EQ(IniFile::FromText(text).ToText(), text);
}

TEST(IniFile, WritingKeepsOtherSectionsKeysAndOrder) {
    IniFile ini = IniFile::FromText("[Other]\nfoo=bar\n\n[Window]\nWidth=1\nExtra=x\n");
    ini.WriteInteger("Window", "Width", 720);
    ini.WriteInteger("Window", "Top", 30);
    ini.WriteInteger("Raster", "x", 99);
    const std::vector<std::string> expected = {
        "[Other]", "foo=bar", "", "[Window]", "Width=720", "Extra=x", "Top=30", "[Raster]", "x=99"};
    EXPECT_EQ(ini.Lines(), expected);
}

TEST(IniFile, NewKeyGoesBeforeTheBlankLinesThatEndItsSection) {
    IniFile ini = IniFile::FromText("[Raster]\nx=1\n\n[Window]\nTop=2\n");
    ini.WriteInteger("Raster", "y", 3);
    const std::vector<std::string> expected = {"[Raster]", "x=1", "y=3", "", "[Window]", "Top=2"};
    EXPECT_EQ(ini.Lines(), expected);
}

TEST(IniFile, EmptyFileGetsSectionsInWritingOrder) {
    IniFile ini;
    ini.WriteInteger("Raster", "x", 0);
    ini.WriteInteger("Window", "Left", 10);
    EXPECT_EQ(ini.ToText(), "[Raster]\r\nx=0\r\n[Window]\r\nLeft=10\r\n");
    EXPECT_EQ(ini.ReadInteger("Window", "Left", 0), 10);
}

TEST(IniFile, ValueIsTrimmedAndKeyNamesIgnoreCase) {
    const IniFile ini = IniFile::FromText("[Pfad]\n  Datei =  C:\\x y.hex  \n");
    ASSERT_TRUE(ini.Value("pfad", "DATEI").has_value());
    EXPECT_EQ(*ini.Value("pfad", "DATEI"), "C:\\x y.hex");
    EXPECT_FALSE(ini.Value("Pfad", "Ordner").has_value());
}

}  // namespace
}  // namespace parvel
