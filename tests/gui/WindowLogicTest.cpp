#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <fstream>

#include "catalogue/Catalogue.h"
#include "app/Documentation.h"
#include "app/NeighbourFiles.h"
#include "app/QtDialogs.h"
#include "image/TextFile.h"
#include "app/WindowLayout.h"
#include "app/WindowSettings.h"

namespace parvel {
namespace {

std::array<int, kGridRows> Widths(int w) {
    std::array<int, kGridRows> widths{};
    widths.fill(0);
    widths[3] = w;
    return widths;
}

// ---------------------------------------------------------------- grid

TEST(PlaceGrid, TwoColumnsSplitAfter15) {
    const GridPlacement p = PlaceGrid(15, 0, Widths(60));
    EXPECT_FALSE(p.header_visible);
    EXPECT_TRUE(p.line_visible);
    EXPECT_EQ(p.rows[1].address_top, 15);
    EXPECT_EQ(p.rows[1].address_left, 105);
    EXPECT_EQ(p.rows[15].address_top, 365);
    EXPECT_EQ(p.rows[16].address_top, 15);
    EXPECT_EQ(p.rows[16].address_left, 305);
    EXPECT_EQ(p.rows[16].label_top, 19);
    EXPECT_EQ(p.rows[16].label_left, 205);
    EXPECT_EQ(p.rows[16].function_left, 355);
    EXPECT_EQ(p.rows[16].button_left, 355);
    EXPECT_EQ(p.rows[16].button_top, 17);
    EXPECT_EQ(p.rows[17].address_top, 40);
}

TEST(PlaceGrid, OneColumnWithGapAfterRow8) {
    const GridPlacement p = PlaceGrid(kOneColumn, 8, Widths(73));
    EXPECT_TRUE(p.header_visible);
    EXPECT_FALSE(p.line_visible);
    EXPECT_EQ(p.rows[1].address_top, 60);
    EXPECT_EQ(p.rows[1].label_top, 64);
    EXPECT_EQ(p.rows[1].label_left, 5);
    for (int r = 2; r <= 12; ++r) {
        EXPECT_EQ(p.rows[r].address_top - p.rows[r - 1].address_top, r == 9 ? 35 : 25) << r;
    }
    // Fields start after the widest label, function and button after the address field.
    EXPECT_EQ(p.rows[5].address_left, 73 + 15);
    EXPECT_EQ(p.rows[5].function_left, 73 + 15 + 40 + 10);
    EXPECT_EQ(p.rows[5].button_left, p.rows[5].function_left);
    EXPECT_EQ(p.rows[5].button_top, p.rows[5].address_top + 2);
    EXPECT_EQ(p.rows[0].address_top, 0);  // row 0 is never placed
}

// ---------------------------------------------------------------- window geometry

TEST(FitWindowToFrame, FrameWidth300) {
    FitFixed fixed;
    fixed.status_bar_height = 19;
    const FitResult f = FitWindowToFrame(5, 410, 500, 300, fixed);
    EXPECT_EQ(f.load_width, 89);
    EXPECT_EQ(f.save_width, 89);
    EXPECT_EQ(f.info_width, 52);
    EXPECT_EQ(f.close_width, 52);
    EXPECT_EQ(f.main_box_height, 505);
    EXPECT_EQ(f.window_width, 720);
    EXPECT_EQ(f.window_height, 500 + 19 + 80 + 50);
    // Buttons side by side from the left: 10, 25, 114, 139 (+10), 238 (+10).
    EXPECT_EQ(f.next_left, 114);
    EXPECT_EQ(f.save_left, 139);
    EXPECT_EQ(f.info_left, 238);
    EXPECT_EQ(f.close_left, 238);
    EXPECT_EQ(f.progress_width, 188);
    EXPECT_EQ(f.buttons_width, 300);
    EXPECT_EQ(f.buttons_top, 515);
    EXPECT_EQ(f.image_box.width, 400);
    EXPECT_EQ(f.image_box.height, 50);
    EXPECT_EQ(f.image_left, 100);
    EXPECT_EQ(f.image_top, 9);
    EXPECT_EQ(f.goweb_top, 569);
}

TEST(FitWindowToFrame, ServoLayoutTruncatesDivisions) {
    // w - 40 = 263: 1052 / 10 = 105 (truncated), 526 / 10 = 52.
    const FitResult f = FitWindowToFrame(410, 650, 555, 303);
    EXPECT_EQ(f.load_width, 90);
    EXPECT_EQ(f.info_width, 52);
    EXPECT_EQ(f.window_width, 963);
    EXPECT_EQ(f.image_box.left, 410);
    EXPECT_EQ(f.image_box.width, 235);
    EXPECT_EQ(f.image_left, 235 / 2 - 100);
}

// ---------------------------------------------------------------- header

TEST(HeaderPointSize, StepsDownUntilItFits) {
    // Width proportional to the point size: 40 px per point.
    const auto width_at = [](int points) { return 40 * points; };
    EXPECT_EQ(HeaderPointSize(width_at, 600), 15);
    EXPECT_EQ(HeaderPointSize(width_at, 599), 13);
    EXPECT_EQ(HeaderPointSize(width_at, 440), 11);
    EXPECT_EQ(HeaderPointSize(width_at, 400), 10);
    EXPECT_EQ(HeaderPointSize(width_at, 399), 9);
}

TEST(HeaderPointSize, VeryLongNameEndsAt9) {
    std::vector<int> asked;
    const auto width_at = [&](int points) {
        asked.push_back(points);
        return 5000;
    };
    EXPECT_EQ(HeaderPointSize(width_at, 400), 9);
    EXPECT_EQ(asked, (std::vector<int>{15, 13, 11, 10}));
}

// ---------------------------------------------------------------- neighbours

struct NeighbourCase {
    std::vector<std::string> entries;
    std::string name;
    std::string prev;
    std::string next;
};

void PrintTo(const NeighbourCase& c, std::ostream* os) {
    *os << c.name << " among " << c.entries.size();
}

class Neighbours : public ::testing::TestWithParam<NeighbourCase> {};

TEST_P(Neighbours, WrapAtBothEnds) {
    const NeighbourCase& c = GetParam();
    const parvel::Neighbours n = FindNeighbourFiles(c.entries, c.name, "/d/");
    EXPECT_EQ(n.prev_file, c.prev);
    EXPECT_EQ(n.next_file, c.next);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Neighbours,
    ::testing::Values(NeighbourCase{{"a.hex", "b.hex", "c.hex"}, "c.hex", "/d/b.hex", "/d/a.hex"},
                      NeighbourCase{{"a.hex", "b.hex", "c.hex"}, "a.hex", "/d/c.hex", "/d/b.hex"},
                      NeighbourCase{{"a.hex", "b.hex", "c.hex"}, "b.hex", "/d/a.hex", "/d/c.hex"},
                      // The listing order counts, not the alphabet.
                      NeighbourCase{{"c.hex", "a.hex", "b.hex"}, "c.hex", "/d/b.hex", "/d/a.hex"},
                      NeighbourCase{{"a.hex", "b.hex"}, "a.hex", "/d/b.hex", "/d/b.hex"},
                      NeighbourCase{{"a.hex", "b.hex"}, "b.hex", "/d/a.hex", "/d/a.hex"},
                      NeighbourCase{{"a.hex"}, "a.hex", "", ""},
                      NeighbourCase{{"a.hex", "b.hex"}, "x.txt", "", ""},
                      NeighbourCase{{}, "x.txt", "", ""},
                      NeighbourCase{{"A.hex", "b.hex", "c.hex"}, "a.hex", "", ""}));

TEST(NeighbourFiles, PathParts) {
    EXPECT_EQ(FolderOf("/home/u/dek/a.hex"), "/home/u/dek/");
    EXPECT_EQ(NameOf("/home/u/dek/a.hex"), "a.hex");
    EXPECT_EQ(FolderOf("a.hex"), "");
    EXPECT_EQ(NameOf("a.hex"), "a.hex");
}

TEST(NeighbourFiles, ListingTakesOrdinaryVisibleHexFilesOnly) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char* name : {"a.hex", "b.hex", ".hidden.hex", "c.txt", "d.HEX", "e.hexx"}) {
        std::ofstream(QDir(dir.path()).filePath(name).toStdString()) << ":00000001FF\n";
    }
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.hex"));
    std::vector<std::string> names = ListHexFiles(dir.path().toStdString() + "/");
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"a.hex", "b.hex"}));
}

