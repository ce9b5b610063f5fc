#include "editors/canopen_sdo_editors.h"

#include "editors/file_counts.h"
#include "editors/ok_cancel_panel.h"

#include "platform/core/file_io.h"
#include "platform/core/paths.h"
#include "platform/core/sysutils.h"
#include "platform/core/xml.h"
#include "platform/ui/lb_button.h"
#include "state/canopen_limits.h"
#include "state/lang.h"
#include "state/model_table.h"
#include "state/shared_state.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

TFDefine_Server_SDO_Read* FDefine_Server_SDO_Read = nullptr;
TFDefine_Server_SDO_Write* FDefine_Server_SDO_Write = nullptr;

namespace {
QComboBox* Place_List(QWidget* parent, const char* name, int left, int top, int width, const QStringList& items = {})
{
    auto* c = new QComboBox(parent);
    c->setObjectName(QLatin1String(name));
    c->setEditable(false);
    c->setGeometry(left, top, width, 21);
    c->addItems(items);
    return c;
}

QLineEdit* Place_Edit(QWidget* parent, const char* name, int left, int top, int width)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setGeometry(left, top, width, 21);
    return e;
}

int Int_Attr(pugi::xml_node row, const char* name, int def) { return StrToIntDef(XmlAttr(row, name), def); }

// Loads a table file; false (after telling the user) when it exists but cannot be read.
bool Load_Table_File(pugi::xml_document& doc, const QString& path, const QString& consequence)
{
    QString reason;
    if (XmlLoadFile(doc, path, &reason)) return true;
    ShowError(QStringLiteral("The table file \"%1\" cannot be read: %2. %3").arg(path, reason, consequence));
    return false;
}
}  // namespace

TServerSDOEditor::TServerSDOEditor(bool write, QWidget* parent) : TFrameItemEditorOf(pkCurrentLine, parent), FWrite(write)
{
}

const QString& TServerSDOEditor::Table_File() const
{
    return FWrite ? File_CANopen_Define_Server_SDO_Write : File_CANopen_Define_Server_SDO_Read;
}

QString TServerSDOEditor::Text(int read) const
{
    if (!FWrite) return LT(read);
    // the write window's texts follow the read window's, with its send choice after byte 4
    return LT(read <= 464 ? read + 24 : read + 25);
}

void TServerSDOEditor::FormCreate()
{
    Build();
    Set_Label(Title.L_SW_Code, SW_Code);
    Set_Lang();
}

void TServerSDOEditor::Build()
{
    SetClientSize(629, 572);
    Title = Make_Title_Panel(this, SW_Code);
    Build_OK_Cancel();
    const TItemListWidgets objects = Build_Lists("L_SDO_List_Desc1", "L_SDO_List_Desc2", "LB_SDOs", 418);
    L_SDO_List_Desc1 = objects.Desc1;
    L_SDO_List_Desc2 = objects.Desc2;
    LB_SDOs = objects.List;

    L_SDO_Ind_Desc1 = Label_At(this, "L_SDO_Ind_Desc1", 407, 70);
    L_SDO_Ind_Desc2 = Label_At(this, "L_SDO_Ind_Desc2", 407, 94);
    E_Index_SDO = Place_Edit(this, "E_Index_SDO", 503, 94, 114);
    L_SDO_SubInd_Desc = Label_At(this, "L_SDO_SubInd_Desc", 407, 124);
    E_Sub_SDO = Place_Edit(this, "E_Sub_SDO", 504, 124, 113);
    L_SDO_DIm_Desc = Label_At(this, "L_SDO_DIm_Desc", 407, 154);
    CB_Dim_SDO = Place_List(this, "CB_Dim_SDO", 503, 154, 114,
                            {QStringLiteral("4 Bytes"), QStringLiteral("2 Bytes"), QStringLiteral("1 Bytes")});
    const int labelTops[] = {192, 234, 277, 320}, selectorTops[] = {208, 251, 294, 337};
    QLabel** labels[] = {&L_SDO_Byte1, &L_SDO_Byte2, &L_SDO_Byte3, &L_SDO_Byte4};
    QComboBox** selectors[] = {&CB_Byte1_SDO, &CB_Byte2_SDO, &CB_Byte3_SDO, &CB_Byte4_SDO};
    for (int k = 0; k < 4; ++k) {
        *labels[k] = Label_At(this, QStringLiteral("L_SDO_Byte%1").arg(k + 1).toLatin1().constData(), 407, labelTops[k]);
        *selectors[k] =
            Place_List(this, QStringLiteral("CB_Byte%1_SDO").arg(k + 1).toLatin1().constData(), 407, selectorTops[k], 210);
        (*selectors[k])->setMaxVisibleItems(9);
    }
    if (FWrite) {
        L_SDO_Send_on_Write = Label_At(this, "L_SDO_Send_on_Write", 407, 376);
        CB_SDO_Send_on_Write =
            Place_List(this, "CB_SDO_Send_on_Write", 407, 394, 210, {QStringLiteral("False"), QStringLiteral("True")});
    }
    Build_Item_Buttons(430);

    connect(CB_Dim_SDO, &QComboBox::currentIndexChanged, this, [this] { CB_Dim_SDOChange(); });
    Aggiorna_Lista_Byte();
    Aggiorna_Byte_SDO();
}

