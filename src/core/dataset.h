#pragma once
#include "store/field_def.h"
#include "core/record_filter.h"
#include "core/row_view.h"
#include "store/reads/read.h"
#include "store/row_writer.h"

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QSqlDatabase>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>

class Dataset;

// A handle on one field of a dataset's current row (or of its pending row while inserting or editing).
class Field {
public:
    Field(Dataset* ds, int column) : ds_(ds), col_(column) {}
    QString name() const;
    FieldType type() const;
    QVariant value() const;
    bool isNull() const;
    int asInteger() const;        // an empty value reads 0
    qint64 asLargeInt() const;
    double asDouble() const;
    QString asString() const;     // numbers in plain decimal with the workstation's separator
    QDate asDate() const;
    QDateTime asDateTime() const;
    QString displayText() const;  // as a grid shows it

    void setValue(const QVariant& v);
    void setInteger(qint64 v) { setValue(v); }
    void setDouble(double v) { setValue(v); }
    void setString(const QString& v);  // into a number field the text is read as a number

private:
    Dataset* ds_;
    int col_;
};

// A snapshot of a statement's rows with a current row, record filter, client order and, for a
// statement over one table, row editing written back by key. Opening reads every row; later changes
// in the database show only after the next open.
class Dataset : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Insert, Edit };

    explicit Dataset(const QString& name, QObject* parent = nullptr);
    // A dataset named after a read of the store's catalog and set up from it (setRead).
    explicit Dataset(const store::Read& read, QObject* parent = nullptr);

    // Connection (by QSqlDatabase connection name); the data module sets it for its datasets.
    void setConnectionName(const QString& name) { connection_ = name; }
    QString connectionName() const { return connection_; }

    // Statement: lines joined by line breaks; changed only while closed.
    void setSql(const QStringList& lines);
    void clearSql();
    void addSql(const QString& line);
    QString sqlText() const { return sql_.join(u'\n'); }
    // A whole table: its rows are read with "select * from <table>" and written back by key.
    void setTable(const QString& table, const QStringList& keyFields);
    // The statement, the declared fields and, when the read names one, the table the rows are written back to.
    void setRead(const store::Read& read);

    // Parameters by name; a new value takes effect at the next open.
    void setParam(const QString& name, const QVariant& value);
    QVariant param(const QString& name) const;

    // Declared fields (types and read-only switches); columns the statement returns without a declaration
    // take the type the driver reports.
    void setFields(const QList<FieldDef>& fields) { declared_ = fields; }
    // Rows are written back to this table by these key fields (no key: by all original values).
    void setUpdateTable(const QString& table, const QStringList& keyFields);

    void open();
    void close();
    bool isOpen() const { return state_ != State::Inactive; }
    State state() const { return state_; }
    bool isPending() const { return state_ == State::Insert || state_ == State::Edit; }
    // A pending row with a value written into it: something to store.
    bool isModified() const { return isPending() && modified_.contains(true); }
    QString name() const { return objectName(); }

    // Navigation over the visible rows (those passing the filter, in client order).
    int recordCount() const;
    bool isEmpty() const { return recordCount() == 0; }
    int recNo() const;  // 1-based; below 1 when empty or on a new row
    void setRecNo(int n);
    void first();
    void last();
    void next();
    void prior();
    bool eof() const { return eof_; }
    bool bof() const { return bof_; }
    bool locate(const QString& field, const QVariant& value);  // letter case not significant for texts

    // Fields of the current row.
    Field fieldByName(const QString& name);
    Field field(int column) { return Field(this, column); }
    int fieldIndex(const QString& name) const;  // -1 when absent
    int fieldCount() const { return int(columns_.size()); }
    QStringList fieldNames() const { return columns_; }
    const FieldDef& fieldDef(int column) const { return defs_.at(column); }

    // Record filter.
    void setFilter(const QString& expression);
    void setFilter(const RecordFilter& filter);
    QString filter() const { return filter_.text(); }
    void setFiltered(bool on);
    bool filtered() const { return filtered_; }

    // Client-side order by one field ("" for the statement's order).
    void setIndexFieldNames(const QString& field);

    // Editing (single-table datasets).
    void insert();
    void append();
    // Runs just before a pending row is written, whatever started the write: the place to fill
    // values the row must always carry (such as the owner's key of a new row).
    void setBeforePost(std::function<void(Dataset&)> hook) { beforePost_ = std::move(hook); }
    // On: a store the database refuses (a rule of the table, a row another workstation holds) drops the
    // pending row, so the rows show what is stored; a lost connection keeps it, to be stored once connected
    // again. Off (the default): a failed store stays pending.
    void setCancelRefusedStore(bool on) { cancelRefused_ = on; }
    // Who writes a row back: by default the dataset runs the row's statement on its connection; a table
    // that workstations share plugs in the store's verbs, which own the transaction. `insert` answers the
    // values of the key fields the database gave the row; an update is asked only when a column changed.
    struct RowStore {
        std::function<QVariantList(const store::RowWrite&)> insert;
        std::function<void(const store::RowWrite&)> update;
        std::function<void(const store::RowWrite&)> remove;
    };
    void setRowStore(RowStore rowStore) { rowStore_ = std::move(rowStore); }
    void edit();
    void post();
    void cancel();
    void remove();
    void refresh();

    // Grid access: visible row r (0-based), column c; while inserting, the new row is shown at insertRow().
    int visibleRowCount() const;
    QVariant valueAt(int row, int column) const;
    int currentRow() const;  // 0-based grid row, -1 for none
    void moveToRow(int row);
    int insertRow() const { return state_ == State::Insert ? insertPos_ : -1; }

    // Reads and writes through Field.
    QVariant currentValue(int column) const;
    void setCurrentValue(int column, const QVariant& value);

signals:
    void rowsReset();          // opened, closed, filtered, reordered, re-read
    void rowInserted(int row); // a grid row appeared at this position (a new row being entered)
    void rowRemoved(int row);  // the grid row at this position went (deleted, or a new row given up)
    void currentMoved();       // another row became current
    void rowChanged(int row);  // values of a grid row changed
    void beforeScroll();       // current row about to change (grids store edits here)

private:
    QSqlDatabase db() const;
    void fetch();
    void rebuildView(bool keepCurrent);
    void rebuildViewAt(int keepRow, int fallbackPos);
    const QVector<QVariant>* currentRowData() const;
    void checkEditable() const;
    void ensureBrowse();
    void fillKeyDefaults();
    void setCurrent(int pos);
    void store();
    store::RowWrite rowWrite(const QVector<QVariant>& original) const;
    [[noreturn]] void fieldNotFound(const QString& name) const;

    QString connection_;
    QStringList sql_;
    QHash<QString, QVariant> params_;  // lower-case names
    QList<FieldDef> declared_;
    QString updateTable_;
    QStringList keyFields_;
    RowStore rowStore_;

    State state_ = State::Inactive;
    QStringList columns_;
    QVector<FieldDef> defs_;
    QHash<QString, int> index_;  // upper-case name -> column
    std::vector<QVector<QVariant>> rows_;
    RowView view_;
    int cur_ = -1;                // visible position of the current row
    bool eof_ = true;
    bool bof_ = true;

    RecordFilter filter_;
    bool filtered_ = false;
    QString orderField_;

    QVector<QVariant> pending_;
    QVector<bool> modified_;
    int insertPos_ = -1;
    std::function<void(Dataset&)> beforePost_;
    bool cancelRefused_ = false;
};
