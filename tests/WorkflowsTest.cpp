#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <nlohmann/json.hpp>
#include <sstream>

#include "workflows/DecoderDiff.h"
#include "tests/Harness.h"
#include "workflows/Migration.h"
#include "cli/ParvelCli.h"
#include "workflows/Roster.h"
#include "workflows/Series.h"
#include "document/DecoderFile.h"

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

nlohmann::json Info(const std::string& path) {
    return nlohmann::json::parse(Parvel({"info", path, "--json"}).out);
}

namespace fs = std::filesystem;

bool Exists(const std::string& path) { return fs::exists(fs::u8path(path)); }

// Entries of a folder, hidden ones too.
long FileCount(const std::string& dir) {
    const fs::directory_iterator entries(fs::u8path(dir));
    return static_cast<long>(std::distance(begin(entries), end(entries)));
}

// A decoder series: each copy's rows shifted by the span, colours and functions kept.
TEST(Series, CopiesForAccessoryAndFunctionDecoders) {
    struct Case {
        const char* name;
        uint32_t code;
        P protocol;
        std::vector<std::array<uint8_t, 3>> rows;  // rows 1.. as cells
        std::vector<int> expected_first_copy;       // addresses of rows 1.. in copy 1
        std::vector<int> expected_second_copy;
        const char* second_file;
    } cases[] = {
        // Motorola accessory: addresses 1 (green) and 5 (red), span 5
        {"mm", 0x8, P::Motorola, {{0x03, 0x00, 0xC3}, {0x02, 0x00, 0x03}}, {101, 105}, {106, 110},
         "mm-0106.hex"},
        // DCC accessory: 1 (red) and 4 (green) and an unused row, span 4
        {"dcc", 0x4, P::Dcc, {{0x79, 0xF0, 0x05}, {0x7E, 0xFE, 0x05}, {0xFF, 0xFF, 0xFF}}, {101, 104, 0},
         {105, 108, 0}, "dcc-0105.hex"},
        // DCC function decoder: 300 F1 and 5 F3, span 296
        {"fdec", 0x13D00, P::Dcc, {{0x81, 0x2C, 0xC1}, {0x84, 0x05, 0x00}, {0x81, 0x05, 0x00}, {0x81, 0x05, 0x00}},
         {396, 101, 101, 101}, {692, 397, 397, 397}, "fdec-0397.hex"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string dir = test::TempDir();
        FixtureImage f = test::Firmware(c.code, c.protocol);
        for (std::size_t r = 0; r < c.rows.size(); ++r) {
            test::SetRow(f, static_cast<int>(r) + 1, c.rows[r][0], c.rows[r][1], c.rows[r][2]);
        }
        const std::string in = dir + "/" + c.name + ".hex";
        test::WriteFile(in, test::BuildHex(f));
        const auto before = Info(in);
        const CliRun r = Parvel({"series", in, "--first", "101", "--count", "2", "--out-dir", dir});
        ASSERT_EQ(r.status, 0) << r.err;
        const auto second = Info(dir + "/" + c.second_file);
        const auto first_name = dir + "/" + c.name + "-0101.hex";
        const auto first = Info(first_name);
        for (std::size_t k = 0; k < c.expected_first_copy.size(); ++k) {
            EXPECT_EQ(first["rows"][k]["address"], c.expected_first_copy[k]) << k;
            EXPECT_EQ(second["rows"][k]["address"], c.expected_second_copy[k]) << k;
            for (const char* field : {"green", "function"}) {
                if (before["rows"][k].contains(field)) {
                    EXPECT_EQ(second["rows"][k][field], before["rows"][k][field]) << k << field;
                }
            }
        }
        EXPECT_NE(r.out.find(first_name), std::string::npos);  // summary table
    }
}

TEST(Series, CrossingTheLimitWritesNothing) {
    const std::string dir = test::TempDir();
    const std::string out = dir + "/out";
    fs::create_directory(fs::u8path(out));
    FixtureImage f = test::Firmware(0x8, P::Motorola);
    test::SetRow(f, 1, 0x03, 0x00, 0xC3);  // 1
    test::SetRow(f, 2, 0x02, 0x00, 0x03);  // 5
    const std::string in = dir + "/k.hex";
    test::WriteFile(in, test::BuildHex(f));
    const CliRun r = Parvel({"series", in, "--first", "310", "--count", "3", "--out-dir", out});
    EXPECT_EQ(r.status, 1);
    // the message's own line break is a line break, not an escaped byte
    EXPECT_NE(r.err.find("Kopie 3 (erste Adresse 320): Adresse für <Licht> ist zu gross\n"
                         "Es wurde keine Datei geschrieben.\n"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(FileCount(out), 0);

    // existing copies are not replaced without --force, and nothing else is written either
    ASSERT_EQ(Parvel({"series", in, "--first", "1", "--count", "2", "--out-dir", out}).status, 0);
    test::WriteFile(out + "/k-0001.hex", "mine\n");
    const CliRun again = Parvel({"series", in, "--first", "1", "--count", "3", "--out-dir", out});
    EXPECT_EQ(again.status, 2);
    EXPECT_NE(again.err.find("Diese Dateien gibt es schon:\n" + out + "/k-0001.hex\n" + out +
                             "/k-0006.hex\nÜberschreiben, überspringen (nur die neuen Dateien "
                             "schreiben) oder abbrechen? [Überschreiben/Überspringen/Abbrechen] -> "
                             "Abbrechen\n"),
              std::string::npos)
        << again.err;
    EXPECT_EQ(test::Slurp(out + "/k-0001.hex"), "mine\n");
    EXPECT_FALSE(Exists(out + "/k-0011.hex"));

    EXPECT_EQ(Parvel({"series", in, "--first", "0", "--count", "1", "--out-dir", out}).status, 1);
}

// A DCC function decoder with every row unused, then rows 1.. set to (address, function cell).
FixtureImage FunctionDecoder(std::vector<std::pair<int, uint8_t>> rows);
// "F-Dekoder mit CV" with CV1 (cell 0x60), CV17/18 (0x64/0x65) and CV29 (0x68) set.
FixtureImage CvDecoder(int cv1, int cv29 = 0, int cv17 = 0, int cv18 = 0, P protocol = P::Dcc);

std::string OutputText(const RosterOutput& o) {
    return o.file() + "|" + o.name() + "|" + o.version() + "|" + o.chip() + "|" +
           o.protocol() + "|" + (o.accessory ? "A" : "F") + "|" + std::to_string(o.row) + "|" +
           o.label + "|" + std::to_string(o.address) + "|" + (o.green ? "g" : "r") + "|" +
           std::to_string(o.function) + "|" + std::to_string(o.cv);
}

std::string Replaced(std::string text, const std::string& folder) {
    for (std::size_t at = text.find('@'); at != std::string::npos; at = text.find('@', at))
        text.replace(at, 1, folder);
    return text;
}

// Every copy is checked against the folder's address plan and the earlier copies, and names
// that exist are asked about, all before the first file is written.
TEST(Series, AsksBeforeWritingCopiesThatCollideOrExist) {
    // Two outputs at 1 and 2, both red: one decoder spans 2 addresses.
    FixtureImage f = test::Firmware(0x4, P::Dcc);
    test::SetDccAccessory(f, 1, 1, false);
    test::SetDccAccessory(f, 2, 2, false);
    const std::string source = test::TempDir() + "/src.hex";
    const std::vector<std::string> lines = SplitLines(test::BuildHex(f));
    const std::string row1 = FindDecoderType(0x4)->labels[1], row2 = FindDecoderType(0x4)->labels[2];
    FixtureImage layout = test::Firmware(0x4, P::Dcc);
    test::SetDccAccessory(layout, 1, 13, false);
    // Not the writer's text, but the same outputs as copy 1 at 10 and 11.
    FixtureImage older = f;
    test::SetDccAccessory(older, 1, 10, false);
    test::SetDccAccessory(older, 2, 11, false);
    const std::string older_text = test::BuildHex(older);
    const std::string exists =
        "Diese Dateien gibt es schon:\n@/src-0010.hex\nÜberschreiben, überspringen (nur die neuen "
        "Dateien schreiben) oder abbrechen?";
    auto collides = [&](int copy, int first, const std::string& clash) {
        return "Kopie " + std::to_string(copy) + " (@/src-00" + std::to_string(first) +
               ".hex) belegt Adressen, die schon verwendet werden:\n  " + clash +
               "\nDiese Kopie trotzdem schreiben?";
    };
    // Copies of first 10, step 2: 10-11, 12-13, 14-15; of first 20, step 1: 20-21, 21-22, 22-23.
    const std::string layout_13 = collides(2, 12, "DCC-Zubehör 13 rot: layout.hex Zeile 1 (" + row1 + ") rot");
    const std::string overlap_21 =
        collides(2, 21, "DCC-Zubehör 21 rot: src-0020.hex Zeile 2 (" + row2 + ") rot");
    const std::string overlap_22 =
        collides(3, 22, "DCC-Zubehör 22 rot: src-0021.hex Zeile 2 (" + row2 + ") rot");
    struct Case {
        const char* name;
        int first, step;
        bool layout;  // layout.hex, 13 red, in the folder
        bool older;   // src-0010.hex there already, with copy 1's outputs
        std::vector<Answer> answers;
        std::vector<std::string> questions;  // '@' is the folder
        std::vector<bool> written;
        bool ok;
    } cases[] = {
        {"copy 2 collides, Ja", 10, 2, true, false, {Answer::Yes}, {layout_13}, {true, true, true}, true},
        {"copy 2 collides, Nein", 10, 2, true, false, {Answer::No}, {layout_13}, {true, false, true}, true},
        {"copy 2 collides, Abbrechen", 10, 2, true, false, {Answer::Cancel}, {layout_13},
         {false, false, false}, false},
        // Copy 3 meets only what is written: nothing of the skipped copy 2.
        {"overlap, Nein", 20, 1, false, false, {Answer::No}, {overlap_21}, {true, false, true}, true},
        {"overlap, Ja Ja", 20, 1, false, false, {Answer::Yes, Answer::Yes},
         {overlap_21, overlap_22}, {true, true, true}, true},
        // The replaced file's outputs do not count; a file left as it is does.
        {"exists, Überschreiben", 10, 2, false, true, {Answer::Overwrite}, {exists},
         {true, true, true}, true},
        {"exists, Überspringen", 10, 2, false, true, {Answer::Skip}, {exists}, {false, true, true}, true},
        {"exists, Abbrechen", 10, 2, false, true, {Answer::Cancel}, {exists}, {false, false, false},
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string out = test::TempDir();
        if (c.layout) test::WriteFile(out + "/layout.hex", test::BuildHex(layout));
        if (c.older) test::WriteFile(out + "/src-0010.hex", older_text);
        SeriesRequest request;
        request.first = c.first;
        request.count = 3;
        request.step = c.step;
        request.out_dir = out;
        ScriptedDialogs dialogs;
        const SeriesPlan plan = PlanSeries(lines, source, request, dialogs);
        ASSERT_TRUE(plan.ok);
        ASSERT_EQ(plan.copies.size(), 3u);
        RosterRequest folder;
        folder.folder = out;
        const Roster roster = BuildRoster(folder);
        dialogs.answers.assign(c.answers.begin(), c.answers.end());
        const SeriesOutcome outcome = WriteSeries(plan, request, dialogs, &roster);
        EXPECT_EQ(outcome.ok, c.ok);
        EXPECT_EQ(outcome.written, c.written);
        std::vector<std::string> asked, expected;
        for (const auto& m : dialogs.messages) {
            asked.push_back(m.text);
            EXPECT_EQ(m.buttons, m.text.rfind("Kopie", 0) == 0 ? Buttons::YesNoCancel
                                                                : Buttons::OverwriteSkipCancel);
        }
        for (const auto& q : c.questions) expected.push_back(Replaced(q, out));
        EXPECT_EQ(asked, expected);
        const std::vector<std::string> summary = SeriesSummary(plan, outcome.written);
        for (std::size_t i = 0; i < 3; ++i) {
            const std::string& path = plan.copies[i].path;
            if (c.older && i == 0)
                EXPECT_EQ(test::Slurp(path), c.written[0] ? plan.copies[0].text : older_text);
            else
                EXPECT_EQ(Exists(path), c.written[i]) << path;
            const std::string& line = summary.at(i + 1);
            const std::string skipped = "  übersprungen";
            EXPECT_EQ(line.size() > skipped.size() &&
                          line.compare(line.size() - skipped.size(), skipped.size(), skipped) == 0,
                      !c.written[i])
                << line;
        }
        if (!c.layout && !c.older && c.ok) {
            // The copies' outputs are what the address plan of the written files lists.
            std::vector<std::string> planned, listed;
            for (const auto& copy : plan.copies) {
                for (const auto& o : copy.outputs) {
                    if (outcome.written[static_cast<std::size_t>(&copy - plan.copies.data())])
                        planned.push_back(OutputText(o));
                }
            }
            for (const auto& o : BuildRoster(folder).outputs) listed.push_back(OutputText(o));
            EXPECT_EQ(planned, listed);
            EXPECT_EQ(planned.size(), 2u * static_cast<std::size_t>(std::count(
                                              c.written.begin(), c.written.end(), true)));
        }
    }
}

// A decoder with its address in CVs: CV1, or CV17/18 when CV29 selects the long address, moves
// with each copy, and it collides with any function of its address.
TEST(Series, DecoderWithItsAddressInCvs) {
    struct Case {
        const char* name;
        FixtureImage source;
        int first, count;
        std::vector<std::map<int, int>> cells;  // per copy: EEPROM cell -> value
        std::vector<int> addresses;
        std::string refusal;
    } cases[] = {
        {"short", CvDecoder(5), 10, 3, {{{0x60, 10}}, {{0x60, 11}}, {{0x60, 12}}}, {10, 11, 12}, ""},
        // 300 = (0xC1 - 192) x 256 + 0x2C; 1000 = 3 x 256 + 232 (0xC3, 0xE8), 1001: 0xE9. CV1
        // is not in use and stays.
        {"long", CvDecoder(7, 0x20, 0xC1, 0x2C), 1000, 2,
         {{{0x64, 0xC3}, {0x65, 0xE8}, {0x60, 7}}, {{0x64, 0xC3}, {0x65, 0xE9}, {0x60, 7}}},
         {1000, 1001}, ""},
        {"past 127", CvDecoder(120), 126, 3, {}, {},
         "Kopie 3 (erste Adresse 128): CV1 (Kurze Adresse) kann nur 1 bis 127 halten.\n"
         "Es wurde keine Datei geschrieben."},
        // (0xE7 - 192) x 256 + 0xFE = 10238
        {"past 10239", CvDecoder(1, 0x20, 0xE7, 0xFE), 10238, 3, {}, {},
         "Kopie 3 (erste Adresse 10240): CV17/18 (Lange Adresse) kann nur 1 bis 10239 halten.\n"
         "Es wurde keine Datei geschrieben."},
        {"no address", CvDecoder(0), 1, 1, {}, {},
         "Die Adresse in CV1 (Kurze Adresse) ist 0; gültig sind 1 bis 127.\n"
         "Ohne gültige Adresse gibt es nichts zu verschieben."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string out = test::TempDir();
        test::Harness source;
        ASSERT_TRUE(source.Load(c.source, "/tmp/cv.hex"));
        SeriesRequest request;
        request.first = c.first;
        request.count = c.count;
        request.out_dir = out;
        ScriptedDialogs dialogs;
        const SeriesPlan plan =
            PlanSeries(SplitLines(test::BuildHex(c.source)), "/tmp/cv.hex", request, dialogs);
        if (!c.refusal.empty()) {
            EXPECT_FALSE(plan.ok);
            ASSERT_EQ(dialogs.messages.size(), 1u);
            EXPECT_EQ(dialogs.messages[0].text, c.refusal);
            EXPECT_TRUE(plan.copies.empty());
            continue;
        }
        ASSERT_TRUE(plan.ok);
        const auto span = UsedAddressSpan(source.session);
        ASSERT_TRUE(span);
        EXPECT_EQ(span->first, span->second);
        EXPECT_EQ(plan.span, 1);
        ASSERT_EQ(plan.copies.size(), c.cells.size());
        for (std::size_t i = 0; i < plan.copies.size(); ++i) {
            const SeriesCopy& copy = plan.copies[i];
            EXPECT_EQ(copy.first, c.addresses[i]);
            EXPECT_EQ(copy.last, c.addresses[i]);
            ASSERT_EQ(copy.outputs.size(), 1u);
            EXPECT_EQ(copy.outputs[0].address, c.addresses[i]);
            EXPECT_EQ(copy.outputs[0].cv, c.cells[i].size() == 1 ? 1 : 17);
            test::Harness h;
            ASSERT_TRUE(h.LoadText(copy.text));
            for (const auto& [cell, value] : c.cells[i])
                EXPECT_EQ(HexByteValue(h.session.image().eeprom_cells[cell]), value) << cell;
        }
    }

    // Copy 2 of the short series, at 11, meets F1 of a function decoder at 11: only it is asked
    // about, and No leaves it out.
    const std::string out = test::TempDir();
    test::WriteFile(out + "/fdec.hex", test::BuildHex(FunctionDecoder({{11, 0x81}})));
    RosterRequest folder;
    folder.folder = out;
    const Roster roster = BuildRoster(folder);
    SeriesRequest request;
    request.first = 10;
    request.count = 3;
    request.out_dir = out;
    ScriptedDialogs dialogs;
    const SeriesPlan plan =
        PlanSeries(SplitLines(test::BuildHex(CvDecoder(5))), "/tmp/cv.hex", request, dialogs);
    ASSERT_TRUE(plan.ok);
    dialogs.answers = {Answer::No};
    const SeriesOutcome outcome = WriteSeries(plan, request, dialogs, &roster);
    EXPECT_TRUE(outcome.ok);
    EXPECT_EQ(outcome.written, (std::vector<bool>{true, false, true}));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              "Kopie 2 (" + out + "/cv-0011.hex) belegt Adressen, die schon verwendet werden:\n"
              "  DCC-Funktion 11 F1: fdec.hex Zeile 1 (" + FindDecoderType(0x13D00)->labels[1] +
                  ")\nDiese Kopie trotzdem schreiben?");
    EXPECT_TRUE(Exists(out + "/cv-0010.hex"));
    EXPECT_FALSE(Exists(out + "/cv-0011.hex"));
    EXPECT_TRUE(Exists(out + "/cv-0012.hex"));
}

TEST(Migration, CarriesRowsAndSettingsKeptAtTheSamePlace) {
    const std::string dir = test::TempDir();
    FixtureImage old_image = test::Firmware(0x208, P::Motorola, "3351");
    test::SetRow(old_image, 1, 0x03, 0x00, 0xC3);  // Weiche 1 green
    test::SetRow(old_image, 2, 0x02, 0x00, 0x03);  // Licht 5 red
    old_image.eeprom[0x20] = 42;                   // time-out
    old_image.eeprom[0x00] = 0xAB;                 // "Weiche ab" in the mode cell
    FixtureImage new_image = test::Firmware(0x308, P::Motorola, "3358");
    new_image.eeprom[0x00] = 0x01;
    test::WriteFile(dir + "/old.hex", test::BuildHex(old_image));
    test::WriteFile(dir + "/new.hex", test::BuildHex(new_image));

    const CliRun r = Parvel({"migrate", dir + "/old.hex", dir + "/new.hex", "-o", dir + "/out.hex"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Time Out (1..127)"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Weiche: 1 grün"), std::string::npos);
    EXPECT_NE(r.out.find("Nicht übertragen:\n  Modus / Weiche ab"), std::string::npos) << r.out;

    test::Harness out;
    ASSERT_TRUE(out.session.LoadHexFile(dir + "/out.hex"));
    EXPECT_EQ(out.session.type_code(), 0x308u);
    EXPECT_EQ(out.session.row(1).address_text, "1");
    EXPECT_EQ(out.session.row(2).address_text, "5");
    EXPECT_EQ(out.view.rows[2].colour, RowColour::Red);
    EXPECT_EQ(out.session.image().eeprom_cells[0x20], "2A");
    EXPECT_EQ(out.session.image().eeprom_cells[0x00], "01");  // its meaning changed: kept as new
    EXPECT_EQ(out.session.image().id_text, "3358");
}

TEST(Migration, RefusesOtherFamiliesAndOlderReleases) {
    const std::string dir = test::TempDir();
    test::WriteFile(dir + "/klemmo.hex", test::BuildHex(test::Firmware(0x308, P::Motorola, "3358")));
    test::WriteFile(dir + "/old-klemmo.hex", test::BuildHex(test::Firmware(0x208, P::Motorola, "3351")));
    test::WriteFile(dir + "/tarnel.hex", test::BuildHex(test::Firmware(0x65, P::Motorola, "3358")));
    CliRun r = Parvel({"migrate", dir + "/klemmo.hex", dir + "/tarnel.hex", "-o", dir + "/x.hex"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("verschiedene Firmware-Familien"), std::string::npos) << r.err;
    r = Parvel({"migrate", dir + "/klemmo.hex", dir + "/old-klemmo.hex", "-o", dir + "/x.hex"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("ist älter als die alte"), std::string::npos) << r.err;
    EXPECT_FALSE(Exists(dir + "/x.hex"));

    const DecoderType* a = FindDecoderType(0x67);
    const DecoderType* b = FindDecoderType(0x267);
    EXPECT_EQ(FamilyName(a->name), "Lucor - Ampel");
    EXPECT_TRUE(SameFamily(*a, *b));
    EXPECT_TRUE(SameFamily(*FindDecoderType(0xE7), *FindDecoderType(0x1E7)));
    EXPECT_TRUE(SameFamily(*FindDecoderType(0x4100), *FindDecoderType(0x2B4100)));
    EXPECT_FALSE(SameFamily(*FindDecoderType(0x8), *FindDecoderType(0x30C)));  // Klemmo-Autofuse
}

// Two servo decoder images that differ in a row, the button mode and a curve.
TEST(DecoderDiff, SpeaksInDecoderTerms) {
    FixtureImage a = test::Firmware(0xD3, P::Motorola);
    a.rom_last_word = 0x6FF;
    test::SetRow(a, 1, 0x03, 0x00, 0xC3);
    for (int p = 0; p < 4; ++p) a.words[0x500 + p * 128 + 101] = 0x3405;  // 5 points
    FixtureImage b = a;
    test::SetRow(b, 1, 0x02, 0x00, 0xC3);      // address 5 instead of 1
    b.eeprom[0x00] = 0x12;                     // button mode
    b.words[0x500 + 3] = 0x3F40;               // curve 1, point 4 (high byte as loaded)
    b.eeprom[0x7E] = 0x99;                     // a cell no editor reads
    test::Harness h1, h2;
    ASSERT_TRUE(h1.Load(a));
    ASSERT_TRUE(h2.Load(b));
    const DecoderDiffResult d = DiffInDecoderTerms(h1.session, h2.session);
    auto has = [&](const std::string& text) {
        return std::find(d.lines.begin(), d.lines.end(), text) != d.lines.end();
    };
    EXPECT_TRUE(has("  Adresse 01: 1 grün -> 5 grün"));
    EXPECT_TRUE(has("  Tasten-Modus: 255 -> 18"));
    EXPECT_TRUE(has("  Kurve 1: Punkt 4 (255 -> 64)"));
    EXPECT_TRUE(has("  EE0x7e: File1:0xFF - File2:0x99"));
    EXPECT_EQ(d.differences, 4) << testing::PrintToString(d.lines);
    for (const auto& line : d.lines) EXPECT_EQ(line.find("ROM 0x0a06"), std::string::npos);

    const DecoderDiffResult same = DiffInDecoderTerms(h1.session, h1.session);
    EXPECT_EQ(same.differences, 0);
}

FixtureImage FunctionDecoder(std::vector<std::pair<int, uint8_t>> rows) {
    FixtureImage f = test::Firmware(0x13D00, P::Dcc);
    for (int r = 1; r < kGridRows; ++r) test::SetRow(f, r, 0x81, 0x00, 0x00);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        test::SetRow(f, static_cast<int>(i) + 1, rows[i].second,
                     static_cast<uint8_t>(rows[i].first & 0xFF),
                     static_cast<uint8_t>(rows[i].first >> 8));
    }
    return f;
}

FixtureImage CvDecoder(int cv1, int cv29, int cv17, int cv18, P protocol) {
    FixtureImage f = test::Firmware(0x4400, protocol);
    f.eeprom[0x60] = static_cast<uint8_t>(cv1);
    f.eeprom[0x64] = static_cast<uint8_t>(cv17);
    f.eeprom[0x65] = static_cast<uint8_t>(cv18);
    f.eeprom[0x68] = static_cast<uint8_t>(cv29);
    return f;
}

// A layout folder with planted conflicts across files and inside one file, the other colour on
// one address, other protocols and kinds on the same numbers, and files that cannot be used.
std::string LayoutFolder() {
    const std::string dir = test::TempDir();
    FixtureImage a = test::Firmware(0x4, P::Dcc);
    test::SetDccAccessory(a, 1, 1, false);
    test::SetDccAccessory(a, 2, 4, true);
    test::SetDccAccessory(a, 3, 7, false);
    test::WriteFile(dir + "/dcc-a.hex", test::BuildHex(a));
    FixtureImage b = test::Firmware(0x5, P::Dcc);  // four rows
    test::SetDccAccessory(b, 1, 1, false);
    test::SetDccAccessory(b, 2, 7, true);
    test::SetDccAccessory(b, 3, 9, false);
    test::SetDccAccessory(b, 4, 9, false);
    test::WriteFile(dir + "/dcc-b.hex", test::BuildHex(b));
    FixtureImage mm = test::Firmware(0x8, P::Motorola);
    test::SetRow(mm, 1, 0x03, 0x00, 0xC3);  // 1 green
    test::SetRow(mm, 2, 0x02, 0x00, 0x03);  // 5 red
    test::WriteFile(dir + "/mm.hex", test::BuildHex(mm));
    test::SetRow(mm, 2, 0xFF, 0xFF, 0xFF);
    test::WriteFile(dir + "/UPPER.HEX", test::BuildHex(mm));
    test::WriteFile(dir + "/fdec.hex",
                    test::BuildHex(FunctionDecoder({{300, 0x81}, {5, 0x84}, {1, 0x81}})));
    test::WriteFile(dir + "/fdec2.hex", test::BuildHex(FunctionDecoder({{300, 0x81}, {5, 0x81}})));
    // Decoders with their address in CVs: short address 5 (answers F1 of fdec2 and F3 of fdec),
    // long address 2000 twice (CV17 0xC7 = 192 + 7, CV18 0xD0 = 208: 7 x 256 + 208), and CV1 0.
    test::WriteFile(dir + "/cv.hex", test::BuildHex(CvDecoder(5)));
    test::WriteFile(dir + "/cv-long.hex", test::BuildHex(CvDecoder(5, 0x26, 0xC7, 0xD0)));
    test::WriteFile(dir + "/cv-long2.hex", test::BuildHex(CvDecoder(9, 0x20, 0xC7, 0xD0)));
    test::WriteFile(dir + "/cv-zero.hex", test::BuildHex(CvDecoder(0, 0x06)));
    test::WriteFile(dir + "/broken.hex", "das ist kein HEX-File\r\n");
    test::WriteFile(dir + "/unknown.hex", test::BuildHex(test::Firmware(0x123456, P::Dcc)));
    std::string many;
    for (int i = 0; i < 600; ++i) many += ":00000001FF\r\n";
    test::WriteFile(dir + "/long.hex", many);
    test::WriteFile(dir + "/notes.txt", "kein HEX\n");
#ifdef _WIN32
    // A second name of the same file (symbolic links and named pipes need rights a user lacks):
    // skipped as the same file, while every other file, each one different, is read.
    fs::create_hard_link(fs::u8path(dir + "/dcc-a.hex"), fs::u8path(dir + "/same.hex"));
#else
    EXPECT_EQ(::symlink("nowhere.hex", (dir + "/gone.hex").c_str()), 0);
    EXPECT_EQ(::symlink("dcc-a.hex", (dir + "/same.hex").c_str()), 0);
    EXPECT_EQ(::mkfifo((dir + "/pipe.hex").c_str(), 0600), 0);
#endif
    fs::create_directory(fs::u8path(dir + "/sub"));
    FixtureImage deep = test::Firmware(0x4, P::Dcc);
    test::SetDccAccessory(deep, 1, 4, true);
    test::WriteFile(dir + "/sub/deep.hex", test::BuildHex(deep));
#ifndef _WIN32
    EXPECT_EQ(::symlink("..", (dir + "/sub/loop").c_str()), 0);
#endif
    return dir;
}

// The skipped files of LayoutFolder that this system can make.
std::vector<std::string> MadeHere(std::vector<std::string> names) {
#ifdef _WIN32
    for (const char* linux_only : {"gone.hex", "pipe.hex", "sub/loop"}) {
        names.erase(std::remove(names.begin(), names.end(), linux_only), names.end());
    }
#endif
    return names;
}

std::vector<std::string> ClashLines(const Roster& roster, const std::vector<RosterClash>& clashes,
                                    bool note, const std::string& dir) {
    std::vector<std::string> lines;
    for (const auto& c : clashes) {
        std::string line = ClashTitle(c, note) + ":";
        for (std::size_t i : c.outputs) {
            const RosterOutput& o = roster.outputs[i];
            line += " " + o.file().substr(dir.size() + 1) + "#" +
                    (o.cv ? "CV" + std::to_string(o.cv) : std::to_string(o.row));
        }
        lines.push_back(line);
    }
    return lines;
}

TEST(Roster, FindsDoubleUseAcrossFilesAndInsideOne) {
    const std::string dir = LayoutFolder();
    struct Case {
        bool recursive;
        std::vector<std::string> conflicts, notes, skipped_files;
    } cases[] = {
        {false,
         {"DCC-Zubehör 1 rot: dcc-a.hex#1 dcc-b.hex#1",
          "DCC-Funktion 5 F1: cv.hex#CV1 fdec2.hex#2",
          "DCC-Funktion 5 F3: cv.hex#CV1 fdec.hex#2",
          "DCC-Zubehör 9 rot: dcc-b.hex#3 dcc-b.hex#4",
          "DCC-Funktion 300 F1: fdec.hex#1 fdec2.hex#1",
          "DCC-Funktion 2000 alle Funktionen: cv-long.hex#CV17 cv-long2.hex#CV17",
          "Motorola-Zubehör 1 grün: UPPER.HEX#1 mm.hex#1"},
         {"DCC-Zubehör 7: dcc-a.hex#3 dcc-b.hex#2"},
         {"broken.hex", "cv-zero.hex", "gone.hex", "long.hex", "pipe.hex", "same.hex",
          "unknown.hex"}},
        {true,
         {"DCC-Zubehör 1 rot: dcc-a.hex#1 dcc-b.hex#1",
          "DCC-Zubehör 4 grün: dcc-a.hex#2 sub/deep.hex#1",
          "DCC-Funktion 5 F1: cv.hex#CV1 fdec2.hex#2",
          "DCC-Funktion 5 F3: cv.hex#CV1 fdec.hex#2",
          "DCC-Zubehör 9 rot: dcc-b.hex#3 dcc-b.hex#4",
          "DCC-Funktion 300 F1: fdec.hex#1 fdec2.hex#1",
          "DCC-Funktion 2000 alle Funktionen: cv-long.hex#CV17 cv-long2.hex#CV17",
          "Motorola-Zubehör 1 grün: UPPER.HEX#1 mm.hex#1"},
         {"DCC-Zubehör 7: dcc-a.hex#3 dcc-b.hex#2"},
         {"broken.hex", "cv-zero.hex", "gone.hex", "long.hex", "pipe.hex", "same.hex", "sub/loop",
          "unknown.hex"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.recursive);
        RosterRequest request;
        request.folder = dir;
        request.recursive = c.recursive;
        const Roster roster = BuildRoster(request);
        ASSERT_TRUE(roster.folder_ok);
        EXPECT_EQ(ClashLines(roster, roster.conflicts, false, dir), c.conflicts);
        EXPECT_EQ(ClashLines(roster, roster.notes, true, dir), c.notes);
        std::vector<std::string> skipped;
        for (const auto& s : roster.skipped) {
            skipped.push_back(s.file.substr(dir.size() + 1));
            EXPECT_FALSE(s.message.empty()) << s.file;
        }
        EXPECT_EQ(skipped, MadeHere(c.skipped_files));
        // Sorted by protocol, then address, then file; address 0 never listed.
        for (std::size_t i = 1; i < roster.outputs.size(); ++i) {
            const auto &p = roster.outputs[i - 1], &q = roster.outputs[i];
            EXPECT_LE(std::tie(p.protocol(), p.address, p.file()),
                      std::tie(q.protocol(), q.address, q.file()));
            EXPECT_NE(q.address, 0);
        }
    }
    RosterRequest request;
    request.folder = dir;
    const Roster roster = BuildRoster(request);
    std::vector<std::string> free;
    for (const auto& group : roster.free) {
        std::string line = group.name + ":";
        for (const auto& range : group.ranges) line += " " + FreeRangeText(range);
        free.push_back(line);
    }
    EXPECT_EQ(free, (std::vector<std::string>{"DCC-Zubehör: 2–3 5–6 8 10–2044",
                                              "DCC-Funktion: 2–4 6–299 301–1999 2001–16128",
                                              "Motorola-Zubehör: 2–4 6–320"}));
    EXPECT_EQ(FirstFreeAddress(roster, "DCC", true, 3), 10);
    EXPECT_EQ(FirstFreeAddress(roster, "Mot", false), std::nullopt);
    // Three copies of a decoder with two addresses: 2 + 2 x step addresses in one free range.
    EXPECT_EQ(FirstSeriesAddress(roster, "DCC", true, 2, 3, 1), 10);   // 4 addresses
    EXPECT_EQ(FirstSeriesAddress(roster, "DCC", true, 1, 2, 1), 2);    // 2 addresses
    EXPECT_EQ(FirstSeriesAddress(roster, "DCC", false, 2, 3, 200), 301);  // 402 addresses
    EXPECT_EQ(FirstSeriesAddress(roster, "Mot", true, 1, 400, 1), std::nullopt);
    EXPECT_EQ(FirstSeriesAddress(roster, "DCC", true, 0, 3, 1), std::nullopt);
    const std::string cv_skip =
        std::find_if(roster.skipped.begin(), roster.skipped.end(), [&](const RosterSkip& s) {
            return s.file == dir + "/cv-zero.hex";
        })->message;
    EXPECT_EQ(cv_skip, "Die Adresse in CV1 (Kurze Adresse) ist 0; gültig sind 1 bis 127.");
    const auto cv = std::find_if(roster.outputs.begin(), roster.outputs.end(),
                                 [&](const RosterOutput& o) { return o.file() == dir + "/cv.hex"; });
    ASSERT_NE(cv, roster.outputs.end());
    EXPECT_EQ(RosterCells(*cv, dir),
              (std::vector<std::string>{"cv.hex", "F-Dekoder mit CV", "3.58", "12F629/16F630",
                                        "DCC", "Funktion", "–", "CV1: Kurze Adresse", "5",
                                        "alle Funktionen"}));
    // "DCC-Funktion 5 F1": the CV decoder without a row, then row 2 of fdec2.
    EXPECT_EQ(ClashOutputs(roster, roster.conflicts[1], dir),
              "cv.hex (CV1: Kurze Adresse), fdec2.hex Zeile 2 (" +
                  FindDecoderType(0x13D00)->labels[2] + ")");
    // The CSV names each row's conflicts and notes in two more columns.
    std::vector<std::string> csv = SplitLines(RosterCsv(roster));
    auto csv_row = [&](const std::string& file, const std::string& row) {
        for (const auto& line : csv) {
            if (line.rfind(dir + "/" + file + ";", 0) == 0 &&
                line.find(";" + row + ";") != std::string::npos)
                return line;
        }
        return std::string("(keine Zeile)");
    };
    auto tail = [](const std::string& line, int fields) {
        std::size_t at = line.size();
        for (int i = 0; i < fields && at != std::string::npos; ++i) at = line.rfind(';', at - 1);
        return at == std::string::npos ? line : line.substr(at + 1);
    };
    EXPECT_EQ(tail(csv.front(), 3), "Farbe/Funktion;Doppelt belegt;Hinweis");
    EXPECT_EQ(tail(csv_row("dcc-a.hex", "1"), 4), "1;rot;DCC-Zubehör 1 rot;");
    EXPECT_EQ(tail(csv_row("dcc-a.hex", "7"), 4), "7;rot;;DCC-Zubehör 7");
    EXPECT_EQ(tail(csv_row("dcc-b.hex", "7"), 4), "7;grün;;DCC-Zubehör 7");
    EXPECT_EQ(tail(csv_row("fdec.hex", "1"), 4), "1;F1;;");
    EXPECT_EQ(tail(csv_row("cv.hex", "–"), 4),
              "5;alle Funktionen;DCC-Funktion 5 F1, DCC-Funktion 5 F3;");
    const auto& first = roster.outputs.front();  // DCC 1 of dcc-a before fdec and dcc-b
    EXPECT_EQ(RosterCells(first),
              (std::vector<std::string>{dir + "/dcc-a.hex", first.name(), "3.58", "12F629/16F630",
                                        "DCC", "Zubehör", "1", first.label, "1", "rot"}));
}

TEST(Roster, CommandLineOutputsAndExitStatus) {
    const std::string dir = LayoutFolder();
    const std::string empty = test::TempDir();
    const std::string fine = test::TempDir();
    FixtureImage f = test::Firmware(0x4, P::Dcc);
    test::SetDccAccessory(f, 1, 17, true);
    test::WriteFile(fine + "/one.hex", test::BuildHex(f));
    struct Case {
        std::vector<std::string> args;
        int status;
        std::vector<std::string> out_has;
    } cases[] = {
        {{"roster", dir, "--free", "2"},
         1,
         {"Doppelt belegt:\n  DCC-Zubehör 1 rot: " + dir + "/dcc-a.hex Zeile 1 (",
          "Hinweis, gleiche Adresse, andere Farbe:\n  DCC-Zubehör 7: ", "  DCC-Zubehör: 2–3, 5–6\n",
          "Übersprungen:\n  " + dir + "/broken.hex: "}},
        {{"roster", fine, "--free", "3"},
         0,
         {"Doppelt belegt: keine", "DCC-Zubehör: 1–16, 18–2044\n"}},
        {{"roster", empty}, 0, {"Im Ordner " + empty + " gibt es keine HEX-Datei."}},
        {{"roster", fine, "--csv"},
         0,
         {"\xEF\xBB\xBF"
          "Datei;Firmware;Version;Chip;Protokoll;Art;Zeile;Bezeichnung;Adresse;Farbe/Funktion;"
          "Doppelt belegt;Hinweis\r\n" +
          fine + "/one.hex;"}},
        {{"roster", dir + "/nirgends"}, 2, {}},
        {{"roster", dir + "/mm.hex"}, 2, {}},
        {{"roster", dir, "--json", "--csv"}, 2, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[1]);
        const CliRun r = Parvel(c.args);
        EXPECT_EQ(r.status, c.status) << r.err;
        for (const auto& text : c.out_has)
            EXPECT_NE(r.out.find(text), std::string::npos) << text << "\n" << r.out;
    }
    // The document is written piece by piece, laid out as the dump of the whole document.
    EXPECT_EQ(Parvel({"roster", empty, "--json"}).out,
              "{\n  \"conflicts\": [],\n  \"free\": {},\n  \"notes\": [],\n  \"outputs\": [],\n"
              "  \"skipped\": []\n}\n");
    const CliRun r = Parvel({"roster", dir, "--json", "--free", "1", "--recursive"});
    EXPECT_EQ(r.status, 1);
    const auto j = nlohmann::json::parse(r.out);
    EXPECT_EQ(r.out, j.dump(2) + "\n");
    EXPECT_EQ(j["conflicts"].size(), 8u);
    EXPECT_EQ(j["notes"].size(), 1u);
    EXPECT_EQ(j["skipped"].size(),
              MadeHere({"broken.hex", "cv-zero.hex", "gone.hex", "long.hex", "pipe.hex",
                        "same.hex", "sub/loop", "unknown.hex"}).size());
    EXPECT_EQ(j["skipped"][0]["file"], dir + "/broken.hex");
    EXPECT_EQ(j["free"]["Motorola-Zubehör"], nlohmann::json::parse(R"([{"first":2,"last":4}])"));
    EXPECT_EQ(j["conflicts"][0]["outputs"][1]["file"], dir + "/dcc-b.hex");
    EXPECT_EQ(j["outputs"].size(), 19u);
    // A decoder with its address in CVs has no row and answers every function.
    bool cv_seen = false;
    for (const auto& o : j["outputs"]) {
        if (o["file"] != dir + "/cv.hex") continue;
        cv_seen = true;
        EXPECT_EQ(o["address"], 5);
        EXPECT_EQ(o["cv"], 1);
        EXPECT_EQ(o["kind"], "F");
        EXPECT_TRUE(o["row"].is_null());
        EXPECT_TRUE(o["function"].is_null());
    }
    EXPECT_TRUE(cv_seen);
    const auto all = j["conflicts"][6];
    EXPECT_EQ(all["text"], "DCC-Funktion 2000 alle Funktionen");
    EXPECT_TRUE(all["function"].is_null());
    EXPECT_EQ(all["outputs"].size(), 2u);
}

}  // namespace
}  // namespace parvel
