#include "journal/entry_time_sheet.h"

#include "core/data_module.h"
#include "core/instances.h"
#include "journal/time_sheet_day.h"

#include <QScopeGuard>

namespace entrysheet {
namespace {

QString insertStatement(int worker, int shift, const QDate& day, int hours)
{
    return QStringLiteral("insert into accounts_dep.h_tabel(smena, w_id, month, year, d%1) values(%2, %3, %4, %5, %6)")
        .arg(day.day())
        .arg(shift)
        .arg(worker)
        .arg(day.month())
        .arg(day.year())
        .arg(hours);
}

int scratchCount(const QString& statement)
{
    Dataset* control = DataModule6->Control;
    control->close();
    control->clearSql();
    control->addSql(statement);
    const auto closeControl = qScopeGuard([control] { control->close(); });
    control->open();
    return control->isEmpty() ? 0 : control->fieldByName(QStringLiteral("cnt")).asInteger();
}

}  // namespace

// An advisory lock rather than a row lock, because the first entry of a month has no row to lock yet.
// The shift and month make the second key.
QString lockStatement(int worker, int shift, const QDate& day)
{
    return QStringLiteral("select count(*) as cnt from (select pg_advisory_xact_lock(%1, %2)) l")
        .arg(worker)
        .arg(shift * 1000000 + day.year() * 100 + day.month());
}

void rewriteCell(int worker, int shift, const QDate& day)
{
    scratchCount(lockStatement(worker, shift, day));
    // Read after the lock: each statement sees what other workstations committed before it.
    const bool hasRow = scratchCount(timesheetday::countRowsStatement(worker, shift, day)) != 0;
    const int hours = timesheetday::hoursOfDay(worker, shift, day);
    DataModule6->H_Tabel_ins->setText(hasRow ? timesheetday::updateDayStatement(worker, shift, day, hours)
                                             : insertStatement(worker, shift, day, hours));
    DataModule6->H_Tabel_ins->execute();
}

}  // namespace entrysheet
