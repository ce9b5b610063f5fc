#include "editors/canopen_client_editors.h"

#include "editors/ok_cancel_panel.h"

#include "platform/core/exception.h"
#include "platform/core/file_io.h"
#include "platform/core/sysutils.h"
#include "platform/core/xml.h"
#include "platform/ui/lb_button.h"
#include "state/lang.h"
#include "state/model_table.h"
#include "state/shared_state.h"

#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>

TFDefine_Client_SDO* FDefine_Client_SDO = nullptr;
TFDefine_NodeGuard* FDefine_NodeGuard = nullptr;

namespace {
const QStringList Zero_To_Seven{"0", "1", "2", "3", "4", "5", "6", "7"};

QLabel* Place_Label(QWidget* parent, const char* name, int left, int top)
{
    QLabel* l = New_Label(parent, name);
    l->move(left, top);
    return l;
}

QString Numbered(const char* name, int k) { return QLatin1String(name) + QString::number(k); }

// The controls of one frame row at `top`; the lefts are those of priority, data page, PGN,
// source address and mnemonic (a negative priority left: no priority list).
TFixed_Frame_Row Make_Row(QWidget* parent, int top, const int (&left)[5], const QStringList& pages,
                          const QString& pri, const QString& dp, const QString& pgn, const QString& sa, const QString& mnemonic)
{
    auto list = [parent, top](const QString& name, int x, const QStringList& items) {
        auto* c = new QComboBox(parent);
        c->setObjectName(name);
        c->setGeometry(x, top, 57, 21);
        c->addItems(items);
        return c;
    };
    auto edit = [parent, top](const QString& name, int x, int width) {
        auto* e = new QLineEdit(parent);
        e->setObjectName(name);
        e->setGeometry(x, top, width, 21);
        return e;
    };
    TFixed_Frame_Row r;
    if (left[0] >= 0) r.CB_Pri = list(pri, left[0], Zero_To_Seven);
    r.CB_DP = list(dp, left[1], pages);
    r.E_PGN = edit(pgn, left[2], left[3] - left[2] - 6);
    r.E_SA = edit(sa, left[3], left[4] - left[3] - 6);
    r.E_Mnemonic = edit(mnemonic, left[4], 200);
    return r;
}

QString Version_Comment() { return QStringLiteral("SW_VERSION = ") + QString::fromUtf16(Model_Table().Version); }
}  // namespace

// ------------------------------------------------------------------ fixed frame rows

void TFixed_Frame_Row::Set_Defaults(int k)
{
    if (CB_Pri) CB_Pri->setCurrentIndex(0);
    CB_DP->setCurrentIndex(0);
    E_PGN->setText(QStringLiteral("0x") + IntToHex(k, 4));
    E_SA->setText(QStringLiteral("0x") + IntToHex(k, 2));
    E_Mnemonic->clear();
}

int TFixed_Frame_Row::Failure() const
{
    const int pgn = StrToIntDef(E_PGN->text(), -1), sa = StrToIntDef(E_SA->text(), -1);
    if (pgn < 0 || pgn > 0xFFFF) return 1;
    if (sa < 0 || sa > 253) return 2;
    // a stored index outside the list leaves it without a choice, which no device understands
    if (CB_DP->currentIndex() < 0 || (CB_Pri && CB_Pri->currentIndex() < 0)) return 3;
    return 0;
}

