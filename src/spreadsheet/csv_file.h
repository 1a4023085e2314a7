#pragma once
#include <QList>
#include <QString>
#include <QStringList>

// Tables as CSV files that a spreadsheet program set up for Russian opens without asking anything: UTF-8
// with its byte order mark (by which the program knows the encoding), fields split by semicolons (its list
// separator, the comma being its decimal separator), lines ended by CR LF. Numbers are written with a
// decimal comma and no grouping, so that they open as numbers.
namespace csvfile {

// One line without its end: a field holding a semicolon, a quote, a line break or blanks at either end is
// quoted, its quotes doubled; any other goes as it is.
QString line(const QStringList& fields);

// Kopecks as an amount with two decimals and a comma: 123405 -> "1234,05", -5 -> "-0,05".
QString money(qint64 kopecks);

// Writes the rows to `path`, replacing what was there only once the whole file is written. False, with
// the reason in `error`, when it cannot be written.
bool write(const QString& path, const QList<QStringList>& rows, QString* error);

}  // namespace csvfile
