#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "catalogue/Catalogue.h"
#include "settings/NumberInput.h"
#include "tests/Harness.h"
#include "settings/ZusatzLayout.h"
#include "settings/ZusatzSettings.h"
#include "settings/ZusatzTypeTable.h"

namespace parvel {
namespace {

using test::FixtureImage;
using P = FixtureImage::Protocol;
using Verdict = NumberInput::Verdict;

const char* const kRangeText = "Ungültige Eingabe.\rZugelassen sind nur Zahlen im Werte-Bereich ";
const char* const kNotANumberText = "Ungültige Eingabe.\rZugelassen sind nur Zahlen";

bool IsFunctionType(uint32_t code) {
    const DecoderType* entry = FindDecoderType(code);
    return entry && entry->kind == DecoderKind::Function;
}

// A recognised firmware of this type with the given EEPROM cells; the ID gives the version
// ("3358" = V3.58). Function decoders get DCC rows, the others Motorola.
std::unique_ptr<test::Harness> LoadFirmware(uint32_t code, const std::map<int, uint8_t>& cells,
                                            const std::string& id = "3358") {
    auto h = std::make_unique<test::Harness>();
    FixtureImage f = test::Firmware(code, IsFunctionType(code) ? P::Dcc : P::Motorola, id);
    for (const auto& [cell, value] : cells) f.eeprom[cell] = value;  // after the row bytes
    EXPECT_TRUE(h->Load(f)) << h->LastMessage();
    EXPECT_EQ(h->session.type_code(), code);
    EXPECT_EQ(h->session.frame_code(), kFrameZusatz);
    return h;
}

ZusatzSettings SettingsOf(test::Harness& h) {
    return ZusatzSettings(h.session.image(), h.session.type_code(), h.session.version());
}

const HexCell& Cell(test::Harness& h, int cell) { return h.session.image().eeprom_cells[cell]; }

// Saves the session's image to a new file (through the save dialog seam) and loads that file
// into a fresh session.
std::unique_ptr<test::Harness> SaveAndReload(test::Harness& h) {
    const std::string path = test::TempDir() + "/saved.hex";
    h.dialogs.save_names.push_back(path);
    EXPECT_EQ(h.session.Save(), DecoderDocument::SaveResult::Saved) << h.LastMessage();
    auto again = std::make_unique<test::Harness>();
    EXPECT_TRUE(again->session.LoadHexFile(path)) << again->LastMessage();
    return again;
}

// ---- the type table ----

TEST(ZusatzTypeTable, CoversExactlyTheFirmwaresThatShowTheFrame) {
    // The 44 type codes of the additional-settings table.
    const std::set<uint32_t> expected = {
        0x8,   0x208, 0xA,   0x20A, 0x2,  0x202, 0x65,   0x265,    0x308,    0x30A,    0x30C,
        0x302, 0x365, 0xB,   0x69,  0x6A, 0x3,   0x6C,   0x6D,     0xC9,     0x1C9,    0xCA,
        0x1CA, 0xCD,  0xCE,  0xCF,  0xCB, 0x68,  0x3E00, 0x3D00,   0x13D00,  0x13E00,  0x13F00,
        0x66,  0x167, 0x267, 0x6F,  0x71, 0x170, 0x270,  0x1A4100, 0x1B4100, 0x2A4100, 0x2B4100};
    ASSERT_EQ(expected.size(), 44u);
    std::set<uint32_t> in_table;
    for (const ZusatzType& t : ZusatzTypeTable()) {
        EXPECT_TRUE(in_table.insert(t.type_code).second) << std::hex << t.type_code;
    }
    EXPECT_EQ(in_table, expected);
    std::set<uint32_t> in_catalogue;
    for (const DecoderType& d : Catalogue()) {
        if (d.frame == kFrameZusatz) in_catalogue.insert(d.type_code);
    }
    EXPECT_EQ(in_catalogue, expected);
    EXPECT_EQ(FindZusatzType(0x4400), nullptr);
}

TEST(ZusatzTypeTable, RowKinds) {
    struct Case {
        RowKind kind;
        const char* caption;
        const char* hint;
        int cell;
        float factor;
        int minimum, maximum;
    } cases[] = {
        {RowKind::T, "Time Out (1..127)",
         "Zeit, nach der der Antrieb immer spätestens abgeschaltet wird", 0x20, 0.5f, 1, 127},
        {RowKind::TN, "Time Out (1..127)",
         "Zeit, nach der der Antrieb immer spätestens abgeschaltet wird", 0x20, 0.5f, 1, 255},
        {RowKind::S, "Abschaltzeit in Mode 3 (1..255)",
         "Zeit, nach der in Mode 3 abgeschaltet wird", 0x20, 0.5f, 1, 255},
        {RowKind::G1, "Grünphase Haupt (x 0.2 s)", "Länge der Grünphase Hauptstrasse", 0x60, 0.2f,
         1, 255},
        {RowKind::G2, "Grünphase Neben (x 0.2 s)", "Länge der Grünphase Nebenstrasse", 0x70, 0.2f,
         1, 255},
        {RowKind::H1, "Ablaufgeschwindigkeit (1..255)", "1 = schnell\n255 = langsam", 0x20, 0.0f, 1,
         255},
        {RowKind::H2, "Mindestanzahl (1..9)", "Anzahl der mindest aktiven Ausgänge beim Ablauf",
         0x2F, 0.0f, 1, 9},
    };
    for (const auto& c : cases) {
        const SettingRowDef& r = RowDef(c.kind);
        SCOPED_TRACE(c.caption);
        EXPECT_EQ(r.kind, c.kind);
        EXPECT_EQ(r.caption, c.caption);
        EXPECT_EQ(r.hint, c.hint);
        EXPECT_EQ(r.cell, c.cell);
        EXPECT_EQ(r.factor, c.factor);
        EXPECT_EQ(r.minimum, c.minimum);
        EXPECT_EQ(r.maximum, c.maximum);
    }
}

TEST(ZusatzTypeTable, ModeCaptionSets) {
    const std::vector<std::string> a = {"Mode 1: Normale Betriebsart", "Mode 2: Dumm-Mode",
                                        "Mode 3: Selbstabschaltungs-Mode"};
    std::vector<std::string> a4 = a;
    a4.push_back("Mode 4: Single Output-Mode");
    const std::map<ModeSet, std::vector<std::string>> sets = {
        {ModeSet::None, {}},
        {ModeSet::A, a},
        {ModeSet::A4, a4},
        {ModeSet::D, {"Mode 1: Normale Betriebsart", "Mode 2: mit Dunkeltastung"}},
        {ModeSet::St, {"Mode 1: Normale Betriebsart", "Mode 2: Steuerwagen"}},
        {ModeSet::Du, {"Mode 1: Normale Betriebsart", "Mode 2: Dumm-Mode"}},
        {ModeSet::St34, {"Mode 1: Normale Betriebsart", "Mode 2: Steuerwagen (Ausgang 3/4)"}},
        {ModeSet::Rot, {"Mode 1: ohne ROT", "Mode 2: mit ROT "}},
        {ModeSet::Land, {"Mode 1: Deutschland", "Mode 2: Österreich"}},
        {ModeSet::Gas,
         {"Mode 1: Normale Betriebsart", "Mode 2: kein Einschaltblitz",
          "Mode 3: keine Druckschwankungen", "Mode 4: kein Blitz, keine Schwankungen"}},
        {ModeSet::Neon,
         {"Mode 1: Normale Betriebsart Neon", "Mode 2: Steuerwagen Neon",
          "Mode 3: Normale Betriebsart ohne Neon", "Mode 4: Steuerwagen ohne Neon"}},
    };
    for (const auto& [set, captions] : sets) {
        EXPECT_EQ(ModeCaptions(set), captions) << static_cast<int>(set);
    }
}

TEST(ZusatzTypeTable, LockRuleComparesTheSinglePrecisionVersion) {
    EXPECT_FALSE(IsAboveV354(3.54f));
    EXPECT_FALSE(IsAboveV354(3.5f));
    EXPECT_TRUE(IsAboveV354(3.55f));
    EXPECT_TRUE(IsAboveV354(3.58f));
    // The versions as recognition reads them from the ID record.
    const struct {
        const char* id;
        bool lock_shown;
    } cases[] = {{"3354", false}, {"3355", true}, {"3358", true}, {"3340", false}};
    for (const auto& c : cases) {
        auto h = LoadFirmware(0xB, {}, c.id);
        EXPECT_EQ(SettingsOf(*h).view().bit7_visible, c.lock_shown) << c.id;
        EXPECT_TRUE(SettingsOf(*h).view().group_visible) << c.id;
    }
}

// What each firmware shows, one case per row of the type table that differs.
TEST(ZusatzTypeTable, ResolvedViews) {
    using X = ExtraControl;
    using R = RowKind;
    struct Case {
        uint32_t code;
        float version;
        std::vector<RowKind> rows;
        int rows_top;
        bool group;
        bool note;
        ModeSet modes;
        bool bit6, bit7;
        X extra;
    } cases[] = {
        {0x8, 3.58f, {R::T}, 20, false, false, ModeSet::None, false, false, X::None},
        {0x265, 3.58f, {R::T}, 20, false, false, ModeSet::None, false, false, X::WeicheAb},
        {0x30C,
         3.58f,
         {R::T},
         20,
         false,
         false,
         ModeSet::None,
         false,
         false,
         X::SwitchOffFunctions},
        {0xB, 3.58f, {R::S}, 20, true, true, ModeSet::A, false, true, X::None},
        {0xB, 3.54f, {R::S}, 20, true, true, ModeSet::A, false, false, X::None},
        {0x69, 3.60f, {R::S}, 20, true, true, ModeSet::A4, false, true, X::None},
        {0x3, 3.58f, {}, 20, true, true, ModeSet::D, false, true, X::None},
        {0xCF, 3.50f, {}, 20, true, true, ModeSet::D, false, false, X::None},
        {0xCB, 3.58f, {}, 20, true, true, ModeSet::Rot, false, true, X::None},
        {0x68, 3.58f, {}, 20, true, true, ModeSet::Du, false, true, X::None},
        {0x3E00, 3.58f, {}, 20, true, true, ModeSet::Du, false, false, X::None},
        {0x3D00, 3.58f, {}, 20, true, true, ModeSet::St, false, false, X::None},
        {0x13D00, 0.60f, {}, 20, true, true, ModeSet::St, true, true, X::None},
        {0x13E00, 0.60f, {}, 20, true, true, ModeSet::St34, true, true, X::None},
        {0x13F00, 0.60f, {}, 20, true, false, ModeSet::None, true, false, X::None},
        {0x66, 3.54f, {}, 20, false, false, ModeSet::None, false, false, X::None},
        {0x66, 3.55f, {}, 20, true, true, ModeSet::Gas, false, true, X::None},
        {0x167, 3.40f, {}, 20, false, false, ModeSet::None, false, false, X::FadingBar},
        {0x267, 3.58f, {R::G1, R::G2}, 120, true, true, ModeSet::Land, false, true, X::FadingBar},
        {0x267, 3.41f, {R::G1, R::G2}, 120, true, true, ModeSet::Land, false, false, X::FadingBar},
        {0x6F, 3.58f, {}, 20, false, false, ModeSet::None, false, false, X::RunningBar},
        {0x71, 3.58f, {R::H1, R::H2}, 20, false, false, ModeSet::None, false, false, X::None},
        {0x170, 3.38f, {}, 20, false, false, ModeSet::None, false, false, X::SpecialFunctions},
        {0x270, 3.48f, {}, 20, false, false, ModeSet::None, false, false, X::OutputFunctions},
        {0x1B4100, 0.44f, {R::TN}, 20, true, true, ModeSet::Neon, false, false, X::NeonBars},
        {0x2A4100, 0.60f, {R::TN}, 20, true, true, ModeSet::Neon, true, true, X::NeonBars},
        {0x4400, 3.58f, {}, 20, false, false, ModeSet::None, false, false, X::None},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.code << " V" << c.version);
        const ZusatzView v = ResolveZusatzView(c.code, c.version);
        ASSERT_EQ(v.rows.size(), c.rows.size());
        for (std::size_t i = 0; i < c.rows.size(); ++i) EXPECT_EQ(v.rows[i].kind, c.rows[i]);
        EXPECT_EQ(v.rows_top, c.rows_top);
        EXPECT_EQ(v.group_visible, c.group);
        EXPECT_EQ(v.mode_note_visible, c.note);
        EXPECT_EQ(v.radio_captions, ModeCaptions(c.modes));
        EXPECT_EQ(v.bit6_visible, c.bit6);
        EXPECT_EQ(v.bit7_visible, c.bit7);
        EXPECT_EQ(v.extra, c.extra);
    }
}

TEST(ZusatzTypeTable, OutputFunctionBoxesOf0x270) {
    const BoxGroupDef* g = FindBoxGroup(ExtraControl::OutputFunctions);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->cell, 0x20);
    EXPECT_EQ(g->heading, "Funktion der Ausgänge:");
    EXPECT_EQ(g->note, "Tipp: Im Duvra Dekoder sind Ausgang 1-4 nutzbar");
    EXPECT_FALSE(g->note_when_all_unchecked);
    const char* welder =
        "Wenn nicht aktiviert, dann ist dieser Ausgang ein normaler 'Neon' Effekt "
        "Ausgang";
    const char* defect =
        "Wenn nicht aktiviert, dann ist dieser Ausgang ein 'Neon' Effekt Ausgang, "
        "der auch als 'defekt' definiert werden kann";
    const struct {
        int top, box;
        const char* caption;
        int bit;
        const char* hint;
    } rows[] = {
        {40, 3, "Ausgang 1/2/3 = 'Schweißer'", 0x04, welder},
        {60, 4, "Ausgang 4 = 'Schweißer'", 0x08, defect},
        {80, 5, "Ausgang 5/6/7/8 = 'Schweißer'", 0x10, welder},
        {100, 7, "Ausgang 9 = 'Schweißer'", 0x40, defect},
        {120, 2, "Ausgang 10 = 'Schweißer'", 0x02, welder},
        {160, 8, "Ausgang 4 = 'Neon defekt'", 0x80,
         "keine Wirkung, wenn Ausgang 4 als 'Schweißer' definiert"},
        {180, 1, "Ausgang 9 = 'Neon defekt'", 0x01,
         "keine Wirkung, wenn Ausgang 9 als 'Schweißer' definiert"},
    };
    ASSERT_EQ(g->boxes.size(), 7u);
    for (std::size_t i = 0; i < 7; ++i) {
        EXPECT_EQ(g->boxes[i].top, rows[i].top);
        EXPECT_EQ(g->boxes[i].box, rows[i].box);
        EXPECT_EQ(g->boxes[i].caption, rows[i].caption);
        EXPECT_EQ(g->boxes[i].mask, rows[i].bit);
        EXPECT_EQ(g->boxes[i].hint, rows[i].hint);
    }
    EXPECT_EQ(g->note_top, 180 + 40);  // 40 below the last box
}