// ---------------------------------------------------------------- window settings

TEST(WindowSettings, PathBesideTheExecutable) {
    EXPECT_EQ(SettingsPathFor("C:\\Tools\\program.exe"), "C:\\Tools\\program.ini");
    EXPECT_EQ(SettingsPathFor("/opt/parvel/hexparvel"), "/opt/parvel/hexparini");
}

struct SettingsCase {
    const char* ini;
    WindowSettings expected;
};

void PrintTo(const SettingsCase& c, std::ostream* os) { *os << '"' << c.ini << '"'; }

class WindowSettingsRead : public ::testing::TestWithParam<SettingsCase> {};

TEST_P(WindowSettingsRead, DefaultsForMissingKeysNoRangeCheck) {
    const WindowSettings s = ReadWindowSettings(IniFile::FromText(GetParam().ini));
    const WindowSettings& e = GetParam().expected;
    EXPECT_EQ(std::vector<int>({s.raster_x, s.raster_y, s.width, s.top, s.left}),
              std::vector<int>({e.raster_x, e.raster_y, e.width, e.top, e.left}));
    EXPECT_EQ(std::vector<int>({s.roster_width, s.roster_height}),
              std::vector<int>({e.roster_width, e.roster_height}));
    EXPECT_EQ(s.roster_columns, e.roster_columns);
}

