#pragma once
// An editor window made as the program makes it, over a fresh configuration folder, with
// message boxes recorded and the English texts loaded; the table files read and written by
// hand; a user at a shown window; and the device images built from the saved tables.
#include "editors/table_editor.h"
#include "generate/image_dispatch.h"
#include "platform/core/xml.h"
#include "state/lang.h"
#include "state/shared_state.h"
#include "support/fixtures.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QTest>
#include <functional>
#include <map>
#include <memory>
#include <gtest/gtest.h>

// Texts in failures read as texts.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

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

// Makes a window of class T, seen through its base class Base, so that one table of cases
// can hold the windows of a family.
template <class Base = TTableEditor>
using Editor_Factory = std::function<std::unique_ptr<Base>()>;
template <class T, class Base = TTableEditor>
Editor_Factory<Base> Factory_Of()
{
    return [] { return std::unique_ptr<Base>(Make_Editor<T>()); };
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
// Column `col` of rows first..last.
inline QStringList Column_Cells(const TTableEditor& e, int col, int first, int last)
{
    QStringList out;
    for (int r = first; r <= last; ++r) out << e.Cell(col, r);
    return out;
}
// Runs the table's check: it passes when `error` is empty, else it fails with exactly that
// one message.
inline void Expect_Check(TTableEditor& e, const MessageBoxRecorder& boxes, const QString& error)
{
    EXPECT_EQ(e.Controllo_dati(), error.isEmpty());
    EXPECT_EQ(boxes.Texts(), error.isEmpty() ? QStringList() : QStringList{error});
}
// `row` with some of its columns (counted from 1) replaced.
inline QStringList With(QStringList row, std::initializer_list<std::pair<int, const char*>> cells)
{
    for (const auto& [col, text] : cells) row[col - 1] = QString::fromUtf8(text);
    return row;
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
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(data);
}

// The rows of a saved table file: per row element its attributes as name=value, in order;
// root and comment give the root element's name and the comment after it.  A file that
// does not parse fails the test.
inline std::vector<QStringList> Saved_Rows(const QString& path, QString* root = nullptr, QString* comment = nullptr)
{
    std::vector<QStringList> rows;
    QByteArray data = Read_File(path);
    pugi::xml_document doc;
    const bool loaded = XmlLoadBytesInPlace(doc, data);
    EXPECT_TRUE(loaded) << path.toStdString();
    if (!loaded) return rows;
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
// The same rows, each as one line "name=value name=value ...".
inline std::vector<QString> Saved_Lines(const QString& path, QString* root = nullptr, QString* comment = nullptr)
{
    std::vector<QString> lines;
    for (const QStringList& row : Saved_Rows(path, root, comment)) lines.push_back(row.join(' '));
    return lines;
}
// What a saved row holds for these cells: name=value per attribute.
inline QStringList Named(const QStringList& attrs, const QStringList& cells)
{
    QStringList out;
    for (int i = 0; i < attrs.size(); ++i) out << attrs[i] + "=" + cells[i];
    return out;
}

// A table file as the program writes it: one row element per row, the attributes in the
// table's order, double-quoted and escaped.
inline QByteArray Table_Xml(const char* root, const QStringList& attrs, const std::vector<QStringList>& rows)
{
    QByteArray xml = QByteArray("<") + root + ">";
    for (const QStringList& cells : rows) {
        xml += "<row";
        for (int i = 0; i < attrs.size(); ++i) {
            QString v = cells[i];
            v.replace("&", "&amp;").replace("<", "&lt;").replace("\"", "&quot;");
            xml += " " + attrs[i].toUtf8() + "=\"" + v.toUtf8() + "\"";
        }
        xml += "/>";
    }
    return xml + "</" + root + ">";
}
// The same table as a hand would write it: on one line, the attributes of each row in
// reverse order and single-quoted.
inline QByteArray Hand_Table(const char* root, const QStringList& attrs, const std::vector<QStringList>& rows)
{
    QByteArray xml = QByteArray("<") + root + ">";
    for (const QStringList& cells : rows) {
        xml += "<row";
        for (int i = int(attrs.size()) - 1; i >= 0; --i) xml += " " + attrs[i].toUtf8() + "='" + cells[i].toUtf8() + "'";
        xml += "/>";
    }
    return xml + "</" + root + ">";
}

// Fills rows of a table at its window, by row number, and presses OK: the table must be saved.
inline void Save_Table(TTableEditor& e, const std::vector<std::pair<int, QStringList>>& rows,
                       const MessageBoxRecorder& boxes)
{
    e.FormShow();
    for (const auto& [row, cells] : rows) Fill_Cells(e, row, cells);
    e.Btn_OKClick();
    ASSERT_EQ(e.ModalResult(), mrOk) << boxes.Texts().join('\n').toStdString();
}

// Rows 1 and 3 and the last row of a shown table filled, row 2 left empty: OK skips the gap
// and writes the three rows in order under `root`, with the version comment after it.
inline void Expect_Gap_Skipped(TTableEditor& e, const MessageBoxRecorder& boxes, const QStringList& attrs,
                               const QStringList& good, const char* root, const char* version)
{
    const QStringList third = With(good, {{int(good.size()), "third"}});
    const int last = e.Grid()->RowCount() - 1;
    e.FormShow();
    Fill_Cells(e, 1, good);
    Fill_Cells(e, 3, third);
    Fill_Cells(e, last, good);
    e.Btn_OKClick();
    EXPECT_EQ(boxes.Texts(), QStringList());
    EXPECT_EQ(e.ModalResult(), mrOk);
    QString savedRoot, comment;
    const auto rows = Saved_Rows(*e.Desc().File, &savedRoot, &comment);
    EXPECT_EQ(savedRoot, root);
    EXPECT_EQ(comment, QString("SW_VERSION = ") + version);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], Named(attrs, good));
    EXPECT_EQ(rows[1], Named(attrs, third));
    EXPECT_EQ(rows[2], Named(attrs, good));
}

