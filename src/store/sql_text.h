#pragma once
#include <QDate>
#include <QHash>
#include <QVariant>
#include <QString>
#include <QStringList>

// Helpers for statement text.
namespace sqltext {

// Rewrites :name placeholders as ? and lists the names in order. Quoted texts, quoted identifiers,
// casts (::type) and comments are left alone.
QString toPositional(const QString& statement, QStringList* names);

// A statement with named parameters as the driver takes it: positional marks, and the values in their
// order, each looked up by its name whatever its letter case (a name without a value binds a null).
struct Bound {
    QString text;
    QVariantList values;
};
Bound bind(const QString& statement, const QHash<QString, QVariant>& params);

// A text as an SQL string literal that reads the same whatever the server's standard_conforming_strings:
// between single quotes with quotes doubled, and, when the text holds a backslash, as an escape literal
// (E'...') with backslashes doubled too. A text that cannot be stored is refused (checkStorable).
QString quote(const QString& text);

// Throws the conversion error, with a message for the user, for a text the database cannot hold as it is:
// a NUL character (its texts end there) or half of a surrogate pair (it has no UTF-8 form).
void checkStorable(const QString& text);

// The same for a text typed into a one-line box (a name, a mark), which must also come back exactly as
// typed: a line break is refused too, since the connection reads a stored line feed as CR LF.
void checkTypedText(const QString& text);

// to_date('DD.MM.YYYY', 'DD.MM.YYYY') for statements built at run time.
QString date(const QDate& d);

// A decimal number with a point whatever the workstation's separator.
QString number(double value, int maxDecimals = 15);

}  // namespace sqltext
