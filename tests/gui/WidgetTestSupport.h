#pragma once

// Small helpers the widget tests share: finding a named child, typing and dragging as a user
// does, and reading a saved file back through a fresh session.

#include <QLineEdit>
#include <QString>
#include <QWidget>
#include <QtTest>
#include <string>
#include <vector>

#include "DecoderSession.h"
#include "RecordingView.h"

namespace guitest {

// The child with this object name; a missing one stops the test at once, since every check
// after it would only report a null pointer.
template <class T>
T* Child(QObject* parent, const QString& name) {
    T* child = parent->findChild<T*>(name);
    if (!child) qFatal("no child %s", qPrintable(name));
    return child;
}

// Replaces the field's text by typing; with `finish` the edit ends with Return.
inline void TypeText(QLineEdit* edit, const QString& text, bool finish) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
    if (finish) QTest::keyClick(edit, Qt::Key_Return);
}

// A drag over the given points: press at the first, move through all, release at the last.
inline void Drag(QWidget* widget, const std::vector<QPoint>& points) {
    QTest::mousePress(widget, Qt::LeftButton, {}, points.front());
    for (const QPoint& p : points) QTest::mouseMove(widget, p);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, points.back());
}

// The image of a written file as a fresh session reads it.
inline parvel::FirmwareImage Reread(const std::string& path) {
    parvel::RecordingView view;
    parvel::ScriptedDialogs quiet;
    parvel::DecoderSession session(view, quiet);
    if (!session.LoadHexFile(path)) qFatal("saved file does not load");
    return session.image();
}

}  // namespace guitest
