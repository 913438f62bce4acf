#pragma once

#include <array>
#include <string>
#include <vector>

#include "document/DecoderDocument.h"

namespace parvel {

// What a window showing the document would show, kept as plain values for the tests: it listens
// to the document and reads what changed.
class RecordingView : public DocumentListener {
public:
    struct Row {
        std::string label;
        bool visible = false;
        bool shows_button = false;    // R/G button (accessory firmwares)
        bool shows_function = false;  // function number field
        std::string address_hint;
        std::string function_hint;
        RowColour colour = RowColour::White;
        std::string stored_hint;  // set for a row whose stored bytes match no address
    };

    explicit RecordingView(DecoderDocument& document) : m_document(document) {
        document.SetListener(this);
    }
    ~RecordingView() override { m_document.SetListener(nullptr); }

    std::array<std::string, 4> status;
    std::array<Row, kGridRows> rows;
    int split = 15;
    int gap = 0;
    int frame_code = kFrameNone;
    std::string header = "Hex Parvel";
    bool save_enabled = false;
    std::string web_caption = "Web";
    int focused_address = -1;
    int focused_function = -1;
    std::vector<std::string> calls;

    void LoadStarted() override;
    void DecoderChanged() override;
    void RowsChanged() override;
    void StatusChanged(int panel) override;
    void SaveEnabledChanged() override { save_enabled = m_document.save_enabled(); }
    void FieldRejected(int row, RowField field) override;

private:
    void ShowRows();
    DecoderDocument& m_document;
};

}  // namespace parvel
