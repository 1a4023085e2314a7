#pragma once
#include <QDate>
#include <QString>

// The monthly time sheet (accounts_dep.h_tabel) keeps per worker, shift and day the hours of the journal;
// these statements bring one worker's day back in step after the journal changed.
namespace timesheetday {

// The worker's hours in a shift on a day, summed over the journal as column tim; no row when there are none.
QString hoursStatement(int worker, int shift, const QDate& day);

// Writes the hours into the day's cell of the worker's row of that shift, month and year.
QString updateDayStatement(int worker, int shift, const QDate& day, int hours);

// Counts the worker's rows of that shift, month and year as column cnt.
QString countRowsStatement(int worker, int shift, const QDate& day);

// Removes the worker's whole row of that shift, month and year.
QString deleteRowStatement(int worker, int shift, const QDate& day);

// The worker's hours of the day, read through the data module's scratch query; 0 when there are none.
int hoursOfDay(int worker, int shift, const QDate& day);

}  // namespace timesheetday
