#include "editors/j1939_register_editors.h"

#include "editors/file_counts.h"
#include "editors/ok_cancel_panel.h"

#include "platform/core/sysutils.h"
#include "platform/ui/lb_button.h"
#include "state/lang.h"
#include "state/model_table.h"
#include "state/shared_state.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTextOption>

#include <algorithm>

TFDefineRecJ1939* FDefineRecJ1939 = nullptr;
TFDefineTransJ1939* FDefineTransJ1939 = nullptr;

namespace {
constexpr TColor Entry_Colour = 0xA8FFA8;
constexpr TColor Register_List_Colour = 0xFEFAE0;
bool Model_872() { return Model_Code == 7; }

void Paint_Base(QWidget* w, TColor colour)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::Base, ColorToQColor(colour));
    w->setPalette(pal);
}

// Draws the list lines with tab stops every `distance` pixels, so that the columns of a
// frame line stand under the heads of the label above the list.
class TTabStopDelegate : public QStyledItemDelegate {
public:
    TTabStopDelegate(QObject* parent, int distance) : QStyledItemDelegate(parent), FDistance(distance) {}
    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem o = option;
        initStyleOption(&o, index);
        const QString text = o.text;
        o.text.clear();
        const QWidget* w = o.widget;
        QStyle* style = w ? w->style() : nullptr;
        if (style) style->drawControl(QStyle::CE_ItemViewItem, &o, p, w);
        QTextOption to(Qt::AlignLeft | Qt::AlignVCenter);
        to.setTabStopDistance(FDistance);
        to.setWrapMode(QTextOption::NoWrap);
        p->save();
        p->setPen(o.state & QStyle::State_Selected ? o.palette.color(QPalette::HighlightedText)
                                                   : o.palette.color(QPalette::Text));
        p->drawText(QRectF(o.rect.adjusted(3, 0, -1, 0)), text, to);
        p->restore();
    }

private:
    int FDistance;
};

QComboBox* Selector_At(QWidget* parent, const char* name, int left, int top)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(QLatin1String(name));
    c->setEditable(false);
    c->setMaxVisibleItems(9);
    c->setGeometry(left, top, 210, 21);
    return c;
}

// A mapping row's integer attribute, its default when absent or not a number.
int32_t Int_Attr(pugi::xml_node row, const char* name, int32_t def)
{
    return XmlHasAttr(row, name) ? StrToIntDef(XmlAttr(row, name), def) : def;
}
}  // namespace

TDefineJ1939::TDefineJ1939(QWidget* parent) : TFrameItemEditorOf(pkSelectedLine, parent) { resize(629, 496); }

QString TDefineJ1939::Text(int receiveIndex) const
{
    if (!FDesc.Transmit) return LT(receiveIndex);
    // the transmit window's texts run 23 on, and 26 on after its send-on-write texts
    return LT(receiveIndex <= 125 ? receiveIndex + 23 : receiveIndex + 26);
}

void TDefineJ1939::FormCreate()
{
    FDesc = Describe();
    Build();
    Set_Label(Title.L_SW_Code, SW_Code);
    SetClientSize(629, 496);
    Set_Lang();
    Lista_J1939_Frame.clear();
}

