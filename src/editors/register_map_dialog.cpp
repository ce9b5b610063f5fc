#include "editors/register_map_dialog.h"

#include "editors/file_counts.h"
#include "editors/grid_keyboard.h"
#include "editors/ok_cancel_panel.h"

#include "platform/core/sysutils.h"
#include "platform/core/xml.h"
#include "platform/ui/lb_button.h"
#include "state/lang.h"
#include "state/shared_state.h"

#include <QShowEvent>

#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QSplitter>

TFConf_Regs_890* FConf_Regs_890 = nullptr;

namespace {
constexpr int Title_Height = 69;
constexpr int Info_Height = 36;
constexpr int Button_Panel_Height = 40;
constexpr int Compile_Width = 257;
constexpr int Splitter_Width = 3;
constexpr int Max_Position = 2000;
// Where the running byte total of the frames stops growing, far past every position.
constexpr int Total_Cap = 1 << 30;
const QString None_Text = QStringLiteral("<None>");

QStringList Position_Items(int last)
{
    QStringList l{None_Text};
    for (int i = 1; i <= last; ++i) l << QString::number(i);
    return l;
}

// s without the characters up to code 32 at both ends, as Trim.
QStringView Trim_View(QStringView s)
{
    while (!s.isEmpty() && s.front().unicode() <= 32) s = s.mid(1);
    while (!s.isEmpty() && s.back().unicode() <= 32) s.chop(1);
    return s;
}

// The text before the first `sep` into `before`, the rest after it into s; both trimmed.
bool Cut_At(QStringView& s, QChar sep, QStringView* before)
{
    const qsizetype at = s.indexOf(sep);
    if (at < 0) return false;
    if (before) *before = Trim_View(s.left(at));
    s = Trim_View(s.mid(at + 1));
    return true;
}
}  // namespace

bool Take_Map_Group(QStringView& s, int& a, int& b)
{
    QStringView ta, tb;
    if (!Cut_At(s, QLatin1Char('['), nullptr) || !Cut_At(s, QLatin1Char(','), &ta) || !Cut_At(s, QLatin1Char(']'), &tb))
        return false;
    a = StrToIntDef(ta.toString(), -1);
    b = StrToIntDef(tb.toString(), -1);
    return true;
}

bool Map_Group_Valid(int a, int b, bool registers)
{
    if (a == -1 || b == -1) return false;
    if (a < 0 || a > Max_Position) return false;
    return registers ? b >= 0 && b <= Max_Position : b >= 1 && b <= 8;
}

std::vector<TFrame_J1939> Load_Frames_890(int Show_Type, QString* warning)
{
    if (warning) warning->clear();
    std::vector<TFrame_J1939> frames;
    const QString& path = Show_Type == 1 ? File_J1939_Transmit : File_J1939_Receive;
    if (path.isEmpty() || !QFileInfo::exists(path)) return frames;
    pugi::xml_document doc;
    if (!XmlLoadFile(doc, path)) return frames;
    TFileCounts counts(0, Longest_Frame);
    int total = 0, r = 0;
    for (pugi::xml_node row : XmlRoot(doc).children()) {
        ++r;
        auto attr = [&row](const char* name) { return XmlAttr(row, name); };
        TFrame_J1939 f;
        int bytes;
        if (Show_Type == 1) {
            f.Description = "PRI: " + attr("Priority") + "; DP: " + attr("DataPage") + "; PGN: " + attr("PGN") +
                            "; SA: " + attr("SourceAddress") + "; ";
            bytes = StrToIntDef(Trim(attr("NumByte")), 0);
        } else {
            f.Description = "DP: " + attr("DataPage") + "; PGN: " + attr("PGN") + "; SA: " + attr("SourceAddress") + "; ";
            const QString n = Trim(attr("NumBytes"));
            bytes = n.isEmpty() ? 8 : StrToIntDef(n, 0);
        }
        bytes = counts.Bounded(bytes, r);
        f.Description += "(" + QString::number(bytes) + ")";
        f.NumByte = bytes;
        f.Offset_Start = total;
        // positions past the gateway's memory are never mapped: the total only has to stay
        // past it, not grow with a file of a million frames
        total = std::min(total + bytes, Total_Cap);
        frames.push_back(f);
    }
    if (warning) *warning = counts.Warning(path);
    return frames;
}

