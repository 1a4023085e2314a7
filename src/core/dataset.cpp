#include "core/dataset.h"

#include "store/connection.h"
#include "store/db_error.h"
#include "core/field_value.h"
#include "store/odbc_fetch.h"
#include "store/sql_text.h"

#include <QLocale>
#include <QSqlError>
#include <QSqlField>
#include <QSqlRecord>
#include <algorithm>



// ---------------------------------------------------------------- Field

QString Field::name() const { return ds_->fieldDef(col_).name; }
FieldType Field::type() const { return ds_->fieldDef(col_).type; }
QVariant Field::value() const { return ds_->currentValue(col_); }
bool Field::isNull() const { return value().isNull(); }

int Field::asInteger() const { return int(asLargeInt()); }

qint64 Field::asLargeInt() const
{
    return fieldvalue::toInteger(value());
}

double Field::asDouble() const
{
    return fieldvalue::toDouble(value());
}

QString Field::asString() const
{
    return fieldvalue::format(ds_->fieldDef(col_), value(), false);
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
    return fieldvalue::format(ds_->fieldDef(col_), value(), true);
}

void Field::setValue(const QVariant& v) { ds_->setCurrentValue(col_, v); }

void Field::setString(const QString& text)
{
    setValue(fieldvalue::fromText(ds_->fieldDef(col_), text));
}

// ---------------------------------------------------------------- Dataset

Dataset::Dataset(const QString& name, QObject* parent) : QObject(parent)
{
    setObjectName(name);
}

