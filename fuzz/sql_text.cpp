// Statement texts: placeholder rewriting (toPositional) over any text, and quoted literals built from any
// text. Input: line 1 a statement; lines 2 and 3 texts to quote; line 4 a comment.
#include "store/db_error.h"
#include "store/sql_text.h"
#include "fuzz_support.h"

#include <cmath>

namespace {

// The text a literal made by quote() stands for: quotes undoubled, and in an escape literal (E'...')
// backslashes undoubled.
QString unquoted(const QString& literal)
{
    const bool escape = literal.startsWith(u'E');
    QString body = literal.mid(escape ? 2 : 1).chopped(1);
    body.replace(QStringLiteral("''"), QStringLiteral("'"));
    if (escape) body.replace(QStringLiteral("\\\\"), QStringLiteral("\\"));
    return body;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::startOnce();
    const QString input = fuzz::text(data, size);
    const QStringList l = fuzz::lines(input, 4);

    // Any text: one ? per placeholder name, every other character kept, and a second pass finds nothing more.
    QStringList names;
    const QString positional = sqltext::toPositional(input, &names);
    FUZZ_CHECK(positional.count(u'?') == input.count(u'?') + names.size(), input);
    for (const QString& name : names)
        FUZZ_CHECK(!name.isEmpty() && (name.at(0).isLetter() || name.at(0) == u'_'), input + u'|' + name);
    QStringList again;
    FUZZ_CHECK(sqltext::toPositional(positional, &again) == positional && again.isEmpty(), input);

    // Texts quoted into a statement stay data: whatever they hold, the literals and the comment come out
    // as they went in, and exactly the statement's own placeholders are found.
    try {
        const QString first = sqltext::quote(l.at(1));
        const QString second = sqltext::quote(l.at(2));
        FUZZ_CHECK(unquoted(first) == l.at(1), first);
        const QString comment = QStringLiteral("-- ") + l.at(3) + u'\n';
        const QString statement = QStringLiteral("select ") + first + QStringLiteral(", :a::numeric from t where b=")
            + second + comment + QStringLiteral(" and c = :c_1");
        QStringList found;
        const QString rewritten = sqltext::toPositional(statement, &found);
        FUZZ_CHECK(rewritten == QStringLiteral("select ") + first + QStringLiteral(", ?::numeric from t where b=") + second
                       + comment + QStringLiteral(" and c = ?"),
                   statement + QStringLiteral(" => ") + rewritten);
        FUZZ_CHECK(found == QStringList({"a", "c_1"}), statement + QStringLiteral(" => ") + found.join(u','));
    } catch (const DbError&) {
        // a text the database cannot hold is refused before it reaches a statement
    }

    // Numbers written into statements: plain decimals with a point that read back as the number.
    for (const double v : fuzz::numbers(l.mid(0, 8))) {
        if (!std::isfinite(v)) continue;
        const QString t = sqltext::number(v);
        bool ok = false;
        const double back = t.toDouble(&ok);
        FUZZ_CHECK(ok && std::fabs(back - v) <= 5e-16 + std::fabs(v) * 1e-15 && t != QStringLiteral("-0"), t);
        for (const QChar c : t) FUZZ_CHECK(c.isDigit() || c == u'.' || c == u'-', t);
    }
    return 0;
}