void Load_Fixed_Frames(TFixed_Frame_Row (&rows)[5], const QString& path, const char* root)
{
    for (int k = 0; k < 5; ++k) rows[k].Set_Defaults(k + 1);
    if (!QFileInfo::exists(path)) return;
    pugi::xml_document doc;
    QString reason;
    if (!XmlLoadFile(doc, path, &reason)) {
        ShowError(QStringLiteral("The table file \"%1\" cannot be read: %2. The frames show their defaults; the file is "
                                 "left as it is unless you press OK.")
                      .arg(path, reason));
        return;
    }
    pugi::xml_node row = XmlChild(doc, root).first_child();
    for (int k = 0; k < 5; ++k, row = row ? row.next_sibling() : row) {
        // each row on its own: one that cannot be read keeps its defaults
        int32_t pri = 0, dp = 0;
        if (!row) continue;
        if (rows[k].CB_Pri && !(XmlHasAttr(row, "Priority") && TryStrToInt(XmlAttr(row, "Priority"), pri))) continue;
        if (!(XmlHasAttr(row, "DataPage") && TryStrToInt(XmlAttr(row, "DataPage"), dp))) continue;
        if (!XmlHasAttr(row, "PGN") || !XmlHasAttr(row, "SA") || !XmlHasAttr(row, "Mnemonic")) continue;
        if (rows[k].CB_Pri) rows[k].CB_Pri->setCurrentIndex(pri >= 0 && pri < rows[k].CB_Pri->count() ? pri : -1);
        rows[k].CB_DP->setCurrentIndex(dp >= 0 && dp < rows[k].CB_DP->count() ? dp : -1);
        rows[k].E_PGN->setText(XmlAttr(row, "PGN"));
        rows[k].E_SA->setText(XmlAttr(row, "SA"));
        rows[k].E_Mnemonic->setText(XmlAttr(row, "Mnemonic"));
    }
}

void Save_Fixed_Frames(const TFixed_Frame_Row (&rows)[5], pugi::xml_node root)
{
    for (const TFixed_Frame_Row& r : rows) {
        pugi::xml_node row = XmlAddChild(root, "row");
        XmlSetAttr(row, "Priority", r.CB_Pri ? QString::number(r.CB_Pri->currentIndex()) : QStringLiteral("0"));
        XmlSetAttr(row, "DataPage", QString::number(r.CB_DP->currentIndex()));
        XmlSetAttr(row, "PGN", r.E_PGN->text());
        XmlSetAttr(row, "SA", r.E_SA->text());
        XmlSetAttr(row, "Mnemonic", r.E_Mnemonic->text());
    }
}

// ------------------------------------------------------------------ client SDO frames

TFDefine_Client_SDO::TFDefine_Client_SDO(QWidget* parent) : TForm(parent) { Apply_Window_Colour(this, Window_Colour); }

void TFDefine_Client_SDO::FormCreate()
{
    SetClientSize(784, 278);
    Title = Make_Title_Panel(this, SW_Code);
    const TOKCancelPanel panel = Make_OK_Cancel_Panel(this, [this] { Btn_OKClick(); });
    P_Button = panel.Panel;
    Btn_OK = panel.OK;
    Btn_Cancel = panel.Cancel;

    L_Title_Col_Pri = Place_Label(this, "L_Title_Col_Pri", 272, 75);
    L_Title_Col_DP = Place_Label(this, "L_Title_Col_DP", 335, 75);
    L_Title_Col_PGN = Place_Label(this, "L_Title_Col_PGN", 398, 75);
    L_Title_Col_SA = Place_Label(this, "L_Title_Col_SA", 479, 75);
    L_Title_Col_Mnemonic = Place_Label(this, "L_Title_Col_Mnemonic", 567, 75);
    struct TRow_Desc {
        QLabel** Label;
        const char* LabelName;
        const char* Suffix;
        bool Priority;
    } const rowDescs[] = {
        {&L_Title_Row_Req_Read, "L_Title_Row_Req_Read", "Req_Read", false},
        {&L_Title_Row_Res_Read, "L_Title_Row_Res_Read", "Res_Read", true},
        {&L_Title_Row_Req_Write1, "L_Title_Row_Req_Write1", "Req_Write1", false},
        {&L_Title_Row_Req_Write2, "L_Title_Row_Req_Write2", "Req_Write2", false},
        {&L_Title_Row_Res_Write, "L_Title_Row_Res_Write", "Res_Write", true},
    };
    for (int k = 0; k < 5; ++k) {
        const TRow_Desc& s = rowDescs[k];
        const int top = 94 + 28 * k;
        *s.Label = Place_Label(this, s.LabelName, 16, top);
        const QString suffix = QLatin1String(s.Suffix);
        const int lefts[5] = {s.Priority ? 272 : -1, 335, 398, 479, 567};
        Rows[k] = Make_Row(this, top, lefts, {QStringLiteral("0"), QStringLiteral("1")}, "CB_Pri_" + suffix,
                           "CB_DP_" + suffix, "E_PGN_" + suffix, "E_SA_" + suffix, "E_Mnemonic_" + suffix);
    }
    Set_Label(Title.L_SW_Code, SW_Code);
    Set_Lang();
}

