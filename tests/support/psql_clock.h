#pragma once
#include <QDate>
#include <QString>

// The benchmarks' measure: psql running a statement of the program alone, as sys, every row printed to
// /dev/null. Exits the process when psql fails, so that no figure is taken from an error.
double psqlSeconds(const QString& server, const QString& database, const QString& statement);

// A report's statement with its period written in as date literals, for psql.
QString withPeriod(QString statement, const QDate& from, const QDate& to);
