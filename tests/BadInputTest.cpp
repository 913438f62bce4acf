// Bad input through the command line as a script sees it: the message, the exit status, and
// that no file that existed before was changed.
// The program runs through a POSIX shell here: on Windows it is compared with the Linux
// program as a whole, outside these tests.
#ifndef _WIN32
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <map>

#include "tests/Harness.h"

namespace parvel {
namespace {

using test::FixtureImage;
using P = FixtureImage::Protocol;

using test::Slurp;

// Name -> contents of the regular files of a folder (large files by size only).
std::map<std::string, std::string> Snapshot(const std::string& dir) {
    std::map<std::string, std::string> files;
    DIR* d = opendir(dir.c_str());
    while (dirent* e = d ? readdir(d) : nullptr) {
        const std::string path = dir + "/" + e->d_name;
        struct stat st {};
        if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        files[e->d_name] = st.st_size > (1 << 20) ? "size " + std::to_string(st.st_size) : Slurp(path);
    }
    if (d) closedir(d);
    return files;
}

struct Result {
    int status;
    std::string err;
    double seconds;
};

Result Parvel(const std::string& args, const std::string& dir) {
    const std::string cmd = std::string(PARVEL_BINARY) + " " + args + " >/dev/null 2>'" + dir + "/.err'";
    const auto start = std::chrono::steady_clock::now();
    const int raw = std::system(cmd.c_str());
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const std::string err = Slurp(dir + "/.err");
    unlink((dir + "/.err").c_str());
    return {WEXITSTATUS(raw), err, seconds};
}

std::string Valid(bool lower = false) {
    FixtureImage f = test::Firmware(0x8, P::Motorola);
    f.lowercase = lower;
    test::SetRow(f, 1, 0x03, 0x00, 0xC3);
    return test::BuildHex(f);
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t p = text.find(from); p != std::string::npos; p = text.find(from, p + to.size())) {
        text.replace(p, from.size(), to);
    }
    return text;
}

TEST(BadInput, MatrixThroughTheCommandLine) {
    const std::string valid = Valid();
    const std::string first_lines = valid.substr(0, valid.find(":10001000"));
    const std::size_t valid_lines = SplitLines(valid).size();
    std::string wrong_checksum = valid;  // the last digit of line 3 changed
    char& last_digit = wrong_checksum[valid.find("\r\n", first_lines.size()) - 1];
    last_digit = last_digit == '0' ? '1' : '0';
    std::string many;
    for (int i = 0; i < 1025; ++i) many += ":00000001FF\r\n";
    std::string utf16 = "\xFF\xFE";
    for (char c : valid) utf16 += std::string(1, c) + '\0';
    std::string binary;
    for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 7919 + 13) % 256);

    struct Case {
        const char* name;
        std::string content;
        int status;
        std::string message;  // expected on standard error (empty: nothing)
    } cases[] = {
        {"empty", "", 1, "Das HEX-File konnte leider nicht erkannt werden"},
        {"only-line-ends", "\r\n\r\n\n", 1, "E206: Unerwartete Zeile im File: <Leerzeile> (Zeile 1)\n"},
        {"lf-only", Replace(valid, "\r\n", "\n"), 0, ""},
        {"cr-only", Replace(valid, "\r\n", "\r"), 0, ""},
        {"mixed-line-ends", Replace(Replace(valid, "\r\n:10002000", "\n:10002000"), "\r\n:1000300", "\r:1000300"), 0, ""},
        {"nul-in-a-record", first_lines + ":1000100000" + std::string(1, '\0') + "3F" + valid.substr(first_lines.size()), 1,
         "E206: Unerwartete Zeile im File: :1000100000 (Zeile 3)\n"},
        {"eof-character", valid + "\x1A", 0, ""},
        {"eof-character-twice", valid + "\x1A\x1A", 1,
         "E206: Unerwartete Zeile im File: \\x1A\\x1A (Zeile " + std::to_string(valid_lines + 1) + ")\n"},
        {"compiler-comments-after-the-end", valid + ";PIC16F628A\r\n\r\n;CRC=4B1D\r\n", 0, ""},
        {"wrong-checksum", Replace(valid, ":020000040000FA", ":020000040000FB"), 1,
         "E205: Unerwarteter Extendet Linear Address Record: :020000040000FB (Zeile 1)\n"},
        {"wrong-checksum-in-data", wrong_checksum, 0, "Warnung: Prüfsumme falsch in Zeile 3 (gelesen "},
        {"cut-before-the-end", valid.substr(0, valid.rfind(":00000001FF")), 0,
         "Warnung: kein End-Record: Datei unvollständig?\n"},
        {"latin1-in-a-record", first_lines + ":10001000\xBD\xFC\r\n" + valid.substr(first_lines.size()), 1,
         "E206: Unerwartete Zeile im File: :10001000\\xBD\\xFC (Zeile 3)\n"},
        {"binary", binary, 1, "E20"},
        {"utf16", utf16, 1, "E206: Unerwartete Zeile im File: "},
        {"more-than-1024-lines", many, 1, "hat mehr als 1024 Zeilen; so lange Dateien liest HEX Parvel nicht"},
        {"long-line", first_lines + std::string(100000, 'A') + "\r\n", 1,
         "E206: Unerwartete Zeile im File: " + std::string(120, 'A') + " … (Zeile 3)\n"},
        {"trailing-spaces-100000", Replace(valid, "\r\n:10001000", std::string(100000, ' ') + "\r\n:10001000"), 0, ""},
        {"data-past-line-end", first_lines + ":10001000FFFF\r\n", 1,
         "E206: Unerwartete Zeile im File: :10001000FFFF (Zeile 3)\n"},
        {"lower-case", Valid(true), 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_NE(c.content, valid);  // the case really is a variant
        const std::string dir = test::TempDir();
        const std::string file = dir + "/" + c.name + ".hex";
        test::WriteFile(file, c.content);
        const auto before = Snapshot(dir);
        const Result r = Parvel("info '" + file + "'", dir);
        EXPECT_EQ(r.status, c.status) << r.err;
        if (c.message.empty()) EXPECT_EQ(r.err, "");
        else EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_LT(r.err.size(), 2000u);  // a message never quotes a whole huge line
        EXPECT_EQ(Snapshot(dir), before);
    }
}

