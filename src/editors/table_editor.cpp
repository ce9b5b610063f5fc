#include "editors/table_editor.h"

#include "editors/grid_keyboard.h"
#include "editors/ok_cancel_panel.h"

#include "platform/core/file_io.h"
#include "platform/core/sysutils.h"
#include "platform/core/xml.h"
#include "platform/ui/lb_button.h"
#include "state/lang.h"
#include "state/model_table.h"
#include "state/shared_state.h"

#include <QFileInfo>
#include <QShowEvent>
#include <QFrame>
#include <QLabel>
#include <QResizeEvent>

namespace {
constexpr int Title_Height = 69;
constexpr int Button_Panel_Height = 40;
constexpr int Client_Height = 337;
}  // namespace

bool Load_Table_File(pugi::xml_document& doc, const QString& path)
{
    if (path.isEmpty() || !QFileInfo::exists(path)) return false;
    QString reason;
    if (XmlLoadFile(doc, path, &reason)) return true;
    ShowError(QStringLiteral("The table file \"%1\" cannot be read: %2. The table opens empty; the file is "
                             "left as it is unless you press OK.")
                  .arg(path, reason));
    return false;
}

pugi::xml_node New_Table_Document(pugi::xml_document& doc, const QString& root)
{
    pugi::xml_node node = XmlAddChild(doc, ToUtf8(root).c_str());
    XmlAddComment(doc, QStringLiteral("SW_VERSION = ") + QString::fromUtf16(Model_Table().Version));
    return node;
}

bool Save_Table_File(const QString& path, const QByteArray& document)
{
    QString error;
    if (TrySaveFileAtomic(path, document, &error)) return true;
    ShowError(QStringLiteral("The table file \"%1\" could not be written: %2. The file is left as it was.").arg(path, error));
    return false;
}

TColumnNames::TColumnNames(const std::vector<TTableColumn>& columns)
{
    for (const TTableColumn& c : columns) FAttributes << c.Attribute;
}

int TColumnNames::Find(QStringView attribute) const
{
    const qsizetype i = FAttributes.indexOf(attribute);
    return i < 0 ? -1 : int(i) + 1;
}

int TColumnNames::operator()(QStringView attribute) const
{
    const int c = Find(attribute);
    if (c < 0) qFatal("The table has no column of attribute \"%s\"", qUtf8Printable(attribute.toString()));
    return c;
}

TTableEditor::TTableEditor(QWidget* parent) : TForm(parent)
{
    Apply_Window_Colour(this, Window_Colour);
    resize(774, Client_Height);
}

TTableEditor::~TTableEditor()
{
    // the grid runs its own teardown before Qt deletes the children
    if (sga) sga->Free();
}

void TTableEditor::FormCreate()
{
    FDesc = Describe();
    Build();
    Set_Label(Title.L_SW_Code, SW_Code);
    Set_Lang();
}

void TTableEditor::Build()
{
    SetClientSize(FDesc.ClientWidth, FDesc.ClientHeight);
    if (!Title.P_Title) Title = Make_Title_Panel(this, SW_Code);
    if (!P_Button) {
        const TOKCancelPanel panel = Make_OK_Cancel_Panel(this, [this] { Btn_OKClick(); });
        P_Button = panel.Panel;
        Btn_OK = panel.OK;
        Btn_Cancel = panel.Cancel;
        auto make = [this](TLbButton*& b, const char* name, int left) { b = Make_Button(P_Button, name, left, 6, 110, 28); };
        if (FDesc.BtnDelRow >= 0) {
            make(Btn_DelRow, "Btn_DelRow", 252);
            Btn_DelRow->OnClick = [this] { Btn_DelRowClick(); };
        }
        if (FDesc.BtnInsRow >= 0) {
            make(Btn_InsRow, "Btn_InsRow", 370);
            Btn_InsRow->OnClick = [this] { Btn_InsRowClick(); };
        }
        if (FDesc.BtnRegMap >= 0 || !FDesc.RegMapCaption.isEmpty()) {
            make(Btn_RegMap, "Btn_RegMap", 488);
            Btn_RegMap->SetCaption(FDesc.RegMapCaption);
        }
    }
    if (!sga) {
        sga = CreateGrid<TProColumnGrid>(this);
        sga->setObjectName(FDesc.GridName);
        // the grid stays between the title and the button panel when the window is resized
        const int top = Title_Height + FDesc.GridTop, bottom = Button_Panel_Height + FDesc.GridBottom;
        Follow_Form_Size(this, sga, [grid = sga, top, bottom](const QSize& s) {
            grid->setGeometry(0, top, s.width(), std::max(0, s.height() - top - bottom));
        });
    }
    const int cols = int(FDesc.Columns.size()) + 1;
    sga->UnHideColumnsAll();
    sga->SetColCount(cols);
    sga->SetRowCount(FDesc.RowLimit + 1);
    sga->SetFixedCols(1);
    sga->SetFixedRows(1);
    sga->SetOptions(sga->Options() + goEditing);
    Set_Editor_Grid_Input(sga);
    sga->Columns()->Items(0)->SetWidth(40);
    for (int c = 1; c < cols; ++c) {
        const TTableColumn& d = FDesc.Columns[c - 1];
        TGridColumnItem* item = sga->Columns()->Items(c);
        item->SetEditor(d.Editor);
        item->SetWidth(d.Width);
        item->ComboItems()->SetStrings(d.Items);
    }
    for (int c = cols - 1; c >= 1; --c)
        if (FDesc.Columns[c - 1].Hidden) sga->HideColumn(c);
    Clear_Table();
}

