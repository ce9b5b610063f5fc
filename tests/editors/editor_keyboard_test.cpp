// A user filling the table editors from the keyboard: what is typed into each kind of cell
// is what OK writes, the keyboard starts in the table, Tab walks every cell of a row, a
// click ticks a check box only on its box, and Alt+Down and F4 drop a list below its cell.
#include "editor_fixture.h"
#include "editors/dm1_editor.h"
#include "editors/j1939_editors.h"
#include "editors/modbus_editors.h"
#include "grid/control/pro_column_grid.h"
#include "grid/control/pro_string_grid.h"
#include "platform/ui/lb_button.h"

#include <QAbstractItemView>
#include <QApplication>
#include <gtest/gtest.h>

namespace {
const QStringList Read_Row{"192.168.1.125", "502", "1", "Holding Register", "0", "10", "1000", "3", "0", "", "N", "m"};

// Keys as a user types them: characters, with "\b" for Backspace and "\t" for Tab.
void Type_Keys(const QString& keys)
{
    for (const QChar c : keys) {
        QWidget* w = QApplication::focusWidget();
        ASSERT_NE(w, nullptr) << "no control has the keyboard";
        if (c == '\t') QTest::keyClick(w, Qt::Key_Tab);
        else if (c == '\b') QTest::keyClick(w, Qt::Key_Backspace);
        else QTest::keyClicks(w, QString(c));
    }
}
void Press(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier)
{
    QWidget* w = QApplication::focusWidget();
    ASSERT_NE(w, nullptr) << "no control has the keyboard";
    QTest::keyClick(w, k, m);
}
// The saved value of `attr` in the first row of a table file.
QString Saved_Value(const QString& path, const QString& attr)
{
    const auto rows = Saved_Rows(path);
    if (rows.empty()) return QStringLiteral("<no row>");
    for (const QString& a : rows[0])
        if (a.startsWith(attr + "=")) return a.mid(attr.size() + 1);
    return QStringLiteral("<no attribute>");
}
// The keyboard is on the grid or on its open editor.
bool Keyboard_In(const QWidget* g)
{
    const QWidget* f = QApplication::focusWidget();
    return f && (f == g || g->isAncestorOf(f));
}
QPoint Cell_Centre(TProColumnGrid* g, int col, int row) { return g->CellRect(g->DisplColIndex(col), row).ToQRect().center(); }
}  // namespace

TEST(EditorKeyboard, WhatIsTypedIntoEachKindOfCellIsWhatOkWrites)
{
    struct Case {
        const char* Attr;
        const char* Keys;   // typed into the cell after a click on it, then Tab
        const char* Saved;
    };
    const Case cases[] = {
        {"IP_Address", "10.0.0.1", "10.0.0.1"},
        {"Position", "45", "45"},
        {"Position", "123", "123"},
        {"Position", "10", "10"},
        {"Position", "45\b6", "46"},
        // text that leads to no item leaves the cell as it was, not the item typed before
        {"Position", "4x", "0"},
        {"StartBit", "4", "4"},
        // a first character that leads to no item opens nothing and loses no later one
        {"StartBit", "93", "3"},
        {"Type", "input r", "Input Register"},
        {"Type", "h", "Holding Register"},
        {"Swap", " ", "Y"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Attr) + " <- " + c.Keys);
        EditorEnv env{2};
        auto e = Make_Editor<TFModbusReadRequest>();
        User u{e.get()};
        Fill_Cells(*e, 1, Read_Row);
        const int col = e->Col(QString::fromUtf8(c.Attr));
        if (QString(c.Attr) != "Swap") e->Grid()->SetCells(col, 1, QString(Read_Row[col - 1]).replace("192.168.1.125", ""));
        Click_Cell(e->Grid(), col, 1);
        Type_Keys(QString::fromUtf8(c.Keys));
        Press(Qt::Key_Tab);
        EXPECT_EQ(e->Grid()->Col(), e->Grid()->DisplColIndex(col) + 1);
        QTest::mouseClick(e->Btn_OK, Qt::LeftButton);
        ASSERT_EQ(e->ModalResult(), mrOk) << env.Boxes.Texts().join('\n').toStdString();
        EXPECT_EQ(Saved_Value(File_Modbus_Read_Req, c.Attr), c.Saved);
        e->hide();
    }
}

