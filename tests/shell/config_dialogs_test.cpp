#include "shell_fixture.h"

#include "platform/ui/lb_button.h"
#include "shell/TFNew_Project.h"
#include "shell/TFOpenConf.h"
#include "state/shared_state.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
QStringList Entries(const QString& dir) { return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden); }
}  // namespace

TEST(NewConfiguration, RefusesBadNamesAndCreatesNothingOutsideProjects)
{
    ShellTest t(2);
    Need_Form(QStringLiteral("FNew_Project"));
    t.Dir.Write("PROJECTS/Line1/bin/.keep", QByteArray());
    struct Case { QString Name; QString Error; };
    const Case cases[] = {
        {"", "Error! Name Project is not valid"},
        {"Line1", "Error! Name project is not valid because directory already exists"},
        {"LINE1", "Error! Name project is not valid because directory already exists"},
        {"..", "Error! Name project is not valid"},
        {"../outside", "Error! Name project is not valid"},
        {"a/b", "Error! Name project is not valid"},
        {"a\\b", "Error! Name project is not valid"},
        {"x:y", "Error! Name project is not valid"},
        {"what?", "Error! Name project is not valid"},
        {"name.", "Error! Name project is not valid"},
        {"name ", "Error! Name project is not valid"},
        {"nul", "Error! Name project is not valid"},
        {"COM3.cfg", "Error! Name project is not valid"},
        {QString("tab\there"), "Error! Name project is not valid"},
    };
    const QStringList rootBefore = Entries(t.Dir.Path());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name.toStdString());
        t.Boxes.Clear();
        FNew_Project->FormShow();
        FNew_Project->E_New_Proj->setText(c.Name);
        FNew_Project->Btn_OKClick();
        ASSERT_EQ(t.Boxes.Texts(), QStringList({c.Error}));
        EXPECT_EQ(FNew_Project->ModalResult(), mrNone);
    }
    EXPECT_EQ(Entries(t.Dir.File("PROJECTS")), QStringList({"Line1"}));
    EXPECT_EQ(Entries(t.Dir.Path()), rootBefore);
    EXPECT_FALSE(Is_Conf_Open());
}

TEST(NewConfiguration, EnterCreatesFolderWithBinAndOpensIt)
{
    ShellTest t(2);
    Need_Form(QStringLiteral("FNew_Project"));
    FNew_Project->show();
    FNew_Project->E_New_Proj->setText("Truck 7");
    QTest::keyClick(FNew_Project->E_New_Proj, Qt::Key_Return);
    EXPECT_TRUE(t.Boxes.Calls.empty());
    EXPECT_EQ(FNew_Project->ModalResult(), mrOk);
    EXPECT_TRUE(t.Dir.Exists("PROJECTS/Truck 7/bin"));
    EXPECT_EQ(Conf_Name, "Truck 7");
    EXPECT_EQ(Conf_Dir, t.Dir.File("PROJECTS/Truck 7"));
    EXPECT_EQ(File_ParGen, t.Dir.File("PROJECTS/Truck 7/ParGen.xml"));
    // showing again starts with an empty name
    FNew_Project->FormShow();
    EXPECT_TRUE(FNew_Project->E_New_Proj->text().isEmpty());
}

TEST(OpenConfiguration, PreselectsOpenConfigurationOrFirst)
{
    ShellTest t(2);
    Need_Form(QStringLiteral("FOpenConf"));
    for (const char* n : {"A", "B", "C"}) t.Dir.Write(QString("PROJECTS/%1/bin/.keep").arg(n), QByteArray());
    t.Dir.Write("PROJECTS/.hidden/x", QByteArray());
    t.Dir.Write("PROJECTS/file.txt", QByteArray());

    FOpenConf->FormShow();
    EXPECT_EQ(FOpenConf->SL, QStringList({"A", "B", "C"}));
    EXPECT_EQ(FOpenConf->ListBox1->count(), 3);
    EXPECT_EQ(FOpenConf->ListBox1->currentRow(), 0);
    EXPECT_EQ(FOpenConf->Name_Conf, "A");

    t.Open_Conf("B");
    FOpenConf->FormShow();
    EXPECT_EQ(FOpenConf->ListBox1->currentRow(), 1);
    EXPECT_EQ(FOpenConf->Name_Conf, "B");

    // the open name differs only in case from the folder
    Conf_Dir = t.Dir.File("PROJECTS/c");
    FOpenConf->FormShow();
    EXPECT_EQ(FOpenConf->Name_Conf, "C");
    EXPECT_EQ(FOpenConf->Search_Open_Conf("b"), 1);
    EXPECT_EQ(FOpenConf->Search_Open_Conf("D"), -1);

    FOpenConf->ListBox1->setCurrentRow(2);
    EXPECT_EQ(FOpenConf->Name_Conf, "C");
}