TEST(ZusatzTypeTable, SwitchOffAndSpecialFunctionBoxes) {
    const BoxGroupDef* off = FindBoxGroup(ExtraControl::SwitchOffFunctions);
    ASSERT_NE(off, nullptr);
    EXPECT_EQ(off->cell, 0x00);
    EXPECT_EQ(off->heading_label, HeadingLabel::Zusatz3);
    EXPECT_EQ(off->heading, "Abschaltfunktion: Ausgänge abschalten durch...");
    EXPECT_EQ(off->heading_top, 150);
    ASSERT_EQ(off->boxes.size(), 2u);
    EXPECT_EQ(off->boxes[0].caption, "OFF-Befehl der Zentrale");
    EXPECT_EQ(off->boxes[0].hint, "gesendet durch die Zentrale");
    EXPECT_EQ(off->boxes[1].caption, "Time-Out des Dekoders");
    EXPECT_EQ(off->boxes[1].hint,
              "Sicherheitsfunktion, wenn OFF-Befehl der Zentrale nicht empfangen wird");
    EXPECT_EQ(off->boxes[0].top, 170);
    EXPECT_EQ(off->boxes[1].top, 190);
    EXPECT_EQ(off->note, "Achtung: Durchbrenn-Gefahr für Weichen-Antriebe!");
    EXPECT_EQ(off->note_top, 230);
    EXPECT_TRUE(off->note_when_all_unchecked);

    const BoxGroupDef* special = FindBoxGroup(ExtraControl::SpecialFunctions);
    ASSERT_NE(special, nullptr);
    EXPECT_EQ(special->cell, 0x20);
    EXPECT_EQ(special->heading, "Spezial-Funktion Ausgang 9 / 10:");
    ASSERT_EQ(special->boxes.size(), 2u);
    EXPECT_EQ(special->boxes[0].box, 1);
    EXPECT_EQ(special->boxes[0].mask, 0x01);
    EXPECT_EQ(special->boxes[1].box, 2);
    EXPECT_EQ(special->boxes[1].mask, 0x02);
    // Under the heading "Spezial-Funktion Ausgang 9 / 10:" each box names its output.
    EXPECT_EQ(special->boxes[0].caption, "Ausgang 9");
    EXPECT_EQ(special->boxes[1].caption, "Ausgang 10");

    EXPECT_EQ(FindBoxGroup(ExtraControl::FadingBar), nullptr);
    EXPECT_EQ(FindBoxGroup(ExtraControl::None), nullptr);
}

