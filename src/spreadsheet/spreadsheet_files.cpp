#include "spreadsheet/spreadsheet_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

namespace spreadsheet_files {
namespace {

const QString kFolderName = QStringLiteral("piecework");

QString folderUnder(QStandardPaths::StandardLocation location)
{
    const QString base = QStandardPaths::writableLocation(location);
    // An empty location would make a folder relative to wherever the program was started.
    if (base.isEmpty() || !QDir::isAbsolutePath(base)) return {};
    const QString folder = QDir(base).filePath(kFolderName);
    if (!QDir().mkpath(folder)) return {};
    // The workbooks hold the shop's data: for the user's eyes only.
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return folder;
}

bool isOwnWorkbook(const QString& name)
{
    static const QRegularExpression own(QStringLiteral("^Книга[1-9][0-9]*\\.xlsx$"));
    return own.match(name).hasMatch();
}

}  // namespace

QString programFolder()
{
    // Not the temporary folder: files there are never cleared by the program, and TMPDIR may name a
    // folder that does not exist.
    QString folder = folderUnder(QStandardPaths::GenericCacheLocation);
    if (folder.isEmpty()) folder = folderUnder(QStandardPaths::DocumentsLocation);
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

int removeWorkbooksBefore(const QString& folder, const QDateTime& before)
{
    if (folder.isEmpty()) return 0;
    int removed = 0;
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files | QDir::NoSymLinks);
    for (const QFileInfo& f : files)
        if (isOwnWorkbook(f.fileName()) && f.lastModified() < before && QFile::remove(f.filePath())) ++removed;
    return removed;
}

void removeOldWorkbooks()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QDateTime weekAgo = QDateTime::currentDateTime().addDays(-kKeptDays);
    for (const QString& b : {base, docs}) {
        if (b.isEmpty() || !QDir::isAbsolutePath(b)) continue;
        const QString folder = QDir(b).filePath(kFolderName);
        if (QFileInfo(folder).isDir()) removeWorkbooksBefore(folder, weekAgo);
    }
}

}  // namespace spreadsheet_files
