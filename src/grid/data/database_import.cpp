// Query results of Access databases into the grid, through Qt SQL's ODBC driver and the
// Access driver registered as "Microsoft Access Driver (*.mdb)".
#include "grid/base/grid_error.h"
#include "grid/control/pro_string_grid.h"
#include "grid/data/office_address.h"
#include "grid/data/wait_cursor.h"
#include "platform/core/date_text.h"
#include "platform/core/dateutils.h"
#include "platform/core/exception.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>

namespace {
QString OpenError(const QString& Filename, const QString& Why)
{
    return QStringLiteral("Cannot open database ") + Filename + QStringLiteral(": ") + Why;
}

// An Access file starts with its signature and is made of whole pages (2048 bytes in the
// Jet 3 format, 4096 in later ones); the driver is not handed anything else.
void CheckAccessFile(const QString& Filename)
{
    QFile f(Filename);
    if (!QFileInfo(Filename).isFile() || !f.open(QIODevice::ReadOnly)) throw EProGridError(OpenError(Filename, QStringLiteral("the file cannot be read")));
    const QByteArray head = f.read(0x20);
    const bool jet = head.size() == 0x20 && head.mid(4, 15) == "Standard Jet DB";
    const bool ace = head.size() == 0x20 && head.mid(4, 15) == "Standard ACE DB";
    if (!jet && !ace) throw EProGridError(OpenError(Filename, QStringLiteral("not an Access database")));
    const qint64 page = head[0x14] == 0 ? 2048 : 4096;
    if (f.size() < 2 * page || f.size() % page != 0) throw EProGridError(OpenError(Filename, QStringLiteral("the file is incomplete")));
}

QString FieldText(const QVariant& v)
{
    if (v.isNull()) return QString();
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float: return OfficeNumberText(v.toDouble());
    case QMetaType::Bool: return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::QDate: {
        const QDate d = v.toDate();
        return DateToStr(EncodeDate(d.year(), d.month(), d.day()));
    }
    case QMetaType::QTime: {
        const QTime t = v.toTime();
        return TimeToStr(EncodeTime(t.hour(), t.minute(), t.second(), t.msec()));
    }
    case QMetaType::QDateTime: {
        const QDateTime dt = v.toDateTime();
        const QDate d = dt.date();
        const QTime t = dt.time();
        QString s = DateToStr(EncodeDate(d.year(), d.month(), d.day()));
        if (t != QTime(0, 0)) s += QLatin1Char(' ') + TimeToStr(EncodeTime(t.hour(), t.minute(), t.second(), t.msec()));
        return s;
    }
    default: return v.toString();
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

    static int connections = 0;
    const QString name = QStringLiteral("fabricat-mdb-%1").arg(++connections);
    TQueryResult out;
    QString error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), name);
        db.setDatabaseName(QStringLiteral("Driver={Microsoft Access Driver (*.mdb)};DBQ=") + link);
        if (!db.isValid()) {
            error = OpenError(Filename, QStringLiteral("the ODBC driver of Qt SQL is not installed"));
        } else if (!db.open()) {
            error = OpenError(Filename, db.lastError().text());
        } else {
            QSqlQuery q(db);
            q.setForwardOnly(true);
            if (!q.exec(SQL)) {
                error = q.lastError().text();
            } else {
                const QSqlRecord rec = q.record();
                if (rec.count() > MaxCols) error = QStringLiteral("Too many columns in query result");
                for (int i = 0; i < rec.count(); ++i) out.Names << rec.fieldName(i);
                while (error.isEmpty() && q.next()) {
                    if (qint64(out.Rows.size()) >= MaxRows) {
                        error = QStringLiteral("Too many rows in query result");
                        break;
                    }
                    QStringList row;
                    row.reserve(rec.count());
                    for (int i = 0; i < rec.count(); ++i) row << FieldText(q.value(i));
                    out.Rows.push_back(std::move(row));
                }
                if (error.isEmpty() && q.lastError().isValid()) error = q.lastError().text();
            }
            q.finish();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    if (!error.isEmpty()) throw EProGridError(error);
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