TEST(EditorKeyboard, EveryTableWindowOpensWithTheKeyboardOnItsFirstCell)
{
    EditorEnv env{2};
    const Editor_Factory<> windows[] = {
        Factory_Of<TFReceive_J1939_892>(), Factory_Of<TFTransmit_J1939_892>(), Factory_Of<TFModbusReadRequest>(),
        Factory_Of<TFModbusWriteRequest>(), Factory_Of<TFModbusReadRequest_DM1_J1939>(), Factory_Of<TFDefineDM1_J1939>(),
    };
    for (const auto& make : windows) {
        auto e = make();
        User u{e.get()};
        SCOPED_TRACE(e->windowTitle().toStdString());
        EXPECT_TRUE(Keyboard_In(e->Grid()));
        EXPECT_EQ(e->Grid()->Row(), 1);
        EXPECT_EQ(e->Grid()->Col(), e->Grid()->FirstNavigableCol());
        e->hide();
    }
}

TEST(EditorKeyboard, AReceiveRowIsEnteredWithTheKeyboardAloneFromTheMomentTheWindowOpens)
{
    EditorEnv env{2};
    auto e = Make_Editor<TFReceive_J1939_892>();
    User u{e.get()};
    // Data Page (a list), PGN, source address, multi frame (a check box), start byte,
    // number of bytes, cancel data (a check box), mnemonic
    Type_Keys("1\t65280\t3\t\t2\t4\t \teec1");
    Press(Qt::Key_Return);
    EXPECT_EQ(Row_Cells(*e, 1), (QStringList{"1", "65280", "3", "", "2", "4", "Y", "eec1"}));
    // Return on the last cell stays in the grid; a click on OK saves what was typed
    EXPECT_TRUE(Keyboard_In(e->Grid()));
    QTest::mouseClick(e->Btn_OK, Qt::LeftButton);
    ASSERT_EQ(e->ModalResult(), mrOk) << env.Boxes.Texts().join('\n').toStdString();
    const QByteArray saved = Read_File(File_J1939_Receive);
    for (const char* a : {"DataPage=\"1\"", "PGN=\"65280\"", "SourceAddress=\"3\"", "StartByte=\"2\"", "NumBytes=\"4\"",
                          "CancelData=\"Y\"", "Mnemonic=\"eec1\""})
        EXPECT_TRUE(saved.contains(a)) << a << "\n" << saved.toStdString();
}