TEST(ZusatzTypeTable, TrackBars) {
    const TrackBarDef* fading = FindTrackBar(ExtraControl::FadingBar);
    ASSERT_NE(fading, nullptr);
    EXPECT_EQ(fading->cell, 0x20);
    EXPECT_EQ(fading->minimum, 0);
    EXPECT_EQ(fading->maximum, 5);
    EXPECT_EQ(fading->caption, "Geschwindigkeit Überblendung (Fading)");
    EXPECT_EQ(fading->left_caption, "schnell");
    EXPECT_EQ(fading->right_caption, "langsam");
    EXPECT_EQ(fading->caption_left, 16);
    EXPECT_EQ(fading->caption_top, 50);
    EXPECT_EQ(fading->bar_top, 70);
    const TrackBarDef* running = FindTrackBar(ExtraControl::RunningBar);
    ASSERT_NE(running, nullptr);
    EXPECT_EQ(running->minimum, 1);
    EXPECT_EQ(running->maximum, 255);
    EXPECT_EQ(running->tick, 5);
    EXPECT_EQ(running->hint, "");
    EXPECT_EQ(FadingTexts(), (std::vector<std::string>{"FF", "66", "33", "22", "12", "11"}));
    EXPECT_EQ(NeonBar(0).cell, 0x40);
    EXPECT_EQ(NeonBar(0).top, 170);
    EXPECT_EQ(NeonBar(1).cell, 0x41);
    EXPECT_EQ(NeonBar(1).top, 210);
    EXPECT_EQ(NeonBar(1).left, 120);
    EXPECT_EQ(NeonBar(1).width, 180);
}