void TDefineJ1939::Build()
{
    if (Title.P_Title) return;
    Title = Make_Title_Panel(this, SW_Code);
    const TItemListWidgets registers = Build_Lists("L_Mod_Reg_Desc1", "L_Mod_Reg_Desc2", "LB_Modbus_Regs", 342);
    L_Mod_Reg_Desc1 = registers.Desc1;
    L_Mod_Reg_Desc2 = registers.Desc2;
    LB_Modbus_Regs = registers.List;
    LB_J1939_Frames->setItemDelegate(new TTabStopDelegate(LB_J1939_Frames, FDesc.Transmit ? 46 : 62));
    Paint_Base(LB_Modbus_Regs, Register_List_Colour);

    L_Mod_Ind_Desc1 = Label_At(this, "L_Mod_Ind_Desc1", 407, 70);
    L_Mod_Ind_Desc2 = Label_At(this, "L_Mod_Ind_Desc2", 407, 89);
    E_Index_Modbus = new QLineEdit(this);
    E_Index_Modbus->setObjectName(QStringLiteral("E_Index_Modbus"));
    E_Index_Modbus->setGeometry(407, 108, 210, 21);
    Paint_Base(E_Index_Modbus, Entry_Colour);
    L_High_Part_Desc1 = Label_At(this, "L_High_Part_Desc1", 407, 145);
    L_High_Part_Desc2 = Label_At(this, "L_High_Part_Desc2", 407, 164);
    CB_Byte_High_Part = Selector_At(this, "CB_Byte_High_Part", 407, 183);
    L_Low_Part_Desc1 = Label_At(this, "L_Low_Part_Desc1", 407, 220);
    L_Low_Part_Desc2 = Label_At(this, "L_Low_Part_Desc2", 407, 239);
    CB_Byte_Low_Part = Selector_At(this, "CB_Byte_Low_Part", 407, 258);
    for (QComboBox* c : {CB_Byte_High_Part, CB_Byte_Low_Part}) Paint_Base(c, Entry_Colour);
    if (FDesc.Transmit) {
        L_Send_on_Write = Label_At(this, "L_Send_on_Write", 407, 295);
        CB_SendJ1939_OnModWrite = Selector_At(this, "CB_SendJ1939_OnModWrite", 407, 314);
        Paint_Base(CB_SendJ1939_OnModWrite, Entry_Colour);
    }
    Build_Item_Buttons(351);
    Build_OK_Cancel();
}

void TDefineJ1939::Set_Lang()
{
    SetCaption(Text(114));
    Set_Label(Title.L_SW_Desc, Text(115));
    Set_Label(L_J1939_Frame_Desc1, Text(116));
    Set_Label(L_J1939_Frame_Desc2, Text(117));
    Set_Label(L_Mod_Reg_Desc1, Text(118));
    Set_Label(L_Mod_Reg_Desc2, Text(119));
    Set_Label(L_Mod_Ind_Desc1, Text(120));
    Set_Label(L_Mod_Ind_Desc2, Text(121));
    Set_Label(L_High_Part_Desc1, Text(122));
    Set_Label(L_High_Part_Desc2, Text(123));
    Set_Label(L_Low_Part_Desc1, Text(124));
    Set_Label(L_Low_Part_Desc2, Text(125));
    Btn_Create->SetCaption(Text(126));
    Btn_Modify->SetCaption(Text(127));
    Btn_Delete->SetCaption(Text(128));
    Btn_Copy->SetCaption(Text(129));
    Btn_Paste->SetCaption(Text(130));
    Btn_OK->SetCaption(Text(131));
    Btn_Cancel->SetCaption(Text(132));
    if (FDesc.Transmit) {
        Set_Label(L_Send_on_Write, LT(149));
        CB_SendJ1939_OnModWrite->clear();
        CB_SendJ1939_OnModWrite->addItems({LT(150), LT(151)});
        CB_SendJ1939_OnModWrite->setCurrentIndex(0);
    }
    // the lists and the byte selectors take their texts when the window is next shown
}

// ------------------------------------------------------------------------------ loading

void TDefineJ1939::FormShow()
{
    Lista_J1939_Frame.clear();
    Load_Frames();
    Load_Mapping();
    Aggiorna_Lista_Frame();
    Aggiorna_Lista_ModReg();
    Aggiorna_Green_Fields();
    Aggiorna_Lista_Byte();
}

void TDefineJ1939::Load_Frames()
{
    pugi::xml_document doc;
    if (!Load_Table_File(doc, *FDesc.Frame_File)) return;
    const bool cob = Model_872();
    // a larger count in a hand-made file would only fill the selectors with bytes the frame never has
    TFileCounts bytes(0, Longest_Frame);
    int r = 1;
    for (pugi::xml_node row = XmlRoot(doc).first_child(); row; row = row.next_sibling(), ++r) {
        TJ1939_Frame f;
        f.Data_Page = XmlAttr(row, FDesc.Transmit && cob ? "DP" : "DataPage");
        f.PGN = XmlAttr(row, "PGN");
        f.Source_Address = XmlAttr(row, cob ? "ID_DEV" : "SourceAddress");
        if (FDesc.Transmit) {
            f.Priority = XmlAttr(row, "Priority");
            // the older transmit table of model 872 has no byte count: its frames have 8 bytes
            f.Num_Byte = cob ? StrToIntDef(XmlAttr(row, "NumByte"), 8) : 8;
        } else {
            const bool multi = UpperCase(Trim(XmlAttr(row, cob ? "MultiFrame" : "TransportProtocol"))) == QLatin1String("Y");
            f.Num_Byte = multi ? StrToIntDef(XmlAttr(row, cob ? "NByte" : "NumBytes"), 0) : 8;
        }
        f.Num_Byte = bytes.Bounded(f.Num_Byte, r);
        Lista_J1939_Frame.push_back(std::move(f));
    }
    bytes.Report(*FDesc.Frame_File);
}

