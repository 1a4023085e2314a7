#include "core/dataset.h"

#include "core/db_error.h"
#include "core/number_format.h"
#include "core/odbc_fetch.h"
#include "core/sql_text.h"

#include <QLocale>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>

namespace {

FieldType typeOf(const QMetaType& t)
{
    switch (t.id()) {
    case QMetaType::Short:
    case QMetaType::UShort: return FieldType::SmallInt;
    case QMetaType::Int:
    case QMetaType::UInt: return FieldType::Integer;
    case QMetaType::LongLong:
    case QMetaType::ULongLong: return FieldType::LargeInt;
    case QMetaType::Double:
    case QMetaType::Float: return FieldType::Double;
    case QMetaType::QDate: return FieldType::Date;
    case QMetaType::QDateTime: return FieldType::DateTime;
    case QMetaType::QString: return FieldType::Text;
    default: return FieldType::Variant;
    }
}

bool isIntegral(FieldType t)
{
    return t == FieldType::SmallInt || t == FieldType::Integer || t == FieldType::LargeInt || t == FieldType::AutoInc;
}

bool isNumeric(FieldType t)
{
    return isIntegral(t) || t == FieldType::Double || t == FieldType::Decimal;
}

const QString& textRef(const QVariant& v, QString& holder)
{
    if (v.typeId() == QMetaType::QString) return *static_cast<const QString*>(v.constData());
    holder = v.toString();
    return holder;
}

[[noreturn]] void throwQuery(const QSqlQuery& q)
{
    const QSqlError e = q.lastError();
    throw DbError(e.databaseText().isEmpty() ? e.text() : e.databaseText());
}

}  // namespace

// ---------------------------------------------------------------- Field

QString Field::name() const { return ds_->fieldDef(col_).name; }
FieldType Field::type() const { return ds_->fieldDef(col_).type; }
QVariant Field::value() const { return ds_->currentValue(col_); }
bool Field::isNull() const { return value().isNull(); }

int Field::asInteger() const { return int(asLargeInt()); }

qint64 Field::asLargeInt() const
{
    const QVariant v = value();
    if (v.isNull()) return 0;
    if (v.typeId() == QMetaType::Double) return qint64(std::llround(v.toDouble()));
    if (v.typeId() == QMetaType::QString) {
        QString t = v.toString().trimmed();
        bool ok = false;
        const qint64 n = t.toLongLong(&ok);
        if (ok) return n;
        const double d = QLocale().toDouble(t, &ok);
        if (ok) return qint64(std::llround(d));
        const double c = t.toDouble(&ok);
        if (ok) return qint64(std::llround(c));
        throw DbError(QStringLiteral("'%1' is not a valid integer value").arg(t));
    }
    return v.toLongLong();
}

double Field::asDouble() const
{
    const QVariant v = value();
    if (v.isNull()) return 0;
    if (v.typeId() == QMetaType::QString) {
        bool ok = false;
        const double d = v.toString().toDouble(&ok);
        if (ok) return d;
        const double l = QLocale().toDouble(v.toString(), &ok);
        if (ok) return l;
        throw DbError(QStringLiteral("'%1' is not a valid floating point value").arg(v.toString()));
    }
    return v.toDouble();
}

QString formatFieldValue(const FieldDef& def, const QVariant& v, bool display)
{
    if (v.isNull()) return {};
    const FieldType t = def.type;
    if (display && !def.displayFormat.isEmpty() && isNumeric(t)) {
        bool ok = false;
        const double d = v.toDouble(&ok);
        if (ok) return numfmt::formatFloat(def.displayFormat, d);
    }
    switch (v.typeId()) {
    case QMetaType::Double:
        if (isIntegral(t)) return QString::number(std::llround(v.toDouble()));
        return numfmt::general(v.toDouble());
    case QMetaType::QDate: return v.toDate().toString(QStringLiteral("dd.MM.yyyy"));
    case QMetaType::QDateTime: {
        const QDateTime dt = v.toDateTime();
        if (t == FieldType::Date || dt.time() == QTime(0, 0)) return dt.date().toString(QStringLiteral("dd.MM.yyyy"));
        return dt.toString(QStringLiteral("dd.MM.yyyy H:mm:ss"));
    }
    case QMetaType::QString:
        if (t == FieldType::Double || t == FieldType::Decimal) {
            // Decimals read with full precision arrive as text with a point.
            bool ok = false;
            const double d = v.toString().toDouble(&ok);
            if (ok) return numfmt::general(d);
        }
        return v.toString();
    default: return v.toString();
    }
}