void TServerSDOEditor::Set_Lang()
{
    SetCaption(Text(451));
    Set_Label(Title.L_SW_Desc, Text(452));
    Set_Label(L_J1939_Frame_Desc1, Text(453));
    Set_Label(L_J1939_Frame_Desc2, Text(454));
    Set_Label(L_SDO_List_Desc1, Text(455));
    Set_Label(L_SDO_List_Desc2, Text(456));
    Set_Label(L_SDO_Ind_Desc1, Text(457));
    Set_Label(L_SDO_Ind_Desc2, Text(458));
    Set_Label(L_SDO_SubInd_Desc, Text(459));
    Set_Label(L_SDO_DIm_Desc, Text(460));
    Set_Label(L_SDO_Byte1, Text(461));
    Set_Label(L_SDO_Byte2, Text(462));
    Set_Label(L_SDO_Byte3, Text(463));
    Set_Label(L_SDO_Byte4, Text(464));
    if (L_SDO_Send_on_Write) Set_Label(L_SDO_Send_on_Write, LT(489));
    Btn_Create->SetCaption(Text(465));
    Btn_Modify->SetCaption(Text(466));
    Btn_Delete->SetCaption(Text(467));
    Btn_Copy->SetCaption(Text(468));
    Btn_Paste->SetCaption(Text(469));
    Btn_OK->SetCaption(Text(470));
    Btn_Cancel->SetCaption(Text(471));
}

void TServerSDOEditor::FormShow()
{
    Load();
    Aggiorna_Lista_Frame();
    Aggiorna_Lista_SDOs();
    Aggiorna_Green_Fields();
    Aggiorna_Lista_Byte();
}

void TServerSDOEditor::Load()
{
    Lista_J1939_Frame.clear();
    const QString frames = FWrite ? File_J1939_Transmit : File_J1939_Receive;
    if (QFileInfo::exists(frames)) {
        pugi::xml_document doc;
        if (Load_Table_File(doc, frames, QStringLiteral("The window lists no frames."))) {
            TFileCounts bytes(0, Longest_Frame);
            int r = 1;
            for (pugi::xml_node row = XmlRoot(doc).first_child(); row; row = row.next_sibling(), ++r) {
                TJ1939_Frame f;
                f.Data_Page = XmlAttr(row, "DataPage");
                f.PGN = XmlAttr(row, "PGN");
                f.Source_Address = XmlAttr(row, "SourceAddress");
                if (!FWrite && UpperCase(Trim(XmlAttr(row, "TransportProtocol"))) == QLatin1String("Y"))
                    f.Num_Byte = bytes.Bounded(Int_Attr(row, "NumBytes", 0), r);
                Lista_J1939_Frame.push_back(std::move(f));
            }
            bytes.Report(frames);
        }
    }
    const QString path = Table_File();
    if (!QFileInfo::exists(path)) return;
    pugi::xml_document doc;
    if (!Load_Table_File(doc, path, QStringLiteral("The window shows no objects; the file is left as it is unless you press OK.")))
        return;
    QStringList dropped;
    int r = 0;
    for (pugi::xml_node row = XmlRoot(doc).first_child(); row; row = row.next_sibling(), ++r) {
        // frames count from 1; compared before the shift, which the smallest integer would overflow
        const int nr = Int_Attr(row, "NrPdo", -1);
        if (nr < 1 || nr > int(Lista_J1939_Frame.size())) {
            dropped << QString::number(r + 1);
            continue;
        }
        const int f = nr - 1;
        TSDO o;
        o.Index = XmlAttr(row, "Index");
        o.SubIndex = XmlAttr(row, "SubIndex");
        o.Dimension = Int_Attr(row, "Dimension", 0);
        o.Byte1 = Int_Attr(row, "B1", 0);
        o.Byte2 = Int_Attr(row, "B2", 0);
        o.Byte3 = Int_Attr(row, "B3", 0);
        o.Byte4 = Int_Attr(row, "B4", 0);
        if (FWrite) o.Send_on_Write = Int_Attr(row, "Send_SDO", 0);
        Lista_J1939_Frame[size_t(f)].Lista_SDOs.push_back(std::move(o));
    }
    if (!dropped.isEmpty())
        MessageDlg(QStringLiteral("The table file \"%1\" holds %2 object(s) on frames that the frame table \"%3\" does "
                                  "not hold (rows %4); they will be dropped if you press OK.")
                       .arg(path)
                       .arg(dropped.size())
                       .arg(frames, dropped.join(QStringLiteral(", "))),
                   TMsgDlgType::mtWarning, mbOK);
}

