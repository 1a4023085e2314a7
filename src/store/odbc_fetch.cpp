#include "store/odbc_fetch.h"

#include "store/connection.h"
#include "store/db_error.h"
#include "store/net_watch.h"
#include "store/sql_text.h"

#include <QDateTime>
#include <QSqlDriver>
#include <algorithm>
#include <memory>
#include <sql.h>
#include <sqlext.h>

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "the driver manager's wide characters must be UTF-16");

namespace {

constexpr SQLULEN kBlockRows = 256;
// The bytes of one block's buffers. A text column takes room for its longest text in every row of the
// block (16 KB each for a text without a length), so a block of 256 rows of the journal took 16 MB,
// allocated and touched page by page on every open; results with such columns fetch fewer rows a block.
constexpr SQLLEN kBlockBytes = 256 * 1024;
constexpr SQLULEN kMaxTextChars = 8190;  // the connection's MaxLongVarcharSize

// The driver's messages, joined, with the SQLSTATE of the first one.
DbError diagnostics(SQLSMALLINT type, SQLHANDLE h)
{
    QString out;
    QString firstState;
    SQLWCHAR state[6];
    SQLWCHAR text[1024];
    SQLINTEGER native = 0;
    SQLSMALLINT len = 0;
    for (SQLSMALLINT i = 1; SQL_SUCCEEDED(SQLGetDiagRecW(type, h, i, state, &native, text, 1024, &len)); ++i) {
        if (firstState.isEmpty()) firstState = QString::fromUtf16(reinterpret_cast<const char16_t*>(state), 5);
        if (!out.isEmpty()) out += u'\n';
        out += QString::fromUtf16(reinterpret_cast<const char16_t*>(text), qMin<int>(len, 1023));
    }
    if (out.isEmpty()) return DbError(QStringLiteral("ODBC error"), DbError::Kind::ProgramFault);
    return DbError::fromDatabase(out, firstState);
}

struct Statement {
    SQLHSTMT h = SQL_NULL_HSTMT;
    ~Statement()
    {
        if (h != SQL_NULL_HSTMT) SQLFreeHandle(SQL_HANDLE_STMT, h);
    }
    void check(SQLRETURN r) const
    {
        if (!SQL_SUCCEEDED(r) && r != SQL_NO_DATA) throw diagnostics(SQL_HANDLE_STMT, h);
    }
};

// One bound parameter's storage.
struct ParamBuffer {
    std::u16string text;
    qint64 integer = 0;
    double number = 0;
    SQL_DATE_STRUCT date{};
    SQL_TIMESTAMP_STRUCT stamp{};
    SQLLEN ind = 0;
};

void bindParams(Statement& st, const QVariantList& params, std::vector<ParamBuffer>& store)
{
    store.resize(params.size());
    for (int i = 0; i < params.size(); ++i) {
        const QVariant& v = params[i];
        ParamBuffer& b = store[i];
        const SQLUSMALLINT n = SQLUSMALLINT(i + 1);
        if (v.isNull()) {
            b.ind = SQL_NULL_DATA;
            st.check(SQLBindParameter(st.h, n, SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR, 1, 0, nullptr, 0, &b.ind));
            continue;
        }
        switch (v.typeId()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
            b.integer = v.toLongLong();
            st.check(SQLBindParameter(st.h, n, SQL_PARAM_INPUT, SQL_C_SBIGINT, SQL_BIGINT, 0, 0, &b.integer, 0, nullptr));
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            b.number = v.toDouble();
            st.check(SQLBindParameter(st.h, n, SQL_PARAM_INPUT, SQL_C_DOUBLE, SQL_DOUBLE, 0, 0, &b.number, 0, nullptr));
            break;
        case QMetaType::QDate: {
            const QDate d = v.toDate();
            b.date = {SQLSMALLINT(d.year()), SQLUSMALLINT(d.month()), SQLUSMALLINT(d.day())};
            st.check(SQLBindParameter(st.h, n, SQL_PARAM_INPUT, SQL_C_TYPE_DATE, SQL_TYPE_DATE, 10, 0, &b.date, 0, nullptr));
            break;
        }
        case QMetaType::QDateTime: {
            const QDateTime t = v.toDateTime();
            b.stamp = {SQLSMALLINT(t.date().year()), SQLUSMALLINT(t.date().month()), SQLUSMALLINT(t.date().day()),
                       SQLUSMALLINT(t.time().hour()), SQLUSMALLINT(t.time().minute()), SQLUSMALLINT(t.time().second()),
                       SQLUINTEGER(t.time().msec()) * 1000000u};
            st.check(SQLBindParameter(st.h, n, SQL_PARAM_INPUT, SQL_C_TYPE_TIMESTAMP, SQL_TYPE_TIMESTAMP, 19, 0, &b.stamp, 0, nullptr));
            break;
        }
        default: {
            b.text = v.toString().toStdU16String();
            b.ind = SQLLEN(b.text.size() * sizeof(char16_t));
            st.check(SQLBindParameter(st.h, n, SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR, qMax<SQLULEN>(b.text.size(), 1), 0,
                                      b.text.data(), b.ind, &b.ind));
            break;
        }
        }
    }
}

enum class Kind { Int, BigInt, Double, Date, Stamp, Time, Text };

// UTF-16 units as they are: QString::fromUtf16 would read a leading U+FEFF or U+FFFE as a byte-order
// mark, dropping it or byte-swapping the rest, and a text arrives in pieces that each begin anew.
QString units(const void* data, SQLLEN bytes)
{
    return QString(static_cast<const QChar*>(data), qsizetype(bytes / SQLLEN(sizeof(SQLWCHAR))));
}

struct Column {
    Kind kind = Kind::Text;
    SQLSMALLINT cType = SQL_C_WCHAR;
    SQLLEN width = 0;  // bytes per row
    std::unique_ptr<char[]> data;
    std::unique_ptr<SQLLEN[]> ind;
};

Kind kindOf(SQLSMALLINT sqlType)
{
    switch (sqlType) {
    case SQL_SMALLINT:
    case SQL_INTEGER:
    case SQL_TINYINT: return Kind::Int;
    case SQL_BIGINT: return Kind::BigInt;
    case SQL_NUMERIC:
    case SQL_DECIMAL:
    case SQL_REAL:
    case SQL_FLOAT:
    case SQL_DOUBLE: return Kind::Double;
    // Older protocol levels of the driver still describe dates with the ODBC 2 codes.
    case SQL_DATE:
    case SQL_TYPE_DATE: return Kind::Date;
    case SQL_TIMESTAMP:
    case SQL_TYPE_TIMESTAMP: return Kind::Stamp;
    case SQL_TIME:
    case SQL_TYPE_TIME: return Kind::Time;
    default: return Kind::Text;
    }
}

QMetaType metaOf(Kind k)
{
    switch (k) {
    case Kind::Int: return QMetaType(QMetaType::Int);
    case Kind::BigInt: return QMetaType(QMetaType::LongLong);
    case Kind::Double: return QMetaType(QMetaType::Double);
    case Kind::Date: return QMetaType(QMetaType::QDate);
    case Kind::Stamp: return QMetaType(QMetaType::QDateTime);
    case Kind::Time: return QMetaType(QMetaType::QTime);
    case Kind::Text: return QMetaType(QMetaType::QString);
    }
    return {};
}

QVariant cell(const Column& c, SQLULEN row, bool* truncated)
{
    const SQLLEN ind = c.ind[row];
    if (ind == SQL_NULL_DATA) return QVariant(metaOf(c.kind));
    const char* p = c.data.get() + row * c.width;
    switch (c.kind) {
    case Kind::Int: return *reinterpret_cast<const SQLINTEGER*>(p);
    case Kind::BigInt: return qlonglong(*reinterpret_cast<const SQLBIGINT*>(p));
    case Kind::Double: return *reinterpret_cast<const SQLDOUBLE*>(p);
    case Kind::Date: {
        auto d = reinterpret_cast<const SQL_DATE_STRUCT*>(p);
        return QDate(d->year, d->month, d->day);
    }
    case Kind::Stamp: {
        auto t = reinterpret_cast<const SQL_TIMESTAMP_STRUCT*>(p);
        return QDateTime(QDate(t->year, t->month, t->day), QTime(t->hour, t->minute, t->second, int(t->fraction / 1000000)));
    }
    case Kind::Time: {
        auto t = reinterpret_cast<const SQL_TIME_STRUCT*>(p);
        return QTime(t->hour, t->minute, t->second);
    }
    case Kind::Text: {
        const SQLLEN room = c.width - SQLLEN(sizeof(SQLWCHAR));
        if (ind == SQL_NO_TOTAL || ind > room) *truncated = true;
        const SQLLEN bytes = qMin(ind, room);
        return units(p, bytes);
    }
    }
    return {};
}

// The slow road for texts longer than a bound buffer holds: one row at a time, each text in pieces.
void fetchRowByRow(Statement& st, const std::vector<Column>& cols, FetchedRows& out)
{
    const SQLUSMALLINT n = SQLUSMALLINT(cols.size());
    for (;;) {
        const SQLRETURN r = SQLFetch(st.h);
        if (r == SQL_NO_DATA) return;
        st.check(r);
        QVector<QVariant> row(n);
        for (SQLUSMALLINT i = 0; i < n; ++i) {
            const Column& c = cols[i];
            if (c.kind != Kind::Text) {
                char buf[sizeof(SQL_TIMESTAMP_STRUCT) + 16];
                SQLLEN ind = 0;
                st.check(SQLGetData(st.h, SQLUSMALLINT(i + 1), c.cType, buf, sizeof buf, &ind));
                Column one;
                one.kind = c.kind;
                one.width = sizeof buf;
                one.data.reset(new char[sizeof buf]);
                std::memcpy(one.data.get(), buf, sizeof buf);
                one.ind.reset(new SQLLEN[1]{ind});
                bool dummy = false;
                row[i] = cell(one, 0, &dummy);
                continue;
            }
            QString text;
            SQLWCHAR buf[4096];
            SQLLEN ind = 0;
            bool isNull = false;
            for (;;) {
                const SQLRETURN g = SQLGetData(st.h, SQLUSMALLINT(i + 1), SQL_C_WCHAR, buf, sizeof buf, &ind);
                if (g == SQL_NO_DATA) break;
                st.check(g);
                if (ind == SQL_NULL_DATA) {
                    isNull = true;
                    break;
                }
                const SQLLEN room = SQLLEN(sizeof buf) - SQLLEN(sizeof(SQLWCHAR));
                const SQLLEN bytes = (ind == SQL_NO_TOTAL || ind > room) ? room : ind;
                text += units(buf, bytes);
                if (g == SQL_SUCCESS) break;
            }
            row[i] = isNull ? QVariant(QMetaType(QMetaType::QString)) : QVariant(text);
        }
        out.rows.push_back(std::move(row));
    }
}

SQLHDBC connectionHandle(const QSqlDatabase& given)
{
    // Connected again here when a statement found the connection lost; the copy shares the driver.
    const QSqlDatabase db = given.connectionName().isEmpty() ? given : liveConnection(given.connectionName());
    const QVariant h = db.driver() ? db.driver()->handle() : QVariant();
    // QODBC hands out its connection handle as an opaque pointer.
    if (!db.isOpen() || !h.isValid() || h.metaType().sizeOf() != int(sizeof(SQLHDBC)))
        throw DbError(QStringLiteral("нет подключения к базе данных"), DbError::Kind::ConnectionLost);
    return *static_cast<const SQLHDBC*>(h.constData());
}

void execute(Statement& st, SQLHDBC dbc, const QString& statement, const QVariantList& params, std::vector<ParamBuffer>& store)
{
    // A text the database cannot hold is refused before anything is sent.
    for (const QVariant& p : params)
        if (p.typeId() == QMetaType::QString) sqltext::checkStorable(p.toString());
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &st.h))) throw diagnostics(SQL_HANDLE_DBC, dbc);
    std::u16string text = statement.toStdU16String();
    // Executed directly, the parameters bound first: the driver sends the statement, its values (apart
    // from its text, as always) and the execution in one message. Prepared, it took four round trips for
    // one execution: the parse, a describe, the execution and a DEALLOCATE when the handle was freed.
    bindParams(st, params, store);
    st.check(SQLExecDirectW(st.h, reinterpret_cast<SQLWCHAR*>(text.data()), SQLINTEGER(text.size())));
}

