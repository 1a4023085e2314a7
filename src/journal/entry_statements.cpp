#include "journal/entry_statements.h"

#include "core/db_error.h"

namespace entrysql {
namespace {

QString ddmmyyyy(const QDate& d)
{
    return d.toString(QStringLiteral("dd.MM.yyyy"));
}

[[noreturn]] void notAnInteger(const QString& text)
{
    throw DbError(QStringLiteral("'%1' is not a valid integer value").arg(text));
}

}  // namespace

QString wholeNumberText(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty()) notAnInteger(text);
    for (QChar c : t)
        if (c < u'0' || c > u'9') notAnInteger(text);
    return t;
}

int wholeNumber(const QString& text)
{
    bool ok = false;
    const int n = wholeNumberText(text).toInt(&ok);
    if (!ok) notAnInteger(text);
    return n;
}

QString duplicateCount(const EntryValues& v, const QString& changedId)
{
    QString s = QStringLiteral("select count(id) as cnt from accounts_dep.SMENA where w_id=%1 and o_id=%2 and i_id=%3")
                    .arg(v.worker)
                    .arg(v.operation)
                    .arg(v.product)
        + QStringLiteral(" and data=to_date('%1', 'DD.MM.YYYY') and smena=%2").arg(ddmmyyyy(v.date)).arg(v.shift);
    if (!changedId.isEmpty()) s += QStringLiteral(" and id<>") + changedId;
    return s + QStringLiteral(" and color=%1").arg(v.colour);
}

QString insert(const EntryValues& v)
{
    return QStringLiteral("insert into accounts_dep.SMENA(w_id, i_id, o_id, cena, kol_vo, brak, data, smena, color, time, "
                          "vvod,ok, prize, id_doc, id_doc_item, f_gds_qty_use, id_gds_use, id_cons_use) values(")
        + QStringLiteral("%1, %2, %3, ").arg(v.worker).arg(v.product).arg(v.operation) + v.price + u',' + v.quantity
        + QStringLiteral(", ") + v.rejects + QStringLiteral(", to_date('") + ddmmyyyy(v.date)
        + QStringLiteral("', 'DD.MM.YYYY HH24:MI:SS'), %1, %2, ").arg(v.shift).arg(v.colour) + v.hours + QStringLiteral(", '")
        + ddmmyyyy(v.entered) + QStringLiteral("', 'no', 0, 0, 0, 0, 0, 0)");
}

QString update(const EntryValues& v, const QString& id)
{
    return QStringLiteral("update accounts_dep.SMENA set w_id=%1, i_id=%2, o_id=%3, cena=").arg(v.worker).arg(v.product).arg(v.operation)
        + v.price + QStringLiteral(", kol_vo=") + v.quantity + QStringLiteral(", brak=") + v.rejects
        + QStringLiteral(", data=to_date('") + ddmmyyyy(v.date) + QStringLiteral("', 'DD.MM.YYYY'), smena=%1, color=%2, time=")
                                                                   .arg(v.shift)
                                                                   .arg(v.colour)
        + v.hours + QStringLiteral(", vvod='") + ddmmyyyy(v.entered)
        + QStringLiteral("', prize=0, id_doc=0, id_doc_item=0, f_gds_qty_use=0, id_gds_use=0, id_cons_use=0 where id=") + id;
}

}  // namespace entrysql