TEST(BadInput, HugeFileIsRefusedQuicklyWithoutReadingIt) {
    const std::string dir = test::TempDir();
    const std::string file = dir + "/huge.hex";
    test::WriteFile(file, Valid());
    ASSERT_EQ(truncate(file.c_str(), 100LL * 1024 * 1024), 0);  // sparse: no disk used
    const Result r = Parvel("info '" + file + "'", dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("ist zu gross für ein HEX-File"), std::string::npos) << r.err;
    EXPECT_LT(r.seconds, 2.0);
}

TEST(BadInput, UnreadablePaths) {
    const std::string dir = test::TempDir();
    struct Case {
        std::string path;
        std::string message;
    } cases[] = {
        {dir, "Cannot open file " + dir},
        {dir + "/missing.hex", "Cannot open file " + dir + "/missing.hex"},
    };
    for (const auto& c : cases) {
        const Result r = Parvel("info '" + c.path + "'", dir);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err, c.message + "\n");
    }
}

// As root, permissions stop nobody; the check then runs parvel as the user "nobody".
TEST(BadInput, FileWithoutReadPermission) {
    std::string prefix;
    if (geteuid() == 0) {
        if (std::system("command -v setpriv >/dev/null 2>&1") != 0) {
            GTEST_SKIP() << "running as root without setpriv: cannot test a missing read permission";
        }
        prefix = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
    }
    const std::string dir = test::TempDir();
    chmod(dir.c_str(), 0777);
    const std::string file = dir + "/secret.hex";
    test::WriteFile(file, Valid());
    chmod(file.c_str(), 0);
    const std::string cmd = prefix + PARVEL_BINARY + " info '" + file + "' >/dev/null 2>'" + dir + "/err'";
    const int raw = std::system(cmd.c_str());
    EXPECT_EQ(WEXITSTATUS(raw), 2);
    EXPECT_EQ(Slurp(dir + "/err"), "Cannot open file " + file + "\n");
    chmod(file.c_str(), 0644);
    EXPECT_EQ(Slurp(file), Valid());
}

TEST(BadInput, SaveTargetsThatCannotBeWritten) {
    const std::string dir = test::TempDir();
    const std::string in = dir + "/in.hex";
    test::WriteFile(in, Valid());
    struct stat dev_full_before {};
    ASSERT_EQ(stat("/dev/full", &dev_full_before), 0);
    const std::pair<std::string, std::string> cases[] = {
        {dir + "/no/such/folder/out.hex", "Datei oder Ordner nicht gefunden"},
        {"/dev/full", "ist keine gewöhnliche Datei"},
        {dir, "ist ein Ordner"},
    };
    for (const auto& [out, reason] : cases) {
        SCOPED_TRACE(out);
        const auto before = Snapshot(dir);
        const Result r = Parvel("set '" + in + "' -o '" + out + "' --force --address 1=7", dir);
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find("Das HEX-File " + out + " konnte nicht gespeichert werden: " + reason),
                  std::string::npos)
            << r.err;
        EXPECT_EQ(Snapshot(dir), before);
    }
    struct stat dev_full_after {};
    ASSERT_EQ(stat("/dev/full", &dev_full_after), 0);
    EXPECT_TRUE(S_ISCHR(dev_full_after.st_mode));
    EXPECT_EQ(dev_full_after.st_rdev, dev_full_before.st_rdev);
}

}  // namespace
}  // namespace parvel
#endif  // _WIN32
