#include "journal/time_sheet_day.h"

#include "core/data_module.h"
#include "core/instances.h"
#include "core/sql_text.h"

#include <QScopeGuard>

namespace timesheetday {
namespace {

QString rowOf(int worker, int shift, const QDate& day)
{
    return QStringLiteral(" where w_id=%1 and smena=%2 and month=%3 and year=%4")
        .arg(worker)
        .arg(shift)
        .arg(day.month())
        .arg(day.year());
}

}  // namespace

QString hoursStatement(int worker, int shift, const QDate& day)
{
    return QStringLiteral("select sum(time) as tim from accounts_dep.smena where w_id=%1 and smena=%2 and data=")
               .arg(worker)
               .arg(shift)
        + sqltext::date(day) + QStringLiteral(" group by w_id, smena, data");
}

QString updateDayStatement(int worker, int shift, const QDate& day, int hours)
{
    return QStringLiteral("update accounts_dep.h_tabel set d%1=%2").arg(day.day()).arg(hours) + rowOf(worker, shift, day);
}

QString countRowsStatement(int worker, int shift, const QDate& day)
{
    return QStringLiteral("select count(w_id) as cnt from accounts_dep.h_tabel") + rowOf(worker, shift, day);
}

QString deleteRowStatement(int worker, int shift, const QDate& day)
{
    return QStringLiteral("delete from accounts_dep.h_tabel") + rowOf(worker, shift, day);
}

int hoursOfDay(int worker, int shift, const QDate& day)
{
    Dataset* control = DataModule6->Control;
    control->close();
    control->clearSql();
    control->addSql(hoursStatement(worker, shift, day));
    const auto closeControl = qScopeGuard([control] { control->close(); });
    control->open();
    return control->isEmpty() ? 0 : control->fieldByName(QStringLiteral("tim")).asInteger();
}

}  // namespace timesheetday