// ---- loading ----

TEST(ZusatzSettings, LoadingWritesNothingExceptAnUnknownFadingSpeed) {
    for (const ZusatzType& t : ZusatzTypeTable()) {
        SCOPED_TRACE(testing::Message() << std::hex << t.type_code);
        FirmwareImage image;
        image.Reset();
        image.eeprom_cells[0x00] = "37";
        image.eeprom_cells[0x20] = "44";  // no fading speed
        image.eeprom_cells[0x2F] = "05";
        image.eeprom_cells[0x40] = "03";
        image.eeprom_cells[0x60] = "0A";
        const auto before = image.eeprom_cells;
        ZusatzSettings s(image, t.type_code, 3.58f);
        const bool fading = s.view().extra == ExtraControl::FadingBar;
        EXPECT_EQ(s.NormaliseOnLoad(), fading);
        for (int r = 0; r < static_cast<int>(s.view().rows.size()); ++r) {
            s.RowValue(r);
            s.RowSecondsText(r, ",");
        }
        s.CheckedMode();
        s.WeicheAbChecked();
        if (s.box_group()) {
            for (std::size_t b = 0; b < s.box_group()->boxes.size(); ++b) s.BoxChecked(b);
        }
        s.NoteVisible();
        s.FadingPosition();
        s.RunningCaption();
        s.NeonLevel(0);
        s.NeonLevel(1);
        auto expected = before;
        if (fading) expected[0x20] = "11";
        EXPECT_EQ(image.eeprom_cells, expected);
    }
}

