#pragma once
#include <QString>
#include <QVariant>
#include <QVector>
#include <functional>

// A record filter, parsed once into a predicate over a row of values. The forms in use are
//   <field> like '<pattern>'   (% any run, _ one character, '' a quote; letter case not significant)
//   <field>=<number>  /  <field>='<text>'
// joined by "and". Typed search texts should come through prefix(), which takes the text as data:
// a quote, a percent sign or an underscore in it matches itself.
class RecordFilter {
public:
    using Row = QVector<QVariant>;
    using ColumnLookup = std::function<int(const QString& field)>;  // -1 when the field is unknown
    using Predicate = std::function<bool(const Row&)>;

    RecordFilter() = default;
    // Throws DbError for an expression it cannot read.
    static RecordFilter parse(const QString& expression);
    static RecordFilter prefix(const QString& field, const QString& text);
    static RecordFilter equals(const QString& field, const QVariant& value);

    bool isEmpty() const { return terms_.isEmpty(); }
    QString text() const { return text_; }

    // Binds the field names to columns; throws DbError for a field the dataset does not have.
    Predicate compile(const ColumnLookup& lookup) const;

    // Case-insensitive LIKE over Cyrillic and Latin alike.
    static bool like(QStringView value, QStringView pattern);

private:
    enum class Kind { Like, Prefix, Equals };
    struct Term {
        Kind kind;
        QString field;
        QString text;     // pattern or prefix, case-folded
        QVariant value;   // for Equals
    };
    QVector<Term> terms_;
    QString text_;
};