void TDefineJ1939::Load_Mapping()
{
    pugi::xml_document doc;
    const QString path = *FDesc.Mapping_File;
    if (!Load_Table_File(doc, path)) return;
    const bool cob = Model_872();
    const int frames = int(Lista_J1939_Frame.size());
    QStringList orphans;   // rows naming a frame the frame table does not have
    int orphanCount = 0;
    for (pugi::xml_node row = XmlRoot(doc).first_child(); row; row = row.next_sibling()) {
        const int64_t frame = cob ? int64_t(Int_Attr(row, "NrPdo", -1)) - 1 : Int_Attr(row, "Num_Frame", -1);
        TMod_Reg r;
        r.Ind_Mod = XmlAttr(row, cob ? "Index" : "Mod_Index");
        if (frame < 0 || frame >= frames) {
            const char* attr = cob ? "NrPdo" : "Num_Frame";
            if (orphanCount++ < 5)
                orphans << QStringLiteral("register %1 (%2 %3)").arg(r.Ind_Mod, QLatin1String(attr), XmlAttr(row, attr));
            continue;
        }
        if (cob && !FDesc.Transmit) {
            const int32_t pos = Int_Attr(row, "PosComp", 0);
            r.HiPart = pos / 65536;
            r.LoPart = pos & 0xFFFF;
        } else if (cob && !(XmlHasAttr(row, "Byte_HiPart") && XmlHasAttr(row, "Byte_LoPart"))) {
            const uint32_t pos = uint32_t(Int_Attr(row, "PosComp", 0));
            r.HiPart = int32_t((pos >> 4) & 0xF);
            r.LoPart = int32_t(pos & 0xF);
        } else {
            r.HiPart = Int_Attr(row, "Byte_HiPart", 0);
            r.LoPart = Int_Attr(row, "Byte_LoPart", 0);
        }
        if (FDesc.Transmit) r.Write = Int_Attr(row, cob ? "Write_J1939" : "Send_on_Write", 0);
        Lista_J1939_Frame[size_t(frame)].Lista_Mod_Reg.push_back(std::move(r));
    }
    if (orphanCount > 0) {
        if (orphanCount > orphans.size()) orphans << QStringLiteral("...");
        MessageDlg(QStringLiteral("The mapping file \"%1\" holds %2 row(s) for frames that the frame table does not "
                                  "have (%3); they will be dropped if you press OK.")
                       .arg(path)
                       .arg(orphanCount)
                       .arg(orphans.join(QStringLiteral(", "))),
                   TMsgDlgType::mtWarning, mbOK);
    }
}

// ---------------------------------------------------------------------------- the lists

QString TDefineJ1939::Frame_Line(int frame) const
{
    const TJ1939_Frame& f = Lista_J1939_Frame[size_t(frame)];
    QStringList parts;
    if (FDesc.Transmit) parts << f.Priority;
    parts << f.Data_Page << f.PGN << f.Source_Address;
    return parts.join(QLatin1Char('\t'));
}

QString TDefineJ1939::Item_Line(int frame, int reg) const
{
    auto part = [this](int32_t byte) {
        return QLatin1Char(' ') + (byte != 0 ? Text(136) + QString::number(byte) : Text(135)) + QLatin1Char(';');
    };
    const TMod_Reg& r = Items(frame)[size_t(reg)];
    return r.Ind_Mod + QLatin1Char(';') + part(r.HiPart) + part(r.LoPart);
}

