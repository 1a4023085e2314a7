#include "hostile_texts.h"

namespace reliability {
namespace {

QString units(std::initializer_list<char16_t> codes)
{
    QString s;
    for (char16_t c : codes) s += QChar(c);
    return s;
}

// `length` UTF-16 units: Cyrillic, a quote and a backslash, with U+FFFE where the driver's pieces of a long
// text begin (every 4095 units) and an emoji across each piece's end.
QString longText(int length)
{
    QString s;
    while (s.size() < length) {
        const qsizetype at = s.size();
        if (at % 4095 == 0)
            s += QChar(0xFFFE);
        else if (at % 4095 == 4094 && at + 2 <= length)
            s += QString::fromUtf8("😀");
        else
            s += QStringLiteral("Щ'\\яz").at(at % 5);
    }
    return s.left(length);
}

}  // namespace

QList<HostileText> hostileTexts()
{
    return {
        {"quote", QStringLiteral("О'Брайен ''x''")},
        {"backslash, quote and a statement", QStringLiteral("\\'); delete from accounts_dep.smena; --")},
        {"quote and a statement", QStringLiteral("'); delete from accounts_dep.smena; --")},
        {"backslashes", QStringLiteral("C:\\new\\table\\ \\\\ \\x41 \\101 \\u0041")},
        {"percent and underscore", QStringLiteral("50%_скидка_%")},
        {"named placeholders", QStringLiteral(":name :data::text :1")},
        {"question marks", QStringLiteral("что? ?? ? $1")},
        {"dollar quotes", QStringLiteral("$$ $tag$ x $tag$ $$")},
        {"block comment", QStringLiteral("/* не комментарий */ */ /*")},
        {"line comment", QStringLiteral("-- не комментарий")},
        {"driver escapes", QStringLiteral("{fn now()} {d '2024-01-01'} {oj x} {call p}")},
        {"byte-order mark first", QChar(0xFEFF) + QStringLiteral("Марка-1")},
        {"reversed byte-order mark first", QChar(0xFFFE) + QStringLiteral("Марка-2")},
        {"emoji", QString::fromUtf8("🔧 Ключ 😀👍🏽 👨‍👩‍👧")},
        {"combining marks", QStringLiteral("е") + QChar(0x0308) + QStringLiteral("лка a") + QChar(0x0301) + QChar(0x0327)},
        {"right to left", QString::fromUtf8("שלום مرحبا ") + QChar(0x202E) + QStringLiteral("abc") + QChar(0x202C)},
        {"tab", QStringLiteral("a\tb")},
        {"not a number", QStringLiteral("nan")},
        {"infinity", QStringLiteral("-inf")},
        {"300 characters", longText(300)},
        {"10,000 characters", longText(10000)},
        {"line feed", QStringLiteral("строка 1\nстрока 2"), true},
        {"carriage return and line feed", QStringLiteral("строка 1\r\nстрока 2"), true},
        {"NUL", QStringLiteral("до") + QChar(0) + QStringLiteral("после"), true},
        {"half a surrogate pair", QStringLiteral("x") + units({0xD83D}) + QStringLiteral("y"), true},
    };
}

}  // namespace reliability
