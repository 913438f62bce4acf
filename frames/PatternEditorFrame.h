#pragma once

#include <QFrame>
#include <QString>

#include "document/DecoderDocument.h"
#include <array>
#include <memory>
#include <string>
#include <vector>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace parvel {

class Dialogs;
class PatternTable;
class PatternStripCanvas;
class PatternUpDown;

// Object names that tell the two blink pattern editors' controls apart.
struct PatternEditorNames {
    QString prefix;          // "blinkmuster_": blinkmuster_rad_a1, blinkmuster_edt_Anzahl, ...
    QString strip_prefix;    // "Image_Blink": Image_Blink1, ...
    QString count_updown;    // spinner beside the count edit
    QString stretch_updown;  // spinner beside the stretch edit
};

// What the two blink pattern editors have in common: the controls (created here, placed by the
// editor), and the behaviour behind them. The editor's working copy and every rule about it
// live in the PatternTable, which the document owns; this class shows what the table reports and
// routes the controls' events to it, each change a step of the document's history. The image
// changes only through "Übernehmen".
class PatternEditorFrame : public QFrame {
    Q_OBJECT
  public:
    ~PatternEditorFrame() override;

    // Sizes the strips to the frame width and shows the working copy the document read for the
    // loaded file.
    void SetUp(int width);
    // Shows the selected block's parameters and draws the strips (the copy stays as it is).
    void LoadFromImage();

    // The document holds changes of this frame not taken over (typed text included).
    bool HasPendingChanges() const { return m_document.HasPendingChanges(m_kind); }
    // The "Übernehmen" action.
    void TakeOver() { TakeOverClick(); }
    // Stores a count or stretch typed and not finished yet; false when it was refused.
    bool CommitTypedInput();
    // Shows the working copy as it is now (after an undo, a redo or a take-over).
    void ShowWorkingCopy();

    const PatternTable& table() const { return *m_table; }

    // Hiding the frame (another file is loaded) ends a drag and forgets typed text.
    void setVisible(bool visible) override;

    bool loading = false;  // set while the frame fills its own controls


  protected:
    PatternEditorFrame(DecoderDocument& document, Dialogs& dialogs, PatternTable& table,
                       PendingFrame kind, const PatternEditorNames& names, QWidget* parent);

    // Places the strips (and whatever else the editor rearranges) for a frame of `width`.
    virtual void LayOut(int width) = 0;

    void ShowParameters();
    void DrawStrips();

    // The behaviour behind the controls; the editors' named handlers call these.
    void AddressClick(int block);
    void CountChange();
    void StretchChange();
    void CountStep(int delta);
    void StretchStep(int delta);
    void LoopClick();
    void OutputClick(int output);
    void CopyClick(int source_block);
    void TakeOverClick();
    void DiscardClick();
    void StripMouseDown(int output);
    void StripMouseMove(int output, QPoint position);
    void StripMouseUp();

    // Places a label at (left, top) with the width of its text.
    static void PlaceLabel(QLabel* label, int left, int top);

    DecoderDocument& m_document;
    Dialogs& m_dialogs;
    PatternTable* m_table;
    PendingFrame m_kind;

    std::vector<PatternStripCanvas*> m_strips;
    std::vector<QLabel*> m_strip_labels;  // "Out#1" ..
    std::vector<QCheckBox*> m_use_boxes;
    QGroupBox* m_address_group;  // "Parameter für ..."
    std::array<QRadioButton*, 4> m_address{};
    QCheckBox* m_loop;
    QLabel* m_count_label;
    QLineEdit* m_count;
    PatternUpDown* m_count_updown;
    QLabel* m_stretch_label;
    QLineEdit* m_stretch;
    PatternUpDown* m_stretch_updown;
    QLabel* m_info1;
    QLabel* m_info2;
    QLabel* m_copy_label;
    std::array<QPushButton*, 4> m_copy{};
    QPushButton* m_discard;
    QPushButton* m_take_over;

  private:
    enum class Field { Count, Stretch };
    // Stores a typed count or stretch; false when the text was rejected (the user was told).
    bool CommitEdit(Field field);
    int StoredValue(Field field) const;
    // The edit holds a typed value other than the stored one that was not stored yet; the
    // document counts it as a change not taken over.
    bool TypedPending(Field field) const;
    void NoteTyped(Field field);
    void Step(Field field, int delta);
    // "Übernehmen" is enabled exactly while the working copy holds changes not taken over.
    void ShowPending();
    // Records the change just made as a step named after the block: "Muster Adresse 2: …".
    void Record(const std::string& what);

    bool m_reporting = false;  // a rejected value's message is on screen
};

}  // namespace parvel