void TFDefine_Client_SDO::Set_Lang()
{
    SetCaption(LT(379));
    Set_Label(Title.L_SW_Desc, LT(380));
    QLabel* rows[] = {L_Title_Row_Req_Read, L_Title_Row_Res_Read, L_Title_Row_Req_Write1, L_Title_Row_Req_Write2,
                      L_Title_Row_Res_Write};
    for (int k = 0; k < 5; ++k) Set_Label(rows[k], LT(381 + k));
    QLabel* cols[] = {L_Title_Col_Pri, L_Title_Col_DP, L_Title_Col_PGN, L_Title_Col_SA, L_Title_Col_Mnemonic};
    for (int k = 0; k < 5; ++k) Set_Label(cols[k], LT(386 + k));
    Btn_OK->SetCaption(LT(391));
    Btn_Cancel->SetCaption(LT(392));
}

void TFDefine_Client_SDO::FormShow() { Load_Fixed_Frames(Rows, File_CANopen_Define_Client_SDO, "J1939_Frames_SDOClient"); }

bool TFDefine_Client_SDO::Controlla_Dati()
{
    for (int k = 0; k < 5; ++k) {
        const int failure = Rows[k].Failure();
        if (failure == 0) continue;
        if (failure == 3) {
            ShowError(QStringLiteral("Error in %1!! Priority and Data Page must be chosen").arg(LT(381 + k)));
        } else {
            ShowError(LT(393 + 2 * k + failure - 1));
        }
        return false;
    }
    return true;
}

QByteArray TFDefine_Client_SDO::Table_Document() const
{
    pugi::xml_document doc;
    pugi::xml_node root = XmlAddChild(doc, "J1939_Frames_SDOClient");
    XmlAddComment(doc, Version_Comment());
    Save_Fixed_Frames(Rows, root);
    return XmlToBytes(doc);
}

void TFDefine_Client_SDO::Btn_OKClick()
{
    if (!Controlla_Dati()) return;
    QString error;
    if (!TrySaveFileAtomic(File_CANopen_Define_Client_SDO, Table_Document(), &error)) {
        ShowError(QStringLiteral("The table file \"%1\" could not be written: %2. The file is left as it was.")
                      .arg(File_CANopen_Define_Client_SDO, error));
        return;
    }
    SetModalResult(mrOk);
}

// ------------------------------------------------------------------ node guarding

namespace {
constexpr int NG_Panel1_Height = 17;
constexpr int NG_Panel2_Height = 183;
}  // namespace

TTableDesc TFDefine_NodeGuard::Describe()
{
    TTableDesc s;
    s.File = &File_CANopen_Define_NodeGuard;
    s.Root = QStringLiteral("Node_Guarding");
    s.RootByName = true;
    s.RowLimit = 32;
    s.ClientWidth = 635;
    s.ClientHeight = 495;
    s.GridTop = NG_Panel1_Height;
    s.GridBottom = NG_Panel2_Height;
    // a Node ID of blanks is a node whose number is wrong, not the end of the table
    s.KeyRule = krStopAtNoText;
    s.NumberHeader = 406;
    s.Columns = {
        Text_Column(407, 100, QStringLiteral("NodeID")),
        Text_Column(408, 100, QStringLiteral("GuardTime")),
        Text_Column(409, 100, QStringLiteral("LifeTimeFactor")),
        Text_Column(410, 270, QStringLiteral("Mnemonic")),
    };
    s.Caption = 403;
    s.DescText = 404;
    s.BtnOK = 417;
    s.BtnCancel = 418;
    s.ErrorPrefix = 419;
    const TColumnNames col(s.Columns);
    s.KeyCol = col(u"NodeID");
    s.Checks = {
        {420, {}, Out_Of(col(u"NodeID"), 1, 127)},
        {421, {}, Out_Of(col(u"GuardTime"), 1, 65535)},
        {422, {}, Out_Of(col(u"LifeTimeFactor"), 1, 255)},
    };
    s.AfterWalk = [this]() -> QString {
        for (int k = 0; k < 5; ++k) {
            const int failure = Rows[k].Failure();
            if (failure == 3) return QStringLiteral("Error in Frame J1939 %1. Priority and Data Page must be chosen").arg(k + 1);
            if (failure != 0) return LT(423 + 2 * k + failure - 1);
        }
        return QString();
    };
    return s;
}