QString Field::asString() const
{
    return formatFieldValue(ds_->fieldDef(col_), value(), false);
}

QDate Field::asDate() const
{
    const QVariant v = value();
    if (v.typeId() == QMetaType::QDateTime) return v.toDateTime().date();
    return v.toDate();
}

QDateTime Field::asDateTime() const
{
    const QVariant v = value();
    if (v.typeId() == QMetaType::QDate) return QDateTime(v.toDate(), QTime(0, 0));
    return v.toDateTime();
}

QString Field::displayText() const
{
    return formatFieldValue(ds_->fieldDef(col_), value(), true);
}

void Field::setValue(const QVariant& v) { ds_->setCurrentValue(col_, v); }

void Field::setString(const QString& text)
{
    if (text.isEmpty()) {
        setValue(QVariant());
        return;
    }
    const FieldType t = type();
    if (isNumeric(t)) {
        bool ok = false;
        const double d = QLocale().toDouble(text.trimmed(), &ok);
        if (!ok) {
            if (isIntegral(t)) throw DbError(QStringLiteral("'%1' is not a valid integer value").arg(text));
            throw DbError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
        }
        if (isIntegral(t)) {
            if (d != std::trunc(d)) throw DbError(QStringLiteral("'%1' is not a valid integer value").arg(text));
            setValue(qint64(d));
        } else {
            setValue(d);
        }
        return;
    }
    setValue(text);
}

// ---------------------------------------------------------------- Dataset

Dataset::Dataset(const QString& name, QObject* parent) : QObject(parent)
{
    setObjectName(name);
}

QSqlDatabase Dataset::db() const
{
    return QSqlDatabase::database(connection_.isEmpty() ? QString::fromLatin1(QSqlDatabase::defaultConnection) : connection_, false);
}

void Dataset::setSql(const QStringList& lines)
{
    sql_ = lines;
}

void Dataset::clearSql()
{
    sql_.clear();
}

void Dataset::addSql(const QString& line)
{
    sql_.append(line);
}

void Dataset::setTable(const QString& table, const QStringList& keyFields)
{
    sql_ = {QStringLiteral("select * from ") + table};
    setUpdateTable(table, keyFields);
}

void Dataset::setUpdateTable(const QString& table, const QStringList& keyFields)
{
    updateTable_ = table;
    keyFields_ = keyFields;
}

void Dataset::setParam(const QString& name, const QVariant& value)
{
    params_.insert(name.toLower(), value);
}

QVariant Dataset::param(const QString& name) const
{
    return params_.value(name.toLower());
}

void Dataset::open()
{
    if (isOpen()) return;
    fetch();
    state_ = State::Browse;
    rebuildView(false);
}

void Dataset::fetch()
{
    QSqlDatabase database = db();
    if (!database.isOpen()) throw DbError(QStringLiteral("%1: нет подключения к базе данных").arg(name()));
    QStringList names;
    const QString text = sqltext::toPositional(sqlText(), &names);
    QVariantList values;
    for (const QString& n : names) values << params_.value(n.toLower());
    FetchedRows result = odbcFetchAll(database, text, values);

    columns_.clear();
    defs_.clear();
    index_.clear();
    for (int i = 0; i < result.names.size(); ++i) {
        const QString& n = result.names.at(i);
        FieldDef d{n, typeOf(result.types.at(i)), false, 0, {}};
        for (const FieldDef& decl : declared_) {
            if (decl.name.compare(n, Qt::CaseInsensitive) == 0) {
                d = decl;
                break;
            }
        }
        columns_.append(n);
        defs_.append(d);
        index_.insert(n.toUpper(), i);
    }
    for (const FieldDef& decl : declared_)
        if (!index_.contains(decl.name.toUpper())) fieldNotFound(decl.name);

    rows_ = std::move(result.rows);
}