// The address plan dialog's size and column widths: numbers or nothing.
INSTANTIATE_TEST_SUITE_P(
    Cases, WindowSettingsRead,
    ::testing::Values(SettingsCase{"", {0, 0, 560, 10, 10, "", 0, 0, {}}},
                      SettingsCase{"[Window]\nTop=200\n", {0, 0, 560, 200, 10, "", 0, 0, {}}},
                      SettingsCase{"[Raster]\nx=99\ny=-1\n[Window]\nLeft=-4000\nWidth=x\n",
                                   {99, -1, 560, 10, -4000, "", 0, 0, {}}},
                      SettingsCase{"[Roster]\nWidth=900\nHeight=500\nColumns=120, 80 ,7\n",
                                   {0, 0, 560, 10, 10, "", 900, 500, {120, 80, 7}}},
                      SettingsCase{"[Roster]\nWidth=900\nHeight=hoch\nColumns=120,x,7\n",
                                   {0, 0, 560, 10, 10, "", 0, 0, {}}},
                      SettingsCase{"[Roster]\nWidth=-900\nHeight=500\nColumns=120,0\n",
                                   {0, 0, 560, 10, 10, "", 0, 0, {}}},
                      SettingsCase{"[Roster]\nColumns=120,,7\n", {0, 0, 560, 10, 10, "", 0, 0, {}}},
                      SettingsCase{"[Roster]\nColumns=-1\n", {0, 0, 560, 10, 10, "", 0, 0, {}}}));

