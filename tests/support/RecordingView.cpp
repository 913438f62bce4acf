#include "tests/support/RecordingView.h"

namespace parvel {

void RecordingView::LoadStarted() {
    frame_code = kFrameNone;
    calls.push_back("HideAllFrames");
}

void RecordingView::DecoderChanged() {
    const DecoderType* entry = m_document.entry();
    split = entry ? entry->split : 15;
    gap = entry ? entry->gap : 0;
    frame_code = m_document.frame_code();
    header = m_document.header_text();
    web_caption = m_document.doc_address();
    for (int r = 0; r < kGridRows; ++r) rows[r].label = m_document.row(r).label;
    ShowRows();
    calls.push_back("DecoderChanged");
}

void RecordingView::ShowRows() {
    const bool shown = m_document.rows_visible() || !m_document.recognised();
    for (int r = 0; r < kGridRows; ++r) {
        Row& row = rows[r];
        row.visible = shown && !row.label.empty();
        row.shows_button = row.visible && m_document.kind() == DecoderKind::Accessory;
        row.shows_function = row.visible && m_document.kind() != DecoderKind::Accessory;
        row.address_hint = row.visible ? AddressHint(m_document.max_address()) : std::string();
        row.function_hint = row.visible ? FunctionHint(m_document.max_function()) : std::string();
    }
}

void RecordingView::RowsChanged() {
    const bool recognised = m_document.recognised();
    for (int r = 0; r < kGridRows; ++r) {
        rows[r].colour = recognised ? m_document.RowColourOf(r) : RowColour::White;
        rows[r].stored_hint = recognised ? m_document.StoredCodeHint(r) : std::string();
    }
    ShowRows();
    calls.push_back("RowsChanged");
}

void RecordingView::StatusChanged(int panel) {
    if (panel >= 0 && panel < 4) status[panel] = m_document.status_text(panel);
}

void RecordingView::FieldRejected(int row, RowField field) {
    (field == RowField::Address ? focused_address : focused_function) = row;
}

}  // namespace parvel
