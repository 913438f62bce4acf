#pragma once

#include <QString>

#include "Ports.h"

class QWidget;

namespace parvel {

// "HEX|*.hex|TXT|*.txt|*.*|*.*" (description|pattern pairs) as a Qt name filter list:
// "HEX (*.hex);;TXT (*.txt);;*.* (*)". "*.*" becomes "*" so that files without a dot show too.
QString QtNameFilters(const std::string& filter);

// Where the save dialog starts for a proposed name. The name may carry the chip family after
// the path ("x.hex (12F629/16F630)") whose '/' is no folder: the longest leading part that is an
// existing folder is the folder, the rest becomes one file name ('/' -> '_').
QString ProposedSaveFile(const QString& proposed);

// The real dialogs: modal message boxes with the requested buttons and file dialogs.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : m_parent(parent) {}

    Answer ShowMessage(const Message& message) override;
    std::optional<std::string> OpenFileName(const std::string& filter) override;
    std::optional<std::string> SaveFileName(const std::string& filter,
                                            const std::string& default_extension,
                                            const std::string& proposed_name) override;
    std::optional<std::string> FolderName(const std::string& start) override;

private:
    QWidget* Parent() const;

    QWidget* m_parent;
};

}  // namespace parvel
