#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "tests/Harness.h"
#include "cli/ParvelCli.h"

namespace parvel {
namespace {

using test::FixtureImage;
using P = FixtureImage::Protocol;

struct CliRun {
    int status;
    std::string out, err;
};

CliRun Parvel(std::vector<std::string> args) {
    args.insert(args.begin(), "parvel");
    std::ostringstream out, err;
    const int status = RunParvel(args, out, err);
    return {status, out.str(), err.str()};
}

std::string Data(const char* name) { return std::string(PARVEL_TEST_DATA) + "/" + name; }

using test::Slurp;

TEST(ParvelCli, InfoJsonOfAnAssembledFirmware) {
    const CliRun r = Parvel({"info", Data("klemmo_mm.hex"), "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["type_code"], 8);
    EXPECT_EQ(j["name"], "Klemmo");
    EXPECT_EQ(j["kind"], "A");
    EXPECT_EQ(j["id"], "3358");
    EXPECT_EQ(j["version"], "3.58");
    EXPECT_EQ(j["protocol"], "Mot");
    EXPECT_EQ(j["config"], "CC01");
    EXPECT_EQ(j["chip"], "12F629/16F630");
    EXPECT_EQ(j["max_address"], 320);
    EXPECT_EQ(j["max_function"], 4);
    ASSERT_EQ(j["rows"].size(), 2u);
    EXPECT_EQ(j["rows"][0], (nlohmann::json{{"row", 1}, {"label", "Weiche"}, {"address", 1}, {"green", true}}));
    EXPECT_EQ(j["rows"][1], (nlohmann::json{{"row", 2}, {"label", "Licht"}, {"address", 5}, {"green", false}}));
    EXPECT_TRUE(j["messages"].empty());
}

TEST(ParvelCli, InfoOfAFunctionDecoderAndTheConfigurationQuestion) {
    const CliRun fdec = Parvel({"info", Data("fdec_dcc.hex"), "--json"});
    ASSERT_EQ(fdec.status, 0);
    const auto j = nlohmann::json::parse(fdec.out);
    EXPECT_EQ(j["kind"], "F");
    EXPECT_EQ(j["rows"][0]["function"], 1);
    EXPECT_EQ(j["rows"][0]["address"], 300);
    EXPECT_FALSE(j["rows"][0].contains("green"));

    const std::string question =
        "In dem HEX-File wurde kein Config-Wert gefunden. Standard-Wert erzeugen?";
    const CliRun plain = Parvel({"info", Data("blink_684.hex"), "--json"});
    EXPECT_TRUE(nlohmann::json::parse(plain.out)["config"].is_null());
    const CliRun text = Parvel({"info", Data("blink_684.hex")});
    EXPECT_NE(text.out.find("Config:    kein Config-Wert\n"), std::string::npos) << text.out;
    const CliRun dumped = Parvel({"dump", Data("blink_684.hex")});
    EXPECT_EQ(dumped.out.rfind("Config Value: kein Config-Wert\n", 0), 0u) << dumped.out;
    EXPECT_NE(plain.err.find(question), std::string::npos);
    EXPECT_EQ(nlohmann::json::parse(plain.out)["messages"][0], question);
    const CliRun yes = Parvel({"info", Data("blink_684.hex"), "--json", "--default-config"});
    EXPECT_EQ(nlohmann::json::parse(yes.out)["config"], "CC33");
    EXPECT_EQ(nlohmann::json::parse(yes.out)["chip"], "16F684/688");
}

TEST(ParvelCli, ExitStatusAndMessagesForBadInput) {
    const std::string dir = test::TempDir();
    test::WriteFile(dir + "/bad.hex", ":020000040000FA\n:020000021000EC\n");
    FixtureImage unknown = test::Firmware(0x123456, P::Motorola);
    test::WriteFile(dir + "/unknown.hex", test::BuildHex(unknown));
    FixtureImage no_id = test::Firmware(0x8, P::Motorola);
    no_id.id.reset();
    test::WriteFile(dir + "/noid.hex", test::BuildHex(no_id));
    test::WriteFile(dir + "/latin1.hex", ":020000040000FA\n:10\xBD\x1B\xFC\n");
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string err;
    } cases[] = {
        {{"info", dir + "/bad.hex"}, 1, "E203: Unerwartete Zeile im File: :020000021000EC (Zeile 2)"},
        {{"info", dir + "/missing.hex"}, 2, "Cannot open file " + dir + "/missing.hex"},
        {{"info", dir}, 2, "Cannot open file " + dir},
        {{"info", dir + "/unknown.hex"}, 1, "Das HEX-File konnte leider nicht erkannt werden"},
        {{"info", dir + "/unknown.hex", "--json"}, 1, "Das HEX-File konnte leider nicht erkannt werden"},
        // Loaded but not recognised: info says what it could and exits 1; the dump is complete.
        {{"info", dir + "/noid.hex"}, 1, "In dem HEX-File wurde kein Wert für ID gefunden."},
        {{"info", dir + "/noid.hex", "--json"}, 1, "In dem HEX-File wurde kein Wert für ID gefunden."},
        {{"dump", dir + "/noid.hex"}, 0, "In dem HEX-File wurde kein Wert für ID gefunden."},
        // File bytes that are not text are quoted escaped, in the message and in the JSON.
        {{"info", dir + "/latin1.hex", "--json"}, 1, "E206: Unerwartete Zeile im File: :10\\xBD\\x1B\\xFC (Zeile 2)\n"},
        {{"dump", dir + "/latin1.hex"}, 1, "E206: Unerwartete Zeile im File: :10\\xBD\\x1B\\xFC (Zeile 2)\n"},
        {{"frobnicate"}, 2, "parvel: ein Befehl fehlt"},
        {{"info"}, 2, "parvel: FILE fehlt\nMehr dazu: parvel --help\n"},
        {{"series", Data("klemmo_mm.hex"), "--first", "x", "--count", "1", "--out-dir", dir}, 2,
         "parvel: --first: x ist keine gültige Zahl"},
        // A set stopped by the missing ID says so; one stopped by a bad line says that.
        {{"set", dir + "/noid.hex", "-o", dir + "/o.hex"}, 1,
         "hat keinen ID-Record, und die Frage danach wurde mit Abbrechen beantwortet; es wurde nichts "
         "geschrieben\n"},
        {{"set", dir + "/bad.hex", "-o", dir + "/o.hex"}, 1,
         "bad.hex wurde nicht vollständig geladen; es wurde nichts geschrieben\n"},
        {{"set", Data("klemmo_mm.hex"), "-o", dir + "/bad.hex"}, 2,
         "bad.hex gibt es schon; --force überschreibt die Datei\n"},
        {{"set", Data("klemmo_mm.hex"), "-o", dir + "/o.hex", "--address", "x=1"}, 2, "R=N"},
        {{"set", Data("klemmo_mm.hex"), "-o", dir + "/o.hex", "--green", "48"}, 2, "eine Zeile 48 gibt es nicht"},
    };
    for (const auto& c : cases) {
        const CliRun r = Parvel(c.args);
        EXPECT_EQ(r.status, c.status) << c.args[0] << " " << r.err;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
        if (c.args.back() == "--json") {
            const auto j = nlohmann::json::parse(r.out);
            bool quoted = false;
            for (const auto& m : j["messages"]) quoted |= m.get<std::string>().find(c.err.substr(0, 40)) == 0;
            EXPECT_TRUE(quoted) << r.out;
        }
    }
}

TEST(ParvelCli, SetValidatesEncodesAndWrites) {
    const std::string dir = test::TempDir();
    const std::string out = dir + "/out.hex";
    CliRun r = Parvel({"set", Data("klemmo_dcc.hex"), "-o", out, "--address", "1=29", "--green", "1",
                    "--address", "2=0"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto j = nlohmann::json::parse(Parvel({"info", out, "--json"}).out);
    EXPECT_EQ(j["rows"][0]["address"], 29);
    EXPECT_EQ(j["rows"][0]["green"], true);
    EXPECT_EQ(j["rows"][1]["address"], 0);

    // OUT exists: not overwritten without --force
    const std::string before = Slurp(out);
    r = Parvel({"set", Data("klemmo_dcc.hex"), "-o", out, "--address", "1=30"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(Slurp(out), before);
    r = Parvel({"set", Data("klemmo_dcc.hex"), "-o", out, "--address", "1=30", "--force"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(Slurp(out), before);

    // validation failure: message, status 1, nothing written
    r = Parvel({"set", Data("klemmo_dcc.hex"), "-o", dir + "/no.hex", "--address", "1=2045"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Adresse für <Weiche> ist zu gross"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::u8path(dir + "/no.hex")));

    // function decoder: function numbers too
    r = Parvel({"set", Data("fdec_dcc.hex"), "-o", dir + "/f.hex", "--address", "2=128",
                "--function", "2=9"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto f = nlohmann::json::parse(Parvel({"info", dir + "/f.hex", "--json"}).out);
    EXPECT_EQ(f["rows"][1]["address"], 128);
    EXPECT_EQ(f["rows"][1]["function"], 9);
    EXPECT_EQ(f["rows"][0]["address"], 300);  // untouched rows keep what was shown

    // unwritable target: status 2, message
    r = Parvel({"set", Data("klemmo_dcc.hex"), "-o", dir + "/nofolder/x.hex"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("konnte nicht gespeichert werden"), std::string::npos);
}

TEST(ParvelCli, DumpAndDiff) {
    const CliRun dump = Parvel({"dump", Data("klemmo_mm.hex")});
    ASSERT_EQ(dump.status, 0);
    EXPECT_EQ(dump.out.rfind("Config Value: CC01\nID-Value: 3358\nEEprom\n0x000:FF03", 0), 0u) << dump.out;
    EXPECT_NE(dump.out.find("\nROM\n0x0000:08300030"), std::string::npos);

    const CliRun same = Parvel({"diff", Data("klemmo_mm.hex"), Data("klemmo_mm.hex")});
    EXPECT_EQ(same.status, 0);
    EXPECT_NE(same.out.find("   0 gefundene Unterschiede im EEprom"), std::string::npos);

    const CliRun other = Parvel({"diff", Data("klemmo_mm.hex"), Data("klemmo_dcc.hex")});
    EXPECT_EQ(other.status, 1);
    EXPECT_NE(other.out.find("EE0x01: File1:0x03 - File2:0x79"), std::string::npos) << other.out;
    EXPECT_NE(other.out.find("ID: File1:0x3358 - File2:0x3351"), std::string::npos);
}

// The installed program: exit status and streams as a script sees them. (On Windows the
// program is compared with the Linux one as a whole, outside these tests.)
#ifndef _WIN32
TEST(ParvelCli, BinaryExitStatus) {
    const std::string cmd = std::string(PARVEL_BINARY) + " info '" + Data("klemmo_mm.hex") +
                            "' --json >/dev/null 2>&1";
    EXPECT_EQ(WEXITSTATUS(std::system(cmd.c_str())), 0);
    const std::string bad = std::string(PARVEL_BINARY) + " info /nonexistent.hex 2>/dev/null";
    EXPECT_EQ(WEXITSTATUS(std::system(bad.c_str())), 2);
    const std::string help = std::string(PARVEL_BINARY) + " --help >/dev/null";
    EXPECT_EQ(WEXITSTATUS(std::system(help.c_str())), 0);
}
#endif

// Everything parvel prints is German, its help too; an unrecognised firmware has no limits.
TEST(ParvelCli, GermanHelpAndTexts) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--help"}, {"--help-all"}, {"set", "--help"}}) {
        const CliRun r = Parvel(args);
        EXPECT_EQ(r.status, kExitOk);
        EXPECT_NE(r.out.find("Aufruf: parvel"), std::string::npos) << r.out;
        EXPECT_NE(r.out.find("Optionen:"), std::string::npos) << r.out;
        for (const char* english : {"Usage", "OPTIONS", "REQUIRED", "Options", "Print ", "Subcommands"}) {
            EXPECT_EQ(r.out.find(english), std::string::npos) << english << "\n" << r.out;
        }
    }
    const std::string dir = test::TempDir();
    test::WriteFile(dir + "/unknown.hex", test::BuildHex(test::Firmware(0x123456, P::None)));
    const CliRun unknown = Parvel({"info", dir + "/unknown.hex"});
    EXPECT_NE(unknown.out.find("\nGrenzen:   Adresse –, Funktion –\n"), std::string::npos) << unknown.out;
    EXPECT_NE(unknown.out.find("Firmware:  (unbekannt)  [Typ 0x123456, Art –]"), std::string::npos) << unknown.out;
    const CliRun known = Parvel({"info", Data("klemmo_mm.hex")});
    EXPECT_NE(known.out.find("\nGrenzen:   Adresse 1..320, Funktion 1..4\n"), std::string::npos) << known.out;
    // a question the command line answers itself, named in German
    const CliRun question = Parvel({"info", Data("blink_684.hex")});
    EXPECT_NE(question.err.find("Standard-Wert erzeugen? [Ja/Ignorieren] -> Ignorieren\n"), std::string::npos)
        << question.err;
}

// The GNU form "program (package) version", as hexparvel prints it.
TEST(ParvelCli, VersionNeedsNoCommand) {
    for (const char* flag : {"--version", "-v"}) {
        const CliRun r = Parvel({flag});
        EXPECT_EQ(r.status, kExitOk) << flag;
        EXPECT_EQ(r.out, "parvel (HEX Parvel) " PARVEL_EXPECTED_VERSION "\n") << flag;
    }
}

}  // namespace
}  // namespace parvel
