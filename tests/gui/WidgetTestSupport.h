#pragma once

// Small helpers the widget tests share: finding a named child, typing and dragging as a user
// does, and reading a saved file back through a fresh session.

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QAbstractButton>
#include <QLineEdit>
#include <QToolButton>
#include <QString>
#include <QWidget>
#include <QtTest>
#include <string>
#include <vector>

#include "document/DecoderDocument.h"
#include "app/FormMain.h"
#include "tests/support/ScriptedDialogs.h"

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
    parvel::ScriptedDialogs quiet;
    parvel::DecoderDocument session(quiet);
    if (!session.LoadHexFile(path)) qFatal("saved file does not load");
    return session.image();
}

// Grid rows 1..15 of a DCC accessory fixture at address 1, red, so that saving the loaded file
// unchanged writes it byte for byte (an erased row would be stored as address 0 instead).
template <class Fixture>
void DccRowsAtAddressOne(Fixture& f) {
    for (int c = 1; c < 16; ++c) {
        f.eeprom[c] = 0x79;
        f.eeprom[c + 16] = 0xF0;
        f.eeprom[c + 32] = 0x05;
    }
}

// The bytes of a file ("" when it cannot be read).
inline QByteArray FileBytes(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The first line in which two files differ, both versions, for a failure message.
inline QByteArray FirstDifference(const QByteArray& a, const QByteArray& b) {
    const QList<QByteArray> la = a.split('\n');
    const QList<QByteArray> lb = b.split('\n');
    for (int i = 0; i < std::max(la.size(), lb.size()); ++i) {
        const QByteArray x = i < la.size() ? la[i].trimmed() : QByteArray("(none)");
        const QByteArray y = i < lb.size() ? lb[i].trimmed() : QByteArray("(none)");
        if (x != y) return "line " + QByteArray::number(i + 1) + ": " + x + " / " + y;
    }
    return "no difference";
}

// Saves the window's file as `path`, taking over what a frame still holds.
inline void SaveAs(TFormMain& window, parvel::ScriptedDialogs& dialogs, const std::string& path) {
    for (auto frame : {parvel::PendingFrame::Torv, parvel::PendingFrame::Blinkmuster,
                       parvel::PendingFrame::BlinkmusterLed}) {
        if (window.document().HasPendingChanges(frame)) dialogs.answers.push_back(parvel::Answer::Yes);
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
    const parvel::DecoderDocument& document = window.document();
    const parvel::EditHistory& history = document.history();
    steps = static_cast<int>(history.index());
    QVERIFY2(steps > 0, "the actions made no step");
    const QByteArray original = FileBytes(loaded);
    QVERIFY(!original.isEmpty());
    QVERIFY2(FileBytes(edited) != original, "the actions changed nothing in the file");

    // The first undo and the first redo by their keys, wherever the actions left the focus.
    auto focus = [&window] {
        QWidget* f = QApplication::focusWidget();
        return f && f->window() == &window ? f : static_cast<QWidget*>(&window);
    };
    // Window shortcuts work in the active window (on a display without a window manager a
    // shown window is not activated by itself).
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(focus(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(static_cast<int>(history.index()), steps - 1);
    QTest::keyClick(focus(), Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(static_cast<int>(history.index()), steps);
    while (document.CanUndo()) window.UndoClick();
    SaveAs(window, dialogs, undone);
    QCoreApplication::processEvents();
    QCOMPARE(static_cast<int>(history.index()), 0);
    QCOMPARE(static_cast<int>(history.count()), steps);
    QVERIFY2(FileBytes(undone) == original,
             "undo all: the file differs from the loaded one, " +
                 FirstDifference(original, FileBytes(undone)));

    while (document.CanRedo()) window.RedoClick();
    QCOMPARE(static_cast<int>(history.index()), steps);
    SaveAs(window, dialogs, redone);
    QCoreApplication::processEvents();
    QCOMPARE(static_cast<int>(history.count()), steps);
    QVERIFY2(FileBytes(redone) == FileBytes(edited),
             "redo all: the file differs from the edited one, " +
                 FirstDifference(FileBytes(edited), FileBytes(redone)));
}

// A user's actions on a blink pattern editor, ';'-separated: "rad2" (address 2), "loop",
// "out3" (use box 3), "copy1", "take" ("Übernehmen"), "discard" ("Verwerfen"), "count=12" and
// "stretch=3" (typed, finished with Return), "count+" / "count-" / "stretch+" (spinner),
// "draw2" / "erase2" (a stroke over the first steps of strip 2, high / low).
struct PatternNames {
    QString prefix;  // "blinkmuster_"
    QString strip;   // "Image_Blink"
    QString count_updown;
    QString stretch_updown;
};

// The rows of both pattern editors' undo round trip: the same runs of actions, each editor
// doing them through its own controls.
inline void PatternUndoRows() {
    QTest::addColumn<QString>("actions");
    QTest::newRow("drawing") << "draw1;erase1;draw2";
    QTest::newRow("drawing taken over") << "draw1;take;draw3;rad2;draw1";
    QTest::newRow("count and stretch") << "count=12;stretch=3;count+;stretch-;count-";
    QTest::newRow("loop, outputs, copy") << "loop;out2;rad3;copy1;loop";
    QTest::newRow("taken over and discarded") << "draw1;take;rad2;count=7;discard;stretch=9";
}

inline void PatternActions(QWidget* frame, const PatternNames& names, const QString& actions) {
    for (const QString& action : actions.split(';')) {
        if (action.startsWith("count=") || action.startsWith("stretch=")) {
            const QStringList parts = action.split('=');
            const QString edit = parts[0] == "count" ? "edt_Anzahl" : "edt_stretch";
            TypeText(Child<QLineEdit>(frame, names.prefix + edit), parts[1], true);
        } else if (action.endsWith('+') || action.endsWith('-')) {
            const QString updown =
                action.startsWith("count") ? names.count_updown : names.stretch_updown;
            auto* spinner = Child<QWidget>(frame, updown);
            const QList<QToolButton*> buttons = spinner->findChildren<QToolButton*>();
            // The upper button steps up.
            QToolButton* up = buttons[0]->y() <= buttons[1]->y() ? buttons[0] : buttons[1];
            QToolButton* down = up == buttons[0] ? buttons[1] : buttons[0];
            QTest::mouseClick(action.endsWith('+') ? up : down, Qt::LeftButton);
        } else if (action.startsWith("draw") || action.startsWith("erase")) {
            const QString n = action.mid(action.startsWith("draw") ? 4 : 5);
            QWidget* strip = Child<QWidget>(frame, names.strip + n);
            const int y = action.startsWith("draw") ? 3 : strip->height() - 3;
            Drag(strip, {{2, y}, {strip->width() / 6, y}, {strip->width() / 4, y}});
        } else {
            QString name = action;
            if (action.startsWith("rad")) name = "rad_a" + action.mid(3);
            if (action == "loop") name = "cbx_loop";
            if (action.startsWith("out")) name = "cbx_out" + action.mid(3);
            if (action.startsWith("copy")) name = "btn_copy" + action.mid(4);
            if (action == "take") name = "btn_uebernehmen";
            if (action == "discard") name = "btn_verwerfen";
            auto* button = Child<QAbstractButton>(frame, names.prefix + name);
            QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
        }
        QCoreApplication::processEvents();
    }
}

}  // namespace guitest