QComboBox* TServerSDOEditor::Byte_Selector(int k) const
{
    QComboBox* const s[] = {CB_Byte1_SDO, CB_Byte2_SDO, CB_Byte3_SDO, CB_Byte4_SDO};
    return s[k - 1];
}

void TServerSDOEditor::LB_J1939_FramesClick()
{
    Aggiorna_Lista_SDOs();
    Aggiorna_Green_Fields();
    Aggiorna_Lista_Byte();
    Aggiorna_Byte_SDO();
}

void TServerSDOEditor::LB_SDOsClick()
{
    Aggiorna_Green_Fields();
    Aggiorna_Byte_SDO();
}

void TServerSDOEditor::CB_Dim_SDOChange() { Aggiorna_Byte_SDO(); }

QString TServerSDOEditor::Frame_Line(int frame) const
{
    const TJ1939_Frame& f = Lista_J1939_Frame[size_t(frame)];
    return f.Data_Page + QLatin1Char('\t') + f.PGN + QLatin1Char('\t') + f.Source_Address;
}

QString TServerSDOEditor::Item_Line(int frame, int item) const
{
    const TSDO& o = Items(frame)[size_t(item)];
    return QStringLiteral("Index : ") + o.Index + QStringLiteral("; Sub : ") + o.SubIndex + QLatin1Char(';');
}

void TServerSDOEditor::Aggiorna_Green_Fields()
{
    const int f = Selected_Frame(), o = Selected_SDO();
    if (o < 0) {
        E_Index_SDO->clear();
        E_Sub_SDO->clear();
        CB_Dim_SDO->setCurrentIndex(0);
        for (int k = 1; k <= 4; ++k) Byte_Selector(k)->setCurrentIndex(0);
        if (CB_SDO_Send_on_Write) CB_SDO_Send_on_Write->setCurrentIndex(0);
        return;
    }
    const TSDO& s = Lista_J1939_Frame[size_t(f)].Lista_SDOs[size_t(o)];
    E_Index_SDO->setText(s.Index);
    E_Sub_SDO->setText(s.SubIndex);
    CB_Dim_SDO->setCurrentIndex(s.Dimension);
    const int bytes[] = {s.Byte1, s.Byte2, s.Byte3, s.Byte4};
    for (int k = 1; k <= 4; ++k) Byte_Selector(k)->setCurrentIndex(bytes[k - 1]);
    if (CB_SDO_Send_on_Write) CB_SDO_Send_on_Write->setCurrentIndex(s.Send_on_Write);
}

void TServerSDOEditor::Aggiorna_Lista_Byte()
{
    const int f = Selected_Frame();
    QStringList items{QStringLiteral("None")};
    if (f >= 0)
        for (int k = 1; k <= Lista_J1939_Frame[size_t(f)].Num_Byte; ++k) items << QStringLiteral("Byte ") + QString::number(k);
    for (int k = 1; k <= 4; ++k) {
        QComboBox* c = Byte_Selector(k);
        c->clear();
        c->addItems(items);
        c->setCurrentIndex(0);
    }
}

