#include "workflows/DecoderSettings.h"

#include "settings/BlinkPatternTable.h"
#include "catalogue/Catalogue.h"
#include "settings/CvRegisterTable.h"
#include "settings/LedBlinkPatternTable.h"
#include "settings/ServoPages.h"
#include "settings/ServoPulses.h"
#include "settings/TorvSettings.h"
#include "settings/ZusatzTypeTable.h"

namespace parvel {

namespace {

DecoderSetting Value(const std::string& name, int cell) {
    DecoderSetting s;
    s.name = name;
    s.cells = {cell};
    return s;
}

// A pattern table block: step bytes first, then the block's count, stretch and flag bytes.
DecoderSetting PatternBlock(const std::string& name, int first_word, int bytes,
                            std::function<std::string(int)> part) {
    DecoderSetting s;
    s.name = name;
    s.region = DecoderSetting::Region::RomLow;
    for (int i = 0; i < bytes; ++i) s.cells.push_back(2 * (first_word + i));
    s.part = std::move(part);
    return s;
}

void AddZusatz(std::vector<DecoderSetting>& out, std::uint32_t code, float version) {
    const ZusatzView view = ResolveZusatzView(code, version);
    for (const SettingRowDef& row : view.rows) out.push_back(Value(row.caption, row.cell));
    const bool mode_cell = view.group_visible || view.extra == ExtraControl::WeicheAb ||
                           view.extra == ExtraControl::SwitchOffFunctions;
    if (mode_cell) {
        const char* name = view.extra == ExtraControl::WeicheAb ? "Modus / Weiche ab"
                           : view.extra == ExtraControl::SwitchOffFunctions
                               ? "Modus / Abschalt-Funktionen"
                               : "Modus";
        out.push_back(Value(name, kModeCell));
    }
    switch (view.extra) {
        case ExtraControl::FadingBar: out.push_back(Value("Überblend-Geschwindigkeit", kTimeCell)); break;
        case ExtraControl::RunningBar: out.push_back(Value("Lauf-Geschwindigkeit", kTimeCell)); break;
        case ExtraControl::SpecialFunctions: out.push_back(Value("Spezial-Funktionen", kTimeCell)); break;
        case ExtraControl::OutputFunctions: out.push_back(Value("Ausgangs-Funktionen", kTimeCell)); break;
        case ExtraControl::NeonBars:
            out.push_back(Value("Neon dunkel", kNeonDarkCell));
            out.push_back(Value("Neon hell", kNeonBrightCell));
            break;
        default: break;
    }
}

void AddBlink(std::vector<DecoderSetting>& out) {
    using T = BlinkPatternTable;
    for (int b = 0; b < T::kBlocks; ++b) {
        out.push_back(PatternBlock("Blinkmuster " + std::to_string(b + 1), T::kFirstWord + b * T::kBlockBytes,
                                   T::kBlockBytes, [](int i) -> std::string {
                                       if (i < T::kMaxSteps) return "Schritt " + std::to_string(i + 1);
                                       if (i == T::kCountOffset) return "Anzahl";
                                       if (i == T::kStretchOffset) return "Dehnung";
                                       if (i == T::kFlagsOffset) return "Schleife/Ausgänge";
                                       return "Byte " + std::to_string(i);
                                   }));
    }
}

void AddLedBlink(std::vector<DecoderSetting>& out) {
    using T = LedBlinkPatternTable;
    for (int b = 0; b < T::kBlocks; ++b) {
        out.push_back(PatternBlock("LED-Blinkmuster " + std::to_string(b + 1),
                                   T::kFirstWord + b * T::kBlockBytes, T::kBlockBytes,
                                   [](int i) -> std::string {
                                       if (i < T::kMaxSteps) return "Schritt " + std::to_string(i + 1);
                                       if (i >= 128 && i < 128 + T::kMaxSteps) {
                                           return "Schritt " + std::to_string(i - 127);
                                       }
                                       if (i == T::kCountOffset) return "Anzahl";
                                       if (i == T::kStretchOffset) return "Dehnung";
                                       if (i == T::kFlagsOffset || i == T::kFlags2Offset) {
                                           return "Ausgänge/Schleife";
                                       }
                                       return "Byte " + std::to_string(i);
                                   }));
    }
}

void AddServo(std::vector<DecoderSetting>& out) {
    for (int p = 0; p < kServoPageCount; ++p) {
        DecoderSetting curve = PatternBlock("Kurve " + std::to_string(p + 1), ServoPages::WordOf(p, 0),
                                            kMaxCurvePoints, [](int i) {
                                                return "Punkt " + std::to_string(i + 1);
                                            });
        curve.cells.push_back(ServoPages::CellOf(p, kOffsetPointCount));
        curve.cells.push_back(ServoPages::CellOf(p, kOffsetStretch));
        curve.part = [](int i) -> std::string {
            if (i < kMaxCurvePoints) return "Punkt " + std::to_string(i + 1);
            return i == kMaxCurvePoints ? "Punktzahl" : "Dehnung";
        };
        out.push_back(std::move(curve));
        DecoderSetting table = PatternBlock("Servo " + std::to_string(p + 1) + " / Adress-Tabelle",
                                            ServoPages::WordOf(p, kOffsetFlags), 0, nullptr);
        table.cells.push_back(ServoPages::CellOf(p, kOffsetFlags));
        for (int o = kOffsetServoAction; o < kServoPageSize; ++o) table.cells.push_back(ServoPages::CellOf(p, o));
        table.part = [](int i) -> std::string {
            return i == 0 ? "Servo-Flags" : "Byte " + std::to_string(kOffsetServoAction + i - 1);
        };
        out.push_back(std::move(table));
    }
    out.push_back(Value("Tasten-Modus", kButtonModeCell));
    out.push_back(Value("Schwelle", kThresholdCell));
    DecoderSetting pulses;
    pulses.name = "Impuls-Werte";
    for (int i = 0; i < 8; ++i) pulses.cells.push_back(kPulseFirstCell + i);
    pulses.part = [](int i) { return "Zelle 0x6" + std::to_string(i); };
    out.push_back(std::move(pulses));
}

void AddCvs(std::vector<DecoderSetting>& out, std::uint32_t code) {
    const CvRegisterTable table(code);
    for (int i = 0; i < table.row_count(); ++i) out.push_back(Value(table.row(i).caption, table.row(i).cell));
}

}  // namespace

std::vector<DecoderSetting> DecoderSettings(std::uint32_t type_code, float version) {
    std::vector<DecoderSetting> out;
    const DecoderType* entry = FindDecoderType(type_code);
    if (!entry) return out;
    switch (entry->frame) {
        case kFrameZusatz: AddZusatz(out, type_code, version); break;
        case kFrameBlinkmuster: AddBlink(out); break;
        case kFrameBlinkmusterLed: AddLedBlink(out); break;
        case kFrameTorv: AddServo(out); break;
        case kFrameRegister: AddCvs(out, type_code); break;
        default: break;
    }
    return out;
}

std::string ByteChange(const std::string& before, const std::string& after) {
    return std::to_string(HexByteValue(before)) + " -> " + std::to_string(HexByteValue(after));
}

}  // namespace parvel
