#include "screenshots/guide_pictures.h"

#include <QRegularExpression>

QString fillGuidePictures(const QString& guide, const QList<GuidePicture>& pictures, QStringList* unplaced)
{
    static const QRegularExpression place(QStringLiteral("<!-- picture: ([\\w-]+) -->\\n(.*?)<!-- /picture -->"),
                                          QRegularExpression::DotMatchesEverythingOption);
    QString out;
    QStringList placed;
    qsizetype from = 0;
    for (QRegularExpressionMatch m = place.match(guide); m.hasMatch(); m = place.match(guide, from)) {
        out += guide.mid(from, m.capturedStart() - from);
        const QString name = m.captured(1);
        QString body = m.captured(2);
        for (const GuidePicture& p : pictures) {
            if (p.name != name) continue;
            body = p.taken ? QStringLiteral("![%1](%2)\n").arg(p.caption, p.path)
                           : QStringLiteral("*The picture of the window \"%1\" appears here once the program has it.*\n")
                                 .arg(p.caption);
            placed << name;
        }
        out += QStringLiteral("<!-- picture: ") + name + QStringLiteral(" -->\n") + body + QStringLiteral("<!-- /picture -->");
        from = m.capturedEnd();
    }
    out += guide.mid(from);
    if (unplaced)
        for (const GuidePicture& p : pictures)
            if (p.taken && !placed.contains(p.name)) *unplaced << p.name;
    return out;
}
