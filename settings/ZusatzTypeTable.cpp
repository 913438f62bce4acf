#include "settings/ZusatzTypeTable.h"

#include <unordered_map>

namespace parvel {

namespace zusatz_text {
const char* const kGroupMode = "Mode Auswahl";
const char* const kModeNote =
    "Wird hier ein Mode ausgewählt, so sollte die Mode-\r\nUmschaltung gesperrt werden, da  sich "
    "sonst der gewählte\r\nMode während des \"Brennen\" wieder verstellen kann.";
const char* const kLockCaption = "Mode-Umschaltung SPERREN";
const char* const kLockHint =
    "Aktiviert: eine Mode-Umschaltung (Taste beim Starten) ist dann nicht mehr möglich. "
    "Voreingestellte Modus ist damit garantiert. ";
const char* const kStartDarkCaption = "Dumm Mode: startet immer mit Ausgängen AUS";
const char* const kStartDarkHint =
    "Dekoder startet mit abgeschalteten Ausgängen. der Zustand beim Abschalten wird also NICHT "
    "wieder hergestellt.";
const char* const kWeicheAbCaption = "Abschalten des Antriebes NUR nach TimeOut";
const char* const kWeicheAbHint =
    "Der Abschaltebefehl der Zentrale wird ignoriert, sodass der Antrieb immer genau nach der "
    "TimeOut Zeit abschaltet";
const char* const kBarHint = "rechts = HELL, Links = dunkel";
const char* const kNeonDark = "Leuchtstufe DUNKEL";
const char* const kNeonBright = "Leuchtstufe HELL";
const char* const kNeonNote =
    "Die Verzögerungszeit definiert eine Einschalt-Verzögerung. \r\nDiese ist dann aktiv, wenn "
    "noch kein Ausgang eingeschaltet \r\nist, also wenn alle Ausgäne dunkel sind. Alle weiteren "
    "\r\nAusgänge werden dann ohne Verzögerungszeit dazu \r\ngeschaltet";
}  // namespace zusatz_text

namespace {

const char* const kTimeOutCaption = "Time Out (1..127)";
const char* const kTimeOutHint = "Zeit, nach der der Antrieb immer spätestens abgeschaltet wird";

const std::vector<SettingRowDef>& RowDefs() {
    // In RowKind order. TN keeps the caption of T although it takes up to 255.
    static const std::vector<SettingRowDef> defs = {
        {RowKind::T, kTimeOutCaption, kTimeOutHint, kTimeCell, 0.5f, 1, 127},
        {RowKind::TN, kTimeOutCaption, kTimeOutHint, kTimeCell, 0.5f, 1, 255},
        {RowKind::S, "Abschaltzeit in Mode 3 (1..255)",
         "Zeit, nach der in Mode 3 abgeschaltet wird", kTimeCell, 0.5f, 1, 255},
        {RowKind::G1, "Grünphase Haupt (x 0.2 s)", "Länge der Grünphase Hauptstrasse", 0x60, 0.2f,
         1, 255},
        {RowKind::G2, "Grünphase Neben (x 0.2 s)", "Länge der Grünphase Nebenstrasse", 0x70, 0.2f,
         1, 255},
        {RowKind::H1, "Ablaufgeschwindigkeit (1..255)", "1 = schnell\n255 = langsam", kTimeCell,
         0.0f, 1, 255},
        {RowKind::H2, "Mindestanzahl (1..9)", "Anzahl der mindest aktiven Ausgänge beim Ablauf",
         0x2F, 0.0f, 1, 9},
    };
    return defs;
}

using R = RowKind;
using M = ModeSet;
using X = ExtraControl;
constexpr Shown kNo = Shown::Never;
constexpr Shown kYes = Shown::Always;
constexpr Shown kNew = Shown::AboveV354;

ZusatzType Turnout(std::uint32_t code, X extra) {
    return {code, {R::T}, 20, kNo, M::None, kNo, false, extra};
}
ZusatzType Moded(std::uint32_t code, std::vector<RowKind> rows, M modes, Shown lock,
                 bool start_dark) {
    return {code, std::move(rows), 20, kYes, modes, lock, start_dark, X::None};
}
ZusatzType Extra(std::uint32_t code, X extra) {
    return {code, {}, 20, kNo, M::None, kNo, false, extra};
}

}  // namespace

const SettingRowDef& RowDef(RowKind kind) { return RowDefs()[static_cast<int>(kind)]; }

const std::vector<std::string>& ModeCaptions(ModeSet set) {
    static const std::vector<std::vector<std::string>> captions = {
        {},
        {"Mode 1: Normale Betriebsart", "Mode 2: Dumm-Mode", "Mode 3: Selbstabschaltungs-Mode"},
        {"Mode 1: Normale Betriebsart", "Mode 2: Dumm-Mode", "Mode 3: Selbstabschaltungs-Mode",
         "Mode 4: Single Output-Mode"},
        {"Mode 1: Normale Betriebsart", "Mode 2: mit Dunkeltastung"},
        {"Mode 1: Normale Betriebsart", "Mode 2: Steuerwagen"},
        {"Mode 1: Normale Betriebsart", "Mode 2: Dumm-Mode"},
        {"Mode 1: Normale Betriebsart", "Mode 2: Steuerwagen (Ausgang 3/4)"},
        {"Mode 1: ohne ROT", "Mode 2: mit ROT "},
        {"Mode 1: Deutschland", "Mode 2: Österreich"},
        {"Mode 1: Normale Betriebsart", "Mode 2: kein Einschaltblitz",
         "Mode 3: keine Druckschwankungen", "Mode 4: kein Blitz, keine Schwankungen"},
        {"Mode 1: Normale Betriebsart Neon", "Mode 2: Steuerwagen Neon",
         "Mode 3: Normale Betriebsart ohne Neon", "Mode 4: Steuerwagen ohne Neon"},
    };
    return captions[static_cast<int>(set)];
}

bool IsAboveV354(float version) { return version > 3.54f; }

bool IsShown(Shown rule, float version) {
    switch (rule) {
        case Shown::Never:
            return false;
        case Shown::Always:
            return true;
        case Shown::AboveV354:
            return IsAboveV354(version);
    }
    return false;
}

const std::vector<ZusatzType>& ZusatzTypeTable() {
    static const std::vector<ZusatzType> table = {
        // Turnout decoders: time-out, and from V3.51 / V3.58 the switch-off behaviour.
        Turnout(0x8, X::None),
        Turnout(0x208, X::WeicheAb),
        Turnout(0xA, X::None),
        Turnout(0x20A, X::WeicheAb),
        Turnout(0x2, X::None),
        Turnout(0x202, X::WeicheAb),
        Turnout(0x65, X::None),
        Turnout(0x265, X::WeicheAb),
        Turnout(0x308, X::SwitchOffFunctions),
        Turnout(0x30A, X::SwitchOffFunctions),
        Turnout(0x30C, X::SwitchOffFunctions),
        Turnout(0x302, X::SwitchOffFunctions),
        Turnout(0x365, X::SwitchOffFunctions),
        // Switching and relay decoders.
        Moded(0xB, {R::S}, M::A, kNew, false),
        Moded(0x69, {R::S}, M::A4, kNew, false),
        Moded(0x6A, {R::S}, M::A, kNew, false),
        // Signal decoders.
        Moded(0x3, {}, M::D, kNew, false),
        Moded(0x6C, {}, M::D, kNew, false),
        Moded(0x6D, {}, M::D, kNew, false),
        Moded(0xC9, {}, M::D, kNew, false),
        Moded(0x1C9, {}, M::D, kNew, false),
        Moded(0xCA, {}, M::D, kNew, false),
        Moded(0x1CA, {}, M::D, kNew, false),
        Moded(0xCD, {}, M::D, kNew, false),
        Moded(0xCE, {}, M::D, kNew, false),
        Moded(0xCF, {}, M::D, kNew, false),
        Moded(0xCB, {}, M::Rot, kNew, false),
        Moded(0x68, {}, M::Du, kNew, false),
        // Function decoders.
        Moded(0x3E00, {}, M::Du, kNo, false),
        Moded(0x3D00, {}, M::St, kNo, false),
        Moded(0x13D00, {}, M::St, kYes, true),
        Moded(0x13E00, {}, M::St34, kYes, true),
        Moded(0x13F00, {}, M::None, kNo, true),
        // Gas lamps: the mode group exists only from V3.55 on, with its lock box.
        {0x66, {}, 20, kNew, M::Gas, kYes, false, X::None},
        // Traffic lights.
        Extra(0x167, X::FadingBar),
        {0x267, {R::G1, R::G2}, 120, kYes, M::Land, kNew, false, X::FadingBar},
        // Fairground and house lighting.
        Extra(0x6F, X::RunningBar),
        {0x71, {R::H1, R::H2}, 20, kNo, M::None, kNo, false, X::None},
        // Neon lighting.
        Extra(0x170, X::SpecialFunctions),
        Extra(0x270, X::OutputFunctions),
        {0x1A4100, {R::TN}, 20, kYes, M::Neon, kNo, false, X::NeonBars},
        {0x1B4100, {R::TN}, 20, kYes, M::Neon, kNo, false, X::NeonBars},
        {0x2A4100, {R::TN}, 20, kYes, M::Neon, kYes, true, X::NeonBars},
        {0x2B4100, {R::TN}, 20, kYes, M::Neon, kYes, true, X::NeonBars},
    };
    return table;
}

const ZusatzType* FindZusatzType(std::uint32_t type_code) {
    static const std::unordered_map<std::uint32_t, const ZusatzType*> index = [] {
        std::unordered_map<std::uint32_t, const ZusatzType*> m;
        for (const ZusatzType& t : ZusatzTypeTable()) m.emplace(t.type_code, &t);
        return m;
    }();
    const auto it = index.find(type_code);
    return it == index.end() ? nullptr : it->second;
}

ZusatzView ResolveZusatzView(std::uint32_t type_code, float version) {
    ZusatzView view;
    const ZusatzType* type = FindZusatzType(type_code);
    if (!type) return view;
    for (RowKind kind : type->rows) {
        if (static_cast<int>(view.rows.size()) == kSettingRows) break;
        view.rows.push_back(RowDef(kind));
    }
    view.rows_top = type->rows_top;
    view.group_visible = IsShown(type->group, version);
    if (view.group_visible) {
        view.radio_captions = ModeCaptions(type->modes);
        view.mode_note_visible = !view.radio_captions.empty();
        view.bit6_visible = type->start_dark_box;
        view.bit7_visible = IsShown(type->lock_box, version);
    }
    view.extra = type->extra;
    return view;
}

const BoxGroupDef* FindBoxGroup(ExtraControl extra) {
    const char* const kWelder =
        "Wenn nicht aktiviert, dann ist dieser Ausgang ein normaler 'Neon' "
        "Effekt Ausgang";
    const char* const kWelderOrDefect =
        "Wenn nicht aktiviert, dann ist dieser Ausgang ein 'Neon' "
        "Effekt Ausgang, der auch als 'defekt' definiert werden "
        "kann";
    // The high nibble belongs to the central unit's off command: "AB" of the V3.51 firmwares
    // (off command ignored, time-out active) reads the same way here.
    static const BoxGroupDef switch_off = {
        kModeCell,
        BoxEncoding::DisabledNibble,
        HeadingLabel::Zusatz3,
        "Abschaltfunktion: Ausgänge abschalten durch...",
        150,
        {{1, "OFF-Befehl der Zentrale", "gesendet durch die Zentrale", 170, 0xF0},
         {2, "Time-Out des Dekoders",
          "Sicherheitsfunktion, wenn OFF-Befehl der Zentrale nicht empfangen wird", 190, 0x0F}},
        "Achtung: Durchbrenn-Gefahr für Weichen-Antriebe!",
        230,
        true,
    };
    static const BoxGroupDef special = {
        kTimeCell,
        BoxEncoding::Bits,
        HeadingLabel::Zusatz,
        "Spezial-Funktion Ausgang 9 / 10:",
        16,
        {{1, "Ausgang 9", "", 40, 0x01}, {2, "Ausgang 10", "", 60, 0x02}},
        "",
        0,
        false,
    };
    static const BoxGroupDef outputs = {
        kTimeCell,
        BoxEncoding::Bits,
        HeadingLabel::Zusatz,
        "Funktion der Ausgänge:",
        16,
        {{3, "Ausgang 1/2/3 = 'Schweißer'", kWelder, 40, 0x04},
         {4, "Ausgang 4 = 'Schweißer'", kWelderOrDefect, 60, 0x08},
         {5, "Ausgang 5/6/7/8 = 'Schweißer'", kWelder, 80, 0x10},
         {7, "Ausgang 9 = 'Schweißer'", kWelderOrDefect, 100, 0x40},
         {2, "Ausgang 10 = 'Schweißer'", kWelder, 120, 0x02},
         {8, "Ausgang 4 = 'Neon defekt'", "keine Wirkung, wenn Ausgang 4 als 'Schweißer' definiert",
          160, 0x80},
         {1, "Ausgang 9 = 'Neon defekt'", "keine Wirkung, wenn Ausgang 9 als 'Schweißer' definiert",
          180, 0x01}},
        "Tipp: Im Duvra Dekoder sind Ausgang 1-4 nutzbar",
        220,
        false,
    };
    switch (extra) {
        case ExtraControl::SwitchOffFunctions:
            return &switch_off;
        case ExtraControl::SpecialFunctions:
            return &special;
        case ExtraControl::OutputFunctions:
            return &outputs;
        default:
            return nullptr;
    }
}

const TrackBarDef* FindTrackBar(ExtraControl extra) {
    static const TrackBarDef fading = {kTimeCell,
                                       0,
                                       kFadingPositions - 1,
                                       1,
                                       zusatz_text::kBarHint,
                                       "Geschwindigkeit Überblendung (Fading)",
                                       "schnell",
                                       "langsam",
                                       16,
                                       50,
                                       70,
                                       16,
                                       10};
    static const TrackBarDef running = {
        kTimeCell, 1, 255, 5, "", "Geschwindigkeit: %i", "schnell", "langsam", 16, 50, 70, 16, 10};
    switch (extra) {
        case ExtraControl::FadingBar:
            return &fading;
        case ExtraControl::RunningBar:
            return &running;
        default:
            return nullptr;
    }
}

const std::vector<std::string>& FadingTexts() {
    static const std::vector<std::string> texts = {"FF", "66", "33", "22", "12", "11"};
    return texts;
}

const NeonBarDef& NeonBar(int bar) {
    static const NeonBarDef bars[2] = {{kNeonDarkCell, 120, 170, 180, 10},
                                       {kNeonBrightCell, 120, 210, 180, 10}};
    return bars[bar == 0 ? 0 : 1];
}

}  // namespace parvel
