// The windows after the main window exist from start-up on but build their contents the
// first time they are asked for: shown for the first time through the main window's
// buttons, each must look and take the keyboard exactly as a window built at start-up.
#include "shell_fixture.h"

#include "editors/j1939_editors.h"
#include "editors/table_editor.h"
#include "platform/ui/inplace_edit.h"
#include "platform/ui/lb_button.h"
#include "shell/TFParGen.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <map>

namespace {

QString Describe(const QWidget* w, const QWidget* window)
{
    const QRect g = w->geometry();
    QString line = QStringLiteral("%1 %2 %3,%4 %5x%6 %7%8")
                       .arg(dynamic_cast<const TInplaceEdit*>(w) ? QStringLiteral("TInplaceEdit")
                                                                 : QString::fromLatin1(w->metaObject()->className()),
                            w->objectName())
                       .arg(g.x())
                       .arg(g.y())
                       .arg(g.width())
                       .arg(g.height())
                       .arg(w->isVisibleTo(window) ? QStringLiteral("shown") : QStringLiteral("hidden"),
                            w->isEnabled() ? QString() : QStringLiteral(" disabled"));
    if (auto* l = qobject_cast<const QLabel*>(w)) line += " \"" + l->text() + '"';
    if (auto* e = qobject_cast<const QLineEdit*>(w)) line += " \"" + e->text() + '"';
    if (auto* e = dynamic_cast<const TInplaceEdit*>(w)) line += " \"" + e->text() + '"';
    if (auto* b = qobject_cast<const QAbstractButton*>(w))
        line += " \"" + b->text() + '"' + (b->isChecked() ? QStringLiteral(" checked") : QString());
    if (auto* b = dynamic_cast<const TLbButton*>(w)) line += " \"" + b->Caption() + '"';
    if (auto* g = qobject_cast<const QGroupBox*>(w)) line += " \"" + g->title() + '"';
    if (auto* c = qobject_cast<const QComboBox*>(w)) {
        QStringList items;
        for (int i = 0; i < c->count(); ++i) items << c->itemText(i);
        line += " [" + items.join('|') + "] " + QString::number(c->currentIndex());
    }
    if (auto* t = qobject_cast<const QTabWidget*>(w))
        for (int i = 0; i < t->count(); ++i) line += " tab \"" + t->tabText(i) + '"';
    return line;
}

// What a shown window holds: caption, size, every control in creation order with its
// place, state and texts, the header row of a table, and which control has the keyboard.
QStringList Snapshot(QWidget* window)
{
    auto* form = static_cast<TForm*>(window);
    QStringList lines{form->Caption() + QStringLiteral(" %1x%2").arg(window->width()).arg(window->height())};
    for (const QWidget* w : window->findChildren<QWidget*>()) lines << Describe(w, window);
    if (auto* e = dynamic_cast<TTableEditor*>(window))
        for (int c = 0; c < e->Grid()->ColCount(); ++c) lines << "header " + e->Grid()->Cells(c, 0);
    const QWidget* focus = window->focusWidget();
    lines << "focus " + (focus ? Describe(focus, window) : QStringLiteral("none"));
    return lines;
}

// Clicks a step button of the main window; the window it opens is recorded at its first
// showing, once as it appears and once after "7" was typed where the keyboard is, and
// then closed.
QStringList Open_By_Click(TFFabricateFirmWare* main, TLbButton* button)
{
    QStringList seen;
    QTimer::singleShot(0, [&seen] {
        QWidget* w = QApplication::activeModalWidget();
        if (!w) {
            seen << "no window";
            return;
        }
        QApplication::setActiveWindow(w);
        seen << Snapshot(w);
        if (QWidget* focus = w->focusWidget()) QTest::keyClicks(focus, QStringLiteral("7"));
        QApplication::processEvents();
        seen << "after typing" << Snapshot(w);
        static_cast<QDialog*>(w)->reject();
    });
    QTest::mouseClick(button, Qt::LeftButton);
    QApplication::processEvents();
    return seen;
}

// Model 892 with a configuration whose DM1 steps are on; every window of the model opened
// once through its button.  `askFirst`: every window is asked for right after start-up,
// so that each is built at once, as all were before they waited for their first showing.
std::map<QString, QStringList> Open_Every_Window(bool askFirst)
{
    ShellTest t(2);
    TFFabricateFirmWare* w = t.Main();
    w->Build_Images = [] {};
    if (askFirst)
        for (const QString& name : Model_Form_Names(2)) Need_Form(name);
    t.Open_Conf("A", "<Par_Gen><J1939_Send_DM1>1</J1939_Send_DM1></Par_Gen>");
    w->Check_DM1_Enable();
    w->show();
    const std::pair<const char*, TLbButton*> buttons[] = {
        {"FNew_Project", w->Btn_New},
        {"FOpenConf", w->Btn_Open},
        {"FAbout", w->Btn_Info},
        {"FSoftOptions", w->Btn_Opz},
        {"FParGen", w->Btn_Prm_Gen},
        {"FModbusWriteRequest", w->Btn_Modbus_Write_Request},
        {"FModbusReadRequest", w->Btn_Modbus_Read_Request},
        {"FBootTCP", w->Btn_CreateBin},
        {"FReceive_J1939_892", w->Btn_Receive_J1939},
        {"FTransmit_J1939_892", w->Btn_Transmit_J1939},
        {"FDefineDM1_J1939", w->Btn_Define_Alarms_DM1},
        {"FModbusReadRequest_DM1_J1939", w->Btn_Modbus_Read_DM1},
    };
    std::map<QString, QStringList> seen;
    for (const auto& [name, button] : buttons) seen[QString::fromLatin1(name)] = Open_By_Click(w, button);
    EXPECT_EQ(t.Boxes.Texts(), QStringList());
    return seen;
}

TEST(StartUpWindows, ModelWindowsWaitAsObjectsUntilFirstAskedFor)
{
    ShellTest t(2);
    const QStringList names = Model_Form_Names(2);
    ASSERT_EQ(names.size(), 12);
    for (const QString& name : names) EXPECT_TRUE(Form_Pending(name)) << name.toStdString();
    // the objects are there, their contents not yet
    ASSERT_NE(FParGen, nullptr);
    EXPECT_TRUE(FParGen->findChildren<QLineEdit*>().isEmpty());
    ASSERT_NE(FReceive_J1939_892, nullptr);
    EXPECT_EQ(FReceive_J1939_892->Grid(), nullptr);

    EXPECT_EQ(&Need_Form("FReceive_J1939_892"), FReceive_J1939_892);
    EXPECT_FALSE(Form_Pending("FReceive_J1939_892"));
    ASSERT_NE(FReceive_J1939_892->Grid(), nullptr);
    EXPECT_EQ(FReceive_J1939_892->Grid()->Cells(2, 0), "PGN");
    // asking builds that window only
    EXPECT_TRUE(Form_Pending("FParGen"));
    EXPECT_TRUE(FParGen->findChildren<QLineEdit*>().isEmpty());
}

TEST(StartUpWindows, FirstShowingLooksAndTypesAsAWindowBuiltAtStartUp)
{
    const std::map<QString, QStringList> before = Open_Every_Window(true);
    const std::map<QString, QStringList> now = Open_Every_Window(false);
    ASSERT_EQ(now.size(), 12u);
    for (const auto& [name, lines] : before) {
        SCOPED_TRACE(name.toStdString());
        ASSERT_GT(lines.size(), 4) << lines.join('\n').toStdString();
        EXPECT_EQ(now.at(name), lines);
    }
    // the keyboard starts where each window puts it: the name field, the grid's first cell
    auto focus = [&](const char* name) {
        const QStringList& l = now.at(name);
        return l[l.indexOf("after typing") - 1];
    };
    EXPECT_TRUE(focus("FNew_Project").startsWith("focus QLineEdit E_New_Proj")) << focus("FNew_Project").toStdString();
    EXPECT_TRUE(focus("FReceive_J1939_892").startsWith("focus QAbstractScrollArea sga")) << focus("FReceive_J1939_892").toStdString();
    // and the key lands there: in the name field, in the editor of the grid's first text cell
    for (auto [name, kind] : {std::pair{"FNew_Project", "focus QLineEdit"}, std::pair{"FTransmit_J1939_892", "focus TInplaceEdit"}}) {
        const QString typed = now.at(name).back();
        EXPECT_TRUE(typed.startsWith(QLatin1String(kind)) && typed.endsWith("\"7\"")) << name << ": " << typed.toStdString();
    }
}

}  // namespace