// Beside the executable only for a program in a writable folder of its own; an installed one,
// or one in a folder it cannot write, uses the configuration folder, which is created.
TEST(WindowSettings, InstalledOrReadOnlyProgramsUseTheConfigFolder) {
    QTemporaryDir dir;
    const std::string exe = dir.filePath("bin/hexparvel").toStdString();
    const std::string config = dir.filePath("home/.config/HEX Parvel").toStdString();
    ASSERT_TRUE(QDir(dir.path()).mkpath("bin"));
    struct Case {
        std::string executable;
        bool installed;
        std::string expected;
    } cases[] = {
        {exe, false, dir.filePath("bin/hexparini").toStdString()},
        {exe, true, config + "/hexparini"},
        {dir.filePath("gone/hexparvel").toStdString(), false, config + "/hexparini"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ChooseSettingsPath(c.executable, c.installed, config), c.expected);
    }
    EXPECT_TRUE(QFileInfo(QString::fromStdString(config)).isDir());
    EXPECT_TRUE(SaveWindowSettingsFile(config + "/hexparini", WindowSettings{}).ok);
}

TEST(WindowSettings, SaveMergesIntoTheExistingFile) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("hexparini").toStdString();
    ASSERT_TRUE(AtomicWriteFile(path, "[Other]\r\nfoo=bar\r\n[Window]\r\nTop=1\r\nMax=1\r\n").ok);
    WindowSettings s;
    s.raster_x = 99;
    s.width = 720;
    s.top = 30;
    s.left = 40;
    ASSERT_TRUE(SaveWindowSettingsFile(path, s).ok);
    const LinesResult read = ReadTextLines(path, 100);
    const std::vector<std::string> expected = {"[Other]", "foo=bar",   "[Window]", "Top=30",
                                               "Max=1",   "Width=720", "Left=40",  "[Raster]",
                                               "x=99",    "y=0"};
    EXPECT_EQ(read.lines, expected);
    const WindowSettings back = LoadWindowSettingsFile(path);
    EXPECT_EQ(back.raster_x, 99);
    EXPECT_EQ(back.width, 720);
    EXPECT_EQ(back.top, 30);
    EXPECT_EQ(back.left, 40);
}

TEST(WindowSettings, DialogLayoutGoesToASectionOfItsOwn) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("hexparini").toStdString();
    ASSERT_TRUE(AtomicWriteFile(path, "[Other]\r\nfoo=bar\r\n").ok);
    WindowSettings s;
    s.roster_width = 900;
    s.roster_height = 500;
    s.roster_columns = {120, 80, 7};
    ASSERT_TRUE(SaveWindowSettingsFile(path, s).ok);
    const LinesResult read = ReadTextLines(path, 100);
    const std::vector<std::string> expected = {
        "[Other]", "foo=bar", "[Raster]", "x=0",       "y=0",        "[Window]",        "Width=560",
        "Top=10",  "Left=10", "[Roster]", "Width=900", "Height=500", "Columns=120,80,7"};
    EXPECT_EQ(read.lines, expected);
    const WindowSettings back = LoadWindowSettingsFile(path);
    EXPECT_EQ(back.roster_width, 900);
    EXPECT_EQ(back.roster_height, 500);
    EXPECT_EQ(back.roster_columns, std::vector<int>({120, 80, 7}));
}

TEST(WindowSettings, SaveIntoMissingFolderFails) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("no/such/folder/hexparini").toStdString();
    EXPECT_FALSE(SaveWindowSettingsFile(path, WindowSettings{}).ok);
    EXPECT_EQ(LoadWindowSettingsFile(path).width, 560);
}

// ---------------------------------------------------------------- dialogs and documentation

TEST(QtNameFilters, PairsBecomeQtFilters) {
    EXPECT_EQ(QtNameFilters("HEX|*.hex|TXT|*.txt|*.*|*.*").toStdString(),
              "HEX (*.hex);;TXT (*.txt);;*.* (*)");
    EXPECT_EQ(QtNameFilters("Kurve|*.cur").toStdString(), "Kurve (*.cur)");
}

