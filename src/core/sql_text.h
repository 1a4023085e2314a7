#pragma once
#include <QDate>
#include <QString>
#include <QStringList>

// Helpers for statement text.
namespace sqltext {

// Rewrites :name placeholders as ? and lists the names in order. Quoted texts, quoted identifiers,
// casts (::type) and comments are left alone.
QString toPositional(const QString& statement, QStringList* names);

// A text as an SQL string literal: between single quotes, quotes doubled.
QString quote(const QString& text);

// to_date('DD.MM.YYYY', 'DD.MM.YYYY') for statements built at run time.
QString date(const QDate& d);

// A decimal number with a point whatever the workstation's separator.
QString number(double value, int maxDecimals = 15);

}  // namespace sqltext
