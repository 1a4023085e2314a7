#include "store/sql_text.h"

#include "store/db_error.h"

namespace sqltext {

Bound bind(const QString& statement, const QHash<QString, QVariant>& params)
{
    QHash<QString, QVariant> lower;
    for (auto it = params.begin(); it != params.end(); ++it) lower.insert(it.key().toLower(), it.value());
    QStringList names;
    Bound b{toPositional(statement, &names), {}};
    for (const QString& n : names) b.values << lower.value(n.toLower());
    return b;
}

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
    checkStorable(text);
    QString body = QString(text).replace(u'\'', QStringLiteral("''"));
    if (!text.contains(u'\\')) return u'\'' + body + u'\'';
    // A plain literal would read a backslash as an escape on a server with standard_conforming_strings off
    // and as itself with it on; an escape literal reads the same on both.
    return QStringLiteral("E'") + body.replace(u'\\', QStringLiteral("\\\\")) + u'\'';
}

void checkStorable(const QString& text)
{
    if (!text.contains(QChar(0)) && text.isValidUtf16()) return;
    throw DbError(QStringLiteral("Текст содержит символ, который нельзя сохранить в базе данных "
                                 "(символ с кодом 0 или неполный символ Юникода); уберите его и повторите."),
                  DbError::Kind::Conversion);
}

void checkTypedText(const QString& text)
{
    checkStorable(text);
    if (text.contains(u'\n') || text.contains(u'\r'))
        throw DbError(QStringLiteral("Текст не может содержать перевод строки; введите его в одну строку."),
                      DbError::Kind::Conversion);
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