bool connectionDead(SQLHDBC dbc)
{
    SQLUINTEGER dead = SQL_CD_FALSE;
    return SQL_SUCCEEDED(SQLGetConnectAttr(dbc, SQL_ATTR_CONNECTION_DEAD, &dead, 0, nullptr)) && dead == SQL_CD_TRUE;
}

// Runs `work` on the connection; a connection found lost is marked, so that the next statement connects
// again. One that was never open, or was closed on purpose, stays as it is.
template <typename F>
auto onConnection(const QSqlDatabase& db, F work)
{
    SQLHDBC dbc = SQL_NULL_HDBC;
    bool cut = false;
    try {
        dbc = connectionHandle(db);
        netwatch::StatementWatch watch(db.connectionName());
        try {
            return work(dbc);
        } catch (const DbError&) {
            cut = watch.cut();
            throw;
        }
    } catch (const DbError& e) {
        // The driver does not give every failure on a dropped connection a connection SQLSTATE (a statement
        // with parameters only says it could not be prepared), but it knows the connection is dead. A
        // statement ended because the line went silent is a lost connection whatever the driver says.
        const bool lost = cut || e.kind() == DbError::Kind::ConnectionLost || (dbc != SQL_NULL_HDBC && connectionDead(dbc));
        if (lost && db.isOpen() && !db.connectionName().isEmpty()) markConnectionLost(db.connectionName());
        if (lost && e.kind() != DbError::Kind::ConnectionLost) throw DbError(e.text(), DbError::Kind::ConnectionLost, e.sqlState());
        throw;
    }
}

