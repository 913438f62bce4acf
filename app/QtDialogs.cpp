#include "app/QtDialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStringList>
#include <vector>

#include "info/DialogPlacement.h"

namespace parvel {

namespace {

// The buttons of a set in the order they are offered, each with its answer and its German
// text (set here, so the question reads the same on every desktop; "Discard" would be "Nicht
// speichern" or "Schließen ohne Speichern" depending on the platform's theme).
struct OfferedButton {
    QMessageBox::StandardButton button;
    Answer answer;
    const char* text;  // nullptr: the translated standard text
};

std::vector<OfferedButton> OfferedButtons(Buttons buttons) {
    switch (buttons) {
        case Buttons::Ok:
            return {{QMessageBox::Ok, Answer::Ok, nullptr}};
        case Buttons::Cancel:
            return {{QMessageBox::Cancel, Answer::Cancel, nullptr}};
        case Buttons::YesNo:
            return {{QMessageBox::Yes, Answer::Yes, nullptr}, {QMessageBox::No, Answer::No, nullptr}};
        case Buttons::YesIgnore:
            return {{QMessageBox::Yes, Answer::Yes, nullptr},
                    {QMessageBox::Ignore, Answer::Ignore, nullptr}};
        case Buttons::CancelIgnore:
            return {{QMessageBox::Cancel, Answer::Cancel, nullptr},
                    {QMessageBox::Ignore, Answer::Ignore, nullptr}};
        case Buttons::Ignore:
            return {{QMessageBox::Ignore, Answer::Ignore, nullptr}};
        case Buttons::YesNoCancel:
            return {{QMessageBox::Yes, Answer::Yes, nullptr},
                    {QMessageBox::No, Answer::No, nullptr},
                    {QMessageBox::Cancel, Answer::Cancel, nullptr}};
        case Buttons::SaveDiscardCancel:
            return {{QMessageBox::Save, Answer::Save, "Speichern"},
                    {QMessageBox::Discard, Answer::Discard, "Verwerfen"},
                    {QMessageBox::Cancel, Answer::Cancel, "Abbrechen"}};
        case Buttons::OverwriteSkipCancel:
            // Yes and No carry the roles a keyboard user expects (Enter, Escape on Cancel).
            return {{QMessageBox::YesToAll, Answer::Overwrite, "Überschreiben"},
                    {QMessageBox::NoToAll, Answer::Skip, "Überspringen"},
                    {QMessageBox::Cancel, Answer::Cancel, "Abbrechen"}};
    }
    return {{QMessageBox::Ok, Answer::Ok, nullptr}};
}

QMessageBox::StandardButtons ButtonSet(Buttons buttons) {
    QMessageBox::StandardButtons set;
    for (const OfferedButton& offered : OfferedButtons(buttons)) set |= offered.button;
    return set;
}

Answer ToAnswer(int button, Buttons buttons) {
    for (const OfferedButton& offered : OfferedButtons(buttons)) {
        if (offered.button == button) return offered.answer;
    }
    return SafeAnswer(buttons);  // closed with Escape or the title bar
}

QString Text(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

QString ProposedSaveFile(const QString& proposed) {
    int cut = -1;
    for (int i = proposed.indexOf('/'); i >= 0; i = proposed.indexOf('/', i + 1)) {
        if (QFileInfo(proposed.left(i + 1)).isDir()) cut = i;
    }
    if (cut < 0) return QString(proposed).replace('/', '_');
    QString name = proposed.mid(cut + 1);
    name.replace('/', '_');
    return QDir(proposed.left(cut + 1)).filePath(name);
}

QWidget* QtDialogs::Parent() const {
    // Over the dialog that is open (the info dialog's compare), else over the main window.
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return m_parent;
}

QString QtNameFilters(const std::string& filter) {
    const QStringList parts = Text(filter).split('|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString pattern = parts[i + 1];
        if (pattern == "*.*") pattern = "*";
        filters << parts[i] + " (" + pattern.replace(';', ' ') + ")";
    }
    return filters.join(";;");
}

std::unique_ptr<QMessageBox> MakeMessageBox(const Message& message, QWidget* parent) {
    auto box = std::make_unique<QMessageBox>(
        message.icon == Icon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon,
        QApplication::applicationName(), Text(parvel::ReadableMessage(message.text)), ButtonSet(message.buttons), parent);
    box->setObjectName("MessageBox");
    for (const OfferedButton& offered : OfferedButtons(message.buttons)) {
        if (offered.text) box->button(offered.button)->setText(offered.text);
    }
    KeepInsideScreenWhenShown(box.get());
    return box;
}

namespace {

std::unique_ptr<QFileDialog> MakeFileDialog(const std::string& filter, const FileDialogPlace& place,
                                            QWidget* parent) {
    auto dialog = std::make_unique<QFileDialog>(parent);
    dialog->setObjectName(Text(place.name));
    dialog->setNameFilter(QtNameFilters(filter));
    if (!place.folder.empty() && QFileInfo(QString::fromStdString(place.folder)).isDir()) {
        dialog->setDirectory(QString::fromStdString(place.folder));
    }
    KeepInsideScreenWhenShown(dialog.get());
    return dialog;
}

}  // namespace

std::unique_ptr<QFileDialog> MakeOpenDialog(const std::string& filter, const FileDialogPlace& place,
                                            QWidget* parent) {
    auto dialog = MakeFileDialog(filter, place, parent);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    return dialog;
}

std::unique_ptr<QFileDialog> MakeSaveDialog(const std::string& filter,
                                            const std::string& default_extension,
                                            const std::string& proposed_name,
                                            const FileDialogPlace& place, QWidget* parent) {
    auto dialog = MakeFileDialog(filter, place, parent);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setDefaultSuffix(Text(default_extension));
    dialog->setOption(QFileDialog::DontConfirmOverwrite, false);
    if (!proposed_name.empty()) dialog->selectFile(ProposedSaveFile(Text(proposed_name)));
    return dialog;
}

Answer QtDialogs::ShowMessage(const Message& message) {
    const auto box = MakeMessageBox(message, Parent());
    return ToAnswer(box->exec(), message.buttons);
}

std::optional<std::string> QtDialogs::OpenFileName(const std::string& filter,
                                                   const FileDialogPlace& place) {
    const auto dialog = MakeOpenDialog(filter, place, Parent());
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return std::nullopt;
    return dialog->selectedFiles().first().toStdString();
}

std::optional<std::string> QtDialogs::SaveFileName(const std::string& filter,
                                                   const std::string& default_extension,
                                                   const std::string& proposed_name,
                                                   const FileDialogPlace& place) {
    const auto dialog =
        MakeSaveDialog(filter, default_extension, proposed_name, place, Parent());
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return std::nullopt;
    return dialog->selectedFiles().first().toStdString();
}

std::optional<std::string> QtDialogs::FolderName(const std::string& start) {
    const QString chosen =
        QFileDialog::getExistingDirectory(Parent(), "Ordner wählen", Text(start));
    if (chosen.isEmpty()) return std::nullopt;
    return chosen.toStdString();
}

}  // namespace parvel
