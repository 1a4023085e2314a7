#include "core/record_filter.h"

#include "store/db_error.h"

namespace {

// A tiny reader for the filter grammar; every failure names the expression.
class Reader {
public:
    explicit Reader(const QString& s) : s_(s) {}

    void skipSpace()
    {
        while (pos_ < s_.size() && s_.at(pos_).isSpace()) ++pos_;
    }
    bool atEnd()
    {
        skipSpace();
        return pos_ >= s_.size();
    }
    QString identifier()
    {
        skipSpace();
        const int start = pos_;
        while (pos_ < s_.size() && (s_.at(pos_).isLetterOrNumber() || s_.at(pos_) == u'_' || s_.at(pos_) == u'.'))
            ++pos_;
        if (start == pos_) fail();
        return s_.mid(start, pos_ - start);
    }
    bool keyword(QStringView word)
    {
        skipSpace();
        if (s_.mid(pos_, word.size()).compare(word, Qt::CaseInsensitive) != 0) return false;
        const int after = pos_ + int(word.size());
        if (after < s_.size() && (s_.at(after).isLetterOrNumber() || s_.at(after) == u'_')) return false;
        pos_ = after;
        return true;
    }
    bool symbol(QChar c)
    {
        skipSpace();
        if (pos_ < s_.size() && s_.at(pos_) == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    QString quoted()
    {
        skipSpace();
        if (!symbol(u'\'')) fail();
        QString out;
        while (pos_ < s_.size()) {
            const QChar c = s_.at(pos_++);
            if (c == u'\'') {
                if (pos_ < s_.size() && s_.at(pos_) == u'\'') {
                    out += u'\'';
                    ++pos_;
                    continue;
                }
                return out;
            }
            out += c;
        }
        fail();
        return {};
    }
    QVariant literal()
    {
        skipSpace();
        if (pos_ < s_.size() && s_.at(pos_) == u'\'') return quoted();
        const int start = pos_;
        if (pos_ < s_.size() && (s_.at(pos_) == u'-' || s_.at(pos_) == u'+')) ++pos_;
        while (pos_ < s_.size() && (s_.at(pos_).isDigit() || s_.at(pos_) == u'.')) ++pos_;
        bool ok = false;
        const double v = s_.mid(start, pos_ - start).toDouble(&ok);
        if (!ok) fail();
        return v;
    }
    [[noreturn]] void fail() const
    {
        throw DbError(QStringLiteral("Неверное выражение фильтра: %1").arg(s_), DbError::Kind::ProgramFault);
    }

private:
    const QString& s_;
    int pos_ = 0;
};

bool likeAt(QStringView v, QStringView p)
{
    // Iterative matcher with one backtrack point for the last %; both sides are already case-folded.
    qsizetype vi = 0, pi = 0, starP = -1, starV = 0;
    while (vi < v.size()) {
        // A % is always a wildcard, even where the value holds a % too.
        if (pi < p.size() && p[pi] == u'%') {
            starP = pi++;
            starV = vi;
        } else if (pi < p.size() && (p[pi] == u'_' || p[pi] == v[vi])) {
            ++vi;
            ++pi;
        } else if (starP >= 0) {
            pi = starP + 1;
            vi = ++starV;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == u'%') ++pi;
    return pi == p.size();
}

QString textOf(const QVariant& v)
{
    if (v.typeId() == QMetaType::QString) return *static_cast<const QString*>(v.constData());
    return v.toString();
}

}  // namespace

bool RecordFilter::like(QStringView value, QStringView pattern)
{
    return likeAt(value.toString().toCaseFolded(), pattern.toString().toCaseFolded());
}

RecordFilter RecordFilter::parse(const QString& expression)
{
    RecordFilter f;
    f.text_ = expression;
    Reader r(expression);
    do {
        Term t;
        t.field = r.identifier();
        if (r.keyword(u"like")) {
            t.kind = Kind::Like;
            t.text = r.quoted().toCaseFolded();
            // A pattern that is plain text followed by one % is a prefix: the fast path.
            const QString body = t.text.chopped(t.text.endsWith(u'%') ? 1 : 0);
            if (t.text.endsWith(u'%') && !body.contains(u'%') && !body.contains(u'_')) {
                t.kind = Kind::Prefix;
                t.text = body;
            }
        } else if (r.symbol(u'=')) {
            t.kind = Kind::Equals;
            t.value = r.literal();
        } else {
            r.fail();
        }
        f.terms_.append(t);
    } while (r.keyword(u"and"));
    if (!r.atEnd()) r.fail();
    return f;
}

RecordFilter RecordFilter::prefix(const QString& field, const QString& text)
{
    RecordFilter f;
    f.terms_.append({Kind::Prefix, field, text.toCaseFolded(), {}});
    f.text_ = field + QStringLiteral(" like '") + QString(text).replace(u'\'', QStringLiteral("''")) + QStringLiteral("%'");
    return f;
}

RecordFilter RecordFilter::equals(const QString& field, const QVariant& value)
{
    RecordFilter f;
    f.terms_.append({Kind::Equals, field, {}, value});
    f.text_ = field + u'=' + value.toString();
    return f;
}

RecordFilter::Predicate RecordFilter::compile(const ColumnLookup& lookup) const
{
    struct Bound {
        Kind kind;
        int column;
        QString text;
        bool numeric;
        double number;
        QString folded;
    };
    QVector<Bound> bound;
    for (const Term& t : terms_) {
        QString name = t.field;
        if (const int dot = name.lastIndexOf(u'.'); dot >= 0) name = name.mid(dot + 1);
        const int col = lookup(name);
        if (col < 0) throw DbError(QStringLiteral("Поле '%1' не найдено").arg(t.field), DbError::Kind::ProgramFault);
        Bound b{t.kind, col, t.text, false, 0, {}};
        if (t.kind == Kind::Equals) {
            b.numeric = t.value.typeId() == QMetaType::Double;
            b.number = t.value.toDouble();
            b.folded = t.value.toString().toCaseFolded();
        }
        bound.append(b);
    }
    return [bound](const Row& row) {
        for (const Bound& b : bound) {
            const QVariant& v = row.at(b.column);
            if (v.isNull()) return false;
            switch (b.kind) {
            case Kind::Prefix:
                // Not startsWith: Qt says a null text does not start with an empty one, and an empty
                // text may well arrive null.
                if (QStringView(textOf(v)).left(b.text.size()).compare(b.text, Qt::CaseInsensitive) != 0) return false;
                break;
            case Kind::Like:
                if (!likeAt(textOf(v).toCaseFolded(), b.text)) return false;
                break;
            case Kind::Equals:
                if (b.numeric) {
                    bool ok = false;
                    const double d = v.toDouble(&ok);
                    if (!ok || d != b.number) return false;
                } else if (textOf(v).toCaseFolded() != b.folded) {
                    return false;
                }
                break;
            }
        }
        return true;
    };
}
