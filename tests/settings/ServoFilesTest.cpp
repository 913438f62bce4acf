#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <deque>

#include "tests/Harness.h"
#include "settings/ServoFiles.h"
#include "image/TextFile.h"

namespace parvel {
namespace {

std::vector<std::string> Numbers(int count, int first = 0) {
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i) lines.push_back(std::to_string((first + i) % 256));
    return lines;
}

ServoPages Filled() {
    ServoPages p;
    for (int i = 0; i < kServoBytes; ++i)
        p.set_flat(i, static_cast<std::uint8_t>((i * 37 + 11) % 256));
    return p;
}

// Dialog seam that records what the file buttons asked for.
struct FileDialogs : Dialogs {
    std::deque<std::optional<std::string>> names;
    std::vector<std::string> filters;
    std::vector<std::string> extensions;
    std::vector<Message> messages;

    Answer ShowMessage(const Message& m) override {
        messages.push_back(m);
        return Answer::Ok;
    }
    std::optional<std::string> OpenFileName(const std::string& filter,
                                            const FileDialogPlace& = {}) override {
        filters.push_back(filter);
        return Next();
    }
    std::optional<std::string> SaveFileName(const std::string& filter, const std::string& ext,
                                            const std::string&,
                                            const FileDialogPlace& = {}) override {
        filters.push_back(filter);
        extensions.push_back(ext);
        return Next();
    }
    std::optional<std::string> Next() {
        if (names.empty()) return std::nullopt;
        auto n = names.front();
        names.pop_front();
        return n;
    }
};

TEST(ServoFileByte, LineRules) {
    const std::pair<const char*, int> good[] = {
        {"0", 0},  {"127", 127}, {"255", 255}, {"256", 255}, {"99999999999999999999", 255},
        {"-5", 0}, {"+7", 7},    {" 12 ", 12}, {"\t3", 3},   {"007", 7},
    };
    for (const auto& [line, value] : good) {
        const auto b = ParseServoFileByte(line);
        ASSERT_TRUE(b.has_value()) << line;
        EXPECT_EQ(*b, value) << line;
    }
    for (const char* bad : {"", " ", "abc", "1.5", "1,5", "12a", "-", "1 2", "0x10"}) {
        EXPECT_FALSE(ParseServoFileByte(bad).has_value()) << bad;
    }
}

TEST(ServoCurveFile, SaveWritesThePointCountClamped) {
    ServoPages p = Filled();
    p.set(1, kOffsetPointCount, 10);
    const auto lines = CurveFileLines(p, 1);
    ASSERT_EQ(lines.size(), 10u);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(lines[i], std::to_string(p.at(1, i)));
    p.set(1, kOffsetPointCount, 0);
    EXPECT_EQ(CurveFileLines(p, 1).size(), 1u);
    p.set(1, kOffsetPointCount, 150);
    EXPECT_EQ(CurveFileLines(p, 1).size(), 100u);
}

TEST(ServoCurveFile, LoadSetsPointsAndCount) {
    ServoPages p;
    p.set(2, kOffsetPointCount, 10);
    const ServoFileLoad load = LoadCurveLines(p, 2, {"0", "127", "255"});
    EXPECT_TRUE(load.messages.empty());
    EXPECT_TRUE(load.complete);
    EXPECT_TRUE(load.changed);
    EXPECT_EQ(p.StoredPointCount(2), 3);
    EXPECT_EQ(p.Position(2, 0), 0);
    EXPECT_EQ(p.Position(2, 1), 127);
    EXPECT_EQ(p.Position(2, 2), 127);
    EXPECT_FALSE(p.RelayOn(2, 1));
    EXPECT_TRUE(p.RelayOn(2, 2));
    EXPECT_EQ(p.at(1, 0), 0);  // other pages untouched
}

TEST(ServoCurveFile, MoreThan100LinesWarnOnceAndLoad100) {
    ServoPages p;
    const ServoFileLoad load = LoadCurveLines(p, 0, Numbers(120, 1));
    ASSERT_EQ(load.messages.size(), 1u);
    EXPECT_EQ(load.messages[0].text, "Nur die ersten 100 Zeilen dieses File werden verwendet");
    EXPECT_EQ(load.messages[0].icon, Icon::Warning);
    EXPECT_TRUE(load.complete);
    EXPECT_EQ(p.StoredPointCount(0), 100);
    EXPECT_EQ(p.at(0, 99), 100);
    EXPECT_EQ(p.at(0, 100), 0);  // line 100 is not taken: the flag byte stays
}

TEST(ServoCurveFile, ABadLineStopsWithEarlierPointsReplaced) {
    ServoPages p;
    for (int i = 0; i < 5; ++i) p.set(0, i, 50);
    p.set(0, kOffsetPointCount, 7);
    const ServoFileLoad load = LoadCurveLines(p, 0, {"1", "2", "abc", "4"});
    ASSERT_EQ(load.messages.size(), 1u);
    EXPECT_EQ(load.messages[0].text,
              "Dieses File enthält ungültige Zeichen (kein Zahlenwert) in Zeile 2");
    EXPECT_FALSE(load.complete);
    EXPECT_TRUE(load.changed);  // the frame redraws and enables apply
    EXPECT_EQ(p.at(0, 0), 1);
    EXPECT_EQ(p.at(0, 1), 2);
    EXPECT_EQ(p.at(0, 2), 50);
    EXPECT_EQ(p.at(0, 3), 50);
    EXPECT_EQ(p.StoredPointCount(0), 7);

    ServoPages q;
    const ServoFileLoad first = LoadCurveLines(q, 0, {""});
    EXPECT_FALSE(first.changed);  // nothing replaced: nothing to redraw
    EXPECT_EQ(first.messages[0].text,
              "Dieses File enthält ungültige Zeichen (kein Zahlenwert) in Zeile 0");
}

TEST(ServoCurveFile, TruncationWarningComesBeforeABadLine) {
    ServoPages p;
    std::vector<std::string> lines = Numbers(150);
    lines[40] = "x";
    const ServoFileLoad load = LoadCurveLines(p, 0, lines);
    ASSERT_EQ(load.messages.size(), 2u);
    EXPECT_EQ(load.messages[0].text, kCurveFileTruncatedMessage);
    EXPECT_EQ(load.messages[1].text, InvalidLineMessage(40));
}

TEST(ServoCurveFile, AnEmptyFileKeepsThePointsAndGivesOnePoint) {
    ServoPages p = Filled();
    ServoPages before = p;
    const ServoFileLoad load = LoadCurveLines(p, 3, {});
    EXPECT_TRUE(load.messages.empty());
    EXPECT_TRUE(load.complete);
    EXPECT_EQ(p.StoredPointCount(3), 1);
    before.set(3, kOffsetPointCount, 1);
    EXPECT_EQ(p, before);
}

TEST(ServoSetFile, LinesInterleaveTheTwoHalvesOfTheTable) {
    ServoPages p;
    p.set(0, 0, 1);  // point 0 of curve 1
    p.set(2, 0, 3);  // point 0 of curve 3
    p.set(0, 1, 11);
    p.set(0, 100, 21);  // flags of servo 1
    p.set(2, 100, 23);  // flags of servo 3
    p.set(0, 101, 31);  // point count of curve 1
    p.set(2, 101, 33);
    p.set(1, 5, 42);  // page 2 offset 5: line 2 * (5 + 128)
    p.set(3, 5, 44);  // page 4 offset 5: line 2 * (5 + 128) + 1
    const auto lines = SetFileLines(p);
    ASSERT_EQ(lines.size(), 512u);
    EXPECT_EQ(lines[0], "1");
    EXPECT_EQ(lines[1], "3");
    EXPECT_EQ(lines[2], "11");
    EXPECT_EQ(lines[200], "21");
    EXPECT_EQ(lines[201], "23");
    EXPECT_EQ(lines[202], "31");
    EXPECT_EQ(lines[203], "33");
    EXPECT_EQ(lines[266], "42");
    EXPECT_EQ(lines[267], "44");
}

TEST(ServoSetFile, RoundTripThroughAFileRestoresAll512Bytes) {
    const std::string dir = test::TempDir();
    const std::string path = dir + "/alle.set";
    const ServoPages original = Filled();
    ASSERT_FALSE(SaveSetFile(original, path).has_value());
    const std::string text = test::Slurp(path);
    EXPECT_EQ(text.substr(0, 8), std::to_string(original.flat(0)) + "\r\n" +
                                     std::to_string(original.flat(256)) + "\r\n");
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    ServoPages loaded;
    const ServoFileLoad load = LoadSetFile(loaded, path);
    EXPECT_TRUE(load.messages.empty());
    EXPECT_TRUE(load.complete);
    EXPECT_EQ(loaded, original);
}

TEST(ServoSetFile, HundredLinesStoreFiftyPairsThenStop) {
    ServoPages p = Filled();
    const ServoPages before = p;
    const ServoFileLoad load = LoadSetLines(p, Numbers(100, 200));
    ASSERT_EQ(load.messages.size(), 1u);
    EXPECT_EQ(load.messages[0].text,
              "Dieses File enthält ungültige Zeichen (kein Zahlenwert) in Zeile 100");
    EXPECT_FALSE(load.complete);
    EXPECT_TRUE(load.changed);
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(p.flat(i), (200 + 2 * i) % 256) << i;
        EXPECT_EQ(p.flat(256 + i), (201 + 2 * i) % 256) << i;
    }
    for (int i = 50; i < 256; ++i) {
        EXPECT_EQ(p.flat(i), before.flat(i)) << i;
        EXPECT_EQ(p.flat(256 + i), before.flat(256 + i)) << i;
    }
}

