// Query results of Access databases into the grid, through the ODBC driver manager and the
// Access driver registered as "Microsoft Access Driver (*.mdb)".
#include "grid/base/grid_error.h"
#include "grid/control/pro_string_grid.h"
#include "grid/data/office_address.h"
#include "grid/data/wait_cursor.h"
#include "platform/core/exception.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <sql.h>
#include <sqlext.h>

namespace {
QString OpenError(const QString& Filename, const QString& Why)
{
    return QStringLiteral("Cannot open database ") + Filename + QStringLiteral(": ") + Why;
}

void CheckAccessFile(const QString& Filename)
{
    if (!QFileInfo(Filename).isFile()) throw EProGridError(OpenError(Filename, QStringLiteral("the file does not exist")));
    if (!WholeAccessFile(Filename)) throw EProGridError(OpenError(Filename, QStringLiteral("not a whole Access database")));
}

// The handles of one query, freed in reverse order.
struct TOdbc {
    SQLHENV Env = SQL_NULL_HENV;
    SQLHDBC Dbc = SQL_NULL_HDBC;
    SQLHSTMT Stmt = SQL_NULL_HSTMT;
    bool Connected = false;
    ~TOdbc()
    {
        if (Stmt) SQLFreeHandle(SQL_HANDLE_STMT, Stmt);
        if (Connected) SQLDisconnect(Dbc);
        if (Dbc) SQLFreeHandle(SQL_HANDLE_DBC, Dbc);
        if (Env) SQLFreeHandle(SQL_HANDLE_ENV, Env);
    }
    // The driver's own texts of what went wrong.
    static QString Diagnostics(SQLSMALLINT Type, SQLHANDLE Handle)
    {
        QString out;
        SQLCHAR state[6];
        SQLCHAR message[1024];
        SQLINTEGER native = 0;
        SQLSMALLINT length = 0;
        for (SQLSMALLINT i = 1; i <= 8 && SQL_SUCCEEDED(SQLGetDiagRec(Type, Handle, i, state, &native, message, sizeof message, &length)); ++i) {
            if (!out.isEmpty()) out += QLatin1Char(' ');
            out += QString::fromUtf8(reinterpret_cast<const char*>(message), std::clamp<int>(length, 0, int(sizeof message) - 1));
        }
        return out.isEmpty() ? QStringLiteral("the database driver failed") : out.trimmed();
    }
};

// A field of the current row as text; null and empty fields are empty.
bool FieldText(SQLHSTMT Stmt, SQLUSMALLINT Col, QByteArray& Text)
{
    Text.clear();
    char buffer[4096];
    for (;;) {
        SQLLEN size = 0;
        const SQLRETURN r = SQLGetData(Stmt, Col, SQL_C_CHAR, buffer, sizeof buffer, &size);
        if (r == SQL_NO_DATA) return true;
        if (!SQL_SUCCEEDED(r)) return false;
        if (size == SQL_NULL_DATA) return true;
        const qsizetype got = (size == SQL_NO_TOTAL || size >= SQLLEN(sizeof buffer)) ? qsizetype(sizeof buffer) - 1 : qsizetype(size);
        Text.append(buffer, got);
        if (r == SQL_SUCCESS) return true;
        if (Text.size() > (qsizetype(1) << 26)) return false;
    }
}

struct TQueryResult {
    QStringList Names;
    std::vector<QStringList> Rows;
};

// Runs the query to its end; the connection is gone when this returns.
TQueryResult RunQuery(const QString& Filename, const QString& SQL, qint64 MaxRows, int MaxCols)
{
    CheckAccessFile(Filename);
    // The driver takes the file's name inside its connection text, where ";" and braces
    // cannot be quoted: it is handed a link of our own naming instead.
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("database.mdb"));
    if (!dir.isValid() || !QFile::link(QFileInfo(Filename).absoluteFilePath(), link))
        throw EProGridError(OpenError(Filename, QStringLiteral("no temporary folder")));