TFConf_Regs_890::TFConf_Regs_890(QWidget* parent) : TForm(parent)
{
    setObjectName(QStringLiteral("FConf_Regs_890"));
    Apply_Window_Colour(this, Window_Colour);
    resize(568, 337);
}

TFConf_Regs_890::~TFConf_Regs_890()
{
    if (ACG_Modbus_Regs) ACG_Modbus_Regs->Free();
}

void TFConf_Regs_890::FormCreate()
{
    SetClientSize(568, 337);
    Title = Make_Title_Panel(this, SW_Code);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    L_Slave_ID = New_Label(Panel1, "L_Slave_ID");
    L_Address = New_Label(Panel1, "L_Address");
    L_Type = New_Label(Panel1, "L_Type");
    L_NPoint = New_Label(Panel1, "L_NPoint");
    L_Slave_ID->move(8, 2);
    L_Address->move(8, 18);
    L_Type->move(159, 2);
    L_NPoint->move(159, 18);

    Splitter1 = new QSplitter(Qt::Horizontal, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setHandleWidth(Splitter_Width);
    Splitter1->setChildrenCollapsible(false);
    P_Compile = new QFrame(this);
    P_Compile->setObjectName(QStringLiteral("P_Compile"));
    L_J1939Frame = New_Label(P_Compile, "L_J1939Frame");
    L_J1939Frame->move(8, 8);
    CB_Sel_FrameJ1939 = new QComboBox(P_Compile);
    CB_Sel_FrameJ1939->setObjectName(QStringLiteral("CB_Sel_FrameJ1939"));
    CB_Sel_FrameJ1939->setEditable(true);
    CB_Sel_FrameJ1939->setGeometry(8, 26, Compile_Width - 16, 22);
    L_SelByte = New_Label(P_Compile, "L_SelByte");
    L_SelByte->move(8, 58);
    CB_Available_Byte = new QComboBox(P_Compile);
    CB_Available_Byte->setObjectName(QStringLiteral("CB_Available_Byte"));
    CB_Available_Byte->setEditable(true);
    CB_Available_Byte->setGeometry(8, 76, 80, 22);
    Btn_Import = Make_Button(P_Compile, "Btn_Import", 8, 110, 110, 28);
    Btn_Import->OnClick = [this] { Btn_ImportClick(); };
    // only a pick of the user refills the bytes; the locate action selects without it
    QObject::connect(CB_Sel_FrameJ1939, qOverload<int>(&QComboBox::activated), this,
                     [this](int) { CB_Sel_FrameJ1939Change(); });

    ACG_Modbus_Regs = CreateGrid<TProColumnGrid>(this);
    ACG_Modbus_Regs->setObjectName(QStringLiteral("ACG_Modbus_Regs"));
    ACG_Modbus_Regs->SetColCount(mcCount);
    ACG_Modbus_Regs->SetRowCount(2);
    ACG_Modbus_Regs->SetFixedCols(1);
    ACG_Modbus_Regs->SetFixedRows(1);
    ACG_Modbus_Regs->SetOptions(ACG_Modbus_Regs->Options() + goEditing);
    Set_Editor_Grid_Input(ACG_Modbus_Regs);
    ACG_Modbus_Regs->Columns()->Items(mcPoint)->SetWidth(80);
    for (int c : {mcFirst, mcSecond}) {
        ACG_Modbus_Regs->Columns()->Items(c)->SetEditor(edComboList);
        ACG_Modbus_Regs->Columns()->Items(c)->SetWidth(100);
    }
    ACG_Modbus_Regs->OnDblClickCell = [this](TObject* s, int r, int c) { ACG_Modbus_RegsDblClickCell(s, r, c); };
    // the grid takes what the user gives up of the frame panel
    Splitter1->addWidget(ACG_Modbus_Regs);
    Splitter1->addWidget(P_Compile);
    Splitter1->setStretchFactor(0, 1);
    Splitter1->setStretchFactor(1, 0);
    Splitter1->setSizes({568 - Compile_Width - Splitter_Width, Compile_Width});

    const TOKCancelPanel panel = Make_OK_Cancel_Panel(this, nullptr);
    P_Button = panel.Panel;
    Btn_OK = panel.OK;
    Btn_Cancel = panel.Cancel;

    Follow_Form_Size(this, this, [this](const QSize& s) {
        const int top = Title_Height + Info_Height;
        const int h = std::max(0, s.height() - top - Button_Panel_Height);
        Panel1->setGeometry(0, Title_Height, s.width(), Info_Height);
        Splitter1->setGeometry(0, top, s.width(), h);
    });
    Set_Label(Title.L_SW_Code, SW_Code);
    Type_Points = 1;
    Set_Lang();
}

void TFConf_Regs_890::Set_Lang()
{
    SetCaption(LT(572));
    Set_Label(Title.L_SW_Desc, LT(574));
    ACG_Modbus_Regs->Columns()->Items(mcPoint)->SetHeader(LT(580));
    ACG_Modbus_Regs->Columns()->Items(mcFirst)->SetHeader(LT(582));
    ACG_Modbus_Regs->Columns()->Items(mcSecond)->SetHeader(LT(583));
    Set_Label(L_J1939Frame, LT(586));
    Set_Label(L_SelByte, LT(587));
    Btn_Import->SetCaption(LT(588));
    Btn_OK->SetCaption(LT(589));
    Btn_Cancel->SetCaption(LT(590));
}

void TFConf_Regs_890::Set_Mode_Texts()
{
    const bool regs = Type_Points == 1;
    SetCaption(LT(regs ? 572 : 573));
    Set_Label(Title.L_SW_Desc, LT(regs ? 574 : 575));
    ACG_Modbus_Regs->Columns()->Items(mcPoint)->SetHeader(LT(regs ? 580 : 581));
    ACG_Modbus_Regs->Columns()->Items(mcFirst)->SetHeader(LT(regs ? 582 : 584));
    ACG_Modbus_Regs->Columns()->Items(mcSecond)->SetHeader(LT(regs ? 583 : 585));
    ACG_Modbus_Regs->Columns()->Items(mcFirst)->ComboItems()->SetStrings(Position_Items(Max_Position));
    ACG_Modbus_Regs->Columns()->Items(mcSecond)->ComboItems()->SetStrings(Position_Items(regs ? Max_Position : 8));
}

void TFConf_Regs_890::Fill_Bytes(int frame)
{
    CB_Available_Byte->clear();
    if (frame < 0 || frame >= int(Def_J1939.size())) return;
    QStringList bytes;
    for (int k = 1; k <= Def_J1939[size_t(frame)].NumByte; ++k) bytes << QString::number(k);
    CB_Available_Byte->addItems(bytes);
    CB_Available_Byte->setCurrentIndex(bytes.isEmpty() ? -1 : 0);
}

void TFConf_Regs_890::showEvent(QShowEvent* e)
{
    TForm::showEvent(e);
    if (!e->spontaneous()) Focus_First_Cell(ACG_Modbus_Regs);
}

void TFConf_Regs_890::FormShow()
{
    Set_Label(L_Slave_ID, LT(576) + " : " + STR_SlaveID);
    Set_Label(L_Address, LT(577) + " : " + STR_Address);
    Set_Label(L_Type, LT(578) + " : " + STR_Type);
    Set_Label(L_NPoint, LT(579) + " : " + STR_NPoint);

    QString warning;
    Def_J1939 = Load_Frames_890(Show_Type, &warning);
    if (!warning.isEmpty()) MessageDlg(warning, TMsgDlgType::mtWarning, mbOK);
    Num_MAX_Byte = Def_J1939.empty() ? 0 : Def_J1939.back().Offset_Start + Def_J1939.back().NumByte;
    CB_Sel_FrameJ1939->clear();
    for (const TFrame_J1939& f : Def_J1939) CB_Sel_FrameJ1939->addItem(f.Description);
    CB_Sel_FrameJ1939->setCurrentIndex(Def_J1939.empty() ? -1 : 0);
    Fill_Bytes(0);

    // blanks around the type do not change it, as in the request check
    const QString type = UpperCase(Trim(STR_Type));
    Type_Points = type == QLatin1String("COIL STATUS") || type == QLatin1String("INPUT STATUS") ? 0 : 1;
    Set_Mode_Texts();

    // no request has more points than positions: the editor refuses a larger NPoint before
    // the dialog opens, and a row per point must not outgrow the memory
    NB = std::min(StrToIntDef(STR_NPoint, 0), Max_Position);
    const int a = StrToIntDef(STR_Address, 0);
    TProColumnGrid* g = ACG_Modbus_Regs;
    if (NB < 1) {
        g->SetRowCount(2);
        for (int c = 0; c < mcCount; ++c) g->SetCells(c, 1, QString());
    } else {
        g->SetRowCount(NB + 1);
        for (int k = 1; k <= NB; ++k) {
            g->SetCells(mcPoint, k, QString::number(qint64(a) + k - 1));
            g->SetCells(mcFirst, k, None_Text);
            g->SetCells(mcSecond, k, None_Text);
        }
    }
    Decode_String_Setting();
}

void TFConf_Regs_890::Decode_String_Setting()
{
    const QString text = STR_Conf_Points;
    QStringView s = Trim_View(text);
    int i = 0;
    while (!s.isEmpty()) {
        int a, b;
        if (!Take_Map_Group(s, a, b) || !Map_Group_Valid(a, b, Type_Points == 1)) return;
        if (++i > NB) return;
        ACG_Modbus_Regs->SetCells(mcFirst, i, a == 0 ? None_Text : QString::number(a));
        ACG_Modbus_Regs->SetCells(mcSecond, i, b == 0 ? None_Text : QString::number(b));
    }
}

void TFConf_Regs_890::CB_Sel_FrameJ1939Change() { Fill_Bytes(CB_Sel_FrameJ1939->currentIndex()); }

void TFConf_Regs_890::Btn_ImportClick()
{
    // without a frame and a byte of the list there is no position to import
    const int frame = CB_Sel_FrameJ1939->currentIndex();
    const int byte = CB_Available_Byte->currentIndex();
    if (frame < 0 || frame >= int(Def_J1939.size()) || byte < 0 || byte >= Def_J1939[size_t(frame)].NumByte) return;
    const int position = Def_J1939[size_t(frame)].Offset_Start + byte + 1;
    const int col = ACG_Modbus_Regs->Col(), row = ACG_Modbus_Regs->Row();
    if (row < 1 || row >= ACG_Modbus_Regs->RowCount()) return;
    // a status takes a position in its first column only: the second holds its bit
    if (col == mcFirst || (Type_Points == 1 && col == mcSecond)) ACG_Modbus_Regs->SetCells(col, row, QString::number(position));
}

void TFConf_Regs_890::ACG_Modbus_RegsDblClickCell(TObject*, int ARow, int ACol)
{
    if (ARow < 1 || !(ACol == mcFirst || (Type_Points != 0 && ACol == mcSecond))) return;
    const QString text = Trim(ACG_Modbus_Regs->Cells(ACol, ARow));
    if (text.isEmpty() || text == None_Text) return;
    const int b = StrToIntDef(text, -1);
    if (b < 1 || b > Num_MAX_Byte) return;
    for (int i = 0; i < int(Def_J1939.size()); ++i) {
        const TFrame_J1939& f = Def_J1939[size_t(i)];
        if (b > f.Offset_Start && b <= f.Offset_Start + f.NumByte) {
            CB_Sel_FrameJ1939->setCurrentIndex(i);
            // the byte list follows the located frame, so the byte shown is the one meant
            Fill_Bytes(i);
            CB_Available_Byte->setCurrentIndex(b - f.Offset_Start - 1);
            return;
        }
    }
}

QString TFConf_Regs_890::Conf_Points() const
{
    QString map;
    for (int r = 1; r < ACG_Modbus_Regs->RowCount(); ++r)
        map += "[" + QString::number(StrToIntDef(ACG_Modbus_Regs->Cells(mcFirst, r), 0)) + "," +
               QString::number(StrToIntDef(ACG_Modbus_Regs->Cells(mcSecond, r), 0)) + "]";
    return map;
}