Dataset::Dataset(const store::Read& read, QObject* parent) : Dataset(read.name, parent)
{
    setRead(read);
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

void Dataset::setRead(const store::Read& read)
{
    sql_ = read.sql;
    declared_ = read.fields;
    if (!read.table.isEmpty()) setUpdateTable(read.table, read.keys);
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
    const QSqlDatabase database = liveConnection(db().connectionName());
    const sqltext::Bound bound = sqltext::bind(sqlText(), params_);
    FetchedRows result = odbcFetchAll(database, bound.text, bound.values);

    columns_.clear();
    defs_.clear();
    index_.clear();
    for (int i = 0; i < result.names.size(); ++i) {
        const QString& n = result.names.at(i);
        FieldDef d{n, fieldvalue::typeOf(result.types.at(i)), false, 0, {}};
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
    for (int c = 0; c < defs_.size(); ++c) {
        if (defs_[c].type != FieldType::Decimal || defs_[c].scale <= 0) continue;
        for (QVector<QVariant>& row : rows_) row[c] = fieldvalue::asRead(defs_[c], row[c]);
    }
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
    rebuildViewAt(keepCurrent && cur_ >= 0 && cur_ < view_.size() ? view_.rowAt(cur_) : -1, -1);
}

void Dataset::rebuildViewAt(int keepRow, int fallbackPos)
{
    std::function<bool(const QVector<QVariant>&)> pass;
    if (filtered_ && !filter_.isEmpty()) pass = filter_.compile([this](const QString& f) { return fieldIndex(f); });
    int orderColumn = -1;
    if (!orderField_.isEmpty()) {
        orderColumn = fieldIndex(orderField_);
        if (orderColumn < 0) fieldNotFound(orderField_);
    }
    view_.rebuild(rows_, pass, orderColumn);
    int pos = view_.isEmpty() ? -1 : 0;
    if (fallbackPos >= 0 && !view_.isEmpty()) pos = std::min(fallbackPos, view_.size() - 1);
    if (keepRow >= 0) {
        const int found = view_.positionOf(keepRow);
        if (found >= 0) pos = found;
    }
    cur_ = pos;
    eof_ = bof_ = view_.isEmpty();
    emit rowsReset();
    emit currentMoved();
}

int Dataset::recordCount() const
{
    return isOpen() ? view_.size() : 0;
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
    setCurrent(std::clamp(n, 1, view_.size()) - 1);
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
    setCurrent(view_.size() - 1);
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
    // Texts are compared in place; anything else is turned into text once per row.
    auto textRef = [](const QVariant& v, QString& h) -> const QString& {
        if (v.typeId() == QMetaType::QString) return *static_cast<const QString*>(v.constData());
        h = v.toString();
        return h;
    };
    for (int i = 0; i < view_.size(); ++i) {
        const QVariant& v = rows_[view_.rowAt(i)].at(col);
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
    throw DbError(QStringLiteral("%1: Field '%2' not found").arg(objectName(), name), DbError::Kind::ProgramFault);
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
    return &rows_[view_.rowAt(cur_)];
}

QVariant Dataset::currentValue(int column) const
{
    if (!isOpen()) throw DbError(QStringLiteral("%1: Cannot perform this operation on a closed dataset").arg(objectName()), DbError::Kind::ProgramFault);
    const QVector<QVariant>* row = currentRowData();
    if (!row || column < 0 || column >= row->size()) return {};
    return row->at(column);
}

void Dataset::setCurrentValue(int column, const QVariant& value)
{
    if (!isPending()) throw DbError(QStringLiteral("%1: Dataset not in edit or insert mode").arg(objectName()), DbError::Kind::ProgramFault);
    const FieldDef& d = defs_.at(column);
    if (d.readOnly || d.type == FieldType::AutoInc)
        throw DbError(QStringLiteral("Field '%1' cannot be modified").arg(d.name), DbError::Kind::ProgramFault);
    pending_[column] = fieldvalue::forField(d, value);
    modified_[column] = true;
    emit rowChanged(currentRow());
}

void Dataset::checkEditable() const
{
    if (!isOpen()) throw DbError(QStringLiteral("%1: Cannot perform this operation on a closed dataset").arg(objectName()), DbError::Kind::ProgramFault);
    if (updateTable_.isEmpty())
        throw DbError(QStringLiteral("%1: Cannot modify a read-only dataset").arg(objectName()), DbError::Kind::ProgramFault);
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
    emit rowInserted(insertPos_);
    emit currentMoved();
}

void Dataset::append()
{
    checkEditable();
    ensureBrowse();
    pending_ = QVector<QVariant>(int(columns_.size()));
    modified_ = QVector<bool>(int(columns_.size()), false);
    insertPos_ = view_.size();
    state_ = State::Insert;
    emit rowInserted(insertPos_);
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
    pending_ = rows_[view_.rowAt(cur_)];
    modified_ = QVector<bool>(int(columns_.size()), false);
    state_ = State::Edit;
}

void Dataset::post()
{
    if (!isPending()) return;
    try {
        store();
    } catch (const DbError& e) {
        if (cancelRefused_ && e.kind() != DbError::Kind::ConnectionLost) cancel();
        throw;
    }
}

void Dataset::store()
{
    if (beforePost_) beforePost_(*this);
    if (state_ == State::Insert) {
        const store::RowWrite w = rowWrite({});
        const QVariantList key = rowStore_.insert ? rowStore_.insert(w) : store::insertRow(db(), w);
        for (int k = 0; k < key.size() && k < keyFields_.size(); ++k) {
            const int col = fieldIndex(keyFields_.at(k));
            if (col >= 0) pending_[col] = key.at(k);
        }
        // The stored row takes the place the new row was shown in.
        const int row = int(rows_.size());
        rows_.push_back(pending_);
        view_.insertAt(insertPos_, row);
        cur_ = std::clamp(insertPos_, 0, view_.size() - 1);
        state_ = State::Browse;
        pending_.clear();
        eof_ = bof_ = false;
        emit rowChanged(cur_);
        emit currentMoved();
        return;
    }
    // Edit: only what was changed, by key (or by every original value when the table has no key).
    if (!modified_.contains(true)) {
        cancel();
        return;
    }
    const store::RowWrite w = rowWrite(rows_[view_.rowAt(cur_)]);
    if (rowStore_.update)
        rowStore_.update(w);
    else
        store::updateRow(db(), w);
    rows_[view_.rowAt(cur_)] = pending_;
    state_ = State::Browse;
    pending_.clear();
    emit rowChanged(cur_);
}

store::RowWrite Dataset::rowWrite(const QVector<QVariant>& original) const
{
    return store::RowWrite{updateTable_, keyFields_, columns_, defs_, original, pending_, modified_};
}

void Dataset::cancel()
{
    if (!isPending()) return;
    const bool wasInsert = state_ == State::Insert;
    state_ = State::Browse;
    pending_.clear();
    if (wasInsert) {
        emit rowRemoved(insertPos_);
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
    if (cur_ < 0)
        throw DbError(QStringLiteral("%1: Cannot perform this operation on an empty dataset").arg(objectName()),
                      DbError::Kind::ProgramFault);
    const store::RowWrite w = rowWrite(rows_[view_.rowAt(cur_)]);
    if (rowStore_.remove)
        rowStore_.remove(w);
    else
        store::deleteRow(db(), w);
    const int removedAt = cur_;
    rows_.erase(rows_.begin() + view_.rowAt(cur_));
    view_.removeAt(cur_);
    if (cur_ >= view_.size()) cur_ = view_.size() - 1;
    eof_ = bof_ = view_.isEmpty();
    emit rowRemoved(removedAt);
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
            if (const int c = fieldIndex(k); c >= 0) key << rows_[view_.rowAt(cur_)].at(c);
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
    return rows_[view_.rowAt(row)].value(column);
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
        if (!view_.isEmpty()) setCurrent(std::clamp(target, 0, view_.size() - 1));
        return;
    }
    if (row >= 0 && row < view_.size()) {
        setCurrent(row);
        eof_ = bof_ = false;
    }
}