TEST(ZusatzSettings, RowValuesAndSecondsLabels) {
    struct Case {
        uint32_t code;
        std::map<int, uint8_t> cells;
        std::vector<int> values;
        std::vector<std::string> seconds;  // with a decimal comma
    } cases[] = {
        {0x8, {{0x20, 7}}, {7}, {"(3,5 sec.)"}},
        {0xB, {{0x20, 0xFF}}, {255}, {"(127,5 sec.)"}},
        {0x267, {{0x60, 3}, {0x70, 255}, {0x20, 0x33}}, {3, 255}, {"(0,6 sec.)", "(51,0 sec.)"}},
        {0x71, {{0x20, 100}, {0x2F, 4}}, {100, 4}, {"", ""}},
        {0x1A4100, {{0x20, 200}}, {200}, {"(100,0 sec.)"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.code);
        auto h = LoadFirmware(c.code, c.cells);
        ZusatzSettings s = SettingsOf(*h);
        ASSERT_EQ(s.view().rows.size(), c.values.size());
        for (std::size_t r = 0; r < c.values.size(); ++r) {
            EXPECT_EQ(s.RowValue(static_cast<int>(r)), c.values[r]);
            EXPECT_EQ(s.RowSecondsText(static_cast<int>(r), ","), c.seconds[r]);
        }
    }
}

TEST(ZusatzSettings, SecondsTextFormat) {
    EXPECT_EQ(SecondsText(0.5f, 7, "."), "(3.5 sec.)");
    EXPECT_EQ(SecondsText(0.5f, 7, ","), "(3,5 sec.)");
    EXPECT_EQ(SecondsText(0.5f, 1, "."), "(0.5 sec.)");
    EXPECT_EQ(SecondsText(0.5f, 0, "."), "(0.0 sec.)");
    EXPECT_EQ(SecondsText(0.2f, 1, "."), "(0.2 sec.)");
    EXPECT_EQ(SecondsText(0.2f, 7, ","), "(1,4 sec.)");
    EXPECT_EQ(SecondsText(0.2f, 255, "."), "(51.0 sec.)");
}

TEST(ZusatzSettings, ModeCellReading) {
    struct Case {
        int cell;
        std::optional<int> mode;
        bool bit6, bit7;
    } cases[] = {
        {0x01, 0, false, false},
        {0x04, 2, false, false},
        {0x20, 5, false, false},
        {0xC2, 1, true, true},
        {0x06, 1, false, false},
        {0xC0, std::nullopt, true, true},
        {0x00, std::nullopt, false, false},
        {0x48, 3, true, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CheckedMode(c.cell), c.mode) << c.cell;
        auto h = LoadFirmware(0x13D00, {{0x00, static_cast<uint8_t>(c.cell)}});
        ZusatzSettings s = SettingsOf(*h);
        EXPECT_EQ(s.CheckedMode(), c.mode) << c.cell;
        EXPECT_EQ(s.Bit6Checked(), c.bit6) << c.cell;
        EXPECT_EQ(s.Bit7Checked(), c.bit7) << c.cell;
    }
}

TEST(ZusatzSettings, WeicheAbIsCheckedOnlyForAB) {
    const struct {
        uint8_t cell;
        bool checked;
    } cases[] = {{0xAB, true}, {0x01, false}, {0xBA, false}, {0xAA, false}};
    for (const auto& c : cases) {
        auto h = LoadFirmware(0x208, {{0x00, c.cell}});
        EXPECT_EQ(SettingsOf(*h).WeicheAbChecked(), c.checked) << int(c.cell);
    }
}

TEST(ZusatzSettings, SwitchOffFunctionsRead) {
    // High nibble: "OFF-Befehl der Zentrale", low nibble: "Time-Out des Dekoders".
    const struct {
        uint8_t cell;
        bool off_command, time_out, warning;
    } cases[] = {
        {0x00, true, true, false},  {0xA0, false, true, false}, {0x0A, true, false, false},
        {0xAA, false, false, true}, {0xAB, false, true, false}, {0x01, true, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.cell));
        auto h = LoadFirmware(0x30A, {{0x00, c.cell}});
        ZusatzSettings s = SettingsOf(*h);
        EXPECT_EQ(s.BoxChecked(0), c.off_command);
        EXPECT_EQ(s.BoxChecked(1), c.time_out);
        EXPECT_EQ(s.NoteVisible(), c.warning);
    }
}

TEST(ZusatzSettings, FadingPositionsAndNormalisation) {
    const struct {
        const char* text;
        std::optional<int> position;
    } texts[] = {{"FF", 0},           {"ff", 0}, {"66", 1}, {"33", 2},
                 {"22", 3},           {"12", 4}, {"11", 5}, {"44", std::nullopt},
                 {"00", std::nullopt}};
    for (const auto& t : texts) EXPECT_EQ(FadingPositionOf(t.text), t.position) << t.text;

    const struct {
        uint32_t code;
        uint8_t cell;
        int position;
        const char* after;
    } cases[] = {{0x167, 0xFF, 0, "FF"},
                 {0x267, 0x22, 3, "22"},
                 {0x167, 0x44, 5, "11"},
                 {0x267, 0x00, 5, "11"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.cell));
        auto h = LoadFirmware(c.code, {{0x20, c.cell}});
        ZusatzSettings s = SettingsOf(*h);
        s.NormaliseOnLoad();
        EXPECT_EQ(s.FadingPosition(), c.position);
        EXPECT_EQ(Cell(*h, 0x20), c.after);
    }
}

TEST(ZusatzSettings, RunningSpeedNeonLevelsAndOutputBits) {
    auto kirmes = LoadFirmware(0x6F, {{0x20, 100}});
    EXPECT_EQ(SettingsOf(*kirmes).RunningSpeed(), 100);
    EXPECT_EQ(SettingsOf(*kirmes).RunningCaption(), "Geschwindigkeit: 100");

    auto neon = LoadFirmware(0x2B4100, {{0x40, 3}, {0x41, 12}});
    EXPECT_EQ(SettingsOf(*neon).NeonLevel(0), 3);
    EXPECT_EQ(SettingsOf(*neon).NeonLevel(1), 12);

    auto special = LoadFirmware(0x170, {{0x20, 0x02}});
    EXPECT_FALSE(SettingsOf(*special).BoxChecked(0));
    EXPECT_TRUE(SettingsOf(*special).BoxChecked(1));

    // 0x85: bits 0x80, 0x04, 0x01 - boxes in the order 3, 4, 5, 7, 2, 8, 1.
    auto outputs = LoadFirmware(0x270, {{0x20, 0x85}});
    ZusatzSettings s = SettingsOf(*outputs);
    const bool expected[] = {true, false, false, false, false, true, true};
    for (std::size_t i = 0; i < 7; ++i) EXPECT_EQ(s.BoxChecked(i), expected[i]) << i;
    EXPECT_TRUE(s.NoteVisible());
}

// ---- clicks ----