void TTableEditor::Set_Lang()
{
    SetCaption(LT(FDesc.Caption));
    Set_Label(Title.L_SW_Desc, LT(FDesc.DescText));
    sga->Columns()->Items(0)->SetHeader(LT(FDesc.NumberHeader));
    for (int c = 1; c <= int(FDesc.Columns.size()); ++c)
        sga->Columns()->Items(c)->SetHeader(LT(FDesc.Columns[c - 1].Header));
    Btn_OK->SetCaption(LT(FDesc.BtnOK));
    Btn_Cancel->SetCaption(LT(FDesc.BtnCancel));
    if (Btn_DelRow) Btn_DelRow->SetCaption(LT(FDesc.BtnDelRow));
    if (Btn_InsRow) Btn_InsRow->SetCaption(LT(FDesc.BtnInsRow));
    if (Btn_RegMap && FDesc.BtnRegMap >= 0) Btn_RegMap->SetCaption(LT(FDesc.BtnRegMap));
}

void TTableEditor::FormShow()
{
    Clear_Table();
    Load_Table();
}

void TTableEditor::showEvent(QShowEvent* e)
{
    TForm::showEvent(e);
    if (!e->spontaneous()) Focus_First_Cell(sga);
}

void TTableEditor::Clear_Table()
{
    for (int r = 1; r < sga->RowCount(); ++r) {
        sga->SetCells(0, r, QString::number(r));
        Empty_Row(r);
    }
}

void TTableEditor::Empty_Row(int row)
{
    for (int c = 1; c <= int(FDesc.Columns.size()); ++c) sga->SetCells(c, row, QString());
}

void TTableEditor::Copy_Row(int from, int to)
{
    for (int c = 1; c <= int(FDesc.Columns.size()); ++c) sga->SetCells(c, to, sga->Cells(c, from));
}

void TTableEditor::Load_Table()
{
    const QString path = FDesc.File ? *FDesc.File : QString();
    pugi::xml_document doc;
    if (!Load_Table_File(doc, path)) return;
    const int limit = sga->RowCount() - 1;
    int dropped = 0;
    const pugi::xml_node root = FDesc.RootByName ? XmlChild(doc, ToUtf8(FDesc.Root).c_str()) : XmlRoot(doc);
    if (FDesc.RootByName && !root) {
        MessageDlg(QStringLiteral("The table file \"%1\" holds no element \"%2\"; the table opens empty.").arg(path, FDesc.Root),
                   TMsgDlgType::mtWarning, mbOK);
        return;
    }
    if (root.type() != pugi::node_element) {
        // something stands before the root element: its rows are not shown
        for (pugi::xml_node n = root; n; n = n.next_sibling())
            if (n.type() == pugi::node_element) {
                dropped = int(std::distance(n.begin(), n.end()));
                break;
            }
    } else {
        int r = 1;
        for (pugi::xml_node row = root.first_child(); row; row = row.next_sibling(), ++r) {
            if (r > limit) {
                ++dropped;
                continue;
            }
            for (int c = 1; c <= int(FDesc.Columns.size()); ++c) {
                const TTableColumn& d = FDesc.Columns[c - 1];
                QString text;
                if (!d.FixedText.isNull())
                    text = d.FixedText;
                else if (const pugi::xml_attribute a = row.attribute(ToUtf8(d.Attribute).c_str()))
                    text = d.FromFile ? d.FromFile(QString::fromUtf8(a.value()), r) : QString::fromUtf8(a.value());
                else
                    text = d.Missing;
                sga->SetCells(c, r, text);
            }
        }
    }
    if (dropped > 0)
        MessageDlg(QStringLiteral("The table file \"%1\" holds %2 row(s) that this table cannot show; they will be "
                                  "dropped if you press OK.")
                       .arg(path)
                       .arg(dropped),
                   TMsgDlgType::mtWarning, mbOK);
}