TEST(ServoSetFile, APairWithABadOrMissingLineIsNotTaken) {
    ServoPages p;
    std::vector<std::string> lines = Numbers(512, 1);
    lines[7] = "sieben";
    const ServoFileLoad load = LoadSetLines(p, lines);
    ASSERT_EQ(load.messages.size(), 1u);
    EXPECT_EQ(load.messages[0].text, InvalidLineMessage(6));
    EXPECT_EQ(p.flat(2), 5);
    EXPECT_EQ(p.flat(3), 0);  // line 6 was good, but its pair is not complete
    EXPECT_EQ(p.flat(259), 0);

    ServoPages odd;
    const ServoFileLoad short_load = LoadSetLines(odd, Numbers(11, 1));
    EXPECT_EQ(short_load.messages[0].text, InvalidLineMessage(10));
    EXPECT_EQ(odd.flat(4), 9);
    EXPECT_EQ(odd.flat(5), 0);

    ServoPages empty;
    const ServoFileLoad none = LoadSetLines(empty, {});
    EXPECT_EQ(none.messages[0].text, InvalidLineMessage(0));
    EXPECT_FALSE(none.changed);
}

TEST(ServoSetFile, ClampsEachValueToAByte) {
    ServoPages p;
    std::vector<std::string> lines = Numbers(512);
    lines[0] = "300";
    lines[1] = "-1";
    EXPECT_TRUE(LoadSetLines(p, lines).complete);
    EXPECT_EQ(p.flat(0), 255);
    EXPECT_EQ(p.flat(256), 0);
}