FetchedRows fetchAll(SQLHDBC dbc, const QString& statement, const QVariantList& params)
{
    FetchedRows out;
    std::vector<ParamBuffer> store;
    auto st = std::make_unique<Statement>();
    execute(*st, dbc, statement, params, store);

    SQLSMALLINT n = 0;
    st->check(SQLNumResultCols(st->h, &n));
    std::vector<Column> cols(n);
    for (SQLSMALLINT i = 0; i < n; ++i) {
        SQLWCHAR name[256];
        SQLSMALLINT nameLen = 0, type = 0, digits = 0, nullable = 0;
        SQLULEN size = 0;
        st->check(SQLDescribeColW(st->h, SQLUSMALLINT(i + 1), name, 256, &nameLen, &type, &size, &digits, &nullable));
        out.names << QString::fromUtf16(reinterpret_cast<const char16_t*>(name), qMin<int>(nameLen, 255));
        Column& c = cols[i];
        c.kind = kindOf(type);
        out.types << metaOf(c.kind);
        switch (c.kind) {
        case Kind::Int: c.cType = SQL_C_SLONG; c.width = sizeof(SQLINTEGER); break;
        case Kind::BigInt: c.cType = SQL_C_SBIGINT; c.width = sizeof(SQLBIGINT); break;
        case Kind::Double: c.cType = SQL_C_DOUBLE; c.width = sizeof(SQLDOUBLE); break;
        case Kind::Date: c.cType = SQL_C_TYPE_DATE; c.width = sizeof(SQL_DATE_STRUCT); break;
        case Kind::Stamp: c.cType = SQL_C_TYPE_TIMESTAMP; c.width = sizeof(SQL_TIMESTAMP_STRUCT); break;
        case Kind::Time: c.cType = SQL_C_TYPE_TIME; c.width = sizeof(SQL_TIME_STRUCT); break;
        case Kind::Text: {
            const SQLULEN chars = (size == 0 || size > kMaxTextChars) ? kMaxTextChars : size;
            c.cType = SQL_C_WCHAR;
            c.width = SQLLEN((chars + 1) * sizeof(SQLWCHAR));
            break;
        }
        }
    }
    if (n == 0) return out;

    SQLLEN rowBytes = 0;
    for (const Column& c : cols) rowBytes += c.width;
    const SQLULEN blockRows = std::clamp<SQLULEN>(SQLULEN(kBlockBytes / rowBytes), 1, kBlockRows);
    for (SQLSMALLINT i = 0; i < n; ++i) {
        Column& c = cols[i];
        c.data.reset(new char[size_t(c.width) * blockRows]);
        c.ind.reset(new SQLLEN[blockRows]);
    }
    SQLULEN fetched = 0;
    bool blocks = SQL_SUCCEEDED(SQLSetStmtAttr(st->h, SQL_ATTR_ROW_BIND_TYPE, SQLPOINTER(SQL_BIND_BY_COLUMN), 0))
                  && SQL_SUCCEEDED(SQLSetStmtAttr(st->h, SQL_ATTR_ROW_ARRAY_SIZE, SQLPOINTER(blockRows), 0))
                  && SQL_SUCCEEDED(SQLSetStmtAttr(st->h, SQL_ATTR_ROWS_FETCHED_PTR, &fetched, 0));
    for (SQLSMALLINT i = 0; blocks && i < n; ++i)
        blocks = SQL_SUCCEEDED(SQLBindCol(st->h, SQLUSMALLINT(i + 1), cols[i].cType, cols[i].data.get(), cols[i].width, cols[i].ind.get()));

    bool truncated = false;
    if (blocks) {
        for (;;) {
            const SQLRETURN r = SQLFetch(st->h);
            if (r == SQL_NO_DATA) break;
            st->check(r);
            for (SQLULEN row = 0; row < fetched; ++row) {
                QVector<QVariant> values(n);
                for (SQLSMALLINT i = 0; i < n; ++i) values[i] = cell(cols[i], row, &truncated);
                out.rows.push_back(std::move(values));
            }
            if (truncated) break;
        }
        if (!truncated) return out;
    }

    // A text longer than its buffer (or a driver without block fetches): read the result again, row by row.
    out.rows.clear();
    st = std::make_unique<Statement>();
    execute(*st, dbc, statement, params, store);
    fetchRowByRow(*st, cols, out);
    return out;
}

int executeOnly(SQLHDBC dbc, const QString& statement, const QVariantList& params)
{
    std::vector<ParamBuffer> store;
    Statement st;
    execute(st, dbc, statement, params, store);
    SQLLEN rows = 0;
    st.check(SQLRowCount(st.h, &rows));
    return int(rows);
}

}  // namespace

FetchedRows odbcFetchAll(const QSqlDatabase& db, const QString& statement, const QVariantList& params)
{
    return onConnection(db, [&](SQLHDBC dbc) { return fetchAll(dbc, statement, params); });
}

int odbcExecute(const QSqlDatabase& db, const QString& statement, const QVariantList& params)
{
    return onConnection(db, [&](SQLHDBC dbc) { return executeOnly(dbc, statement, params); });
}
