#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "image/FirmwareImage.h"
#include "settings/NumberInput.h"

namespace parvel {

// The CV register table: which configuration variables a function-decoder firmware keeps in
// its data EEPROM, where the frame's 64 rows sit, and how a typed value goes into the image.
class CvRegisterTable {
  public:
    static constexpr int kRows = 64;
    static constexpr int kRowsPerColumn = 21;  // rows 1..21, 22..42, 43..63, 64 alone
    static constexpr int kCvMinimum = 0;
    static constexpr int kCvMaximum = 255;

    struct Row {
        std::string caption;
        int cell;  // EEPROM cell holding the CV
    };

    struct Rect {
        int left;
        int top;
        int width;
        int height;
    };
    struct RowGeometry {
        Rect caption;
        Rect edit;
    };

    // The rows of a firmware, in display order: 25 for "F-Dekoder mit CV" (0x4400), none for
    // any other type.
    explicit CvRegisterTable(std::uint32_t type_code);

    int row_count() const { return static_cast<int>(m_rows.size()); }
    const Row& row(int index) const { return m_rows.at(static_cast<std::size_t>(index)); }

    // The CV's value as the edit shows it: a plain decimal number.
    std::string ValueText(const FirmwareImage& image, int index) const;

    // CvValueChange: checks the typed text and stores an accepted value into the row's cell.
    // Empty text: nothing. Not a number: the not-a-number message, focus back to the edit.
    // Outside 0..255: rejected with the range message naming 0..255 (never clamped: the cell
    // would then hold a value nobody typed while the edit still shows the typed one).
    NumberInput Change(FirmwareImage& image, int index, const std::string& text) const;

    // Where row 0..63 of the frame sits (columns of 21, row 64 alone in the fourth).
    static RowGeometry Geometry(int index);
    // The separator lines Line1..Line3 between the columns.
    static std::array<Rect, 3> Separators(int panel_height);

  private:
    std::vector<Row> m_rows;
};

}  // namespace parvel
