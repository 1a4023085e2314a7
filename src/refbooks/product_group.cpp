#include "refbooks/product_group.h"

#include <array>

namespace {

struct Rule {
    const char16_t* prefix;
    const char16_t* group;
};

// In this order: a later rule that also fits wins, so the longer prefixes come after the shorter ones they
// extend. Cyrillic throughout but the Latin Z of "ПРZ" and the Latin L of "КР АL".
constexpr std::array<Rule, 22> kRules{{
    {u"ПЛ", u"Платик"},
    {u"КР", u"Кронштейны оцинкованные"},
    {u"ПП", u"Паранитовые прокладки"},
    {u"М2", u"М2"},
    {u"ПР", u"Профиль основной"},
    {u"ПРН", u"Профиль Н-обр."},
    {u"ПРГ", u"Профиль ГО"},
    {u"ПРZ", u"Профиль Z-обр."},
    {u"САМ", u"Саморезы"},
    {u"МДФ", u"МДФ скобы"},
    {u"УДЛ", u"Удленитель"},
    {u"КЛОЦ", u"Кляммеры оцинкованные"},
    {u"С1КЛ", u"Кляммеры поворотные"},
    {u"С2КЛ", u"Кляммеры дистанционные"},
    {u"С3КЛ", u"Кляммеры концевые"},
    {u"ПДГВ", u"Профильи декоративн. горизонт.вертик."},
    {u"ПРД У", u"Профили дек. угловые"},
    {u"ПРД В", u"Профили дек. вертикальные"},
    {u"ПРД Г", u"Профили дек. горизонтальные"},
    {u"КЛ430", u"Кляммеры нерж., 430"},
    {u"КР АL", u"Кронштейны аллюминиевые"},
    {u"КЛ1304", u"Кляммеры нерж., 12Х18"},
}};

// The first n characters (not UTF-16 units, so a character outside the basic plane is never cut in two).
QString leading(const QString& s, qsizetype n)
{
    qsizetype i = 0;
    for (qsizetype taken = 0; i < s.size() && taken < n; ++taken)
        i += (s.at(i).isHighSurrogate() && i + 1 < s.size() && s.at(i + 1).isLowSurrogate()) ? 2 : 1;
    return s.left(i);
}

}  // namespace

QString productGroup(const QString& mark)
{
    QString group;
    for (const Rule& r : kRules) {
        const QString prefix = QString::fromUtf16(r.prefix);
        if (leading(mark, prefix.size()).toUpper() == prefix) group = QString::fromUtf16(r.group);
    }
    return group.isEmpty() ? leading(mark, 3) : group;
}
