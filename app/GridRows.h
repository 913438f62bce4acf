#pragma once

#include <QFont>
#include <array>
#include <functional>
#include <string>

#include "document/DecoderDocument.h"
#include "app/WindowLayout.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// The parameter grid's controls inside the main window's group box: the rows are built the
// first time they get a label (rows without a label stay hidden, and their field texts are kept
// until then), placed in one or two columns, coloured red or green and marked when their stored
// bytes match no address. What the rows show comes from the document; the window wires the
// controls to it (SetOnBuilt).
class TGridRows {
public:
    // A row not built has four null pointers.
    struct Row {
        QLabel* label = nullptr;
        QLineEdit* address = nullptr;
        QLineEdit* function = nullptr;
        QPushButton* button = nullptr;  // "R/G"
    };

    // box: the group box the rows live in; window: the top-level widget (tab order).
    TGridRows(QGroupBox* box, QWidget* window, const QFont& row_font);

    // Called once for each row when its controls are built.
    void SetOnBuilt(std::function<void(int, Row&)> on_built) { m_on_built = std::move(on_built); }

    Row& EnsureRow(int r);
    void SetRowLabel(int row, const std::string& label);
    // Places the labelled rows; the placement says whether header and column line show.
    const parvel::GridPlacement& LayoutGrid(int split, int gap);
    // Shows the labelled rows with address field plus R/G button (accessory) or function field,
    // with the input hints for the current limits; hides the rows without label.
    void ShowRows(parvel::DecoderKind kind, int max_address, int max_function);
    void HideAllRows();
    void SetRowFields(int row, const std::string& address, const std::string& function);
    void RecolourRows(const std::array<parvel::RowColour, parvel::kGridRows>& colours);
    // Marks a row whose stored bytes match no address with the hint that says so; an empty
    // hint takes the mark away.
    void MarkStoredCode(int row, const std::string& hint, int max_address);
    void FocusAddressField(int row);
    void FocusFunctionField(int row);

    std::array<Row, parvel::kGridRows> rows;

private:
    void PlaceRow(int r);
    void ColourRow(int r);

    QGroupBox* m_box;
    QWidget* m_window;
    QFont m_row_font;
    std::function<void(int, Row&)> m_on_built;
    // What rows built later take over: field texts, the last placement and colours.
    std::array<std::string, parvel::kGridRows> m_row_address;
    std::array<std::string, parvel::kGridRows> m_row_function;
    parvel::GridPlacement m_grid_place;
    std::array<parvel::RowColour, parvel::kGridRows> m_row_colours{};
    // Hints of rows whose stored bytes match no address (empty: no mark).
    std::array<std::string, parvel::kGridRows> m_row_stored_hint;
    bool m_rows_coloured = false;
    int m_max_address = 0;
};
