#pragma once
#include "reportengine/definition.h"
#include "reports/report_period.h"

#include <QString>

namespace re {
class Report;
}

// The printed pay statements: for each worker of the lines (store::reads::payStatementLines) a statement
// of its own pages, its heading repeated on each and "Страница n из N" counting them: the heading, the
// worker's name and code, the period and which entries count; one line per entry in date and shift order
// with its pieces, rejects, good pieces, price, the factor that raised the price where the entry tells
// it, hours, earnings, bonus and acceptance; the worker's totals and lines for the signatures.
namespace paystatement {

// The label names the caller fills before preparing (setHeading).
inline const QString kPeriodLabel = QStringLiteral("PeriodLabel");
inline const QString kEntriesLabel = QStringLiteral("EntriesLabel");

re::ReportDefinition layout();

// The period as the statement prints it, both days included: "с 01.02.2024 по 29.02.2024".
QString periodText(const ReportPeriod& period);

// The texts of the period and of which entries count, and the document's name.
void setHeading(re::Report& report, const ReportPeriod& period, bool acceptedOnly);

}  // namespace paystatement
