#pragma once

#include <QLabel>
#include <QWidget>
#include <algorithm>

namespace parvel {

// Widens a label to its text when the text needs more room than the label's fixed width (a
// larger desktop font, a longer caption set at run time), so no caption is cut. The label keeps
// its place and never gets narrower; labels that wrap their text or show a picture stay as they
// are.
inline void FitLabelToText(QLabel* label) {
    if (!label || label->wordWrap() || label->text().isEmpty()) return;
    const QSize hint = label->sizeHint();
    if (hint.width() <= label->width() && hint.height() <= label->height()) return;
    label->resize(std::max(label->width(), hint.width()), std::max(label->height(), hint.height()));
}

// The same for every label inside `root`.
inline void FitLabelsToText(QWidget* root) {
    if (!root) return;
    for (QLabel* label : root->findChildren<QLabel*>()) FitLabelToText(label);
}

}  // namespace parvel
