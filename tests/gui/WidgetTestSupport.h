#pragma once

// Small helpers the widget tests share: finding a named child, typing and dragging as a user
// does, and reading a saved file back through a fresh session.

#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QString>
#include <QUndoStack>
#include <QWidget>
#include <QtTest>
#include <string>
#include <vector>

#include "DecoderSession.h"
#include "FormMain.h"
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

// The bytes of a file ("" when it cannot be read).
inline QByteArray FileBytes(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Saves the window's file as `path`, taking over what a frame still holds.
inline void SaveAs(TFormMain& window, parvel::ScriptedDialogs& dialogs, const std::string& path) {
    for (auto frame : {parvel::PendingFrame::Torv, parvel::PendingFrame::Blinkmuster,
                       parvel::PendingFrame::BlinkmusterLed}) {
        if (window.HasPendingChanges(frame)) dialogs.answers.push_back(parvel::Answer::Yes);
    }
    dialogs.save_names.push_back(path);
    window.btn_saveClick();
}

// The undo round trip after user actions on `window`, which loaded `loaded`: saves the edited
// file, undoes every step and saves again (byte for byte the loaded file), redoes every step
// and saves a third time (byte for byte the edited file). `folder` takes the saved files;
// `steps` gets the number of steps the actions made. Failures fail the running test.
inline void UndoRoundTrip(TFormMain& window, parvel::ScriptedDialogs& dialogs,
                          const std::string& loaded, const std::string& folder, int& steps) {
    QCoreApplication::processEvents();  // the checks the inputs scheduled
    const std::string edited = folder + "/edited.hex";
    const std::string undone = folder + "/undone.hex";
    const std::string redone = folder + "/redone.hex";
    SaveAs(window, dialogs, edited);
    QUndoStack& history = *window.undoStack();
    steps = history.index();
    QVERIFY2(steps > 0, "the actions made no step");
    const QByteArray original = FileBytes(loaded);
    QVERIFY(!original.isEmpty());
    QVERIFY2(FileBytes(edited) != original, "the actions changed nothing in the file");

    while (history.canUndo()) window.UndoClick();
    SaveAs(window, dialogs, undone);
    QCoreApplication::processEvents();
    QCOMPARE(history.index(), 0);
    QCOMPARE(history.count(), steps);
    QVERIFY2(FileBytes(undone) == original, "undo all: the file differs from the loaded one");

    while (history.canRedo()) window.RedoClick();
    QCOMPARE(history.index(), steps);
    SaveAs(window, dialogs, redone);
    QCoreApplication::processEvents();
    QCOMPARE(history.count(), steps);
    QVERIFY2(FileBytes(redone) == FileBytes(edited), "redo all: the file differs from the edited one");
}

}  // namespace guitest
