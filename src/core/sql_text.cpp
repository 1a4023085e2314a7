#include "core/sql_text.h"

namespace sqltext {

QString toPositional(const QString& s, QStringList* names)
{
    QString out;
    out.reserve(s.size());
    const qsizetype n = s.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = s.at(i);
        if (c == u'\'' || c == u'"') {
            const qsizetype start = i++;
            while (i < n && s.at(i) != c) ++i;
            ++i;
            out += QStringView(s).mid(start, qMin(i, n) - start);
        } else if (c == u'-' && i + 1 < n && s.at(i + 1) == u'-') {
            const qsizetype start = i;
            while (i < n && s.at(i) != u'\n') ++i;
            out += QStringView(s).mid(start, i - start);
        } else if (c == u':' && i + 1 < n && s.at(i + 1) == u':') {
            out += QStringLiteral("::");
            i += 2;
        } else if (c == u':' && i + 1 < n && (s.at(i + 1).isLetter() || s.at(i + 1) == u'_')) {
            qsizetype j = i + 1;
            while (j < n && (s.at(j).isLetterOrNumber() || s.at(j) == u'_')) ++j;
            if (names) names->append(s.mid(i + 1, j - i - 1));
            out += u'?';
            i = j;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

QString quote(const QString& text)
{
    return u'\'' + QString(text).replace(u'\'', QStringLiteral("''")) + u'\'';
}

QString date(const QDate& d)
{
    return QStringLiteral("to_date('%1', 'DD.MM.YYYY')").arg(d.toString(QStringLiteral("dd.MM.yyyy")));
}

QString number(double value, int maxDecimals)
{
    QString t = QString::number(value, 'f', maxDecimals);
    if (t.contains(u'.')) {
        while (t.endsWith(u'0')) t.chop(1);
        if (t.endsWith(u'.')) t.chop(1);
    }
    if (t == QStringLiteral("-0")) t = QStringLiteral("0");
    return t;
}

}  // namespace sqltext