void TDefineJ1939::Aggiorna_Green_Fields()
{
    const int f = Selected_Frame(), i = Selected_Register();
    if (i < 0) {
        E_Index_Modbus->clear();
        CB_Byte_High_Part->setCurrentIndex(0);
        CB_Byte_Low_Part->setCurrentIndex(0);
        return;
    }
    const TMod_Reg& r = Lista_J1939_Frame[size_t(f)].Lista_Mod_Reg[size_t(i)];
    E_Index_Modbus->setText(r.Ind_Mod);
    // a byte the frame no longer has leaves its selector empty
    CB_Byte_High_Part->setCurrentIndex(r.HiPart < CB_Byte_High_Part->count() ? r.HiPart : -1);
    CB_Byte_Low_Part->setCurrentIndex(r.LoPart < CB_Byte_Low_Part->count() ? r.LoPart : -1);
    if (FDesc.Transmit) CB_SendJ1939_OnModWrite->setCurrentIndex(r.Write == 1 ? 1 : 0);
}

void TDefineJ1939::Aggiorna_Lista_Byte()
{
    const int f = Selected_Frame();
    for (QComboBox* c : {CB_Byte_High_Part, CB_Byte_Low_Part}) {
        c->clear();
        c->addItem(Text(135));
        if (f >= 0)
            for (int k = 1; k <= Lista_J1939_Frame[size_t(f)].Num_Byte; ++k) c->addItem(Text(136) + QString::number(k));
        c->setCurrentIndex(0);
    }
    if (FDesc.Transmit) CB_SendJ1939_OnModWrite->setCurrentIndex(0);
}

void TDefineJ1939::LB_J1939_FramesClick()
{
    Aggiorna_Lista_ModReg();
    Aggiorna_Green_Fields();
    Aggiorna_Lista_Byte();
}

void TDefineJ1939::LB_Modbus_RegsClick() { Aggiorna_Green_Fields(); }

// ------------------------------------------------------------------------ the registers

bool TDefineJ1939::Check_Mod_Reg_in_Use(int32_t ind_MR, int32_t app_ind_J1939, int32_t app_ind_MR) const
{
    return Other_Matches(app_ind_J1939, app_ind_MR, [ind_MR](const TMod_Reg& r) { return StrToIntDef(r.Ind_Mod, -1) == ind_MR; });
}

bool TDefineJ1939::Entry(TMod_Reg& out, int frame, int reg) const
{
    const int32_t n = StrToIntDef(E_Index_Modbus->text(), -1);
    if (n < 0 || n > 65535) {
        ShowError(Text(133));
        return false;
    }
    if (Check_Mod_Reg_in_Use(n, frame, reg)) {
        ShowError(Text(134));
        return false;
    }
    // a selector left empty by a byte the frame no longer has must be chosen again
    for (QComboBox* c : {CB_Byte_High_Part, CB_Byte_Low_Part})
        if (c->currentIndex() < 0) {
            ShowError(QStringLiteral("Error!! Select the byte of the %1 part of the Modbus Register: the frame has "
                                     "no such byte")
                          .arg(c == CB_Byte_High_Part ? QStringLiteral("high") : QStringLiteral("low")));
            return false;
        }
    out.Ind_Mod = E_Index_Modbus->text();
    out.HiPart = CB_Byte_High_Part->currentIndex();
    out.LoPart = CB_Byte_Low_Part->currentIndex();
    if (FDesc.Transmit) out.Write = std::max(0, CB_SendJ1939_OnModWrite->currentIndex());
    return true;
}

void TDefineJ1939::Copy_To_Buffer(int frame, int reg)
{
    const TMod_Reg& r = Items(frame)[size_t(reg)];
    ACopy_Ind_Mod = r.Ind_Mod;
    ACopy_HiPort = r.HiPart;
    ACopy_LoPort = r.LoPart;
    ACopy_Write = r.Write;
}

void TDefineJ1939::Paste_Mod_Reg()
{
    E_Index_Modbus->setText(ACopy_Ind_Mod);
    CB_Byte_High_Part->setCurrentIndex(ACopy_HiPort < CB_Byte_High_Part->count() ? ACopy_HiPort : -1);
    CB_Byte_Low_Part->setCurrentIndex(ACopy_LoPort < CB_Byte_Low_Part->count() ? ACopy_LoPort : -1);
    if (FDesc.Transmit) CB_SendJ1939_OnModWrite->setCurrentIndex(ACopy_Write == 1 ? 1 : 0);
}

// ------------------------------------------------------------------------------- saving

