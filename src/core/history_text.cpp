#include "core/history_text.h"

#include "core/number_format.h"
#include "store/role.h"

#include <QHash>
#include <QStringList>

namespace historytext {

using store::reads::HistoryField;
using store::reads::HistoryVersion;
using store::reads::Refers;

QString tableName(const QString& table)
{
    static const QHash<QString, QString> names{
        {QStringLiteral("smena"), QStringLiteral("Журнал")},       {QStringLiteral("person"), QStringLiteral("Рабочие")},
        {QStringLiteral("izdel"), QStringLiteral("Изделия")},      {QStringLiteral("vid_oper"), QStringLiteral("Операции")},
        {QStringLiteral("oper"), QStringLiteral("Цены")},          {QStringLiteral("norm"), QStringLiteral("Нормативы")},
        {QStringLiteral("h_tabel"), QStringLiteral("Табель")},
    };
    return names.value(table, table);
}

QString operationName(const QString& op)
{
    static const QHash<QString, QString> names{
        {QStringLiteral("insert"), QStringLiteral("добавление")},
        {QStringLiteral("update"), QStringLiteral("изменение")},
        {QStringLiteral("delete"), QStringLiteral("удаление")},
        {QStringLiteral("truncate"), QStringLiteral("очистка таблицы")},
        {QStringLiteral("rebuild"), QStringLiteral("перестроение месяца")},
        {QStringLiteral("close"), QStringLiteral("закрытие месяца")},
        {QStringLiteral("reopen"), QStringLiteral("открытие месяца")},
    };
    return names.value(op, op);
}

QString roleName(const QString& roleWord)
{
    if (roleWord.isEmpty()) return QString();
    for (store::Role r : {store::Role::Bursar, store::Role::Foreman, store::Role::Depot, store::Role::Full})
        if (store::roleWord(r) == roleWord) return store::roleName(r);
    return roleWord;
}

QString momentText(const QDateTime& at)
{
    return at.isValid() ? at.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss")) : QString();
}

QString valueText(const HistoryField& field, bool after)
{
    const QVariant& v = after ? field.after : field.before;
    if (v.isNull()) return QString();
    if (field.refers != Refers::Nothing) {
        const QString& name = after ? field.afterName : field.beforeName;
        return name.isEmpty() ? QStringLiteral("%1 (нет в справочнике)").arg(v.toString()) : name;
    }
    switch (v.typeId()) {
    case QMetaType::QDate: return v.toDate().toString(QStringLiteral("dd.MM.yyyy"));
    case QMetaType::QDateTime: {
        const QDateTime t = v.toDateTime();
        // The journal's date of entry is a day; a time of midnight says nothing.
        return t.time() == QTime(0, 0) ? t.date().toString(QStringLiteral("dd.MM.yyyy")) : momentText(t);
    }
    case QMetaType::Double: return numfmt::general(v.toDouble());
    case QMetaType::LongLong: return QString::number(v.toLongLong());
    default: break;
    }
    // char(2) keeps its blank: "ok" and "no" read as they are.
    return v.toString().trimmed();
}

QString rowText(const HistoryVersion& version)
{
    if (version.row) return QString::number(*version.row);
    if (version.table == QLatin1String("h_tabel")) {
        int month = 0;
        int year = 0;
        for (const HistoryField& f : version.fields) {
            if (f.column == QLatin1String("month")) month = f.after.toInt();
            if (f.column == QLatin1String("year")) year = f.after.toInt();
        }
        if (month > 0) return QStringLiteral("%1.%2").arg(month, 2, 10, QChar(u'0')).arg(year);
    }
    return QString();
}

QString changeSummary(const HistoryVersion& version)
{
    QStringList parts;
    const bool update = version.op == QLatin1String("update");
    const bool event = version.table == QLatin1String("h_tabel");
    for (const HistoryField& f : version.fields) {
        // The month is the event's row already.
        if (event && (f.column == QLatin1String("month") || f.column == QLatin1String("year"))) continue;
        if (update) {
            const QString before = valueText(f, false);
            const QString after = valueText(f, true);
            parts << QStringLiteral("%1: %2 → %3")
                         .arg(f.caption, before.isEmpty() ? QStringLiteral("(пусто)") : before,
                              after.isEmpty() ? QStringLiteral("(пусто)") : after);
        } else {
            // In short: a new or deleted row's empty and zero fields (document links, bonus) say nothing.
            const QString value = valueText(f, version.op != QLatin1String("delete"));
            if (!value.isEmpty() && value != QLatin1String("0")) parts << QStringLiteral("%1: %2").arg(f.caption, value);
        }
    }
    return parts.join(QStringLiteral("; "));
}

}  // namespace historytext
