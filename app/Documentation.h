#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <string>

namespace parvel {

// The documentation pages ship with the program (there is no web site): a folder "doc" with
// index.html and one page per decoder family. They are found relative to the executable, so
// the program can be moved or installed under any prefix.

// The program's installed data folder for an executable in executable_dir: "../share/hexparvel"
// from the install's bin folder. It exists only when the program runs from an installation.
QString InstalledDataDir(const QString& executable_dir);

// True when the program runs from an installation under a prefix (/usr/bin beside
// /usr/share/hexparvel), which keeps its window settings per user. Where the data lies in the
// program's own folder (Windows: the installed and the unpacked program alike), this says
// nothing; whether that folder is writable decides (ChooseSettingsPath).
bool RunsFromPrefixInstallation(const QString& executable_dir);

// Folders searched, in order, for the program at executable_dir: the installed pages
// (InstalledDataDir + "/doc"), then the build tree's copy one level up (build/doc beside
// build/app/hexparvel).
QStringList DocumentationCandidates(const QString& executable_dir);

// File URL prefix (ending in '/') of the first candidate that holds index.html; the first
// candidate's URL when none does, so that addresses still name the expected place.
std::string DocumentationRoot(const QStringList& candidates);

// The program's icon as its installation ships it: the PNG files `id`.png of every NxN size
// folder of the hicolor theme beside InstalledDataDir, smallest first. Looked up here rather
// than through the desktop's icon theme, whose index takes longer to read than the whole
// window takes to build. Empty when the program does not run from an installation.
struct IconFile {
    int size = 0;
    QString path;
};
QList<IconFile> InstalledIconFiles(const QString& executable_dir, const QString& id);

}  // namespace parvel