void TFDefine_NodeGuard::FormCreate()
{
    TTableEditor::FormCreate();
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    L_NG_J1939_Title1 = Place_Label(Panel1, "L_NG_J1939_Title1", 8, 1);
    Panel2 = new QFrame(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Follow_Form_Size(this, Panel1, [this](const QSize& s) {
        Panel1->setGeometry(0, 69, s.width(), NG_Panel1_Height);
        Panel2->setGeometry(0, s.height() - 40 - NG_Panel2_Height, s.width(), NG_Panel2_Height);
    });
    L_NG_J1939_Title2 = Place_Label(Panel2, "L_NG_J1939_Title2", 16, 4);
    const int lefts[5] = {16, 79, 142, 223, 304};
    QLabel** heads[] = {&L_NG_J1939_Pri, &L_NG_J1939_DP, &L_NG_J1939_PGN, &L_NG_J1939_SA, &L_NG_J1939_Mnemonic};
    const char* headNames[] = {"L_NG_J1939_Pri", "L_NG_J1939_DP", "L_NG_J1939_PGN", "L_NG_J1939_SA", "L_NG_J1939_Mnemonic"};
    for (int c = 0; c < 5; ++c) *heads[c] = Place_Label(Panel2, headNames[c], lefts[c], 25);
    for (int k = 0; k < 5; ++k)
        Rows[k] = Make_Row(Panel2, 42 + 28 * k, lefts, Zero_To_Seven, Numbered("CB_NG_J1939_Pri", k + 1),
                           Numbered("CB_NG_J1939_DP", k + 1), Numbered("E_NG_J1939_PGN", k + 1),
                           Numbered("E_NG_J1939_SA", k + 1), Numbered("E_NG_J1939_Mnemonic", k + 1));
    for (int k = 0; k < 5; ++k) Rows[k].Set_Defaults(k + 1);
    Set_Lang();
}

void TFDefine_NodeGuard::Set_Lang()
{
    TTableEditor::Set_Lang();
    if (!Panel2) return;   // the frame applies the texts before the panels exist
    Set_Label(L_NG_J1939_Title1, LT(405));
    Set_Label(L_NG_J1939_Title2, LT(411));
    QLabel* heads[] = {L_NG_J1939_Pri, L_NG_J1939_DP, L_NG_J1939_PGN, L_NG_J1939_SA, L_NG_J1939_Mnemonic};
    for (int c = 0; c < 5; ++c) Set_Label(heads[c], LT(412 + c));
}

void TFDefine_NodeGuard::FormShow()
{
    TTableEditor::FormShow();
    Load_Fixed_Frames(Rows, File_CANopen_Define_NG_J1939_Frames, "NG_J1939_Frames");
}

QByteArray TFDefine_NodeGuard::Frames_Document() const
{
    pugi::xml_document doc;
    pugi::xml_node root = XmlAddChild(doc, "NG_J1939_Frames");
    XmlAddComment(doc, Version_Comment());
    Save_Fixed_Frames(Rows, root);
    return XmlToBytes(doc);
}

bool TFDefine_NodeGuard::Save_Table()
{
    // the gateway needs the nodes and their frames together: both files are written out in
    // full before either replaces its old content
    try {
        TAtomicFile nodes(File_CANopen_Define_NodeGuard);
        TAtomicFile frames(File_CANopen_Define_NG_J1939_Frames);
        nodes.Write(Table_Document());
        frames.Write(Frames_Document());
        nodes.Finish();
        frames.Finish();
        nodes.Commit();
        frames.Commit();
        return true;
    } catch (const Exception& e) {
        ShowError(QStringLiteral("The node guarding files \"%1\" and \"%2\" could not be written: %3. The files are left as "
                                 "they were.")
                      .arg(File_CANopen_Define_NodeGuard, File_CANopen_Define_NG_J1939_Frames, e.Message()));
        return false;
    }
}
