#include "settings/CvRegisterTable.h"

#include <stdexcept>

namespace parvel {

namespace {

// CV number to cell is the firmware's own layout, not a formula.
const std::vector<CvRegisterTable::Row>& CvRows4400() {
    static const std::vector<CvRegisterTable::Row> rows = {
        {"CV1: Kurze Adresse", 0x60},
        {"CV15: Dekoder Sperren", 0x62},
        {"CV16: Dekoder Sperren", 0x63},
        {"CV17: Lange Adresse L", 0x64},
        {"CV18: Lange Adresse H", 0x65},
        {"CV29: Konfiguration", 0x68},
        {"CV48: Dekoder Betriebsart 1", 0x6D},
        {"CV50: Verzögerung 1", 0x6F},
        {"CV52: PWM-Wert 1", 0x71},
        {"CV53: PWM-Wert 2", 0x72},
        {"CV54: Länge Neon-Effekt", 0x73},
        {"CV61: Blinker Frequenz", 0x7A},
        {"CV62: Bremslicht Dauer", 0x7B},
        {"CV63: Bremslicht Schwelle", 0x7C},
        {"CV64: Bremslicht Dauer Stand", 0x7D},
        {"CV115: LISSY: Zug-Kategorie (1-4)", 0x83},
        {"CV140: Mapping Befehl 1", 0x9C},
        {"CV141: Mapping Befehl 2", 0x9D},
        {"CV142: Mapping Befehl 3", 0x9E},
        {"CV143: Mapping Befehl 4", 0x9F},
        {"CV144: Mapping Befehl 5", 0xA0},
        {"CV150: Betriebs-Art Out 1", 0xA6},
        {"CV151: Betriebs-Art Out 2", 0xA7},
        {"CV152: Betriebs-Art Out 3", 0xA8},
        {"CV153: Betriebs-Art Out 4", 0xA9},
    };
    return rows;
}

constexpr int kCaptionLefts[4] = {5, 235, 465, 695};
constexpr int kEditLefts[4] = {175, 405, 635, 865};
constexpr int kSeparatorLefts[3] = {230, 460, 690};

}  // namespace

CvRegisterTable::CvRegisterTable(std::uint32_t type_code) {
    if (type_code == 0x4400) m_rows = CvRows4400();
}

std::string CvRegisterTable::ValueText(const FirmwareImage& image, int index) const {
    return std::to_string(HexByteValue(image.eeprom_cells[row(index).cell]));
}

NumberInput CvRegisterTable::Change(FirmwareImage& image, int index,
                                    const std::string& text) const {
    if (index < 0 || index >= row_count()) return {};
    NumberInput input = CheckNumberInput(text, kCvMinimum, kCvMaximum);
    if (input.accepted()) StoreEepromCell(image, row(index).cell, hex_byte_names()[input.value]);
    return input;
}

CvRegisterTable::RowGeometry CvRegisterTable::Geometry(int index) {
    if (index < 0 || index >= kRows) throw std::out_of_range("CV row index");
    const int column = index / kRowsPerColumn;
    const int r = index % kRowsPerColumn;
    const int top = 15 + 25 * r;
    return {{kCaptionLefts[column], top + 4, 100, 20}, {kEditLefts[column], top, 40, 20}};
}

std::array<CvRegisterTable::Rect, 3> CvRegisterTable::Separators(int panel_height) {
    std::array<Rect, 3> lines{};
    for (int i = 0; i < 3; ++i) lines[i] = {kSeparatorLefts[i], 8, 2, panel_height - 1};
    return lines;
}

}  // namespace parvel