void Dataset::close()
{
    if (!isOpen()) return;
    state_ = State::Inactive;
    rows_.clear();
    view_.clear();
    pending_.clear();
    cur_ = -1;
    eof_ = bof_ = true;
    emit rowsReset();
}

void Dataset::rebuildView(bool keepCurrent)
{
    rebuildViewAt(keepCurrent && cur_ >= 0 && cur_ < view_.size() ? view_.at(cur_) : -1, -1);
}

void Dataset::rebuildViewAt(int keepRow, int fallbackPos)
{
    view_.clear();
    view_.reserve(int(rows_.size()));
    if (filtered_ && !filter_.isEmpty()) {
        const auto pred = filter_.compile([this](const QString& f) { return fieldIndex(f); });
        for (int i = 0; i < int(rows_.size()); ++i)
            if (pred(rows_[i])) view_.append(i);
    } else {
        for (int i = 0; i < int(rows_.size()); ++i) view_.append(i);
    }
    if (!orderField_.isEmpty()) {
        const int col = fieldIndex(orderField_);
        if (col < 0) fieldNotFound(orderField_);
        std::stable_sort(view_.begin(), view_.end(), [this, col](int a, int b) {
            const QVariant& x = rows_[a].at(col);
            const QVariant& y = rows_[b].at(col);
            if (x.isNull() || y.isNull()) return x.isNull() && !y.isNull();
            return QVariant::compare(x, y) == QPartialOrdering::Less;
        });
    }
    int pos = view_.isEmpty() ? -1 : 0;
    if (fallbackPos >= 0 && !view_.isEmpty()) pos = std::min(fallbackPos, int(view_.size()) - 1);
    if (keepRow >= 0) {
        const int found = int(view_.indexOf(keepRow));
        if (found >= 0) pos = found;
    }
    cur_ = pos;
    eof_ = bof_ = view_.isEmpty();
    emit rowsReset();
    emit currentMoved();
}

int Dataset::recordCount() const
{
    return isOpen() ? int(view_.size()) : 0;
}

int Dataset::recNo() const
{
    if (!isOpen() || state_ == State::Insert || cur_ < 0) return -1;
    return cur_ + 1;
}

void Dataset::setCurrent(int pos)
{
    if (pos == cur_) return;
    emit beforeScroll();
    ensureBrowse();
    cur_ = pos;
    emit currentMoved();
}

void Dataset::setRecNo(int n)
{
    if (!isOpen() || view_.isEmpty()) return;
    // A number past the end (fewer rows after a reload) goes to the last row.
    setCurrent(std::clamp(n, 1, int(view_.size())) - 1);
    eof_ = bof_ = false;
}

void Dataset::first()
{
    if (!isOpen()) return;
    setCurrent(view_.isEmpty() ? -1 : 0);
    eof_ = bof_ = view_.isEmpty();
    bof_ = true;
}

void Dataset::last()
{
    if (!isOpen()) return;
    setCurrent(int(view_.size()) - 1);
    eof_ = true;
    bof_ = view_.isEmpty();
}

void Dataset::next()
{
    if (!isOpen()) return;
    if (cur_ + 1 < view_.size()) {
        setCurrent(cur_ + 1);
        eof_ = bof_ = false;
    } else {
        ensureBrowse();
        eof_ = true;
    }
}

void Dataset::prior()
{
    if (!isOpen()) return;
    if (cur_ > 0) {
        setCurrent(cur_ - 1);
        eof_ = bof_ = false;
    } else {
        ensureBrowse();
        bof_ = true;
    }
}

