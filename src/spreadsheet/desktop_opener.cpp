#include "spreadsheet/desktop_opener.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace desktop_opener {

#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)

namespace {

// xdg-mime answers at once; a desktop that takes longer is taken as having no answer.
constexpr int kAnswerMs = 10000;

// The desktop's own application for the type, as xdg-open would choose it; empty when there is none.
QString defaultApplication(const QString& type)
{
    QProcess query;
    query.setStandardErrorFile(QProcess::nullDevice());
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), type});
    if (!query.waitForFinished(kAnswerMs) || query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0)
        return {};
    return QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed();
}

}  // namespace

bool open(const QString& path, const QString& type)
{
    // xdg-open starts without complaint when nothing handles the type, says so only on its own standard
    // error and ends long after the program has gone on: the application is asked for before.
    if (defaultApplication(type).isEmpty()) return false;
    return QProcess::startDetached(QStringLiteral("xdg-open"), {path});
}

#else

bool open(const QString& path, const QString&)
{
    // Here the desktop's own call answers whether an application took the file.
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

#endif

}  // namespace desktop_opener
