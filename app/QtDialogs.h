#pragma once

#include <QString>
#include <memory>

#include "image/Dialogs.h"

class QFileDialog;
class QMessageBox;
class QWidget;

namespace parvel {

// "HEX|*.hex|TXT|*.txt|*.*|*.*" (description|pattern pairs) as a Qt name filter list:
// "HEX (*.hex);;TXT (*.txt);;*.* (*)". "*.*" becomes "*" so that files without a dot show too.
QString QtNameFilters(const std::string& filter);

// Where the save dialog starts for a proposed name. The name may carry the chip family after
// the path ("x.hex (12F629/16F630)") whose '/' is no folder: the longest leading part that is an
// existing folder is the folder, the rest becomes one file name ('/' -> '_').
QString ProposedSaveFile(const QString& proposed);

// The dialogs as QtDialogs shows them, built but not run, so that their names, start folders
// and placement can be checked without a person. Each keeps inside the screen when shown.
// Message boxes are named "MessageBox"; file dialogs carry place.name.
std::unique_ptr<QMessageBox> MakeMessageBox(const Message& message, QWidget* parent);
std::unique_ptr<QFileDialog> MakeOpenDialog(const std::string& filter, const FileDialogPlace& place,
                                            QWidget* parent);
std::unique_ptr<QFileDialog> MakeSaveDialog(const std::string& filter,
                                            const std::string& default_extension,
                                            const std::string& proposed_name,
                                            const FileDialogPlace& place, QWidget* parent);

// The real dialogs: modal message boxes with the requested buttons and file dialogs.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : m_parent(parent) {}

    Answer ShowMessage(const Message& message) override;
    std::optional<std::string> OpenFileName(const std::string& filter,
                                            const FileDialogPlace& place = {}) override;
    std::optional<std::string> SaveFileName(const std::string& filter,
                                            const std::string& default_extension,
                                            const std::string& proposed_name,
                                            const FileDialogPlace& place = {}) override;
    std::optional<std::string> FolderName(const std::string& start) override;

private:
    QWidget* Parent() const;

    QWidget* m_parent;
};

}  // namespace parvel
