#include <gtest/gtest.h>

#include "catalogue/Catalogue.h"
#include "tests/Harness.h"

namespace parvel {
namespace {

using test::FixtureImage;
using P = FixtureImage::Protocol;

TEST(Catalogue, HoldsEightyDistinctEntries) {
    const auto& cat = Catalogue();
    ASSERT_EQ(cat.size(), 80u);
    for (const auto& t : cat) EXPECT_EQ(FindDecoderType(t.type_code), &t) << t.name;
    // same name and labels, distinct entries
    ASSERT_NE(FindDecoderType(0x1A4100), nullptr);
    EXPECT_EQ(FindDecoderType(0x1A4100)->name, FindDecoderType(0x1B4100)->name);
    EXPECT_EQ(FindDecoderType(0x2A4100)->labels, FindDecoderType(0x2B4100)->labels);
    EXPECT_EQ(FindDecoderType(0x123456), nullptr);
}

TEST(Catalogue, EntriesCarryTheirLabelsLayoutAndFrame) {
    struct Case {
        uint32_t code;
        const char* name;
        DecoderKind kind;
        int frame;
        int split, gap;
        int first_row, last_row;
        const char* first_label;
        const char* last_label;
    } cases[] = {
        {0x30FF, "Drehscheibe 48 Position", DecoderKind::Accessory, kFrameNone, 15, 0, 4, 31, "Licht", "Position24"},
        {0x17E800, "Drehscheibe 24 Position", DecoderKind::Accessory, kFrameNone, 7, 0, 4, 19, "Licht", "Position12"},
        {0x8, "Klemmo", DecoderKind::Accessory, kFrameZusatz, kOneColumn, 0, 1, 2, "Weiche", "Licht"},
        {0x69, "Relaisdekoder 8", DecoderKind::Accessory, kFrameZusatz, kOneColumn, 8, 1, 9, "Ausgang / Out 1", "All"},
        {0x4000, "Duvra - F-Dekoder Neon ab V0.37", DecoderKind::None, kFrameNone, kOneColumn, 0, 1, 2, "Ein", "Hell-Dunkel"},
        {0xD3, "Torv-4 Servo-Dekoder", DecoderKind::Accessory, kFrameTorv, 4, 0, 1, 8, "Adresse 01", "Adresse 08"},
        {0x4200, "Torvik Servo-Dekoder (F-Dekoder)", DecoderKind::Function, kFrameTorv, 4, 0, 1, 2, "Adresse 01", "Adresse 02"},
        {0x1, "Duvra - Blinkmuster", DecoderKind::Accessory, kFrameBlinkmuster, kOneColumn, 0, 1, 4, "Muster 1", "Muster 4"},
        {0xDD, "LED - Blinkmuster", DecoderKind::Accessory, kFrameBlinkmusterLed, kOneColumn, 0, 1, 4, "Muster 1", "Muster 4"},
        {0xE9, "Lucor - Signal 022 - Belgien", DecoderKind::Accessory, kFrameNone, kOneColumn, 8, 1, 16, " ", " "},
        {0xCB, "Lucor - Signal 003 - ÖBB", DecoderKind::Accessory, kFrameZusatz, kOneColumn, 7, 1, 14, "Signal 1: Halt", "Signal 2: Ersatz-Signal"},
        {0x13E00, "Lucor - F-Dekoder Schalten ab V0.60", DecoderKind::Function, kFrameZusatz, kOneColumn, 0, 1, 10, "Ausgang / Out 1", "Ausgang / Out 10"},
    };
    for (const auto& c : cases) {
        const DecoderType* t = FindDecoderType(c.code);
        ASSERT_NE(t, nullptr) << c.name;
        EXPECT_EQ(t->name, c.name);
        EXPECT_EQ(t->kind, c.kind) << c.name;
        EXPECT_EQ(t->frame, c.frame) << c.name;
        EXPECT_EQ(t->split, c.split) << c.name;
        EXPECT_EQ(t->gap, c.gap) << c.name;
        EXPECT_EQ(t->labels[c.first_row], c.first_label) << c.name;
        EXPECT_EQ(t->labels[c.last_row], c.last_label) << c.name;
        EXPECT_EQ(t->labels[c.first_row - 1], "") << c.name;
        EXPECT_EQ(t->labels[c.last_row + 1], "") << c.name;
        EXPECT_EQ(t->labels[0], "");
    }
    for (const auto& t : Catalogue()) {
        if (t.type_code == 0x4400) {
            for (const auto& l : t.labels) EXPECT_EQ(l, "");
            EXPECT_EQ(t.frame, kFrameRegister);
        }
    }
}

// The turntable firmwares start without movlw words; cell 274 (byte 2 x 137) marks them.
TEST(Recognition, TypeCodeFromMovlwWordsOrTheTurntableMarker) {
    struct Case {
        std::map<int, uint16_t> words;
        uint32_t expected;
    } cases[] = {
        {{{0, 0x3008}, {1, 0x3000}, {2, 0x3000}}, 0x8},
        {{{0, 0x3000}, {1, 0x30E8}, {2, 0x3017}}, 0x17E800},
        {{{0, 0x2808}, {1, 0x3000}, {2, 0x3000}}, 0x0},  // word 0 is no movlw
        {{{0, 0x2808}, {1, 0x3002}, {2, 0x3000}}, 0x200},
        {{{0, 0x0000}, {1, 0x0000}, {2, 0x0000}, {137, 0x3F2F}}, 0x30FF},
        {{{0, 0x0000}, {1, 0x0000}, {2, 0x0000}, {137, 0x3F17}}, 0x17E800},
        {{{0, 0x0000}, {1, 0x0000}, {2, 0x0000}, {137, 0x2F28}}, 0x0},
        {{{0, 0x3000}, {1, 0x3000}, {2, 0x3000}, {137, 0x3F2F}}, 0x30FF},
    };
    for (const auto& c : cases) {
        test::Harness h;
        FixtureImage f = test::Firmware(0, P::Motorola);
        f.words = c.words;
        f.rom_last_word = 0x8F;
        h.Load(f);
        EXPECT_EQ(h.session.type_code(), c.expected);
    }
}

TEST(Recognition, ProtocolFromSignatureWords) {
    struct Case {
        P protocol;
        std::map<int, uint16_t> words;
        const char* panel;
    } cases[] = {
        {P::Motorola, {}, "Mot"},
        {P::Dcc, {}, "DCC"},
        {P::MotorolaAt35, {}, "Mot"},
        {P::DccAt35, {}, "DCC"},
        {P::None, {{8, 0x1C0C}, {35, 0x1234}}, "ohne"},
        {P::None, {}, "ohne"},
    };
    for (const auto& c : cases) {
        test::Harness h;
        FixtureImage f = test::Firmware(0x8, c.protocol);
        for (const auto& [w, v] : c.words) f.words[w] = v;
        ASSERT_TRUE(h.Load(f));
        EXPECT_EQ(h.view.status[2], c.panel);
        const bool none = std::string(c.panel) == "ohne";
        EXPECT_EQ(h.view.rows[1].visible, !none);
    }
}

TEST(Recognition, IdAndVersionInSinglePrecision) {
    test::Harness h;
    ASSERT_TRUE(h.Load(test::Firmware(0x308, P::Motorola, "3358")));
    EXPECT_EQ(h.view.status[0], "ID: 3");
    EXPECT_EQ(h.view.status[1], "V 3.58");
    EXPECT_EQ(h.session.version(), 3.58f);

    test::Harness k;
    ASSERT_TRUE(k.Load(test::Firmware(0x8, P::Motorola, "3354")));
    EXPECT_EQ(k.session.version(), static_cast<float>(static_cast<float>(3 + 5 * 0.1) + 4 * 0.01));
    EXPECT_LT(static_cast<double>(k.session.version()), 3.54);  // nearest float is just below

    test::Harness x;  // a letter digit counts with its hex value
    ASSERT_TRUE(x.Load(test::Firmware(0x8, P::Motorola, "33A0")));
    EXPECT_EQ(x.view.status[1], "V 3.A0");
    EXPECT_FLOAT_EQ(x.session.version(), 4.0f);
}

TEST(Recognition, MissingIdStopsBeforeTheRows) {
    test::Harness h;
    FixtureImage f = test::Firmware(0x8, P::Motorola);
    f.id.reset();
    test::SetRow(f, 1, 0x03, 0x00, 0xC3);
    EXPECT_FALSE(h.Load(f));
    ASSERT_EQ(h.dialogs.messages.size(), 1u);
    EXPECT_EQ(h.dialogs.messages[0].text, "In dem HEX-File wurde kein Wert für ID gefunden.");
    EXPECT_EQ(h.dialogs.messages[0].buttons, Buttons::CancelIgnore);
    EXPECT_EQ(h.session.row(1).address_text, "");  // nothing read: the row shows no value
    EXPECT_FALSE(h.view.save_enabled);
    EXPECT_EQ(h.view.header, "Klemmo");  // the entry is applied before the check
}

TEST(Recognition, MissingConfigurationPrompt) {
    struct Case {
        int chip_marker;
        std::optional<Answer> answer;
        const char* message;
        Buttons buttons;
        const char* config;
        const char* suffix;
    } cases[] = {
        {0x60, Answer::Yes, "In dem HEX-File wurde kein Config-Wert gefunden. Standard-Wert erzeugen?",
         Buttons::YesIgnore, "CC01", " (12F629/16F630)"},
        {0x80, Answer::Yes, "In dem HEX-File wurde kein Config-Wert gefunden. Standard-Wert erzeugen?",
         Buttons::YesIgnore, "CC33", " (16F684/688)"},
        {0x80, Answer::Ignore, "In dem HEX-File wurde kein Config-Wert gefunden. Standard-Wert erzeugen?",
         Buttons::YesIgnore, "", " (16F684/688) – kein Config-Wert"},
        {0x12, std::nullopt, "In dem HEX-File wurde kein Config-Wert gefunden.", Buttons::Ignore, "",
         " – kein Config-Wert"},
    };
    for (const auto& c : cases) {
        test::Harness h;
        FixtureImage f = test::Firmware(0x8, P::Motorola);
        f.config.reset();
        f.chip_marker = c.chip_marker;
        if (c.answer) h.dialogs.answers.push_back(*c.answer);
        ASSERT_TRUE(h.Load(f, "/x/k.hex"));
        ASSERT_EQ(h.dialogs.messages.size(), 1u);
        EXPECT_EQ(h.dialogs.messages[0].text, c.message);
        EXPECT_EQ(h.dialogs.messages[0].buttons, c.buttons);
        EXPECT_EQ(h.session.image().config_text, c.config);
        EXPECT_EQ(h.view.status[3], std::string("/x/k.hex") + c.suffix);
    }
}

TEST(Recognition, TurntableAndCvAndUnknownEntries) {
    test::Harness turntable;  // word 137 marks the 48-position turntable; default config CC01
    FixtureImage f = test::Firmware(0, P::Motorola);
    f.words = {{0, 0}, {1, 0}, {2, 0}, {137, 0x3F2F}};
    f.chip_marker = -1;
    f.config.reset();
    turntable.dialogs.answers.push_back(Answer::Yes);
    ASSERT_TRUE(turntable.Load(f, "/t.hex"));
    EXPECT_EQ(turntable.session.type_code(), 0x30FFu);
    EXPECT_EQ(turntable.session.image().config_text, "CC01");
    EXPECT_EQ(turntable.view.status[3], "/t.hex (12F629/16F630)");
    EXPECT_EQ(turntable.view.split, 15);
    EXPECT_FALSE(turntable.view.rows[3].visible);
    EXPECT_TRUE(turntable.view.rows[4].visible);
    EXPECT_TRUE(turntable.view.rows[31].visible);
    EXPECT_FALSE(turntable.view.rows[32].visible);

    test::Harness cv;
    ASSERT_TRUE(cv.Load(test::Firmware(0x4400, P::Dcc)));
    EXPECT_TRUE(cv.dialogs.messages.empty());
    EXPECT_EQ(cv.view.frame_code, kFrameRegister);
    for (const auto& row : cv.view.rows) EXPECT_FALSE(row.visible);

    test::Harness unknown;
    ASSERT_TRUE(unknown.Load(test::Firmware(0x8, P::Motorola)));
    FixtureImage u = test::Firmware(0x123456, P::Motorola);
    ASSERT_TRUE(unknown.Load(u));
    EXPECT_EQ(unknown.LastMessage(), "Das HEX-File konnte leider nicht erkannt werden");
    EXPECT_EQ(unknown.dialogs.messages.back().icon, Icon::Warning);
    for (const auto& row : unknown.view.rows) EXPECT_FALSE(row.visible);
    EXPECT_EQ(unknown.view.header, "Hex Parvel");  // not the previous file's name
    EXPECT_EQ(unknown.view.frame_code, kFrameNone);
    EXPECT_TRUE(unknown.view.save_enabled);
    EXPECT_EQ(unknown.session.row(1).address, 0);
}

TEST(Recognition, KindNoneShowsFieldsButReadsNothing) {
    test::Harness h;
    FixtureImage f = test::Firmware(0x4000, P::Dcc);
    test::SetRow(f, 1, 0x81, 0x05, 0x00);
    ASSERT_TRUE(h.Load(f));
    EXPECT_TRUE(h.view.rows[1].visible);
    EXPECT_TRUE(h.view.rows[1].shows_function);
    EXPECT_FALSE(h.view.rows[1].shows_button);
    EXPECT_EQ(h.session.row(1).address_text, "0");
    EXPECT_EQ(h.view.rows[1].colour, RowColour::White);
}

// Row values decoded from the three cells of a row.
TEST(Recognition, RowValuesFromEepromCells) {
    struct Case {
        uint32_t code;
        P protocol;
        uint8_t b0, b1, b2;
        int address;
        int function;  // -1: accessory
        bool green;
    } cases[] = {
        {0x8, P::Motorola, 0xFF, 0xFF, 0xFF, 0, -1, true},
        {0x8, P::Motorola, 0x00, 0x00, 0xFF, 320, -1, true},
        {0x8, P::Motorola, 0x00, 0x00, 0x3F, 320, -1, false},
        {0x8, P::Motorola, 0x03, 0x00, 0xC3, 1, -1, true},
        {0x8, P::Motorola, 0x03, 0x00, 0x03, 1, -1, false},
        {0x8, P::Dcc, 0x31, 0x1C, 0xFD, 2044, -1, false},
        {0x8, P::Dcc, 0x30, 0x1E, 0xFD, 2044, -1, true},
        {0x8, P::Dcc, 0x79, 0xF0, 0x05, 1, -1, false},
        {0x8, P::Dcc, 0x78, 0xF2, 0x05, 1, -1, true},
        {0x8, P::Dcc, 0xFF, 0xFF, 0xFF, 0, -1, false},
        {0x13D00, P::Dcc, 0x81, 0x2C, 0xC1, 300, 1, false},
        {0x13D00, P::Dcc, 0x84, 0x05, 0x00, 5, 3, false},
        {0x13D00, P::Dcc, 0xA8, 0x2C, 0xC1, 300, 12, false},
        {0x3D00, P::Motorola, 0x03, 0x00, 0x51, 1, 1, false},
        {0x3D00, P::Motorola, 0x00, 0x00, 0x05, 80, 2, false},
        {0x3D00, P::Motorola, 0xFF, 0xFF, 0x55, 0, 4, false},
    };
    for (const auto& c : cases) {
        test::Harness h;
        FixtureImage f = test::Firmware(c.code, c.protocol);
        test::SetRow(f, 1, c.b0, c.b1, c.b2);
        ASSERT_TRUE(h.Load(f));
        SCOPED_TRACE(testing::Message() << std::hex << c.code << " " << int(c.b0) << " " << int(c.b1)
                                        << " " << int(c.b2));
        EXPECT_EQ(h.session.row(1).address_text, std::to_string(c.address));
        if (c.function < 0) {
            EXPECT_EQ(h.view.rows[1].colour, c.green ? RowColour::Green : RowColour::Red);
        } else {
            EXPECT_EQ(h.session.row(1).function_text, std::to_string(c.function));
            EXPECT_EQ(h.view.rows[1].colour, RowColour::White);
        }
    }
}

TEST(Recognition, RowsFromSixteenOnUseTheUpperCells) {
    test::Harness h;
    FixtureImage f = test::Firmware(0x30FF, P::Motorola);
    f.eeprom_last = 127;
    test::SetRow(f, 16, 0x03, 0x00, 0xC3);  // cells 65, 81, 97
    test::SetRow(f, 30, 0x02, 0x00, 0xC3);  // cells 79, 95, 111
    ASSERT_TRUE(h.Load(f));
    EXPECT_EQ(h.session.row(16).address_text, "1");
    EXPECT_EQ(h.session.row(30).address_text, "5");
    EXPECT_EQ(h.session.row(31).address_text, "1");  // shares row 16's cells
}

TEST(Recognition, LimitsAndHintsFollowProtocolAndKind) {
    struct Case {
        uint32_t code;
        P protocol;
        int max_address, max_function;
    } cases[] = {
        {0x8, P::Motorola, 320, 4},
        {0x8, P::Dcc, 2044, 12},
        {0x13D00, P::Dcc, 16128, 12},
        {0x3D00, P::Motorola, 255, 4},  // Motorola decoder addresses end at 255
    };
    for (const auto& c : cases) {
        test::Harness h;
        ASSERT_TRUE(h.Load(test::Firmware(c.code, c.protocol)));
        EXPECT_EQ(h.session.max_address(), c.max_address);
        EXPECT_EQ(h.session.max_function(), c.max_function);
        EXPECT_EQ(h.view.rows[1].address_hint,
                  "gültiger Adressbereich: 1 bis " + std::to_string(c.max_address) +
                      "\n'0' für unbenutzt (keine Reaktion auf irgendeinen Befehl)");
        EXPECT_EQ(h.view.rows[1].function_hint,
                  "gültiger Bereich für die Funktions-Nummer: 1 bis " + std::to_string(c.max_function));
    }
}

TEST(Recognition, RedGreenButtonTogglesTheColour) {
    test::Harness h;
    FixtureImage f = test::Firmware(0x8, P::Motorola);
    test::SetRow(f, 1, 0x03, 0x00, 0xC3);
    ASSERT_TRUE(h.Load(f));
    EXPECT_EQ(h.view.rows[1].colour, RowColour::Green);
    h.session.ToggleGreen(1);
    EXPECT_EQ(h.view.rows[1].colour, RowColour::Red);
    h.session.ToggleGreen(1);
    EXPECT_EQ(h.view.rows[1].colour, RowColour::Green);
}

TEST(Recognition, ApplyOrderOfWindowCalls) {
    test::Harness h;
    ASSERT_TRUE(h.Load(test::Firmware(0x69, P::Motorola)));
    // The old firmware's frames go first, then the new decoder is laid out, then its rows filled.
    const std::vector<std::string> expected = {"HideAllFrames", "DecoderChanged", "RowsChanged"};
    EXPECT_EQ(h.view.calls, expected);
    EXPECT_EQ(h.view.gap, 8);
    EXPECT_EQ(h.view.split, kOneColumn);
    EXPECT_EQ(h.view.frame_code, kFrameZusatz);
    EXPECT_EQ(h.view.header, "Relaisdekoder 8");
    EXPECT_EQ(h.view.web_caption, h.session.doc_address());
    EXPECT_EQ(h.session.doc_address(), "relais.html");
}

}  // namespace
}  // namespace parvel