bool Dataset::locate(const QString& field, const QVariant& value)
{
    if (!isOpen()) return false;
    ensureBrowse();
    const int col = fieldIndex(field);
    if (col < 0) fieldNotFound(field);
    const bool text = value.typeId() == QMetaType::QString;
    const QString wanted = text ? value.toString() : QString();
    QString holder;
    for (int i = 0; i < view_.size(); ++i) {
        const QVariant& v = rows_[view_[i]].at(col);
        if (v.isNull()) continue;
        bool same;
        if (text) {
            same = textRef(v, holder).compare(wanted, Qt::CaseInsensitive) == 0;
        } else if (value.canConvert<double>() && v.canConvert<double>() && v.typeId() != QMetaType::QDate
                   && v.typeId() != QMetaType::QDateTime) {
            same = v.toDouble() == value.toDouble();
        } else {
            same = QVariant::compare(v, value) == QPartialOrdering::Equivalent;
        }
        if (same) {
            setCurrent(i);
            eof_ = bof_ = false;
            return true;
        }
    }
    return false;
}

int Dataset::fieldIndex(const QString& name) const
{
    return index_.value(name.toUpper(), -1);
}

Field Dataset::fieldByName(const QString& name)
{
    const int col = fieldIndex(name);
    if (col < 0) fieldNotFound(name);
    return Field(this, col);
}

void Dataset::fieldNotFound(const QString& name) const
{
    throw DbError(QStringLiteral("%1: Field '%2' not found").arg(objectName(), name));
}

void Dataset::setFilter(const QString& expression)
{
    setFilter(expression.trimmed().isEmpty() ? RecordFilter() : RecordFilter::parse(expression));
}

void Dataset::setFilter(const RecordFilter& filter)
{
    filter_ = filter;
    if (isOpen() && filtered_) {
        ensureBrowse();
        rebuildView(false);
    }
}

void Dataset::setFiltered(bool on)
{
    if (filtered_ == on) return;
    filtered_ = on;
    if (isOpen()) {
        ensureBrowse();
        rebuildView(false);
    }
}

void Dataset::setIndexFieldNames(const QString& field)
{
    orderField_ = field;
    if (isOpen()) {
        ensureBrowse();
        rebuildView(true);
    }
}

const QVector<QVariant>* Dataset::currentRowData() const
{
    if (isPending()) return &pending_;
    if (cur_ < 0 || cur_ >= view_.size()) return nullptr;
    return &rows_[view_[cur_]];
}

QVariant Dataset::currentValue(int column) const
{
    if (!isOpen()) throw DbError(QStringLiteral("%1: Cannot perform this operation on a closed dataset").arg(objectName()));
    const QVector<QVariant>* row = currentRowData();
    if (!row || column < 0 || column >= row->size()) return {};
    return row->at(column);
}

QVariant Dataset::converted(int column, const QVariant& v) const
{
    if (v.isNull()) return {};
    const FieldType t = defs_.at(column).type;
    if (isIntegral(t) && v.typeId() == QMetaType::QString) {
        bool ok = false;
        const qint64 n = v.toString().trimmed().toLongLong(&ok);
        if (!ok) throw DbError(QStringLiteral("'%1' is not a valid integer value").arg(v.toString()));
        return n;
    }
    if ((t == FieldType::Double || t == FieldType::Decimal) && v.typeId() == QMetaType::QString) {
        bool ok = false;
        double d = v.toString().trimmed().toDouble(&ok);
        if (!ok) d = QLocale().toDouble(v.toString().trimmed(), &ok);
        if (!ok) throw DbError(QStringLiteral("'%1' is not a valid floating point value").arg(v.toString()));
        return d;
    }
    return v;
}

void Dataset::setCurrentValue(int column, const QVariant& value)
{
    if (!isPending()) throw DbError(QStringLiteral("%1: Dataset not in edit or insert mode").arg(objectName()));
    const FieldDef& d = defs_.at(column);
    if (d.readOnly || d.type == FieldType::AutoInc)
        throw DbError(QStringLiteral("Field '%1' cannot be modified").arg(d.name));
    pending_[column] = converted(column, value);
    modified_[column] = true;
    emit rowChanged(currentRow());
}