TEST(QtDialogs, ProposedNameWithChipFamilyStaysInItsFolder) {
    QTemporaryDir dir;
    const QString folder = dir.path();
    EXPECT_EQ(ProposedSaveFile(folder + "/k.hex (12F629/16F630)"),
              folder + "/k.hex (12F629_16F630)");
    EXPECT_EQ(ProposedSaveFile(folder + "/k.hex"), folder + "/k.hex");
    EXPECT_EQ(ProposedSaveFile("k.hex (a/b)"), QString("k.hex (a_b)"));
}

// Installed (bin/ beside share/hexparvel/doc) and build tree (app/ beside doc/) layouts; the
// expected place is named even when no pages are there.
TEST(Documentation, FoundRelativeToTheExecutable) {
    struct Case {
        const char* pages;  // folder holding index.html, or nullptr
        const char* bin;
        const char* expected;
    } cases[] = {
        {"usr/share/hexparvel/doc", "usr/bin", "usr/share/hexparvel/doc/"},
        {"build/doc", "build/app", "build/doc/"},
        {nullptr, "usr/bin", "usr/share/hexparvel/doc/"},
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        const QDir root(dir.path());
        ASSERT_TRUE(root.mkpath(c.bin));
        if (c.pages) {
            ASSERT_TRUE(root.mkpath(c.pages));
            QFile index(root.filePath(QString(c.pages) + "/index.html"));
            ASSERT_TRUE(index.open(QIODevice::WriteOnly));
        }
        EXPECT_EQ(DocumentationRoot(DocumentationCandidates(root.filePath(c.bin))),
                  "file://" + dir.path().toStdString() + "/" + c.expected)
            << c.bin;
    }
    EXPECT_EQ(InstalledDataDir("/usr/bin"), QString("/usr/share/hexparvel"));
}

// The icon of an installation: the PNGs of the square size folders of its own hicolor theme,
// smallest first; other folders, other names and an install without icons give nothing.
TEST(Documentation, IconFilesOfTheInstallation) {
    QTemporaryDir dir;
    const QDir root(dir.path());
    ASSERT_TRUE(root.mkpath("usr/bin"));
    const char* files[] = {"256x256/apps/id.png",  "16x16/apps/id.png",    "48x48/apps/id.png",
                           "48x48/apps/other.png", "scalable/apps/id.png", "48x32/apps/id.png",
                           "x48/apps/id.png",      "22x22/apps/id.svg"};
    for (const char* file : files) {
        const QString path = root.filePath(QString("usr/share/icons/hicolor/") + file);
        ASSERT_TRUE(root.mkpath(QFileInfo(path).path()));
        QFile(path).open(QIODevice::WriteOnly);
    }
    ASSERT_TRUE(root.mkpath("usr/share/icons/hicolor/32x32/apps/id.png"));  // a folder
    const QList<IconFile> found = InstalledIconFiles(root.filePath("usr/bin"), "id");
    std::vector<std::pair<int, QString>> got;
    for (const IconFile& f : found) got.emplace_back(f.size, f.path);
    const QString hicolor = root.filePath("usr/share/icons/hicolor/");
    EXPECT_EQ(got, (std::vector<std::pair<int, QString>>{{16, hicolor + "16x16/apps/id.png"},
                                                         {48, hicolor + "48x48/apps/id.png"},
                                                         {256, hicolor + "256x256/apps/id.png"}}));
    EXPECT_TRUE(InstalledIconFiles(root.filePath("opt/bin"), "id").isEmpty());
}

TEST(Documentation, EveryFamilyHasItsPage) {
    const QDir doc(PARVEL_DOC_DIR);
    EXPECT_TRUE(doc.exists("index.html"));
    for (const DecoderType& entry : Catalogue()) {
        EXPECT_TRUE(doc.exists(QString::fromStdString(entry.doc_page))) << entry.doc_page;
    }
}

}  // namespace
}  // namespace parvel