TEST(EditorKeyboard, TabAndShiftTabWalkEveryCellOfARowAndTabPastTheLastLeavesTheGrid)
{
    EditorEnv env{2};
    auto e = Make_Editor<TFReceive_J1939_892>();
    User u{e.get()};
    TProColumnGrid* g = e->Grid();
    const int last = g->ColCount() - 1;
    // forward, with the editor of each kind open or closed, and after Enter
    const char* typed[] = {"0", "100", "", "", "1", "", "", "x"};
    for (int c = 1; c <= last; ++c) {
        SCOPED_TRACE(c);
        ASSERT_EQ(g->Col(), c);
        Type_Keys(typed[c - 1]);
        if (c == 5) Press(Qt::Key_Return);
        Press(Qt::Key_Tab);
        EXPECT_TRUE(Keyboard_In(g));
    }
    EXPECT_EQ(g->Col(), 1);
    EXPECT_EQ(g->Row(), 2);
    EXPECT_EQ(Row_Cells(*e, 1), (QStringList{"0", "100", "", "", "1", "", "", "x"}));
    // backwards over the same row, again through every kind of cell
    for (int c = last; c >= 1; --c) {
        Press(Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(g->Col(), c);
        EXPECT_EQ(g->Row(), 1);
        EXPECT_TRUE(Keyboard_In(g));
    }
    // past the last cell of the table the keyboard goes on to the buttons
    g->SetRow(g->RowCount() - 1);
    g->SetCol(last);
    Type_Keys("z");
    Press(Qt::Key_Tab);
    QApplication::processEvents();
    EXPECT_EQ(e->Cell(last, g->RowCount() - 1), "z");
    EXPECT_NE(QApplication::focusWidget(), g);
    EXPECT_TRUE(QApplication::focusWidget() == e->Btn_OK || e->P_Button->isAncestorOf(QApplication::focusWidget()));
}

TEST(EditorKeyboard, AClickTicksACheckBoxOnlyOnTheBox)
{
    EditorEnv env{2};
    auto e = Make_Editor<TFReceive_J1939_892>();
    User u{e.get()};
    TProColumnGrid* g = e->Grid();
    const int col = e->Col(u"TransportProtocol");
    const TRect r = g->CellRect(g->DisplColIndex(col), 1);
    // beside the box: the cell becomes current, nothing is ticked
    QTest::mouseClick(g->viewport(), Qt::LeftButton, Qt::NoModifier, Cell_Centre(g, col, 1));
    EXPECT_EQ(g->Col(), g->DisplColIndex(col));
    EXPECT_EQ(e->Cell(col, 1), "");
    // on the box, drawn in the cell's top left corner: ticked, and cleared again
    const int size = g->ControlLook()->CheckSize();
    const QPoint box(r.Left + 2 + size / 2, r.Top + 2 + size / 2);
    QTest::mouseClick(g->viewport(), Qt::LeftButton, Qt::NoModifier, box);
    EXPECT_EQ(e->Cell(col, 1), "Y");
    QTest::mouseClick(g->viewport(), Qt::LeftButton, Qt::NoModifier, Cell_Centre(g, col, 1) + QPoint(30, 0));
    EXPECT_EQ(e->Cell(col, 1), "Y");
    QTest::mouseClick(g->viewport(), Qt::LeftButton, Qt::NoModifier, box);
    EXPECT_EQ(e->Cell(col, 1), "N");
}

TEST(EditorKeyboard, AltDownAndF4DropTheListBelowTheCell)
{
    EditorEnv env{2};
    auto e = Make_Editor<TFModbusReadRequest>();
    User u{e.get()};
    TProColumnGrid* g = e->Grid();
    const int col = e->Col(u"Position");
    TGridCombo* combo = g->EditComboControl();
    struct Case {
        Qt::Key Key;
        Qt::KeyboardModifiers Mods;
        bool Open;   // the editor is open before the key
    };
    for (const Case& c : {Case{Qt::Key_Down, Qt::AltModifier, false}, Case{Qt::Key_F4, Qt::NoModifier, false},
                          Case{Qt::Key_Down, Qt::AltModifier, true}, Case{Qt::Key_F4, Qt::NoModifier, true}}) {
        SCOPED_TRACE(std::to_string(c.Key) + (c.Open ? " open" : " closed"));
        g->SetRow(2);
        g->SetCol(g->DisplColIndex(col));
        g->setFocus();
        if (c.Open) Type_Keys("7");
        Press(c.Key, c.Mods);
        EXPECT_EQ(g->Row(), 2);
        ASSERT_TRUE(combo->view()->isVisible());
        // the list starts under the value in the cell, not over it
        const QRect cell = g->CellRect(g->DisplColIndex(col), 2).ToQRect();
        const QPoint cellTop = g->viewport()->mapToGlobal(cell.topLeft());
        EXPECT_GE(combo->view()->window()->geometry().top(), cellTop.y() + cell.height() - 2);
        EXPECT_EQ(combo->view()->window()->geometry().top(), combo->mapToGlobal(QPoint(0, combo->height())).y());
        // a pick from the open list with the keyboard is what the cell takes
        QTest::keyClick(combo->view(), Qt::Key_Down);
        QTest::keyClick(combo->view(), Qt::Key_Return);
        EXPECT_FALSE(combo->view()->isVisible());
        EXPECT_EQ(e->Cell(col, 2), c.Open ? "8" : "1");
        e->Grid()->SetCells(col, 2, "");
    }
}

TEST(EditorKeyboard, AFailedCheckPutsTheCurrentCellOnTheCellItsMessageNames)
{
    const QStringList good{"192.168.1.9", "502", "1", "Holding Register", "0", "10", "1000", "N", "3", "0", "", "N", "m"};
    struct Case {
        const char* Name;
        QStringList Row3;
        const char* Attr;   // the cell the message names
        const char* Error;
    };
    const Case cases[] = {
        {"position", With(good, {{10, "9999"}}), "Position", "Error row 3!! Position must be between 0 and 4999"},
        {"port", With(good, {{2, "0"}}), "Port", "Error row 3!! Port must be between 1 and 65535"},
        {"npoint", With(good, {{6, "124"}}), "NPoint", "Error row 3!! NPoint must be between 1 and 123"},
        {"start bit", With(good, {{4, "Coil Status"}}), "StartBit", "Error row 3!! Bit must be between 0 and 7"},
        {"ip address", With(good, {{1, "1.2.3"}}), "IP_Address",
         "Error row 3!! Slave IP Address must be a valid TCP IP Address (Ex. 192.168.1.125)"},
        // a row the table would drop is named by its key cell
        {"no key", With(good, {{1, " "}}), "IP_Address", "Error row 3!! Slave IP Address is empty: the row would not be saved"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EditorEnv env{2};
        auto e = Make_Editor<TFModbusWriteRequest>();
        User u{e.get()};
        Fill_Cells(*e, 1, good);
        Fill_Cells(*e, 3, c.Row3);
        QTest::mouseClick(e->Btn_OK, Qt::LeftButton);
        EXPECT_EQ(env.Boxes.Texts(), QStringList{c.Error});
        EXPECT_EQ(e->ModalResult(), mrNone);
        EXPECT_EQ(e->Grid()->Row(), 3);
        EXPECT_EQ(e->Grid()->RealCol(), e->Col(QString::fromUtf8(c.Attr)));
        EXPECT_TRUE(Keyboard_In(e->Grid()));
        e->hide();
    }
    // the user mends the cell from the keyboard and OK saves
    EditorEnv env{2};
    auto e = Make_Editor<TFModbusWriteRequest>();
    User u{e.get()};
    Fill_Cells(*e, 1, good);
    Fill_Cells(*e, 2, With(good, {{3, "300"}}));
    QTest::mouseClick(e->Btn_OK, Qt::LeftButton);
    ASSERT_EQ(env.Boxes.Texts(), QStringList{"Error row 2!! Slave ID must be between 1 and 255"});
    Type_Keys("7\t");
    QTest::mouseClick(e->Btn_OK, Qt::LeftButton);
    ASSERT_EQ(e->ModalResult(), mrOk) << env.Boxes.Texts().join('\n').toStdString();
    const auto rows = Saved_Rows(File_Modbus_Write_Req);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_TRUE(rows[1].contains("SlaveID=7")) << rows[1].join(' ').toStdString();
}

TEST(EditorKeyboard, AWindowClosedByAClickOnOkOpensAgainWithoutAHotButton)
{
    EditorEnv env{2};
    auto e = Make_Editor<TFModbusReadRequest>();
    User u{e.get()};
    // the pointer comes onto OK and clicks it; the window closes under it
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), e->Btn_OK->mapToGlobal(QPointF(5, 5)));
    QApplication::sendEvent(e->Btn_OK, &enter);
    ASSERT_TRUE(e->Btn_OK->CursorOnButton());
    QTest::mouseClick(e->Btn_OK, Qt::LeftButton);
    ASSERT_EQ(e->ModalResult(), mrOk);
    e->hide();
    u.Show();
    EXPECT_FALSE(e->Btn_OK->CursorOnButton());
    EXPECT_FALSE(e->Btn_OK->Look().Hot);
    e->hide();
}
