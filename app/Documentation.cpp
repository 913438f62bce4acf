#include "Documentation.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace parvel {

QStringList DocumentationCandidates(const QString& executable_dir) {
    const QDir dir(executable_dir);
    QStringList list{dir.absoluteFilePath("doc"), QDir::cleanPath(dir.absoluteFilePath("../doc")),
                     QDir::cleanPath(dir.absoluteFilePath("../share/hexparvel/doc"))};
#ifdef PARVEL_SOURCE_DOC_DIR
    list << QStringLiteral(PARVEL_SOURCE_DOC_DIR);
#endif
    return list;
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