TEST(ZusatzSettings, ModeClicks) {
    struct Case {
        uint32_t code;
        float version;
        uint8_t cell;
        std::optional<int> radio;  // nothing: a click on an option box
        bool bit6, bit7;           // box states at the click
        const char* after;
    } cases[] = {
        // No option boxes: a radio click drops bits 6 and 7.
        {0x3E00, 3.58f, 0xC1, 1, true, true, "02"},
        // Lock box only (V3.58): bit 6 is not restored, bit 7 from its box.
        {0xB, 3.58f, 0xC1, 2, true, true, "84"},
        {0xB, 3.58f, 0xC1, 2, false, false, "04"},
        // V3.54: no lock box, so bit 7 goes too.
        {0xB, 3.54f, 0x81, 0, false, true, "01"},
        // Both boxes.
        {0x13D00, 0.60f, 0x01, 1, true, false, "42"},
        {0x13D00, 0.60f, 0x42, std::nullopt, true, true, "C2"},
        {0x13D00, 0.60f, 0xC2, std::nullopt, false, false, "02"},
        // No mode bit set: the radio writes a pure mode plus the visible option bits.
        {0x13D00, 0.60f, 0xC0, 0, false, true, "81"},
        // Start-dark box only: bit 7 stays as it was.
        {0x13F00, 0.60f, 0x81, std::nullopt, true, false, "C1"},
        {0x13F00, 0.60f, 0xC1, std::nullopt, false, false, "81"},
        // Radio beyond the shown set, or a type without a mode group: nothing written.
        {0x3, 3.58f, 0x01, 2, false, false, "01"},
        {0x8, 3.58f, 0x01, 1, false, false, "01"},
        {0x66, 3.54f, 0x01, 1, false, false, "01"},
        {0x66, 3.55f, 0x01, 3, false, true, "88"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.code << " cell " << int(c.cell));
        FirmwareImage image;
        image.Reset();
        image.eeprom_cells[0] = hex_byte_names()[c.cell];
        ZusatzSettings s(image, c.code, c.version);
        if (c.radio)
            s.ClickModeRadio(*c.radio, c.bit6, c.bit7);
        else
            s.ClickModeBox(c.bit6, c.bit7);
        EXPECT_EQ(image.eeprom_cells[0], c.after);
    }
}

TEST(ZusatzSettings, WeicheAbClick) {
    auto h = LoadFirmware(0x20A, {{0x00, 0x01}});
    SettingsOf(*h).ClickWeicheAb(true);
    EXPECT_EQ(Cell(*h, 0x00), "AB");
    EXPECT_TRUE(SettingsOf(*h).WeicheAbChecked());
    SettingsOf(*h).ClickWeicheAb(false);
    EXPECT_EQ(Cell(*h, 0x00), "01");
    // A firmware without the box never gets "AB" into its mode cell.
    auto plain = LoadFirmware(0xA, {{0x00, 0x01}});
    SettingsOf(*plain).ClickWeicheAb(true);
    EXPECT_EQ(Cell(*plain, 0x00), "01");
}

TEST(ZusatzSettings, SwitchOffClicksWriteTheNibblesTheyAreReadFrom) {
    struct Case {
        uint8_t cell;
        bool off_command, time_out;
        const char* after;
    } cases[] = {
        {0x00, true, false, "0A"},
        {0x00, false, true, "A0"},
        {0x00, false, false, "AA"},
        {0xAA, true, true, "00"},
        {0xAB, true, true, "00"},
        // 0x1 | 0xA would be 0xB, which reads as enabled: the nibble becomes exactly 0xA.
        {0x01, true, false, "0A"},
        {0x55, false, false, "AA"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.cell));
        auto h = LoadFirmware(0x365, {{0x00, c.cell}});
        SettingsOf(*h).ClickBoxes({c.off_command, c.time_out});
        EXPECT_EQ(Cell(*h, 0x00), c.after);
        ZusatzSettings again = SettingsOf(*h);  // what the refreshed frame shows
        EXPECT_EQ(again.BoxChecked(0), c.off_command);
        EXPECT_EQ(again.BoxChecked(1), c.time_out);
        EXPECT_EQ(again.NoteVisible(), !c.off_command && !c.time_out);
    }
}

TEST(ZusatzSettings, SpecialFunctionClicksTouchOnlyBits0And1) {
    auto h = LoadFirmware(0x170, {{0x20, 0xF0}});
    SettingsOf(*h).ClickBoxes({true, false});
    EXPECT_EQ(Cell(*h, 0x20), "F1");
    SettingsOf(*h).ClickBoxes({false, true});
    EXPECT_EQ(Cell(*h, 0x20), "F2");
    SettingsOf(*h).ClickBoxes({true});  // wrong count: nothing
    EXPECT_EQ(Cell(*h, 0x20), "F2");
}

TEST(ZusatzSettings, OutputFunctionClicksLeaveBit5Alone) {
    struct Case {
        uint8_t cell;
        std::vector<bool> boxes;  // order 3, 4, 5, 7, 2, 8, 1
        const char* after;
    } cases[] = {
        {0x20, {true, true, true, true, true, true, true}, "FF"},
        {0x00, {true, true, true, true, true, true, true}, "DF"},
        {0xFF, {false, false, false, false, false, false, false}, "20"},
        {0xDF, {false, false, false, false, false, false, false}, "00"},
        {0x20, {true, false, false, false, false, false, true}, "25"},
        {0x00, {false, true, false, true, true, true, false}, "CA"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.cell));
        auto h = LoadFirmware(0x270, {{0x20, c.cell}});
        SettingsOf(*h).ClickBoxes(c.boxes);
        EXPECT_EQ(Cell(*h, 0x20), c.after);
    }
}