void TServerSDOEditor::Aggiorna_Byte_SDO()
{
    // 4 bytes use every selector, 2 bytes the first two, 1 byte the first
    const int dim = CB_Dim_SDO->currentIndex();
    const int used = dim == 0 ? 4 : dim == 1 ? 2 : 1;
    for (int k = 1; k <= 4; ++k) {
        QComboBox* c = Byte_Selector(k);
        c->setEnabled(k <= used);
        if (k > used) c->setCurrentIndex(0);
    }
}

std::vector<std::pair<int, int>> TServerSDOEditor::Other_Table_Pairs() const
{
    std::vector<std::pair<int, int>> pairs;
    const QString path = FWrite ? File_CANopen_Define_Server_SDO_Read : File_CANopen_Define_Server_SDO_Write;
    pugi::xml_document doc;
    if (!QFileInfo::exists(path) || !XmlLoadFile(doc, path)) return pairs;
    for (pugi::xml_node row = XmlRoot(doc).first_child(); row; row = row.next_sibling())
        pairs.emplace_back(Int_Attr(row, "Index", -1), Int_Attr(row, "SubIndex", -1));
    return pairs;
}

bool TServerSDOEditor::Entry(TSDO& out, int frame, int sdo) const
{
    const int i = StrToIntDef(E_Index_SDO->text(), -1);
    if (i < SDO_Index_Min || i > SDO_Index_Max) {
        ShowError(Text(472));
        return false;
    }
    const int s = StrToIntDef(E_Sub_SDO->text(), -1);
    if (s < SDO_SubIndex_Min || s > SDO_SubIndex_Max) {
        ShowError(Text(473));
        return false;
    }
    if (Check_SDO_in_Use(i, s, frame, sdo)) {
        ShowError(Text(474));
        return false;
    }
    // the data sheet describes each object once, so the other table must not hold it either
    for (const auto& [oi, os] : Other_Table_Pairs())
        if (oi == i && os == s) {
            ShowError(Text(474) + QStringLiteral(" in the table \"%1\"")
                                      .arg(ExtractFileName(FWrite ? File_CANopen_Define_Server_SDO_Read
                                                                  : File_CANopen_Define_Server_SDO_Write)));
            return false;
        }
    out.Index = E_Index_SDO->text();
    out.SubIndex = E_Sub_SDO->text();
    out.Dimension = CB_Dim_SDO->currentIndex();
    int* bytes[] = {&out.Byte1, &out.Byte2, &out.Byte3, &out.Byte4};
    for (int k = 1; k <= 4; ++k) {
        *bytes[k - 1] = Byte_Selector(k)->currentIndex();
        if (*bytes[k - 1] < 0) {
            ShowError(QStringLiteral("Error!! Choose the frame byte of SDO Byte %1").arg(k));
            return false;
        }
    }
    out.Send_on_Write = CB_SDO_Send_on_Write ? std::max(0, CB_SDO_Send_on_Write->currentIndex()) : 0;
    return true;
}

void TServerSDOEditor::Copy_To_Buffer(int frame, int sdo)
{
    const TSDO& s = Items(frame)[size_t(sdo)];
    ACopy_Index = s.Index;
    ACopy_SubIndex = s.SubIndex;
    ACopy_Dimension = s.Dimension;
    ACopy_Byte1 = s.Byte1;
    ACopy_Byte2 = s.Byte2;
    ACopy_Byte3 = s.Byte3;
    ACopy_Byte4 = s.Byte4;
    ACopy_Send_on_Write = s.Send_on_Write;
}

void TServerSDOEditor::Paste_SDO()
{
    E_Index_SDO->setText(ACopy_Index);
    E_Sub_SDO->setText(ACopy_SubIndex);
    CB_Dim_SDO->setCurrentIndex(ACopy_Dimension);
    const int bytes[] = {ACopy_Byte1, ACopy_Byte2, ACopy_Byte3, ACopy_Byte4};
    for (int k = 1; k <= 4; ++k) Byte_Selector(k)->setCurrentIndex(bytes[k - 1]);
    if (CB_SDO_Send_on_Write) CB_SDO_Send_on_Write->setCurrentIndex(ACopy_Send_on_Write);
}