TEST(OpenConfiguration, EmptyListOpensNothingUnlessChosenBefore)
{
    ShellTest t(2);
    OpenConfStandIn open;
    t.Replace_Form("FOpenConf", &open);
    t.Main()->Btn_Click(t.Main()->Btn_Open);
    EXPECT_FALSE(Is_Conf_Open());
    EXPECT_EQ(t.Main()->L_Name_Conf->text(), "None Configuration Opened ");
    EXPECT_EQ(File_ParGen, QString());

    // a name chosen at an earlier showing is kept and opened again
    t.Dir.Write("PROJECTS/Old/bin/.keep", QByteArray());
    t.Main()->Btn_Click(t.Main()->Btn_Open);
    EXPECT_EQ(Conf_Name, "Old");
    QDir(t.Dir.File("PROJECTS/Old")).removeRecursively();
    Conf_Dir.clear();
    t.Main()->Btn_Click(t.Main()->Btn_Open);
    EXPECT_EQ(Conf_Name, "Old");
    EXPECT_EQ(Conf_Dir, t.Dir.File("PROJECTS/Old"));
    EXPECT_EQ(t.Main()->L_Name_Conf_L2->text(), "Old");
}

TEST(ProgramDialogs, EveryDialogGivesTheKeyboardBackToTheButtonThatOpenedIt)
{
    ShellTest t(2);
    TFFabricateFirmWare* m = t.Main();
    m->show();
    QApplication::setActiveWindow(m);
    struct Case {
        TLbButton* Button;
        const char* Keys;   // typed into the dialog (with A or B), then Return; empty: Escape closes it
    };
    const Case cases[] = {
        {m->Btn_New, "Truck "},
        {m->Btn_Open, ""},
        {m->Btn_Info, ""},
        {m->Btn_Opz, ""},
    };
    for (const Case& c : cases)
    for (const bool active : {true, false}) {
        SCOPED_TRACE(c.Button->objectName().toStdString() + (active ? "" : ", no window active before"));
        // without a window manager a click gives the button the keyboard of a window that
        // was never activated
        QApplication::setActiveWindow(active ? m : nullptr);
        c.Button->setFocus();
        bool opened = false;
        // the dialog's own keys, once its modal loop runs
        QTimer::singleShot(0, [&] {
            QWidget* w = QApplication::activeModalWidget();
            ASSERT_NE(w, nullptr);
            opened = true;
            QApplication::setActiveWindow(w);
            QWidget* f = QApplication::focusWidget() ? QApplication::focusWidget() : w;
            if (*c.Keys) {
                QTest::keyClicks(f, QString::fromUtf8(c.Keys) + (active ? "A" : "B"));
                QTest::keyClick(f, Qt::Key_Return);
            } else {
                QTest::keyClick(f, Qt::Key_Escape);
            }
            if (w->isVisible()) w->close();
        });
        QTest::keyClick(c.Button, Qt::Key_Return);
        EXPECT_TRUE(opened) << "no dialog opened";
        EXPECT_EQ(QApplication::focusWidget(), c.Button);
        // and Tab goes on from there
        QTest::keyClick(c.Button, Qt::Key_Tab);
        EXPECT_NE(QApplication::focusWidget(), nullptr);
        EXPECT_NE(QApplication::focusWidget(), c.Button);
    }
    EXPECT_TRUE(t.Dir.Exists("PROJECTS/Truck A/bin"));
    EXPECT_TRUE(t.Dir.Exists("PROJECTS/Truck B/bin"));
    EXPECT_TRUE(t.Boxes.Calls.empty()) << t.Boxes.Texts().join('\n').toStdString();
    m->hide();
}