TEST(ZusatzSettings, TrackBarMoves) {
    auto fading = LoadFirmware(0x267, {{0x20, 0x11}});
    const char* texts[] = {"FF", "66", "33", "22", "12", "11"};
    for (int p = 0; p < 6; ++p) {
        EXPECT_TRUE(SettingsOf(*fading).MoveTrackBar(p));
        EXPECT_EQ(Cell(*fading, 0x20), texts[p]);
        EXPECT_EQ(SettingsOf(*fading).FadingPosition(), p);
    }
    EXPECT_FALSE(SettingsOf(*fading).MoveTrackBar(6));
    EXPECT_EQ(Cell(*fading, 0x20), "11");

    auto kirmes = LoadFirmware(0x6F, {{0x20, 0x10}});
    EXPECT_TRUE(SettingsOf(*kirmes).MoveTrackBar(200));
    EXPECT_EQ(Cell(*kirmes, 0x20), "C8");
    EXPECT_EQ(SettingsOf(*kirmes).RunningCaption(), "Geschwindigkeit: 200");
    EXPECT_FALSE(SettingsOf(*kirmes).MoveTrackBar(0));
    EXPECT_FALSE(SettingsOf(*kirmes).MoveTrackBar(256));
    EXPECT_EQ(Cell(*kirmes, 0x20), "C8");

    auto neon = LoadFirmware(0x1A4100, {{0x40, 3}, {0x41, 12}});
    EXPECT_TRUE(SettingsOf(*neon).MoveNeonBar(0, 7));
    EXPECT_TRUE(SettingsOf(*neon).MoveNeonBar(1, 15));
    EXPECT_EQ(Cell(*neon, 0x40), "07");
    EXPECT_EQ(Cell(*neon, 0x41), "0F");
    EXPECT_FALSE(SettingsOf(*neon).MoveNeonBar(1, 16));
    EXPECT_EQ(Cell(*neon, 0x41), "0F");

    // Bars a firmware does not show write nothing.
    auto turnout = LoadFirmware(0x8, {{0x20, 0x10}});
    EXPECT_FALSE(SettingsOf(*turnout).MoveTrackBar(3));
    EXPECT_FALSE(SettingsOf(*turnout).MoveNeonBar(0, 3));
    EXPECT_EQ(Cell(*turnout, 0x20), "10");
}

// ---- row edits ----

TEST(ZusatzSettings, RowEdits) {
    struct Case {
        uint32_t code;
        int row;
        const char* text;
        Verdict verdict;
        std::string message;  // empty: none
        bool refocus;
        int cell;
        const char* after;
    } cases[] = {
        {0x8, 0, "127", Verdict::Accepted, "", false, 0x20, "7F"},
        {0x8, 0, "07", Verdict::Accepted, "", false, 0x20, "07"},
        {0x8, 0, " 9 ", Verdict::Accepted, "", false, 0x20, "09"},
        {0x8, 0, "128", Verdict::Rejected, std::string(kRangeText) + "1..127", false, 0x20, "0C"},
        {0x8, 0, "0", Verdict::Rejected, std::string(kRangeText) + "1..127", false, 0x20, "0C"},
        {0x8, 0, "-5", Verdict::Rejected, std::string(kRangeText) + "1..127", false, 0x20, "0C"},
        {0x8, 0, "99999999999999999999", Verdict::Rejected, std::string(kRangeText) + "1..127",
         false, 0x20, "0C"},
        {0x8, 0, "12a", Verdict::Rejected, kNotANumberText, true, 0x20, "0C"},
        {0x8, 0, "3,5", Verdict::Rejected, kNotANumberText, true, 0x20, "0C"},
        {0x8, 0, "", Verdict::Empty, "", false, 0x20, "0C"},
        {0x8, 0, "  ", Verdict::Empty, "", false, 0x20, "0C"},
        {0x1A4100, 0, "255", Verdict::Accepted, "", false, 0x20, "FF"},
        {0x2A4100, 0, "256", Verdict::Rejected, std::string(kRangeText) + "1..255", false, 0x20,
         "0C"},
        {0x6A, 0, "200", Verdict::Accepted, "", false, 0x20, "C8"},
        {0x267, 0, "50", Verdict::Accepted, "", false, 0x60, "32"},
        {0x267, 1, "51", Verdict::Accepted, "", false, 0x70, "33"},
        {0x71, 0, "1", Verdict::Accepted, "", false, 0x20, "01"},
        {0x71, 1, "9", Verdict::Accepted, "", false, 0x2F, "09"},
        {0x71, 1, "10", Verdict::Rejected, std::string(kRangeText) + "1..9", false, 0x2F, "0C"},
        // A row the firmware does not have: nothing.
        {0x8, 1, "5", Verdict::Empty, "", false, 0x20, "0C"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.code << " '" << c.text << "'");
        auto h = LoadFirmware(c.code, {{0x20, 0x0C}, {0x2F, 0x0C}, {0x60, 0x0C}, {0x70, 0x0C}});
        const auto before = h->session.image().eeprom_cells;
        const NumberInput input = SettingsOf(*h).EditRow(c.row, c.text);
        EXPECT_EQ(input.verdict, c.verdict);
        if (c.message.empty()) {
            EXPECT_FALSE(input.message.has_value());
        } else {
            ASSERT_TRUE(input.message.has_value());
            EXPECT_EQ(input.message->text, c.message);
            EXPECT_EQ(input.message->icon, Icon::Warning);
            EXPECT_EQ(input.message->buttons, Buttons::Cancel);
        }
        EXPECT_EQ(input.refocus, c.refocus);
        auto expected = before;
        expected[c.cell] = c.after;
        EXPECT_EQ(h->session.image().eeprom_cells, expected);
    }
}

TEST(ZusatzSettings, AcceptedEditRefreshesValueAndSecondsLabel) {
    auto h = LoadFirmware(0x8, {{0x20, 0x0C}});
    EXPECT_TRUE(SettingsOf(*h).EditRow(0, "07").accepted());
    ZusatzSettings refreshed = SettingsOf(*h);
    EXPECT_EQ(std::to_string(refreshed.RowValue(0)), "7");
    EXPECT_EQ(refreshed.RowSecondsText(0, "."), "(3.5 sec.)");
}

// ---- saving carries the change ----

