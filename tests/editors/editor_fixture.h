#pragma once
// An editor window made as the program makes it, over a fresh configuration folder, with
// message boxes recorded and the English texts loaded.
#include "editors/table_editor.h"
#include "platform/core/xml.h"
#include "state/lang.h"
#include "state/shared_state.h"
#include "support/fixtures.h"

#include <QDir>
#include <QFile>
#include <memory>

struct EditorEnv {
    explicit EditorEnv(int model) : Model(model)
    {
        Set_Default_Lang();
        Conf_Name = QStringLiteral("Test");
        Conf_Dir = Dir.File(QStringLiteral("PROJECTS/Test"));
        QDir().mkpath(Conf_Dir);
        Set_Files();
    }
    ScopedModelCode Model;
    TempExeDir Dir;
    MessageBoxRecorder Boxes;
};

template <class T>
std::unique_ptr<T> Make_Editor()
{
    auto e = std::make_unique<T>();
    e->FormCreate();
    return e;
}

// Columns 1.. of a grid row, set and read as the user's cell texts.
inline void Fill_Cells(TTableEditor& e, int row, const QStringList& cells)
{
    for (int c = 0; c < cells.size(); ++c) e.Grid()->SetCells(c + 1, row, cells[c]);
}
inline QStringList Row_Cells(const TTableEditor& e, int row)
{
    QStringList out;
    for (int c = 1; c <= int(e.Desc().Columns.size()); ++c) out << e.Cell(c, row);
    return out;
}
inline QByteArray Read_File(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Writes a table file by hand.
inline void Write_File(const QString& path, const QByteArray& data)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(data);
}
// The rows of a saved table file: per row element its attributes as name=value, in order;
// root and comment give the root element's name and the comment after it.
inline std::vector<QStringList> Saved_Rows(const QString& path, QString* root = nullptr, QString* comment = nullptr)
{
    std::vector<QStringList> rows;
    QByteArray data = Read_File(path);
    pugi::xml_document doc;
    if (!XmlLoadBytesInPlace(doc, data)) return rows;
    const pugi::xml_node r = doc.first_child();
    if (root) *root = QString::fromUtf8(r.name());
    if (comment) *comment = QString::fromUtf8(r.next_sibling().value());
    for (pugi::xml_node row : r.children()) {
        QStringList attrs;
        for (pugi::xml_attribute a : row.attributes()) attrs << QString::fromUtf8(a.name()) + "=" + QString::fromUtf8(a.value());
        rows.push_back(attrs);
    }
    return rows;
}
