#include "Documentation.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

#ifndef PARVEL_DATA_FROM_BIN
#define PARVEL_DATA_FROM_BIN "../share/hexparvel"
#endif

namespace parvel {

QString InstalledDataDir(const QString& executable_dir) {
    return QDir::cleanPath(QDir(executable_dir).absoluteFilePath(PARVEL_DATA_FROM_BIN));
}

QStringList DocumentationCandidates(const QString& executable_dir) {
    return {InstalledDataDir(executable_dir) + "/doc",
            QDir::cleanPath(QDir(executable_dir).absoluteFilePath("../doc"))};
}

std::string DocumentationRoot(const QStringList& candidates) {
    QString chosen = candidates.isEmpty() ? QString() : candidates.first();
    for (const QString& folder : candidates) {
        if (QFileInfo(QDir(folder).filePath("index.html")).isFile()) {
            chosen = folder;
            break;
        }
    }
    QString url = QUrl::fromLocalFile(QDir::cleanPath(chosen)).toString(QUrl::FullyEncoded);
    if (!url.endsWith('/')) url += '/';
    return url.toStdString();
}

}  // namespace parvel