TEST(ZusatzSettings, SavedFileCarriesTheChange) {
    struct Case {
        const char* what;
        uint32_t code;
        std::map<int, uint8_t> cells;
        void (*change)(ZusatzSettings&);
        int cell;
        const char* after;
    } cases[] = {
        {"time-out",
         0x8,
         {{0x20, 0x0C}},
         [](ZusatzSettings& s) { s.EditRow(0, "100"); },
         0x20,
         "64"},
        {"green phase",
         0x267,
         {{0x20, 0x11}, {0x70, 0x0C}},
         [](ZusatzSettings& s) { s.EditRow(1, "25"); },
         0x70,
         "19"},
        {"mode",
         0x13E00,
         {{0x00, 0x01}},
         [](ZusatzSettings& s) { s.ClickModeRadio(1, true, true); },
         0x00,
         "C2"},
        {"weiche ab",
         0x265,
         {{0x00, 0x01}},
         [](ZusatzSettings& s) { s.ClickWeicheAb(true); },
         0x00,
         "AB"},
        {"switch-off",
         0x308,
         {{0x00, 0x00}},
         [](ZusatzSettings& s) {
             s.ClickBoxes({false, true});
         },
         0x00,
         "A0"},
        {"fading normalised",
         0x167,
         {{0x20, 0x44}},
         [](ZusatzSettings& s) { s.NormaliseOnLoad(); },
         0x20,
         "11"},
        {"fading", 0x167, {{0x20, 0x11}}, [](ZusatzSettings& s) { s.MoveTrackBar(1); }, 0x20, "66"},
        {"running",
         0x6F,
         {{0x20, 0x11}},
         [](ZusatzSettings& s) { s.MoveTrackBar(42); },
         0x20,
         "2A"},
        {"neon",
         0x2A4100,
         {{0x41, 0x05}},
         [](ZusatzSettings& s) { s.MoveNeonBar(1, 9); },
         0x41,
         "09"},
        {"outputs",
         0x270,
         {{0x20, 0x20}},
         [](ZusatzSettings& s) {
             s.ClickBoxes({true, false, false, false, false, false, true});
         },
         0x20,
         "25"},
        {"special",
         0x170,
         {{0x20, 0x00}},
         [](ZusatzSettings& s) {
             s.ClickBoxes({false, true});
         },
         0x20,
         "02"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto h = LoadFirmware(c.code, c.cells);
        ZusatzSettings s = SettingsOf(*h);
        c.change(s);
        ASSERT_EQ(Cell(*h, c.cell), c.after);
        auto saved = SaveAndReload(*h);
        EXPECT_EQ(saved->session.type_code(), c.code);
        EXPECT_EQ(Cell(*saved, c.cell), c.after);
        EXPECT_EQ(saved->session.image().eeprom_cells, h->session.image().eeprom_cells);
    }
}

TEST(ZusatzSettings, ChangeBeyondTheLastEepromRecordIsSaved) {
    // The file's EEPROM records stop at cell 0x3F; the green phase cell 0x70 lies beyond.
    auto h = std::make_unique<test::Harness>();
    FixtureImage f = test::Firmware(0x267, P::Motorola);
    f.eeprom_last = 0x3F;
    f.eeprom[0x20] = 0x11;
    ASSERT_TRUE(h->Load(f));
    ASSERT_EQ(h->session.image().eeprom_last, 0x3F);
    ASSERT_TRUE(SettingsOf(*h).EditRow(1, "30").accepted());
    auto saved = SaveAndReload(*h);
    EXPECT_EQ(Cell(*saved, 0x70), "1E");
    EXPECT_EQ(Cell(*saved, 0x6F), "FF");  // the cells between are written erased
}

// ---- layout ----

TEST(ZusatzLayout, RowsAre25ApartWithCaptionAndSecondsLabel3Lower) {
    const auto rows = PlaceRows(120, 2);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].edit_top, 120);
    EXPECT_EQ(rows[0].caption_top, 123);
    EXPECT_EQ(rows[0].seconds_top, 123);
    EXPECT_EQ(rows[1].edit_top, 145);
    EXPECT_EQ(rows[1].caption_top, 148);
    EXPECT_TRUE(PlaceRows(20, 0).empty());
    const RowLefts lefts = PlaceRowColumns(150);
    EXPECT_EQ(lefts.caption, 10);
    EXPECT_EQ(lefts.edit, 170);
    EXPECT_EQ(lefts.seconds, 170 + 40 + 10);
}

TEST(ZusatzLayout, ModeGroupSitsAtTheBottomOfThePanel) {
    ModeGroupHeights all;
    all.note_visible = true;
    all.note = 39;
    all.bit7_visible = true;
    all.bit7 = 17;
    all.radios = {17, 17};
    all.bit6_visible = true;
    all.bit6 = 17;
    const ModeGroupPlacement p = PlaceModeGroup(all, 485);
    EXPECT_EQ(p.note_top, 20);
    EXPECT_EQ(p.bit7_top, 69);                             // 20 + 39 + 10
    EXPECT_EQ(p.radio_tops, (std::vector<int>{96, 113}));  // 69 + 17 + 10
    EXPECT_EQ(p.bit6_top, 140);                            // 130 + 10
    EXPECT_EQ(p.height, 167);                              // 157 + 10
    EXPECT_EQ(p.top, 485 - 167 - 10);

    // 0x13F00: only the start-dark box.
    ModeGroupHeights dark;
    dark.bit6_visible = true;
    dark.bit6 = 17;
    const ModeGroupPlacement d = PlaceModeGroup(dark, 485);
    EXPECT_EQ(d.bit6_top, 30);
    EXPECT_EQ(d.height, 57);
    EXPECT_EQ(d.top, 418);
}

}  // namespace
}  // namespace parvel