int TTableEditor::Current_Row() const
{
    const int r = sga->Row();
    return r >= 1 && r < sga->RowCount() ? r : 1;
}

int TTableEditor::Col(QStringView attribute) const { return TColumnNames(FDesc.Columns)(attribute); }

QString TTableEditor::Cell(int col, int row) const { return sga->Cells(col, row); }
int TTableEditor::Num(int col, int row, int def) const { return StrToIntDef(Cell(col, row), def); }
bool TTableEditor::Ticked(int col, int row) const { return UpperCase(Cell(col, row)) == QLatin1String("Y"); }
bool TTableEditor::Blank(int col, int row) const { return Trim(Cell(col, row)).isEmpty(); }
bool TTableEditor::Key_Empty(int row) const
{
    return FDesc.KeyRule == krStopAtNoText ? Cell(FDesc.KeyCol, row).isEmpty() : Blank(FDesc.KeyCol, row);
}

bool TTableEditor::Row_Has_Data(int row) const
{
    for (int c = 1; c <= int(FDesc.Columns.size()); ++c) {
        const TTableColumn& d = FDesc.Columns[c - 1];
        if (!d.FixedText.isNull() || Blank(c, row)) continue;
        if (d.Editor == edDataCheckBox && Trim(Cell(c, row)) == QLatin1String("N")) continue;
        return true;
    }
    return false;
}

std::function<bool(int)> TTableEditor::In_Col(int col, std::function<bool(int)> test)
{
    return TCellTest{col, std::move(test)};
}

std::function<bool(int)> TTableEditor::Out_Of(int col, int lo, int hi, int def) const
{
    return In_Col(col, [this, col, lo, hi, def](int r) {
        const int v = Num(col, r, def);
        return v < lo || v > hi;
    });
}

std::function<bool(int)> TTableEditor::Is_Blank(int col) const
{
    return In_Col(col, [this, col](int r) { return Blank(col, r); });
}

std::function<bool(int)> TTableEditor::Is_Empty(int col) const
{
    return In_Col(col, [this, col](int r) { return Cell(col, r).isEmpty(); });
}

void TTableEditor::Go_To_Cell(int col, int row)
{
    if (row < 1 || row >= sga->RowCount()) return;
    // a check of the whole row, or of a column the model hides, names the row by its key
    if (col < 1 || col >= sga->ColCount() || sga->IsHiddenColumn(col)) col = FDesc.KeyCol;
    sga->SetCol(sga->DisplColIndex(col));
    sga->SetRow(row);
    sga->setFocus(Qt::OtherFocusReason);
}

QString TTableEditor::Row_Message(int row, int msg) const
{
    return LT(FDesc.ErrorPrefix) + QString::number(row) + LT(msg);
}

