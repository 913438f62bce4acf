#pragma once

#include <QString>
#include <QStringList>
#include <string>

namespace parvel {

// The documentation pages ship with the program (there is no web site): a folder "doc" with
// index.html and one page per decoder family.

// Folders searched, in order, for the program at executable_dir: beside it, one level up (the
// build tree copies doc/ there), the installed share folder, then the source tree's folder.
QStringList DocumentationCandidates(const QString& executable_dir);

// File URL prefix (ending in '/') of the first candidate that holds index.html; the first
// candidate's URL when none does, so that addresses still name the expected place.
std::string DocumentationRoot(const QStringList& candidates);

}  // namespace parvel
