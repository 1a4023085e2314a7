#include "support/pdf_text.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {

constexpr double kMmPerPt = 25.4 / 72;

QString run(const QStringList& args, QString* error)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        *error = QStringLiteral("pdftotext failed: ") + QString::fromUtf8(p.readAllStandardError());
        return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

}  // namespace

bool PdfText::toolsInstalled()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

PdfText::PdfText(const QString& path) : path_(path)
{
    const QString html = run({QStringLiteral("-bbox"), path, QStringLiteral("-")}, &error);
    static const QRegularExpression token(
        QStringLiteral(R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    for (auto it = token.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0).startsWith(QLatin1String("<page"))) {
            ++pageCount;
            continue;
        }
        const QRectF box(QPointF(m.captured(1).toDouble() * kMmPerPt, m.captured(2).toDouble() * kMmPerPt),
                         QPointF(m.captured(3).toDouble() * kMmPerPt, m.captured(4).toDouble() * kMmPerPt));
        QString text = m.captured(5);
        text.replace(QLatin1String("&quot;"), QLatin1String("\"")).replace(QLatin1String("&lt;"), QLatin1String("<"))
            .replace(QLatin1String("&gt;"), QLatin1String(">")).replace(QLatin1String("&amp;"), QLatin1String("&"));
        words.append({text, box, pageCount});
    }
}

QStringList PdfText::lines(int page) const
{
    QStringList args{QStringLiteral("-layout")};
    if (page > 0) args << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l") << QString::number(page);
    QString ignored;
    QStringList out;
    for (QString line : run(args << path_ << QStringLiteral("-"), &ignored).split(u'\n')) {
        line = line.simplified();
        if (!line.isEmpty()) out << line;
    }
    return out;
}

PdfWord PdfText::word(const QString& text, int page) const
{
    for (const PdfWord& w : words)
        if (w.text == text && (page == 0 || w.page == page)) return w;
    return {};
}