bool TTableEditor::Controllo_dati()
{
    if (FDesc.BeforeWalk) FDesc.BeforeWalk();
    const int last = sga->RowCount() - 1;
    int end = last + 1;   // the first row after the table
    for (int r = 1; r <= last; ++r) {
        if (Key_Empty(r)) {
            if (FDesc.KeyRule != krSkipEmpty) {
                end = r;
                break;
            }
            // a skipped row that holds data would vanish from the file
            if (Row_Has_Data(r)) {
                ShowError(LT(FDesc.ErrorPrefix) + QString::number(r) +
                          QStringLiteral("!! %1 is empty: the row would not be saved")
                              .arg(LT(FDesc.Columns[FDesc.KeyCol - 1].Header)));
                Go_To_Cell(FDesc.KeyCol, r);
                return false;
            }
            continue;
        }
        for (const TTableCheck& check : FDesc.Checks)
            if (check.Fails(r)) {
                MessageDlg(check.Whole               ? check.Whole(r)
                           : !check.Text.isEmpty() ? check.Text.arg(r)
                           : check.Tail            ? Row_Message(r, check.Msg) + check.Tail(r)
                                                   : Row_Message(r, check.Msg),
                           check.Kind, mbOK);
                const TCellTest* cell = check.Fails.target<TCellTest>();
                Go_To_Cell(cell ? cell->Col : -1, r);
                return false;
            }
    }
    // Rows after the end of the table would be lost without a word: name the first one.
    for (int r = end; r <= last; ++r)
        if (Row_Has_Data(r)) {
            const QString key = LT(FDesc.Columns[FDesc.KeyCol - 1].Header);
            ShowError(r == end ? LT(FDesc.ErrorPrefix) + QString::number(r) +
                                     QStringLiteral("!! %1 is empty: the row and the rows below it would not be saved")
                                         .arg(key)
                               : LT(FDesc.ErrorPrefix) + QString::number(r) +
                                     QStringLiteral("!! The row follows the empty %1 of row %2 and would not be saved")
                                         .arg(key)
                                         .arg(end));
            Go_To_Cell(FDesc.KeyCol, r);
            return false;
        }
    if (FDesc.AfterWalk) {
        const QString text = FDesc.AfterWalk();
        if (!text.isEmpty()) {
            ShowError(text);
            return false;
        }
    }
    return true;
}

QByteArray TTableEditor::Table_Document() const
{
    pugi::xml_document doc;
    pugi::xml_node root = New_Table_Document(doc, FDesc.Root);
    for (int r = 1; r < sga->RowCount(); ++r) {
        if (Key_Empty(r)) {
            if (FDesc.KeyRule != krSkipEmpty) break;
            continue;
        }
        pugi::xml_node row = XmlAddChild(root, "row");
        for (int c = 1; c <= int(FDesc.Columns.size()); ++c) {
            const TTableColumn& d = FDesc.Columns[c - 1];
            if (!d.FixedText.isNull() || !d.ToFile) {
                XmlSetAttr(row, ToUtf8(d.Attribute).c_str(), d.FixedText.isNull() ? Cell(c, r) : d.FixedText);
                continue;
            }
            const QString text = d.ToFile(Cell(c, r));
            if (!text.isNull()) XmlSetAttr(row, ToUtf8(d.Attribute).c_str(), text);
        }
    }
    return XmlToBytes(doc);
}

bool TTableEditor::Save_Table()
{
    return Save_Table_File(FDesc.File ? *FDesc.File : QString(), Table_Document());
}

void TTableEditor::Btn_OKClick()
{
    if (!Controllo_dati()) return;
    if (!Save_Table()) return;
    SetModalResult(mrOk);
}

void TTableEditor::Btn_DelRowClick()
{
    const int row = Current_Row();
    QString question = LT(FDesc.DeleteQuestion) + QString::number(row);
    if (FDesc.DeleteQuestionEnd >= 0) question += LT(FDesc.DeleteQuestionEnd);
    if (MessageDlg(question, TMsgDlgType::mtConfirmation, mbYes | mbNo) != mrYes) return;
    Delete_Row(row);
}

void TTableEditor::Delete_Row(int Num_Row)
{
    const int last = sga->RowCount() - 1;
    if (Num_Row < 1 || Num_Row > last) return;
    for (int r = Num_Row; r < last; ++r) Copy_Row(r + 1, r);
    Empty_Row(last);
}

void TTableEditor::Btn_InsRowClick()
{
    if (!Insert_Row(Current_Row()))
        ShowError(QStringLiteral("The table is full: its last row holds data. Delete a row before inserting one."));
}

bool TTableEditor::Insert_Row(int Num_Row)
{
    const int last = sga->RowCount() - 1;
    if (Num_Row < 1 || Num_Row > last) return false;
    // the last row would fall off the table
    if (Row_Has_Data(last)) return false;
    for (int r = last - 1; r >= Num_Row; --r) Copy_Row(r, r + 1);
    Empty_Row(Num_Row);
    return true;
}
