#pragma once
// The frame of every table editor window: title and button panels, one column grid, the
// table file (root element, one "row" element per table row with the cells as attributes,
// then the model's version comment), load on show, check then save on OK, Cancel, row
// deletion and insertion, and the language texts.  A window is a description of its
// table (TTableDesc) plus the code its table makes special.
#include "grid/control/pro_column_grid.h"
#include "platform/core/xml.h"
#include "platform/ui/forms.h"
#include "platform/ui/window_look.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QFrame;
class QLabel;
class TLbButton;

// One data column: its header text index, editor kind, width and attribute.
struct TTableColumn {
    int Header = -1;                 // Lang_Texts index
    TEditorType Editor = edNormal;   // edNormal, edComboList or edDataCheckBox
    int Width = 64;
    QString Attribute;
    QStringList Items;               // the drop-down list's items
    QString Missing;                 // the cell of a row element without the attribute
    // Not null: the column is not the user's for this model; every row loads and writes
    // this text whatever the file or the cell holds.
    QString FixedText;
    bool Hidden = false;
    // Not null: the cell of grid row `row` whose element has the attribute, made from its text.
    std::function<QString(const QString& value, int row)> FromFile = {};
    // Not null: the attribute written for the cell text; a null text writes no attribute.
    std::function<QString(const QString& cell)> ToFile = {};
};

inline TTableColumn Text_Column(int header, int width, const QString& attribute)
{
    return TTableColumn{header, edNormal, width, attribute, {}, {}, {}, false};
}
inline TTableColumn List_Column(int header, int width, const QString& attribute, const QStringList& items)
{
    return TTableColumn{header, edComboList, width, attribute, items, {}, {}, false};
}
inline TTableColumn Check_Column(int header, int width, const QString& attribute)
{
    return TTableColumn{header, edDataCheckBox, width, attribute, {}, {}, {}, false};
}

// The grid columns of a table by the attributes their cells are written to.  The checks and
// the code of a window name a column this way, never by its position: a column that a model
// leaves out or adds moves no other column's name.
class TColumnNames {
public:
    explicit TColumnNames(const std::vector<TTableColumn>& columns);
    // The grid column (1 .. n) of the attribute; -1 when the table has no such column.
    int Find(QStringView attribute) const;
    // The grid column of an attribute the table has; naming one it lacks is a fault of
    // the window's description, and stops the program.
    int operator()(QStringView attribute) const;

private:
    QStringList FAttributes;
};

// A row test that looks at one cell of the row: a failure puts the current cell there.
struct TCellTest {
    int Col = -1;
    std::function<bool(int row)> Test;
    bool operator()(int row) const { return Test(row); }
};

// One check of a row, in the order the table's rules run.  A failing check shows
// Lang_Texts[prefix] + row + Lang_Texts[Msg], or the whole Text with %1 as the row.
struct TTableCheck {
    int Msg = -1;
    QString Text;
    std::function<bool(int row)> Fails;
    // Not null: text added after Lang_Texts[Msg] (the limit that message names).
    std::function<QString(int row)> Tail = {};
    // Not null: the whole text of the box for the row, in place of the above; Kind: its style.
    std::function<QString(int row)> Whole = {};
    TMsgDlgType Kind = TMsgDlgType::mtError;
};

enum TKeyRule {
    krStopAtEmpty,   // the table ends at the first row whose key cell is empty
    krSkipEmpty,     // rows with an empty key cell are left out, later rows still count
    krStopAtNoText   // as krStopAtEmpty, but a key cell of blanks is not empty (its check fails)
};

struct TTableDesc {
    QString GridName = QStringLiteral("sga");
    const QString* File = nullptr;   // the path global of the table file
    QString Root;
    int RowLimit = 250;
    int ClientWidth = 774;
    int ClientHeight = 337;
    // Room kept for the window's own controls above and below the grid.
    int GridTop = 0, GridBottom = 0;
    // The root is the document-level element named Root instead of the first node.
    bool RootByName = false;
    int KeyCol = 1;                  // the grid column of the key (see TColumnNames)
    TKeyRule KeyRule = krStopAtEmpty;
    int NumberHeader = -1;           // header of column 0
    std::vector<TTableColumn> Columns;   // columns 1 .. n

