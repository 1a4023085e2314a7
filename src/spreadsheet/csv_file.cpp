#include "spreadsheet/csv_file.h"

#include <QSaveFile>

namespace csvfile {

QString line(const QStringList& fields)
{
    QStringList out;
    out.reserve(fields.size());
    for (const QString& f : fields) {
        const bool quoted = f.contains(u';') || f.contains(u'"') || f.contains(u'\n') || f.contains(u'\r')
                            || (!f.isEmpty() && (f.front().isSpace() || f.back().isSpace()));
        if (!quoted) {
            out << f;
            continue;
        }
        QString q = f;
        q.replace(u'"', QStringLiteral("\"\""));
        out << QStringLiteral("\"") + q + QStringLiteral("\"");
    }
    return out.join(u';');
}

QString money(qint64 kopecks)
{
    const bool negative = kopecks < 0;
    const quint64 magnitude = negative ? quint64(0) - quint64(kopecks) : quint64(kopecks);
    return (negative ? QStringLiteral("-") : QString()) + QString::number(magnitude / 100) + u','
           + QStringLiteral("%1").arg(magnitude % 100, 2, 10, QChar(u'0'));
}

bool write(const QString& path, const QList<QStringList>& rows, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error) *error = file.errorString();
        return false;
    }
    QByteArray text("\xEF\xBB\xBF");
    for (const QStringList& row : rows) {
        text += line(row).toUtf8();
        text += "\r\n";
    }
    if (file.write(text) != text.size() || !file.commit()) {
        if (error) *error = file.errorString();
        return false;
    }
    return true;
}

}  // namespace csvfile