bool TServerSDOEditor::Check_SDO_in_Use(int index, int subindex, int app_ind_J1939, int app_ind_MR) const
{
    return Other_Matches(app_ind_J1939, app_ind_MR, [index, subindex](const TSDO& o) {
        return StrToIntDef(o.Index, -1) == index && StrToIntDef(o.SubIndex, -1) == subindex;
    });
}

QString TServerSDOEditor::Object_Name(int frame, const TSDO& o) const
{
    const TJ1939_Frame& f = Lista_J1939_Frame[size_t(frame)];
    return QStringLiteral("The object Index %1 Sub %2 of frame %3 (PGN %4, SA %5)")
        .arg(o.Index, o.SubIndex)
        .arg(frame + 1)
        .arg(f.PGN, f.Source_Address);
}

QString TServerSDOEditor::Refusal() const
{
    const auto others = Other_Table_Pairs();
    for (size_t f = 0; f < Lista_J1939_Frame.size(); ++f) {
        const TJ1939_Frame& frame = Lista_J1939_Frame[f];
        for (size_t k = 0; k < frame.Lista_SDOs.size(); ++k) {
            const TSDO& o = frame.Lista_SDOs[k];
            const QString name = Object_Name(int(f), o);
            const int i = StrToIntDef(o.Index, -1), s = StrToIntDef(o.SubIndex, -1);
            if (i < SDO_Index_Min || i > SDO_Index_Max) return name + QStringLiteral(": ") + Text(472);
            if (s < SDO_SubIndex_Min || s > SDO_SubIndex_Max) return name + QStringLiteral(": ") + Text(473);
            if (Check_SDO_in_Use(i, s, int(f), int(k))) return name + QStringLiteral(": ") + Text(474);
            for (const auto& [oi, os] : others)
                if (oi == i && os == s)
                    return name + QStringLiteral(": ") + Text(474) + QStringLiteral(" in the table \"%1\"").arg(
                               ExtractFileName(FWrite ? File_CANopen_Define_Server_SDO_Read : File_CANopen_Define_Server_SDO_Write));
            // the frame table may have changed since the object was made
            const int bytes[] = {o.Byte1, o.Byte2, o.Byte3, o.Byte4};
            for (int b = 0; b < 4; ++b)
                if (bytes[b] < 0 || bytes[b] > frame.Num_Byte)
                    return name + QStringLiteral(": SDO Byte %1 takes byte %2 of the frame, which has %3 bytes. Choose "
                                                 "its byte again and press Modify.")
                                      .arg(b + 1)
                                      .arg(bytes[b])
                                      .arg(frame.Num_Byte);
        }
    }
    return QString();
}

QByteArray TServerSDOEditor::Table_Document() const
{
    pugi::xml_document doc;
    pugi::xml_node root = XmlAddChild(doc, FWrite ? "DefineSDOServerTraJ1939" : "DefineSDOServerRecJ1939");
    XmlAddComment(doc, QStringLiteral("SW_VERSION = ") + QString::fromUtf16(Model_Table().Version));
    for (size_t f = 0; f < Lista_J1939_Frame.size(); ++f)
        for (const TSDO& o : Lista_J1939_Frame[f].Lista_SDOs) {
            pugi::xml_node row = XmlAddChild(root, "row");
            XmlSetAttr(row, "NrPdo", QString::number(f + 1));
            XmlSetAttr(row, "Index", o.Index);
            XmlSetAttr(row, "SubIndex", o.SubIndex);
            XmlSetAttr(row, "Dimension", QString::number(o.Dimension));
            XmlSetAttr(row, "B1", QString::number(o.Byte1));
            XmlSetAttr(row, "B2", QString::number(o.Byte2));
            XmlSetAttr(row, "B3", QString::number(o.Byte3));
            XmlSetAttr(row, "B4", QString::number(o.Byte4));
            if (FWrite) XmlSetAttr(row, "Send_SDO", QString::number(o.Send_on_Write));
        }
    return XmlToBytes(doc);
}

void TServerSDOEditor::Btn_OKClick()
{
    const QString refusal = Refusal();
    if (!refusal.isEmpty()) {
        ShowError(refusal);
        return;
    }
    QString error;
    if (!TrySaveFileAtomic(Table_File(), Table_Document(), &error)) {
        ShowError(QStringLiteral("The table file \"%1\" could not be written: %2. The file is left as it was.")
                      .arg(Table_File(), error));
        return;
    }
    SetModalResult(mrOk);
}