    int Caption = -1, DescText = -1;
    int BtnOK = -1, BtnCancel = -1, BtnDelRow = -1, BtnInsRow = -1, BtnRegMap = -1;   // -1: no such button
    // Map button: its fixed caption where it has no language text (then it exists too).
    QString RegMapCaption;
    int ErrorPrefix = -1;
    int DeleteQuestion = -1, DeleteQuestionEnd = -1;
    std::vector<TTableCheck> Checks;
    // A check after the walk (a total over the rows); returns the whole message or nothing.
    std::function<QString()> AfterWalk;
    // Called before each walk of the check (resets running totals).
    std::function<void()> BeforeWalk;
};

// The table file, as every editor window reads and writes it (the windows without a grid
// too): a damaged file or a failed write is told to the user, naming the file.
// False when `path` names no file, or (after an error box) when it cannot be read.
bool Load_Table_File(pugi::xml_document& doc, const QString& path);
// A new table document: the root element, then the version comment of the build's model.
pugi::xml_node New_Table_Document(pugi::xml_document& doc, const QString& root);
// Writes the document whole through a temporary file; false (after an error box) when it
// failed, the old file then being left as it was.
bool Save_Table_File(const QString& path, const QByteArray& document);

class TTableEditor : public TForm {
public:
    explicit TTableEditor(QWidget* parent = nullptr);
    ~TTableEditor() override;

    // Creation once at start-up: the window's description for the build's model, the grid
    // and buttons it describes, then Set_Lang.
    void FormCreate() override;
    // Every showing: the table is cleared and the file loaded.
    void FormShow() override;
    virtual void Set_Lang();

    void Btn_OKClick();
    void Btn_DelRowClick();
    void Btn_InsRowClick();
    bool Controllo_dati();
    void Delete_Row(int Num_Row);
    // Inserts an empty row at Num_Row; false (nothing changed) when the last row holds data.
    bool Insert_Row(int Num_Row);

    // Loads the table file into the grid; the messages of a damaged file are shown.
    void Load_Table();
    // The document of the rows the check passes, with the version comment.
    QByteArray Table_Document() const;
    // Writes it through a temporary file; false (after an error box) when it failed.
    virtual bool Save_Table();

    const TTableDesc& Desc() const { return FDesc; }
    TProColumnGrid* Grid() const { return sga; }
    // The window's current row; the grid's when it lies on a data row.
    int Current_Row() const;

    // The grid column of an attribute of the window's table (see TColumnNames).
    int Col(QStringView attribute) const;
    // Helpers for the checks of the editors.
    QString Cell(int col, int row) const;
    int Num(int col, int row, int def = -1) const;
    bool Ticked(int col, int row) const;       // the cell is "Y" (upper-cased)
    bool Blank(int col, int row) const;        // empty after trimming
    // A row whose key cell is empty after trimming.
    bool Key_Empty(int row) const;
    // A row holding anything the user put there (a cleared check box counts as nothing).
    bool Row_Has_Data(int row) const;
    std::function<bool(int)> Out_Of(int col, int lo, int hi, int def = -1) const;
    std::function<bool(int)> Is_Blank(int col) const;   // empty after trimming
    std::function<bool(int)> Is_Empty(int col) const;   // no text at all
    // A test of its own that fails on the cell of `col`.
    static std::function<bool(int)> In_Col(int col, std::function<bool(int)> test);
    // The current cell on the grid cell a check's message names, and the keyboard on the grid.
    void Go_To_Cell(int col, int row);

    TTitlePanel Title{};
    QFrame* P_Button = nullptr;
    TLbButton *Btn_OK = nullptr, *Btn_Cancel = nullptr, *Btn_DelRow = nullptr, *Btn_InsRow = nullptr,
              *Btn_RegMap = nullptr;
    TProColumnGrid* sga = nullptr;

protected:
    // The keyboard starts on the grid's first data cell.
    void showEvent(QShowEvent* e) override;
    // The description of the window for the build's model.
    virtual TTableDesc Describe() = 0;
    // The row number a check message names, with the table's prefix.
    QString Row_Message(int row, int msg) const;

private:
    void Build();
    void Clear_Table();
    void Copy_Row(int from, int to);
    void Empty_Row(int row);

    TTableDesc FDesc;
};