void TDefineJ1939::Show_Register(int frame, int reg)
{
    FRefreshing = true;
    LB_J1939_Frames->setCurrentRow(frame, QItemSelectionModel::ClearAndSelect);
    FRefreshing = false;
    LB_J1939_FramesClick();
    FRefreshing = true;
    LB_Modbus_Regs->setCurrentRow(reg, QItemSelectionModel::ClearAndSelect);
    FRefreshing = false;
    LB_Modbus_RegsClick();
}

QString TDefineJ1939::Check_Stale_Mapping()
{
    for (int f = 0; f < int(Lista_J1939_Frame.size()); ++f) {
        const TJ1939_Frame& frame = Lista_J1939_Frame[size_t(f)];
        for (int i = 0; i < int(frame.Lista_Mod_Reg.size()); ++i) {
            const TMod_Reg& r = frame.Lista_Mod_Reg[size_t(i)];
            const bool high = r.HiPart < 0 || r.HiPart > frame.Num_Byte;
            if (!high && r.LoPart >= 0 && r.LoPart <= frame.Num_Byte) continue;
            Show_Register(f, i);
            return QStringLiteral("Error!! Modbus Register %1 of frame %2 (PGN %3) takes its %4 part from byte %5, "
                                  "but the frame has %6 byte(s): modify or delete the register")
                .arg(r.Ind_Mod)
                .arg(f + 1)
                .arg(frame.PGN)
                .arg(high ? QStringLiteral("high") : QStringLiteral("low"))
                .arg(high ? r.HiPart : r.LoPart)
                .arg(frame.Num_Byte);
        }
    }
    return {};
}

QByteArray TDefineJ1939::Mapping_Document() const
{
    const bool cob = Model_872();
    pugi::xml_document doc;
    pugi::xml_node root =
        New_Table_Document(doc, FDesc.Transmit ? (cob ? QStringLiteral("TInfoCob") : QStringLiteral("DefineTransJ1939"))
                                               : (cob ? QStringLiteral("RInfoCob") : QStringLiteral("DefineRecJ1939")));
    auto num = [](int64_t v) { return QString::number(v); };
    for (int f = 0; f < int(Lista_J1939_Frame.size()); ++f)
        for (const TMod_Reg& r : Lista_J1939_Frame[size_t(f)].Lista_Mod_Reg) {
            pugi::xml_node row = XmlAddChild(root, "row");
            if (!cob) {
                XmlSetAttr(row, "Num_Frame", num(f));
                XmlSetAttr(row, "Mod_Index", r.Ind_Mod);
                XmlSetAttr(row, "Byte_HiPart", num(r.HiPart));
                XmlSetAttr(row, "Byte_LoPart", num(r.LoPart));
                if (FDesc.Transmit) XmlSetAttr(row, "Send_on_Write", num(r.Write));
            } else if (!FDesc.Transmit) {
                XmlSetAttr(row, "Index", r.Ind_Mod);
                XmlSetAttr(row, "NrPdo", num(f + 1));
                XmlSetAttr(row, "PosComp", num(int64_t(r.HiPart) * 65536 + r.LoPart));
            } else {
                XmlSetAttr(row, "Index", r.Ind_Mod);
                XmlSetAttr(row, "NrPdo", num(f + 1));
                XmlSetAttr(row, "PosComp", num(int64_t(r.HiPart) * 16 + r.LoPart));
                XmlSetAttr(row, "Write_J1939", num(r.Write));
                XmlSetAttr(row, "Byte_HiPart", num(r.HiPart));
                XmlSetAttr(row, "Byte_LoPart", num(r.LoPart));
            }
        }
    return XmlToBytes(doc);
}

void TDefineJ1939::Btn_OKClick()
{
    if (const QString stale = Check_Stale_Mapping(); !stale.isEmpty()) {
        ShowError(stale);
        return;
    }
    if (!Save_Table_File(*FDesc.Mapping_File, Mapping_Document())) return;
    SetModalResult(mrOk);
}

// ------------------------------------------------------------------------------ windows

TMappingDesc TFDefineRecJ1939::Describe() { return {false, &File_J1939_Receive, &File_Define_J1939_Rec}; }

TMappingDesc TFDefineTransJ1939::Describe() { return {true, &File_J1939_Transmit, &File_Define_J1939_Tra}; }