TEST(ServoSetFile, MoreThan512LinesChangeNothing) {
    ServoPages p = Filled();
    const ServoPages before = p;
    const ServoFileLoad load = LoadSetLines(p, Numbers(513));
    ASSERT_EQ(load.messages.size(), 1u);
    EXPECT_EQ(load.messages[0].text, "Dieses File hat zu viele Zeilen (max. 512)");
    EXPECT_FALSE(load.changed);
    EXPECT_EQ(p, before);

    // The same through a file: the reader refuses it before any line is parsed.
    const std::string path = test::TempDir() + "/lang.set";
    ASSERT_TRUE(AtomicWriteFile(path, JoinCrLf(Numbers(513))).ok);
    const ServoFileLoad from_file = LoadSetFile(p, path);
    ASSERT_EQ(from_file.messages.size(), 1u);
    EXPECT_EQ(from_file.messages[0].text, kSetFileTooLongMessage);
    EXPECT_EQ(p, before);
}

TEST(ServoFileButtons, CurveSaveAndLoadThroughTheDialogSeam) {
    const std::string dir = test::TempDir();
    FileDialogs dialogs;
    ServoPages p = Filled();
    p.set(0, kOffsetPointCount, 4);
    dialogs.names.push_back(dir + "/kurve.cur");
    ASSERT_TRUE(SaveCurveWithDialog(dialogs, p, 0));
    EXPECT_EQ(dialogs.filters.back(), "CUR|*.cur|TXT|*.txt|*.*|*.*");
    EXPECT_EQ(dialogs.extensions.back(), "CUR");
    EXPECT_EQ(test::Slurp(dir + "/kurve.cur"),
              std::to_string(p.at(0, 0)) + "\r\n" + std::to_string(p.at(0, 1)) + "\r\n" +
                  std::to_string(p.at(0, 2)) + "\r\n" + std::to_string(p.at(0, 3)) + "\r\n");

    ServoPages q;
    q.set(2, kOffsetPointCount, 9);
    dialogs.names.push_back(dir + "/kurve.cur");
    const ServoFileLoad load = LoadCurveWithDialog(dialogs, q, 2);
    EXPECT_EQ(dialogs.filters.back(), "CUR|*.cur|TXT|*.txt|*.*|*.*");
    EXPECT_TRUE(load.complete);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(q.StoredPointCount(2), 4);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(q.at(2, i), p.at(0, i));

    // Cancelled dialogs do nothing.
    const ServoPages before = q;
    EXPECT_FALSE(SaveCurveWithDialog(dialogs, q, 2));
    const ServoFileLoad cancelled = LoadCurveWithDialog(dialogs, q, 2);
    EXPECT_FALSE(cancelled.changed);
    EXPECT_EQ(q, before);
}