// A table file of these rows, as the program writes it, shows cell for cell, and OK writes
// it back the same.
inline void Expect_File_Round_Trip(const Editor_Factory<>& make, const char* root, const QStringList& attrs,
                                   const std::vector<QStringList>& rows, const char* version,
                                   const MessageBoxRecorder& boxes)
{
    auto e = make();
    Write_File(*e->Desc().File, Table_Xml(root, attrs, rows) + "<!--SW_VERSION = " + version + "-->");
    e->FormShow();
    for (int r = 0; r < int(rows.size()); ++r) EXPECT_EQ(Row_Cells(*e, r + 1), rows[size_t(r)]) << "row " << r + 1;
    e->Btn_OKClick();
    EXPECT_EQ(boxes.Texts(), QStringList());
    const auto saved = Saved_Rows(*e->Desc().File);
    ASSERT_EQ(saved.size(), rows.size());
    for (size_t r = 0; r < rows.size(); ++r) EXPECT_EQ(saved[r], Named(attrs, rows[r])) << "row " << r + 1;
}

// Rows typed into a table and saved by OK show the same in a window made afresh, and the
// row below them stays empty.
inline void Expect_Saved_Rows_Show_Again(const Editor_Factory<>& make, const std::vector<QStringList>& rows,
                                         const MessageBoxRecorder& boxes)
{
    auto e = make();
    e->FormShow();
    for (int r = 0; r < int(rows.size()); ++r) Fill_Cells(*e, r + 1, rows[size_t(r)]);
    e->Btn_OKClick();
    ASSERT_EQ(e->ModalResult(), mrOk) << boxes.Texts().join('\n').toStdString();
    auto again = make();
    again->FormShow();
    for (int r = 0; r < int(rows.size()); ++r) EXPECT_EQ(Row_Cells(*again, r + 1), rows[size_t(r)]) << "row " << r + 1;
    EXPECT_EQ(Row_Cells(*again, int(rows.size()) + 1), QStringList(rows[0].size(), QString()));
    EXPECT_TRUE(boxes.Calls.empty()) << boxes.Texts().join('\n').toStdString();
}

// Builds and saves the device image of the configuration, and takes the files it wrote
// out of its bin folder: file name to content.
inline std::map<QString, QByteArray> Built_Images()
{
    Build_Device_Image();
    Save_Device_Image();
    std::map<QString, QByteArray> out;
    for (QDirIterator it(Conf_Dir + "/bin", QDir::Files); it.hasNext();) {
        const QString path = it.next();
        out[QFileInfo(path).fileName()] = Read_File(path);
        QFile::remove(path);
    }
    return out;
}

// The texts of a list's lines, and of a drop-down list's items, in order.
inline QStringList Lines(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}
inline QStringList Items(const QComboBox* c)
{
    QStringList out;
    for (int i = 0; i < c->count(); ++i) out << c->itemText(i);
    return out;
}
// What a byte selector offers for a frame of n bytes: "None", then "Byte 1" .. "Byte n".
inline QStringList Byte_Choices(int n)
{
    QStringList out{"None"};
    for (int k = 1; k <= n; ++k) out << "Byte " + QString::number(k);
    return out;
}

// A user at a shown window: the window is shown and active, and `focus` (when given) has
// the keyboard.  Keys go to the focused widget, or to `focus` (else the window) when none
// has the focus.
struct User {
    explicit User(QWidget* window, QWidget* focus = nullptr) : Window(window), Fallback(focus ? focus : window)
    {
        Show();
    }
    void Show() const
    {
        Window->show();
        QApplication::setActiveWindow(Window);
        if (Fallback != Window) Fallback->setFocus();
        QApplication::processEvents();
    }
    QWidget* Focus() const { return QApplication::focusWidget() ? QApplication::focusWidget() : Fallback; }
    void Type(const QString& text) const { QTest::keyClicks(Focus(), text); }
    void Key(Qt::Key k) const { QTest::keyClick(Focus(), k); }
    // Types into the current cell and the ones after it: Tab between the texts, Enter after
    // the last.
    void Type_Cells(const QStringList& texts) const
    {
        for (int i = 0; i < texts.size(); ++i) {
            Type(texts[i]);
            Key(i + 1 < texts.size() ? Qt::Key_Tab : Qt::Key_Return);
        }
    }
    QWidget* Window;
    QWidget* Fallback;
};
// A click (and, when `twice`, a double click) in the middle of the cell of column `col`
// (a column of the grid's columns, wherever it is shown) and row `row`.
inline void Click_Cell(TProColumnGrid* g, int col, int row, bool twice = false)
{
    const QPoint p = g->CellRect(g->DisplColIndex(col), row).ToQRect().center();
    QTest::mouseClick(g->viewport(), Qt::LeftButton, Qt::NoModifier, p);
    if (twice) QTest::mouseDClick(g->viewport(), Qt::LeftButton, Qt::NoModifier, p);
    QApplication::processEvents();
}
