#include <QAbstractButton>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>
#include <stdexcept>

#include "app/ParvelApplication.h"
#include "app/QtDialogs.h"
#include "tests/support/ScriptedDialogs.h"

namespace {

// Throws from its event handler, as a faulty user action would.
class Faulty : public QObject {
public:
    int handled = 0;
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User) {
            ++handled;
            throw std::runtime_error("Die Datei ist beschädigt");
        }
        return QObject::event(e);
    }
};

}  // namespace

class ApplicationTest : public QObject {
    Q_OBJECT

private slots:
    void exceptionIsShownAndTheProgramGoesOn() {
        auto* app = static_cast<parvel::TParvelApplication*>(QCoreApplication::instance());
        parvel::ScriptedDialogs dialogs;
        app->SetDialogs(&dialogs);
        Faulty faulty;
        QCoreApplication::postEvent(&faulty, new QEvent(QEvent::User));
        QCoreApplication::postEvent(&faulty, new QEvent(QEvent::User));
        bool later = false;
        QTimer::singleShot(0, [&] { later = true; });
        QTRY_VERIFY(later);
        QCOMPARE(faulty.handled, 2);
        QCOMPARE(dialogs.messages.size(), size_t(2));
        QCOMPARE(dialogs.messages[0].text, std::string("Die Datei ist beschädigt"));
        QVERIFY(dialogs.messages[0].icon == parvel::Icon::Warning);
        app->SetDialogs(nullptr);
    }

    void messageBoxesShowGermanButtons_data() {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QString>("press");
        QTest::addColumn<int>("answer");
        using parvel::Answer;
        using parvel::Buttons;
        QTest::newRow("Yes/No") << int(Buttons::YesNo) << QStringList{"&Ja", "&Nein"} << "&Nein"
                                << int(Answer::No);
        QTest::newRow("Yes/Ignore") << int(Buttons::YesIgnore) << QStringList{"&Ja", "Ignorieren"}
                                    << "&Ja" << int(Answer::Yes);
        QTest::newRow("Cancel/Ignore")
            << int(Buttons::CancelIgnore) << QStringList{"Abbrechen", "Ignorieren"} << "Ignorieren"
            << int(Answer::Ignore);
        QTest::newRow("Cancel") << int(Buttons::Cancel) << QStringList{"Abbrechen"} << "Abbrechen"
                                << int(Answer::Cancel);
        QTest::newRow("Save/Discard/Cancel")
            << int(Buttons::SaveDiscardCancel) << QStringList{"Speichern", "Verwerfen", "Abbrechen"}
            << "Speichern" << int(Answer::Save);
        QTest::newRow("Overwrite/Skip/Cancel")
            << int(Buttons::OverwriteSkipCancel)
            << QStringList{"Überschreiben", "Überspringen", "Abbrechen"} << "Überspringen"
            << int(Answer::Skip);
        QTest::newRow("Yes/No/Cancel") << int(Buttons::YesNoCancel)
                                       << QStringList{"&Ja", "&Nein", "Abbrechen"} << "Abbrechen"
                                       << int(Answer::Cancel);
    }

    void messageBoxesShowGermanButtons() {
        QFETCH(int, buttons);
        QFETCH(QStringList, captions);
        QFETCH(QString, press);
        QFETCH(int, answer);
        auto* app = static_cast<parvel::TParvelApplication*>(QCoreApplication::instance());
        QVERIFY(app->InstallGermanQtTranslation());
        QStringList seen;
        bool warning = false;
        std::function<void()> answer_box = [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) {
                QTimer::singleShot(10, answer_box);
                return;
            }
            warning = box->icon() == QMessageBox::Warning;
            for (QAbstractButton* b : box->buttons()) seen << b->text();
            for (QAbstractButton* b : box->buttons()) {
                if (b->text() == press) b->click();
            }
        };
        QTimer::singleShot(0, answer_box);
        QTimer::singleShot(3000, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
        });
        parvel::QtDialogs dialogs;
        const parvel::Answer given = dialogs.ShowMessage(
            {"Geänderte Werte übernehmen?", parvel::Icon::Warning, parvel::Buttons(buttons)});
        seen.sort();
        captions.sort();
        QCOMPARE(seen, captions);
        QVERIFY(warning);
        QCOMPARE(int(given), answer);
    }
};

int main(int argc, char** argv) {
    parvel::TParvelApplication app(argc, argv);
    ApplicationTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ApplicationTest.moc"
