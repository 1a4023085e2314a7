#include "spreadsheet/spreadsheet_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace spreadsheet_files {

QString programFolder()
{
    static QString folder;
    // Made again if something cleared the temporary location while the program ran.
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        folder.clear();
        QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/piecework-XXXXXX"));
        if (dir.isValid()) {
            dir.setAutoRemove(false);
            folder = dir.path();
        }
    }
    return folder;
}

QString claimWorkbookFile(const QString& folder)
{
    if (!QDir().mkpath(folder)) return {};
    for (int n = 1;; ++n) {
        const QString path = QDir(folder).filePath(QStringLiteral("Книга%1.xlsx").arg(n));
        QFile file(path);
        // Created only when absent, so that no workbook of this or another run is overwritten.
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return path;
        if (!QFile::exists(path)) return {};
    }
}

}  // namespace spreadsheet_files