void Dataset::checkEditable() const
{
    if (!isOpen()) throw DbError(QStringLiteral("%1: Cannot perform this operation on a closed dataset").arg(objectName()));
    if (updateTable_.isEmpty()) throw DbError(QStringLiteral("%1: Cannot modify a read-only dataset").arg(objectName()));
}

void Dataset::ensureBrowse()
{
    // Leaving a row stores what was typed into it, as moving in a grid does.
    if (!isPending()) return;
    if (modified_.contains(true))
        post();
    else
        cancel();
}

void Dataset::insert()
{
    checkEditable();
    ensureBrowse();
    pending_ = QVector<QVariant>(int(columns_.size()));
    modified_ = QVector<bool>(int(columns_.size()), false);
    insertPos_ = cur_ < 0 ? 0 : cur_;
    state_ = State::Insert;
    emit rowsReset();
    emit currentMoved();
}

void Dataset::append()
{
    checkEditable();
    ensureBrowse();
    pending_ = QVector<QVariant>(int(columns_.size()));
    modified_ = QVector<bool>(int(columns_.size()), false);
    insertPos_ = int(view_.size());
    state_ = State::Insert;
    emit rowsReset();
    emit currentMoved();
}

void Dataset::edit()
{
    checkEditable();
    if (state_ == State::Edit || state_ == State::Insert) return;
    if (cur_ < 0) {
        insert();
        return;
    }
    pending_ = rows_[view_[cur_]];
    modified_ = QVector<bool>(int(columns_.size()), false);
    state_ = State::Edit;
}

void Dataset::post()
{
    if (!isPending()) return;
    if (beforePost_) beforePost_(*this);
    QSqlQuery q(db());
    if (state_ == State::Insert) {
        QStringList cols, marks;
        QVariantList values;
        for (int i = 0; i < columns_.size(); ++i) {
            if (!modified_[i] || defs_[i].readOnly || defs_[i].type == FieldType::AutoInc) continue;
            cols << columns_[i];
            marks << QStringLiteral("?");
            values << pending_[i];
        }
        QString text = cols.isEmpty() ? QStringLiteral("insert into %1 default values").arg(updateTable_)
                                      : QStringLiteral("insert into %1 (%2) values (%3)").arg(updateTable_, cols.join(u','), marks.join(u','));
        if (!keyFields_.isEmpty()) text += QStringLiteral(" returning ") + keyFields_.join(u',');
        if (!q.prepare(text)) throwQuery(q);
        for (const QVariant& v : values) q.addBindValue(v);
        if (!q.exec()) throwQuery(q);
        if (!keyFields_.isEmpty() && q.next()) {
            for (int k = 0; k < keyFields_.size(); ++k) {
                const int col = fieldIndex(keyFields_[k]);
                if (col >= 0) pending_[col] = q.value(k);
            }
        }
        const int row = int(rows_.size());
        rows_.push_back(pending_);
        view_.insert(std::clamp(insertPos_, 0, int(view_.size())), row);
        cur_ = std::clamp(insertPos_, 0, int(view_.size()) - 1);
        state_ = State::Browse;
        pending_.clear();
        eof_ = bof_ = false;
        emit rowsReset();
        emit currentMoved();
        return;
    }

    // Edit: only what was changed, by key (or by every original value when the table has no key).
    QStringList sets;
    QVariantList values;
    const QVector<QVariant>& original = rows_[view_[cur_]];
    for (int i = 0; i < columns_.size(); ++i) {
        if (!modified_[i]) continue;
        sets << columns_[i] + QStringLiteral("=?");
        values << pending_[i];
    }
    if (sets.isEmpty()) {
        cancel();
        return;
    }
    const QString text = QStringLiteral("update %1 set %2 where %3").arg(updateTable_, sets.join(u','), whereByKey(original, &values));
    if (!q.prepare(text)) throwQuery(q);
    for (const QVariant& v : values) q.addBindValue(v);
    if (!q.exec()) throwQuery(q);
    rows_[view_[cur_]] = pending_;
    state_ = State::Browse;
    pending_.clear();
    emit rowChanged(cur_);
}

