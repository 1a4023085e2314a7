#include "reports/payroll.h"

#include "core/dataset.h"
#include "core/number_format.h"
#include "spreadsheet/csv_file.h"
#include "spreadsheet/spreadsheet.h"
#include "store/db_error.h"

#include <cmath>

namespace {

// An amount beyond what any pay can be (a price no entry should hold) is no figure to hand to payroll.
constexpr double kLargestKopecks = 1e15;

qint64 kopecks(const QVariant& v, int code)
{
    if (v.isNull()) return 0;
    const double k = v.toDouble() * 100;
    if (!std::isfinite(k) || std::fabs(k) > kLargestKopecks)
        throw DbError(QStringLiteral("У рабочего с кодом %1 за период есть запись с суммой, которая не может быть "
                                     "выплачена (%2): исправьте запись в журнале.")
                          .arg(code)
                          .arg(v.toDouble()),
                      DbError::Kind::Conversion);
    return std::llround(k);
}

qint64 whole(const QVariant& v)
{
    return v.isNull() ? 0 : std::llround(v.toDouble());
}

// The columns of a row after the name: hours by shift, days, good pieces, then the amounts as `money`
// writes kopecks.
template <typename Money>
QStringList figures(const PayrollRow& r, Money money)
{
    QStringList f;
    for (qint64 h : r.hoursByShift) f << QString::number(h);
    f << QString::number(r.daysWorked) << QString::number(r.goodPieces) << money(r.earnings) << money(r.bonus)
      << money(r.payable());
    return f;
}

QStringList workerCells(const PayrollRow& r, auto money)
{
    return QStringList{QString::number(r.code), r.name} + figures(r, money);
}

QStringList totalsCells(const std::vector<PayrollRow>& rows, auto money)
{
    return QStringList{QString(), kPayrollTotalsName} + figures(payrollTotals(rows), money);
}

}  // namespace

std::vector<PayrollRow> payrollRows(const Dataset& lines)
{
    const int code = lines.fieldIndex(QStringLiteral("code"));
    const int fio = lines.fieldIndex(QStringLiteral("fio"));
    const int shift = lines.fieldIndex(QStringLiteral("smena"));
    const int hours = lines.fieldIndex(QStringLiteral("hours"));
    const int newDay = lines.fieldIndex(QStringLiteral("new_day"));
    const int good = lines.fieldIndex(QStringLiteral("good"));
    const int summa = lines.fieldIndex(QStringLiteral("summa"));
    const int bonus = lines.fieldIndex(QStringLiteral("bonus"));

    std::vector<PayrollRow> rows;
    for (int r = 0; r < lines.visibleRowCount(); ++r) {
        const int worker = int(whole(lines.valueAt(r, code)));
        if (rows.empty() || rows.back().code != worker) {
            rows.emplace_back();
            rows.back().code = worker;
            rows.back().name = lines.valueAt(r, fio).toString();
        }
        PayrollRow& row = rows.back();
        // The journal knows shifts 1 to 4 only; hours of any other count in the statement's total alone.
        const qint64 s = whole(lines.valueAt(r, shift));
        if (s >= 1 && s <= 4) row.hoursByShift[size_t(s - 1)] += whole(lines.valueAt(r, hours));
        row.daysWorked += whole(lines.valueAt(r, newDay));
        row.goodPieces += whole(lines.valueAt(r, good));
        row.earnings += kopecks(lines.valueAt(r, summa), worker);
        row.bonus += kopecks(lines.valueAt(r, bonus), worker);
    }
    return rows;
}

PayrollRow payrollTotals(const std::vector<PayrollRow>& rows)
{
    PayrollRow t;
    for (const PayrollRow& r : rows) {
        for (size_t s = 0; s < t.hoursByShift.size(); ++s) t.hoursByShift[s] += r.hoursByShift[s];
        t.daysWorked += r.daysWorked;
        t.goodPieces += r.goodPieces;
        t.earnings += r.earnings;
        t.bonus += r.bonus;
    }
    return t;
}

QStringList payrollTitles()
{
    return {QStringLiteral("Код"),           QStringLiteral("Рабочий"),          QStringLiteral("Часы, смена 1"),
            QStringLiteral("Часы, смена 2"), QStringLiteral("Часы, смена 3"),    QStringLiteral("Часы, переработка"),
            QStringLiteral("Дней"),          QStringLiteral("Годных, шт."),      QStringLiteral("Заработок"),
            QStringLiteral("Премия"),        QStringLiteral("К выплате")};
}

int writePayrollWorkbook(const std::vector<PayrollRow>& rows, Spreadsheet& book)
{
    // The workstation's form of the amount: the cell takes it as the number it is.
    const auto money = [](qint64 kopecks) { return numfmt::general(double(kopecks) / 100); };
    const QStringList titles = payrollTitles();
    for (int c = 0; c < titles.size(); ++c) book.WriteCellStyled(1, c + 1, 1, titles[c], false, true, true);
    int line = 2;
    // A cell that fails has been reported; the rest of the rows are still worth having.
    for (const PayrollRow& r : rows) {
        const QStringList cells = workerCells(r, money);
        for (int c = 0; c < cells.size(); ++c) book.WriteCellStyled(1, c + 1, line, cells[c], c == 1, c == 1, false);
        ++line;
    }
    const QStringList totals = totalsCells(rows, money);
    for (int c = 0; c < totals.size(); ++c) book.WriteCellStyled(1, c + 1, line, totals[c], false, false, true);
    return book.ShowSpreadsheet(true);
}

QList<QStringList> payrollCsvRows(const std::vector<PayrollRow>& rows)
{
    QList<QStringList> out{payrollTitles()};
    for (const PayrollRow& r : rows) out << workerCells(r, csvfile::money);
    out << totalsCells(rows, csvfile::money);
    return out;
}
