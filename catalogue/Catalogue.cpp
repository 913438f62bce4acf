#include "catalogue/Catalogue.h"

#include <initializer_list>
#include <iterator>
#include <mutex>
#include <new>

namespace parvel {

namespace {

using Labels = std::initializer_list<const char*>;

// Row label sets; entry i is the label of grid row i + 1. Everything below is constant data
// the compiler lays out; the only run-time work is copying one list into DecoderType texts.
const Labels L1 = {"", "", "", "Licht", "Step", "Turn (180°)", "Drehrichtung", "Position1", "Position2", "Position3", "Position4", "Position5", "Position6", "Position7", "Position8", "Position9", "Position10", "Position11", "Position12", "Position13", "Position14", "Position15", "Position16", "Position17", "Position18", "Position19", "Position20", "Position21", "Position22", "Position23", "Position24"};
const Labels L2 = {"", "", "", "Licht", "Step", "Turn (180°)", "Drehrichtung", "Position1", "Position2", "Position3", "Position4", "Position5", "Position6", "Position7", "Position8", "Position9", "Position10", "Position11", "Position12"};
const Labels L3 = {"Weiche", "Licht"};
const Labels L4 = {"Blinken", "Signal"};
const Labels L5 = {"Weiche 1", "Weiche 2"};
const Labels L6 = {"Links", "Mitte", "Rechts"};
const Labels L7 = {"Signal 1 grün", "Signal 1 rot", "Signal 2 grün", "Signal 2 rot"};
const Labels L8 = {"Ausgang / Out 1", "Ausgang / Out 2", "Ausgang / Out 3", "Ausgang / Out 4"};
const Labels L9 = {"Weichen-Adresse"};
const Labels L10 = {"Vorsignal: Vmax", "Vorsignal: Halt", "Vorsignal: 100", "Vorsignal: 40/60", "Hauptsignal: Vmax", "Hauptsignal: Halt", "Hauptsignal: 100/40/60"};
const Labels L11 = {"Signal", "Kennlicht"};
const Labels L12 = {"Ausgang / Out 1", "Ausgang / Out 2", "Ausgang / Out 3 (FL)", "Ausgang / Out 4"};
const Labels L13 = {"Blink 1", "Blink 2", "Blink 3", "Blink 4"};
const Labels L14 = {"Ein", "Hell-Dunkel"};
const Labels L15 = {"Ausgang / Out 1", "Ausgang / Out 2", "Ausgang / Out 3", "Ausgang / Out 4", "Hell-Dunkel"};
const Labels L16 = {"Ausgang / Out 1", "Ausgang / Out 2", "Ausgang / Out 3 (FL)", "Ausgang / Out 4", "Hell-Dunkel"};
const Labels L17 = {"Ausgang / Out 1", "Ausgang / Out 2", "Ausgang / Out 3", "Ausgang / Out 4", "Ausgang / Out 5", "Ausgang / Out 6", "Ausgang / Out 7", "Ausgang / Out 8", "All"};
const Labels L18 = {"Weiche 1", "Weiche 2", "Weiche 3", "Weiche 4"};
const Labels L19 = {"Ausgang / Out 1", "Ausgang / Out 2", "Ausgang / Out 3", "Ausgang / Out 4", "Ausgang / Out 5", "Ausgang / Out 6", "Ausgang / Out 7", "Ausgang / Out 8", "Ausgang / Out 9", "Ausgang / Out 10"};
const Labels L20 = {"Signal 1", "Signal 2", "Signal 3", "Signal 4", "Signal 5"};
const Labels L21 = {"HP00", "HP1", "HP2", "SH1", "VR0", "VR1", "VR2"};
const Labels L22 = {"HALT", "FB 1", "FB 2", "FB 3", "Warnung", "FB 1", "FB 2", "FB 3"};
const Labels L23 = {"Ein"};
const Labels L24 = {"Auto", "Nacht", "Grün", "Rot"};
const Labels L25 = {"Blink 1", "Blink 2", "Blink 3", "Lauf", "Leit", "Warn", "Foto", "aus"};
const Labels L26 = {"Blink 1", "Blink 2", "Blink 3", "aus"};
const Labels L27 = {"Ausgang / Out 1", "Ausgang / Out 2", "Ausgang / Out 3", "Ausgang / Out 4", "Ausgang / Out 5", "Ausgang / Out 6", "Ausgang / Out 7", "Ausgang / Out 8", "Ausgang / Out 9 (FL)", "Ausgang / Out 10"};
const Labels L28 = {"Hauptsignal: Hp0", "Hauptsignal: Hp1", "Hauptsignal: Hp2", "Hauptsignal: Nebenrot + Zs1", "Hauptsignal: Hp1 + Zs3", "Hauptsignal: Hp2 + Zs3", "Vorsignal: Vr0", "Vorsignal: Vr1", "Vorsignal: Vr2"};
const Labels L29 = {"Hauptsignal: Hp0", "Hauptsignal: Hp1", "Hauptsignal: Hp2", "Hauptsignal: Nebenrot + Zs1", "Hauptsignal: Hp1 + Zs3", "Hauptsignal: Hp2 + Zs3", "Vorsignal: Vr0", "Vorsignal: Vr1", "Vorsignal: Vr2", "Vorsignal: Vr0", "Vorsignal: Vr1", "Vorsignal: Vr2"};
const Labels L30 = {"Hauptsignal: Hp00", "Hauptsignal: Hp1", "Hauptsignal: Hp2", "Hauptsignal: Hp0 + Sh1", "Hauptsignal: Hp0 + Zs1", "Hauptsignal: Hp0 + Zs8 (blink)", "Vorsignal: Vr0", "Vorsignal: Vr1", "Vorsignal: Vr2"};
const Labels L31 = {"Hauptsignal: Hp00", "Hauptsignal: Hp1", "Hauptsignal: Hp2", "Hauptsignal: Hp0 + Sh1", "Hauptsignal: Hp0 + Zs1", "Hauptsignal: Hp0 + Zs8 (blink)", "Vorsignal: Vr0", "Vorsignal: Vr1", "Vorsignal: Vr2", "Vorsignal: Vr0", "Vorsignal: Vr0", "Vorsignal: Vr0"};
const Labels L32 = {"Signal 1: Halt", "Signal 1: Frei", "Signal 1: Frei 40", "Signal 1: Frei 60", "Signal 1: Frei 40/60", "Signal 1: Verschub", "Signal 1: Ersatz-Signal", "Signal 2: Halt", "Signal 2: Frei", "Signal 2: Frei 40", "Signal 2: Frei 60", "Signal 2: Frei 40/60", "Signal 2: Verschub", "Signal 2: Ersatz-Signal"};
const Labels L33 = {"Signal 1: Hp00", "Signal 1: Hp1", "Signal 1: Hp2", "Signal 1: Hp0 + Sh1", "Signal 2: Hp00", "Signal 2: Hp1", "Signal 2: Hp2", "Signal 2: Hp0 + Sh1"};
const Labels L34 = {"Hauptsignal: Halt", "Hauptsignal: Vmax", "Hauptsignal: 40 km/h", "Hauptsignal: 60 km/h", "Hauptsignal: 100 km/h", "Hauptsignal: Hp0 + Zs1", "Hauptsignal: Hp0 + Ra12", "Vorsignal: erwarte Halt", "Vorsignal: erwarte Vmax", "Vorsignal: erwarte 40 km/h", "Vorsignal: erwarte 60 km/h", "Vorsignal: erwarte 100 km/h", "Vorsignal: erwarte Halt", "Vorsignal: erwarte Halt"};
const Labels L35 = {"Hauptsignal: Halt", "Hauptsignal: Vmax", "Hauptsignal: 40 km/h", "Hauptsignal: 60 km/h", "Hauptsignal: 100 km/h", "Hauptsignal: Hp0 + Ersatz", "Hauptsignal: Hp0 + Rangierfahrt", "Vorsignal: erwarte Halt", "Vorsignal: erwarte Vmax", "Vorsignal: erwarte 40 km/h", "Vorsignal: erwarte 60 km/h", "Vorsignal: erwarte 100 km/h", "Vorsignal: erwarte Halt", "Vorsignal: erwarte Halt"};
const Labels L36 = {"Hauptsignal: Hp0", "Hauptsignal: Ks1", "Hauptsignal: Ks1 + Zs3", "Hauptsignal: Ks1 + Zs1", "Hauptsignal: Ks1 + Sh1", "Hauptsignal: Ks1 + Zs7", "Hauptsignal: Kennlicht", "Vorsignal: Ks2 (Halt erwarten)", "Vorsignal: Ks1", "Vorsignal: Ks1 + Zs3v", "Vorsignal: Ks2 (Halt erwarten)", "Vorsignal: Ks2 (Halt erwarten)", "Vorsignal: Ks2 (Halt erwarten)", "Vorsignal: Kennlicht"};
const Labels L37 = {"Signal 1: Hp00", "Signal 1: Hp1", "Signal 1: Hp2", "Signal 1: Hp0 + Sh1", "Signal 2: Hp00", "Signal 2: Hp00", "Signal 2: Hp1", "Signal 2: Hp2", "Signal 2: Hp0 + Sh1", "Signal 2: Hp00"};
const Labels L38 = {"C - Stop Carré", "S - red", "(S) - red flash.", "VL - green", "(VL) - green flash.", "Cv - violet", "M - white", "(M) - white flash.", "A - yellow", "(A) - yellow flash.", "30 R - slow", "60 (R) - slow", "30 RR - remember", "60 (RR) - remember"};
const Labels L39 = {"Stop", "Ride on Sight", "reduce to 30", "reduce to x", "reduce to x", "pass with 40", "pass with x", "pass", "Stop", "Ride on Sight", "reduce to 30", "reduce to x", "reduce to x", "pass with 40", "pass with x", "pass"};
const Labels L40 = {"Hp00", "Hp1 + Zs3 + Zs6", "Hp2 + Zs3 + Zs6", "Hp0 + Sh1", "Hp0 + Zs1", "Hp0 + Zs8", "Weg 1", "Weg 2"};
const Labels L41 = {"Hp00", "Hp1 + Zs3 + Zs6", "Hp2 + Zs3 + Zs6", "Hp0 + Sh1", "Hp0 + Zs1", "Hp0 + Zs8", "Kennlicht 1", "Kennlicht 2", "Weg 1", "Weg 2"};
const Labels L42 = {"Vr0 bei Weg 1", "Vr1 bei Weg 1", "Vr2 bei Weg 2", "Vr0 bei Weg 2", "Vr1 bei Weg 2", "Vr2 bei Weg 2", "Weg 1", "Weg 2", "Dunkel EIN", "Dunkel EIN", "Dunkel EIN", "Dunkel EIN", "Dunkel AUS", "Dunkel AUS"};
const Labels L43 = {" ", " ", " ", " ", " ", " ", " ", " ", " ", " ", " ", " ", " ", " ", " ", " "};
const Labels L44 = {"Stop", "Stop and Proceed", "Stop and Proceed (w/o speed signal box)", "Proceed (high speed)", "Proceed through", "Proceed through (diversion route)", "Proceed w/ limited speed (60 km/h)", "Proceed w/ limited speed (40 km/h)", "Proceed w/ limited speed (60 km/h, diversion)", "Proceed w/ limited speed (40 km/h, diversion)", "Proceed through w/ limited speed (60 km/h)", "Proceed through w/ limited speed (40 km/h)", "Proceed - no safety overlap (40 km/h)", "Proceed - no safety overlap (40 km/h, divert)", "Proceed (stop at entry block signal)", "Proceed through (low speed at entry block signal)"};
const Labels L45 = {"Stop", "Stop and Proceed", "Proceed (optional: route towards A-city)", "Proceed though (optional: route towards A-city)", "Pass", "Pass with caution", "No passing", "Signal cancelled", "Proceed (route towards B-city)", "Proceed though (route towards B-city)", "Proceed (route towards C-city)", "Proceed though (route towards C-city)", "Sweden: Proceed", "Sweden: Proceed, max speed 40 km/h", "Sweden: Proceed w caution, next signal 40 or stop", "Sweden: Proceed w caution, next signalstop"};
const Labels L46 = {"Signal 1: Stop", "Signal 1: Stop and Proceed", "Signal 1: Proceed", "Signal 1: Proceed through", "Signal 1: Proceed through (signal w/ 2 lamps)", "Signal 1: 'Dark Green' proceed", "Signal 1: 'Dark Green' proceed through", "Signal 2: Stop", "Signal 2: Stop and Proceed", "Signal 2: Proceed", "Signal 2: Proceed through", "Signal 2: Proceed through (signal w/ 2 lamps)", "Signal 2: 'Dark Green' proceed", "Signal 2: 'Dark Green' proceed through"};
const Labels L47 = {"Signal 1: Pass", "Signal 1: Pass with caution", "Signal 1: No passing", "Signal 1: Signal cancelled", "Signal 1: Proceed", "Signal 1: Proceed through", "Signal 2: Pass", "Signal 2: Pass with caution", "Signal 2: No passing", "Signal 2: Signal cancelled", "Signal 2: Proceed", "Signal 2: Proceed through"};
const Labels L48 = {"Stop", "Stop and Proceed", "Stop and Proceed (w/o speed signal box)", "Proceed (high speed)", "Proceed through", "Proceed w/ limited speed (60 km/h)", "Proceed w/ limited speed (40 km/h)", "Proceed through w/ limited speed (60 km/h)", "Proceed through w/ limited speed (40 km/h)", "Proceed - no safety overlap (40 km/h)", "Sweden: Proceed 40 km/h with short route", "Sweden: Proceed 80 km/h, expect stop", "Sweden: Proceed 80 km/h, expect proceed 40 km/h", "Norway: Reduced speed"};
const Labels L49 = {"Adresse 01", "Adresse 02", "Adresse 03", "Adresse 04", "Adresse 05", "Adresse 06", "Adresse 07", "Adresse 08"};
const Labels L50 = {"Adresse 01", "Adresse 02", "Adresse 03", "Adresse 04"};
const Labels L51 = {"Adresse 01", "Adresse 02"};
const Labels L52 = {"Muster 1", "Muster 2", "Muster 3", "Muster 4"};

struct Row {
    std::uint32_t code;
    const char* name;
    char kind;  // 'A', 'F', 'N'
    const Labels* labels;
    int split;
    int gap;
    int frame;
    const char* doc_page;
};

constexpr char A = 'A';
constexpr char F = 'F';
constexpr char N = 'N';

constexpr Row kRows[] = {
    {0x30FF, "Drehscheibe 48 Position", A, &L1, 15, 0, kFrameNone, "drehscheibe"},
    {0x17E800, "Drehscheibe 24 Position", A, &L2, 7, 0, kFrameNone, "drehscheibe"},
    {0x8, "Klemmo", A, &L3, kOneColumn, 0, kFrameZusatz, "klemmo"},
    {0x208, "Klemmo  ab V3.51", A, &L3, kOneColumn, 0, kFrameZusatz, "klemmo"},
    {0x308, "Klemmo  ab V3.58", A, &L3, kOneColumn, 0, kFrameZusatz, "klemmo"},
    {0x9, "Klemmo Andreas", A, &L4, kOneColumn, 0, kFrameNone, "klemmo"},
    {0xA, "Duvra", A, &L5, kOneColumn, 0, kFrameZusatz, "duvra"},
    {0x20A, "Duvra ab V3.51", A, &L5, kOneColumn, 0, kFrameZusatz, "duvra"},
    {0x30A, "Duvra ab V3.58", A, &L5, kOneColumn, 0, kFrameZusatz, "duvra"},
    {0x30C, "Klemmo-Autofuse ab V3.58", A, &L5, kOneColumn, 0, kFrameZusatz, "klemmo"},
    {0x4, "Duvra - 3Wege", A, &L6, kOneColumn, 0, kFrameNone, "duvra"},
    {0x3, "Duvra - Signal 2x2", A, &L7, kOneColumn, 0, kFrameZusatz, "duvra"},
    {0x5, "Duvra - Signal 1x4", A, &L8, kOneColumn, 0, kFrameNone, "duvra"},
    {0xB, "Duvra - Schalten", A, &L8, kOneColumn, 0, kFrameZusatz, "duvra"},
    {0x2, "Duvra - Spur 1", A, &L9, kOneColumn, 0, kFrameZusatz, "duvra"},
    {0x202, "Duvra - Spur 1  ab V3.51", A, &L9, kOneColumn, 0, kFrameZusatz, "duvra"},
    {0x302, "Duvra - Spur 1  ab V3.58", A, &L9, kOneColumn, 0, kFrameZusatz, "duvra"},
    {0x6, "Duvra - Signal HL", A, &L10, kOneColumn, 0, kFrameNone, "duvra"},
    {0x7, "Duvra - Signal StraBa", A, &L11, kOneColumn, 0, kFrameNone, "duvra"},
    {0x4400, "F-Dekoder mit CV", F, nullptr, kOneColumn, 0, kFrameRegister, "f-dekoder-cv"},
    {0x3D00, "Duvra - F-Dekoder Schalten", F, &L8, kOneColumn, 0, kFrameZusatz, "duvra-f-dekoder"},
    {0x13D00, "Duvra - F-Dekoder Schalten ab V0.60", F, &L12, kOneColumn, 0, kFrameZusatz, "duvra-f-dekoder"},
    {0x3F00, "Duvra - F-Dekoder Blinken", F, &L13, kOneColumn, 0, kFrameNone, "duvra-f-dekoder"},
    {0x13F00, "Duvra - F-Dekoder Blinken ab V0.60", F, &L13, kOneColumn, 0, kFrameZusatz, "duvra-f-dekoder"},
    {0x4000, "Duvra - F-Dekoder Neon ab V0.37", N, &L14, kOneColumn, 0, kFrameNone, "duvra-neon"},
    {0x4100, "Duvra/Bramo - F.Dekoder Neon ab V0.42", F, &L15, kOneColumn, 0, kFrameNone, "duvra-neon"},
    {0x1A4100, "Duvra/Bramo - F-Dekoder Neon ab V0.44", F, &L15, kOneColumn, 0, kFrameZusatz, "duvra-neon"},
    {0x1B4100, "Duvra/Bramo - F-Dekoder Neon ab V0.44", F, &L15, kOneColumn, 0, kFrameZusatz, "duvra-neon"},
    {0x2A4100, "Duvra/Bramo - F-Dekoder Neon ab V0.60", F, &L16, kOneColumn, 0, kFrameZusatz, "duvra-neon"},
    {0x2B4100, "Duvra/Bramo - F-Dekoder Neon ab V0.60", F, &L16, kOneColumn, 0, kFrameZusatz, "duvra-neon"},
    {0x3C00, "Duvra - Funktionsdekoder Weiche", F, &L5, kOneColumn, 0, kFrameNone, "duvra-f-dekoder"},
    {0x69, "Relaisdekoder 8", A, &L17, kOneColumn, 8, kFrameZusatz, "relais"},
    {0x65, "Tarnel", A, &L18, kOneColumn, 0, kFrameZusatz, "tarnel"},
    {0x265, "Tarnel ab V3.51", A, &L18, kOneColumn, 0, kFrameZusatz, "tarnel"},
    {0x365, "Tarnel ab V3.58", A, &L18, kOneColumn, 0, kFrameZusatz, "tarnel"},
    {0x6A, "Lucor - Schalten", A, &L19, kOneColumn, 0, kFrameZusatz, "lucor"},
    {0x6B, "Lucor - Signal 5x2", A, &L20, kOneColumn, 0, kFrameNone, "lucor-signal"},
    {0x6C, "Lucor - Signal 4", A, &L21, kOneColumn, 4, kFrameZusatz, "lucor-signal"},
    {0x6D, "Lucor - Signal SBB", A, &L22, kOneColumn, 0, kFrameZusatz, "lucor-signal"},
    {0x68, "Lucor - Andreaskreuz / Schranke", A, &L23, kOneColumn, 0, kFrameZusatz, "lucor"},
    {0x67, "Lucor - Ampel < V3.40", A, &L24, kOneColumn, 2, kFrameNone, "lucor"},
    {0x167, "Lucor - Ampel V3.40", A, &L24, kOneColumn, 2, kFrameZusatz, "lucor"},
    {0x267, "Lucor - Ampel ab V3.41", A, &L24, kOneColumn, 2, kFrameZusatz, "lucor"},
    {0x6E, "Lucor - Blink", A, &L25, kOneColumn, 0, kFrameNone, "lucor"},
    {0x6F, "Lucor - Kirmes", A, &L26, kOneColumn, 0, kFrameZusatz, "lucor"},
    {0x70, "Lucor - Neon", A, &L23, kOneColumn, 0, kFrameNone, "lucor"},
    {0x170, "Lucor - Neon ab V3.38", A, &L23, kOneColumn, 0, kFrameZusatz, "lucor"},
    {0x270, "Lucor - Neon ab V3.48", A, &L23, kOneColumn, 0, kFrameZusatz, "lucor"},
    {0x66, "Lucor - Gas", A, &L23, kOneColumn, 0, kFrameZusatz, "lucor"},
    {0x71, "Lucor - Haus", A, &L23, kOneColumn, 0, kFrameZusatz, "lucor"},
    {0x72, "Lucor - Feuer", A, &L23, kOneColumn, 0, kFrameNone, "lucor"},
    {0x3E00, "Lucor - Funktionsdekoder Schalten", F, &L19, kOneColumn, 0, kFrameZusatz, "lucor"},
    {0x13E00, "Lucor - F-Dekoder Schalten ab V0.60", F, &L27, kOneColumn, 0, kFrameZusatz, "lucor"},
    {0xC9, "Lucor - Signal 001 - Einfahrsignal", A, &L28, kOneColumn, 0, kFrameZusatz, "lucor-signal"},
    {0x1C9, "Lucor - Signal 001 - Einfahrsignal ab V3.37", A, &L29, kOneColumn, 6, kFrameZusatz, "lucor-signal"},
    {0xCA, "Lucor - Signal 002 - Ausfahrsignal", A, &L30, kOneColumn, 6, kFrameZusatz, "lucor-signal"},
    {0x1CA, "Lucor - Signal 002 - Ausfahrsignal ab V3.37", A, &L31, kOneColumn, 6, kFrameZusatz, "lucor-signal"},
    {0xCB, "Lucor - Signal 003 - ÖBB", A, &L32, kOneColumn, 7, kFrameZusatz, "lucor-signal"},
    {0xCC, "Lucor - Signal 004 - 2x Ausfahr-Signal", A, &L33, kOneColumn, 4, kFrameNone, "lucor-signal"},
    {0xCD, "Lucor - Signal 005 - HL", A, &L34, kOneColumn, 7, kFrameZusatz, "lucor-signal"},
    {0xCE, "Lucor - Signal 006 - PKP", A, &L35, kOneColumn, 7, kFrameZusatz, "lucor-signal"},
    {0xCF, "Lucor - Signal 007 - Ks", A, &L36, kOneColumn, 7, kFrameZusatz, "lucor-signal"},
    {0xD0, "Lucor - Signal 008 - 2x Ausfahr-Signal (V2)", A, &L37, kOneColumn, 5, kFrameNone, "lucor-signal"},
    {0xD1, "Lucor - Signal 010 - Signal SNCF", A, &L38, kOneColumn, 0, kFrameNone, "lucor-signal"},
    {0xE6, "Lucor - Signal 011 - Signal NS", A, &L39, kOneColumn, 0, kFrameNone, "lucor-signal"},
    {0xE7, "Lucor - Signal 020 - Ausfahrsignal mit fahrstrassenabhängigen Zusatzsignalen", A, &L40, kOneColumn, 6, kFrameNone, "lucor-signal"},
    {0x1E7, "Lucor - Signal 020 ab V3.58", A, &L41, kOneColumn, 6, kFrameNone, "lucor-signal"},
    {0xE8, "Lucor - Signal 021 - Vorsignal mit fahrstrassenabhängigen Zusatzsignalen", A, &L42, kOneColumn, 8, kFrameNone, "lucor-signal"},
    {0xE9, "Lucor - Signal 022 - Belgien", A, &L43, kOneColumn, 8, kFrameNone, "lucor-signal"},
    {0xEA, "Lucor - Signal 030 - DK Entry Signal", A, &L44, kOneColumn, 0, kFrameNone, "lucor-signal"},
    {0xEB, "Lucor - Signal 031 - DK PPU-signals", A, &L45, kOneColumn, 0, kFrameNone, "lucor-signal"},
    {0xEC, "Lucor - Signal 032 - SK/N: Block-, Exit signals", A, &L46, kOneColumn, 0, kFrameNone, "lucor-signal"},
    {0xED, "Lucor - Signal 033 - DK/N: Dwarf Signals", A, &L47, kOneColumn, 0, kFrameNone, "lucor-signal"},
    {0xEE, "Lucor - Signal 034 - DK/N/S: Entry Signal", A, &L48, kOneColumn, 0, kFrameNone, "lucor-signal"},
    {0xD3, "Torv-4 Servo-Dekoder", A, &L49, 4, 0, kFrameTorv, "torvik"},
    {0xD2, "Torvik Servo-Dekoder", A, &L50, 2, 0, kFrameTorv, "torvik"},
    {0x1D2, "Torvik Servo-Dekoder ab V3.58", A, &L50, 2, 0, kFrameTorv, "torvik"},
    {0x4200, "Torvik Servo-Dekoder (F-Dekoder)", F, &L51, 4, 0, kFrameTorv, "torvik"},
    {0x1, "Duvra - Blinkmuster", A, &L52, kOneColumn, 0, kFrameBlinkmuster, "blinkmuster"},
    {0xDD, "LED - Blinkmuster", A, &L52, kOneColumn, 0, kFrameBlinkmusterLed, "led-blinkmuster"},
};

void Build(const Row& r, DecoderType& t) {
    t.type_code = r.code;
    t.name = r.name;
    t.kind = r.kind == 'A' ? DecoderKind::Accessory
             : r.kind == 'F' ? DecoderKind::Function : DecoderKind::None;
    if (r.labels) {
        int row = 1;
        for (const char* label : *r.labels) t.labels[row++] = label;
    }
    t.split = r.split;
    t.gap = r.gap;
    t.frame = r.frame;
    // The two turntable firmwares carry no chip marker in program word 62.
    if (r.code == 0x30FF || r.code == 0x17E800) t.default_config = "CC01";
    t.doc_page.reserve(std::char_traits<char>::length(r.doc_page) + 5);
    t.doc_page.append(r.doc_page).append(".html");
}

}  // namespace

const DecoderType& CatalogueEntry(std::size_t i) {
    // Each entry is made in its own storage the first time it is asked for (call_once: the
    // roster reads files on several threads) and never destroyed, so the program ends without
    // walking texts just to free them. Making all 80 entries with their 48 row texts wrote
    // some 130 KB at every start of a command that needs one.
    constexpr std::size_t n = std::size(kRows);
    alignas(DecoderType) static unsigned char storage[n][sizeof(DecoderType)];
    static std::once_flag made[n];
    auto* entry = reinterpret_cast<DecoderType*>(storage[i]);
    std::call_once(made[i], [&] { Build(kRows[i], *new (storage[i]) DecoderType); });
    return *entry;
}

std::size_t CatalogueList::size() const { return std::size(kRows); }

CatalogueList Catalogue() { return {}; }

const DecoderType* FindDecoderType(std::uint32_t type_code) {
    // The first entry with the code, in catalogue order (the list is short; no index needed).
    for (std::size_t i = 0; i < std::size(kRows); ++i) {
        if (kRows[i].code == type_code) return &CatalogueEntry(i);
    }
    return nullptr;
}

const char* KindName(DecoderKind kind) {
    switch (kind) {
        case DecoderKind::Accessory: return "A";
        case DecoderKind::Function: return "F";
        case DecoderKind::None: return "none";
    }
    return "none";
}

}  // namespace parvel