QString Dataset::whereByKey(const QVector<QVariant>& row, QVariantList* values) const
{
    // By key; a table without one (the build stamp's) by every original value.
    QStringList where;
    for (const QString& k : keyFields_.isEmpty() ? columns_ : keyFields_) {
        const int col = fieldIndex(k);
        if (col < 0) fieldNotFound(k);
        if (row[col].isNull()) {
            where << k + QStringLiteral(" is null");
        } else {
            where << k + QStringLiteral("=?");
            *values << row[col];
        }
    }
    return where.join(QStringLiteral(" and "));
}

void Dataset::cancel()
{
    if (!isPending()) return;
    const bool wasInsert = state_ == State::Insert;
    state_ = State::Browse;
    pending_.clear();
    if (wasInsert) {
        emit rowsReset();
        emit currentMoved();
    } else {
        emit rowChanged(cur_);
    }
}

void Dataset::remove()
{
    checkEditable();
    if (state_ == State::Insert) {
        cancel();
        return;
    }
    if (state_ == State::Edit) cancel();
    if (cur_ < 0) throw DbError(QStringLiteral("%1: Cannot perform this operation on an empty dataset").arg(objectName()));
    const QVector<QVariant>& row = rows_[view_[cur_]];
    QVariantList values;
    QSqlQuery q(db());
    if (!q.prepare(QStringLiteral("delete from %1 where %2").arg(updateTable_, whereByKey(row, &values)))) throwQuery(q);
    for (const QVariant& v : values) q.addBindValue(v);
    if (!q.exec()) throwQuery(q);
    const int removed = view_[cur_];
    rows_.erase(rows_.begin() + removed);
    view_.remove(cur_);
    for (int& r : view_)
        if (r > removed) --r;
    if (cur_ >= view_.size()) cur_ = int(view_.size()) - 1;
    eof_ = bof_ = view_.isEmpty();
    emit rowsReset();
    emit currentMoved();
}

void Dataset::refresh()
{
    if (!isOpen()) return;
    if (isPending()) post();
    // Stay on the same row (by key) where it still exists, otherwise on the same position.
    QVariantList key;
    const int keepPos = cur_;
    if (cur_ >= 0)
        for (const QString& k : keyFields_)
            if (const int c = fieldIndex(k); c >= 0) key << rows_[view_[cur_]].at(c);
    fetch();
    int keepRow = -1;
    for (int r = 0; !key.isEmpty() && r < int(rows_.size()) && keepRow < 0; ++r) {
        bool same = true;
        for (int k = 0; k < keyFields_.size() && same; ++k)
            same = QVariant::compare(rows_[r].at(fieldIndex(keyFields_[k])), key[k]) == QPartialOrdering::Equivalent;
        if (same) keepRow = r;
    }
    rebuildViewAt(keepRow, keepPos);
}

int Dataset::visibleRowCount() const
{
    return recordCount() + (state_ == State::Insert ? 1 : 0);
}

QVariant Dataset::valueAt(int row, int column) const
{
    if (state_ == State::Insert) {
        if (row == insertPos_) return pending_.value(column);
        if (row > insertPos_) --row;
    } else if (state_ == State::Edit && row == cur_) {
        return pending_.value(column);
    }
    if (row < 0 || row >= view_.size()) return {};
    return rows_[view_[row]].value(column);
}

int Dataset::currentRow() const
{
    if (state_ == State::Insert) return insertPos_;
    return cur_;
}

void Dataset::moveToRow(int row)
{
    if (state_ == State::Insert) {
        if (row == insertPos_) return;
        // A stored new row keeps its place in the grid; an untouched one disappears from it.
        const bool stores = modified_.contains(true);
        const int target = !stores && row > insertPos_ ? row - 1 : row;
        ensureBrowse();
        if (!view_.isEmpty()) setCurrent(std::clamp(target, 0, int(view_.size()) - 1));
        return;
    }
    if (row >= 0 && row < view_.size()) {
        setCurrent(row);
        eof_ = bof_ = false;
    }
}
