#include "app/Documentation.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <algorithm>

#ifndef PARVEL_DATA_FROM_BIN
#define PARVEL_DATA_FROM_BIN "../share/hexparvel"
#endif

namespace parvel {

QString InstalledDataDir(const QString& executable_dir) {
    return QDir::cleanPath(QDir(executable_dir).absoluteFilePath(PARVEL_DATA_FROM_BIN));
}

bool RunsFromPrefixInstallation(const QString& executable_dir) {
    return QString(PARVEL_DATA_FROM_BIN) != "." && QFileInfo(InstalledDataDir(executable_dir)).isDir();
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

QList<IconFile> InstalledIconFiles(const QString& executable_dir, const QString& id) {
    const QDir hicolor(QDir::cleanPath(InstalledDataDir(executable_dir) + "/../icons/hicolor"));
    QList<IconFile> files;
    for (const QString& folder : hicolor.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        // Size folders are named "NxN".
        const qsizetype x = folder.indexOf('x');
        bool number = false;
        const int size = folder.left(x).toInt(&number);
        if (x <= 0 || !number || size <= 0 || folder.mid(x + 1) != folder.left(x)) continue;
        const QString path = hicolor.filePath(folder + "/apps/" + id + ".png");
        if (QFileInfo(path).isFile()) files.append({size, path});
    }
    std::sort(files.begin(), files.end(),
              [](const IconFile& a, const IconFile& b) { return a.size < b.size; });
    return files;
}

}  // namespace parvel