TEST(ServoFileButtons, SetSaveAndLoadThroughTheDialogSeam) {
    const std::string dir = test::TempDir();
    FileDialogs dialogs;
    const ServoPages p = Filled();
    dialogs.names.push_back(dir + "/alle.set");
    ASSERT_TRUE(SaveSetWithDialog(dialogs, p));
    EXPECT_EQ(dialogs.filters.back(), "SET|*.set|TXT|*.txt|*.*|*.*");
    EXPECT_EQ(dialogs.extensions.back(), "SET");
    ServoPages q;
    dialogs.names.push_back(dir + "/alle.set");
    EXPECT_TRUE(LoadSetWithDialog(dialogs, q).complete);
    EXPECT_EQ(dialogs.filters.back(), "SET|*.set|TXT|*.txt|*.*|*.*");
    EXPECT_EQ(q, p);
}

TEST(ServoFileButtons, FilesThatCannotBeReadOrWrittenChangeNothing) {
    const std::string dir = test::TempDir();
    FileDialogs dialogs;
    ServoPages p = Filled();
    const ServoPages before = p;

    dialogs.names.push_back(dir + "/fehlt.cur");
    const ServoFileLoad missing = LoadCurveWithDialog(dialogs, p, 0);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text.rfind("Die Datei " + dir + "/fehlt.cur", 0), 0u);
    EXPECT_FALSE(missing.changed);
    EXPECT_EQ(p, before);

    dialogs.names.push_back(dir + "/kein/ordner.set");
    EXPECT_FALSE(SaveSetWithDialog(dialogs, p));
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[1].text.rfind("Das Setup-File " + dir + "/kein/ordner.set", 0), 0u);
    EXPECT_EQ(dialogs.messages[1].icon, Icon::Warning);

    // A file far beyond any curve is refused as a whole.
    const std::string huge = dir + "/gross.cur";
    ASSERT_TRUE(AtomicWriteFile(huge, JoinCrLf(Numbers(int(kMaxCurveFileLines) + 1))).ok);
    dialogs.names.push_back(huge);
    EXPECT_FALSE(LoadCurveWithDialog(dialogs, p, 0).changed);
    ASSERT_EQ(dialogs.messages.size(), 3u);
    EXPECT_NE(dialogs.messages[2].text.find("kein Kurven-File"), std::string::npos);
    EXPECT_EQ(p, before);
}

// The new contents take the old file's place (on Windows a plain rename fails there); on Linux
// the file keeps its permissions.
TEST(ServoFileButtons, SavingOverAnExistingFileIsAtomic) {
    const std::string dir = test::TempDir();
    const std::string path = dir + "/kurve.cur";
    test::WriteFile(path, "alt\r\n");
#ifndef _WIN32
    ::chmod(path.c_str(), 0640);
#endif
    ServoPages p;
    p.set(0, kOffsetPointCount, 1);
    p.set(0, 0, 200);
    ASSERT_FALSE(SaveCurveFile(p, 0, path).has_value());
    EXPECT_EQ(test::Slurp(path), "200\r\n");
#ifndef _WIN32
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
#endif
}

}  // namespace
}  // namespace parvel