    TOdbc h;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &h.Env)) ||
        !SQL_SUCCEEDED(SQLSetEnvAttr(h.Env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0)) ||
        !SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, h.Env, &h.Dbc)))
        throw EProGridError(OpenError(Filename, QStringLiteral("the ODBC driver manager is not installed")));
    QByteArray connect = QStringLiteral("Driver={Microsoft Access Driver (*.mdb)};DBQ=").toUtf8() + QFile::encodeName(link);
    SQLSMALLINT outLength = 0;
    if (!SQL_SUCCEEDED(SQLDriverConnect(h.Dbc, nullptr, reinterpret_cast<SQLCHAR*>(connect.data()), SQL_NTS, nullptr, 0, &outLength,
                                        SQL_DRIVER_NOPROMPT)))
        throw EProGridError(OpenError(Filename, TOdbc::Diagnostics(SQL_HANDLE_DBC, h.Dbc)));
    h.Connected = true;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, h.Dbc, &h.Stmt))) throw EProGridError(TOdbc::Diagnostics(SQL_HANDLE_DBC, h.Dbc));
    QByteArray query = SQL.toUtf8();
    const SQLRETURN run = SQLExecDirect(h.Stmt, reinterpret_cast<SQLCHAR*>(query.data()), SQL_NTS);
    if (!SQL_SUCCEEDED(run) && run != SQL_NO_DATA) throw EProGridError(TOdbc::Diagnostics(SQL_HANDLE_STMT, h.Stmt));

    TQueryResult out;
    SQLSMALLINT cols = 0;
    if (!SQL_SUCCEEDED(SQLNumResultCols(h.Stmt, &cols))) throw EProGridError(TOdbc::Diagnostics(SQL_HANDLE_STMT, h.Stmt));
    if (cols > MaxCols) throw EProGridError(QStringLiteral("Too many columns in query result"));
    for (SQLUSMALLINT i = 1; i <= SQLUSMALLINT(cols); ++i) {
        SQLCHAR name[512];
        SQLSMALLINT length = 0, type = 0, digits = 0, nullable = 0;
        SQLULEN size = 0;
        if (!SQL_SUCCEEDED(SQLDescribeCol(h.Stmt, i, name, sizeof name, &length, &type, &size, &digits, &nullable)))
            throw EProGridError(TOdbc::Diagnostics(SQL_HANDLE_STMT, h.Stmt));
        out.Names << QString::fromUtf8(reinterpret_cast<const char*>(name), std::clamp<int>(length, 0, int(sizeof name) - 1));
    }
    QByteArray text;
    for (;;) {
        const SQLRETURN r = SQLFetch(h.Stmt);
        if (r == SQL_NO_DATA) break;
        if (!SQL_SUCCEEDED(r)) throw EProGridError(TOdbc::Diagnostics(SQL_HANDLE_STMT, h.Stmt));
        if (qint64(out.Rows.size()) >= MaxRows) throw EProGridError(QStringLiteral("Too many rows in query result"));
        QStringList row;
        row.reserve(cols);
        for (SQLUSMALLINT i = 1; i <= SQLUSMALLINT(cols); ++i) {
            if (!FieldText(h.Stmt, i, text)) throw EProGridError(TOdbc::Diagnostics(SQL_HANDLE_STMT, h.Stmt));
            row << QString::fromUtf8(text);
        }
        out.Rows.push_back(std::move(row));
    }
    return out;
}
}  // namespace

void TProStringGrid::LoadFromMDBSQL(const QString& Filename, const QString& SQL)
{
    TWaitCursor wait;
    const TQueryResult result = RunQuery(Filename, SQL, MaxLoadRows - FixedRows(), MaxLoadCols - FixedCols());

    // The grid changes only now that the whole result is read.
    const int fc = FixedCols(), fr = FixedRows();
    const int fields = int(result.Names.size());
    BeginUpdate();
    SetColCount(fields + fc);
    if (FixedCols() != fc && fc < ColCount()) SetFixedCols(fc);
    if (fr > 0)
        for (int i = 0; i < fields; ++i) SetCells(fc + i, fr - 1, result.Names[i]);
    if (!result.Rows.empty()) SetRowCount(fr + int(result.Rows.size()));
    for (size_t r = 0; r < result.Rows.size(); ++r)
        for (int i = 0; i < fields; ++i) LoadCell(fc + i, fr + int(r), result.Rows[r][i]);
    EndUpdate();
}

void TProStringGrid::LoadFromMDBTable(const QString& Filename, const QString& Table)
{
    // Access quotes names in brackets and has no escape for a closing one.
    if (Table.isEmpty() || Table.contains(u']') || Table.contains(u'[') || Table.contains(QChar(0)))
        throw EProGridError(QStringLiteral("Invalid table name ") + Table);
    LoadFromMDBSQL(Filename, QStringLiteral("SELECT * FROM [") + Table + QStringLiteral("]"));
}
