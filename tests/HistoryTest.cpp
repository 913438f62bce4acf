// The document's history without a window: every kind of edit is one step with a name that says
// what it changed; each undo takes back exactly that step and each redo puts it back.

#include <gtest/gtest.h>

#include <functional>

#include "settings/CvRegisterTable.h"
#include "tests/Harness.h"
#include "settings/ServoCurve.h"
#include "settings/ServoFiles.h"
#include "settings/ZusatzSettings.h"

namespace parvel {
namespace {

using P = test::FixtureImage::Protocol;

// Everything an edit can change: image, grid texts and colours, the working copies.
std::string Snapshot(DecoderDocument& d) {
    const FirmwareImage& image = d.image();
    std::string s = image.id_text + '|' + image.config_text + '|' + std::to_string(image.rom_last) +
                    '|' + std::to_string(image.eeprom_last);
    for (const HexCell& cell : image.rom_cells) s += cell.str() + std::to_string(cell.size());
    for (const HexCell& cell : image.eeprom_cells) s += cell.str() + std::to_string(cell.size());
    for (const GridRow& row : d.rows()) {
        s += row.address_text + '|' + row.function_text + '|' + (row.green ? 'g' : 'r');
    }
    for (int b : d.blink_table().bytes()) s += static_cast<char>(b);
    s += d.blink_table().modified() ? 'M' : '-';
    for (int b : d.led_blink_table().bytes()) s += static_cast<char>(b);
    s += d.led_blink_table().modified() ? 'M' : '-';
    s.append(d.servo().pages.bytes().begin(), d.servo().pages.bytes().end());
    for (int k = 0; k < 4; ++k) {
        s += std::to_string(d.servo().pulses.pulse_min[k]) + ',' + std::to_string(d.servo().pulses.pulse_span[k]);
    }
    s += d.servo().modified ? 'M' : '-';
    return s;
}

std::uint32_t FirstOfFrame(int frame) {
    for (const DecoderType& e : Catalogue()) {
        if (e.frame == frame && e.kind != DecoderKind::None) return e.type_code;
    }
    for (const DecoderType& e : Catalogue()) {
        if (e.frame == frame) return e.type_code;
    }
    return 0;
}

struct Edit {
    std::function<void(DecoderDocument&)> run;
    std::string name;  // the step's name (a prefix of it for names with values)
};

struct Case {
    const char* what;
    std::uint32_t type_code;
    std::vector<Edit> edits;
};

TEST(History, EveryEditIsOneStepThatUndoAndRedoTakeBackAndPutBack) {
    const Case cases[] = {
        {"grid of an accessory decoder", 0x8,
         {{[](DecoderDocument& d) {
               // Keys typed one after another into one field are one step.
               d.SetAddressText(1, "7");
               d.SetAddressText(1, "77");
           },
           "Adresse Weiche: 0 → 77"},
          {[](DecoderDocument& d) { d.CloseStep(); d.SetAddressText(1, "78"); }, "Adresse Weiche: 77 → 78"},
          {[](DecoderDocument& d) { d.ToggleGreen(2); }, "R/G "},
          {[](DecoderDocument& d) { d.SetAddressText(2, "300"); }, "Adresse "}}},
        {"additional settings", FirstOfFrame(kFrameZusatz),
         {{[](DecoderDocument& d) {
               ZusatzSettings(d.image(), d.type_code(), d.version()).EditRow(0, "7");
               d.Record("Zusatz: Zeile 1 7");
           },
           "Zusatz: Zeile 1 7"},
          {[](DecoderDocument& d) { d.SetAddressText(1, "12"); }, "Adresse "}}},
        {"CV table", FirstOfFrame(kFrameRegister),
         {{[](DecoderDocument& d) {
               CvRegisterTable(d.type_code()).Change(d.image(), 0, "9");
               d.Record("CV: CV1 9");
           },
           "CV: CV1 9"}}},
        {"blink patterns", FirstOfFrame(kFrameBlinkmuster),
         {{[](DecoderDocument& d) {
               d.blink_table().SetLoop(!d.blink_table().Loop());
               d.Record("Muster Adresse 1: Schleife");
           },
           "Muster Adresse 1: Schleife"},
          {[](DecoderDocument& d) {
               d.blink_table().CopyFrom(1);
               d.Record("Muster Adresse 1: von #2 kopiert");
           },
           "Muster Adresse 1: von #2"},
          {[](DecoderDocument& d) { d.TakeOverChanges(PendingFrame::Blinkmuster); },
           "Geänderte Werte übernommen"}}},
        {"LED blink patterns", FirstOfFrame(kFrameBlinkmusterLed),
         {{[](DecoderDocument& d) {
               d.led_blink_table().SetStepBit(0, 0, !d.led_blink_table().StepBit(0, 0, 0));
               d.Record("Muster Adresse 1 gezeichnet");
           },
           "Muster Adresse 1 gezeichnet"},
          {[](DecoderDocument& d) { d.TakeOverChanges(PendingFrame::BlinkmusterLed); },
           "Geänderte Werte übernommen"}}},
        {"servo curves", FirstOfFrame(kFrameTorv),
         {{[](DecoderDocument& d) {
               GenerateCurve(d.servo().pages, 1, CurveShape::Log);
               d.servo().modified = true;
               d.Record("Kurve 2: Log");
           },
           "Kurve 2: Log"},
          {[](DecoderDocument& d) {
               // A curve file loaded into the working copy: a step of its own.
               LoadCurveLines(d.servo().pages, 0, {"3", "10", "200", "30"});
               d.servo().modified = true;
               d.Record("Kurve 1: Kurve geladen");
           },
           "Kurve 1: Kurve geladen"},
          {[](DecoderDocument& d) {
               d.servo().pulses.pulse_min[1] += 4;
               d.servo().modified = true;
               d.Record("Servo 2: Impuls-Zeit (Min)");
           },
           "Servo 2: Impuls-Zeit (Min)"},
          {[](DecoderDocument& d) { d.TakeOverChanges(PendingFrame::Torv); }, "Geänderte Werte übernommen"},
          {[](DecoderDocument& d) { d.SetAddressText(1, "5"); }, "Adresse "}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_NE(c.type_code, 0u);
        test::Harness h;
        ASSERT_TRUE(h.Load(test::Firmware(c.type_code, P::Motorola)));
        DecoderDocument& d = h.session;
        EXPECT_FALSE(d.CanUndo());
        EXPECT_FALSE(d.HasUnsavedChanges());
        std::vector<std::string> states{Snapshot(d)};
        for (std::size_t i = 0; i < c.edits.size(); ++i) {
            c.edits[i].run(d);
            ASSERT_EQ(d.history().index(), i + 1) << c.edits[i].name;
            EXPECT_EQ(d.UndoName().rfind(c.edits[i].name, 0), 0u) << d.UndoName();
            states.push_back(Snapshot(d));
            EXPECT_NE(states.back(), states[states.size() - 2]);
        }
        EXPECT_TRUE(d.HasUnsavedChanges());
        for (std::size_t i = c.edits.size(); i > 0; --i) {
            d.Undo();
            EXPECT_EQ(d.history().index(), i - 1);
            EXPECT_TRUE(Snapshot(d) == states[i - 1]) << "undo of step " << i;
        }
        EXPECT_FALSE(d.HasUnsavedChanges());
        for (std::size_t i = 1; i <= c.edits.size(); ++i) {
            d.Redo();
            EXPECT_TRUE(Snapshot(d) == states[i]) << "redo of step " << i;
        }
        EXPECT_FALSE(d.CanRedo());
    }
}

TEST(History, SavingMarksTheCleanStepAndALoadStartsAnew) {
    test::Harness h;
    ASSERT_TRUE(h.Load(test::Firmware(0x8, P::Motorola)));
    DecoderDocument& d = h.session;
    d.SetAddressText(1, "12");
    EXPECT_TRUE(d.HasUnsavedChanges());
    h.dialogs.save_names.push_back(test::TempDir() + "/saved.hex");
    ASSERT_EQ(d.Save(), DecoderDocument::SaveResult::Saved);
    EXPECT_FALSE(d.HasUnsavedChanges());
    // Typing on in the saved field is a new step, not a change of the saved one.
    d.SetAddressText(1, "123");
    EXPECT_EQ(d.history().count(), 2u);
    d.Undo();
    EXPECT_FALSE(d.HasUnsavedChanges());
    d.Undo();
    EXPECT_TRUE(d.HasUnsavedChanges());
    // Text typed into a frame's field and not finished counts as unsaved.
    d.Redo();
    d.NoteTyped(EditArea::Zusatz, "edt_row_value0", true);
    EXPECT_TRUE(d.HasUnsavedChanges());
    d.NoteTyped(EditArea::Zusatz, "edt_row_value0", false);
    EXPECT_FALSE(d.HasUnsavedChanges());
    ASSERT_TRUE(h.Load(test::Firmware(0x8, P::Motorola)));
    EXPECT_EQ(d.history().count(), 0u);
}

TEST(History, ThousandStepsStayWithinTheirStates) {
    test::Harness h;
    ASSERT_TRUE(h.Load(test::Firmware(0x8, P::Motorola)));
    DecoderDocument& d = h.session;
    for (int i = 0; i < 1000; ++i) {
        d.CloseStep();
        d.SetAddressText(1 + i % 2, std::to_string(i % 320 + 1000));
    }
    EXPECT_EQ(d.history().count(), 1000u);
    // Each step keeps about one copy of the image's cells (neighbours share the state between
    // them); twice that leaves room, a second copy per step would not fit.
    const std::size_t cells = sizeof(ImageState);
    EXPECT_LT(d.history().Bytes(), 1000 * 2 * cells);
    EXPECT_GT(d.history().Bytes(), 1000 * cells / 2);
}

}  // namespace
}  // namespace parvel
