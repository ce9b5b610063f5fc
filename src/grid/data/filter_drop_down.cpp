// The filter drop-down of the filter row (a list or a check list of a column's values) and
// the drop-down button of fixed cells.
#include "grid/control/pro_column_grid.h"
#include "grid/control/pro_string_grid.h"
#include "platform/core/sysutils.h"
#include "platform/ui/graphics.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>

namespace {

// An entry "name=condition" split at its first "=" (the whole entry is both without one).
void SplitEntry(const QString& Entry, QString& Name, QString& Condition)
{
    const qsizetype eq = Entry.indexOf(QLatin1Char('='));
    Name = eq < 0 ? Entry : Entry.left(eq);
    Condition = eq < 0 ? Entry : Entry.mid(eq + 1);
}

// The value of an entry CollectFilterValues made: the text, or "text=\"text\"" for a text with
// a space.
QString AutoEntryValue(const QString& Entry)
{
    if (Entry.size() >= 5 && (Entry.size() - 3) % 2 == 0 && Entry.endsWith(QLatin1Char('"'))) {
        const QString v = Entry.left((Entry.size() - 3) / 2);
        if (v.contains(QLatin1Char(' ')) && Entry == v + QStringLiteral("=\"") + v + QLatin1Char('"')) return v;
    }
    return Entry;
}

// Whether Entry is one of the column's own texts (Values from AutoFilterValues), and which.
bool LiteralValue(const QHash<QString, QString>& Values, const QString& Entry, const QString& Clear, QString& Value)
{
    const auto it = Values.constFind(Entry);
    if (it == Values.constEnd() || Entry == Clear) return false;
    Value = *it;
    return true;
}

// The two lists choose by Enter and by a click on an item, close on Escape and when the
// focus leaves them for another window.
class TFilterListHooks : public QObject {
public:
    TFilterListHooks(TProStringGrid* Grid, TDropList* List, TDropCheckList* Checks)
        : QObject(Grid), FGrid(Grid), FList(List), FChecks(Checks)
    {
        setObjectName(QStringLiteral("filterListHooks"));
        for (QListWidget* w : {static_cast<QListWidget*>(List), static_cast<QListWidget*>(Checks)}) {
            w->installEventFilter(this);
            w->viewport()->installEventFilter(this);
        }
        FListView = List->viewport();
        // A tick set or cleared by the user is a choice; the ticks the grid sets while
        // filling the list are made with signals blocked.
        QObject::connect(Checks, &QListWidget::itemChanged, this, [this] {
            if (FChecks->OnSelect) FChecks->OnSelect(-1);
        });
    }

protected:
    bool eventFilter(QObject* Watched, QEvent* E) override
    {
        // Told apart by address alone: a list being destroyed still sends its children's
        // events here.
        const bool plain = Watched == FList || Watched == FListView;
        QListWidget* list = plain ? static_cast<QListWidget*>(FList) : static_cast<QListWidget*>(FChecks);
        switch (E->type()) {
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent*>(E)->key();
            if (key == Qt::Key_Escape) {
                Close(list);
                return true;
            }
            if ((key == Qt::Key_Return || key == Qt::Key_Enter) && plain) {
                Choose(FList->currentRow());
                return true;
            }
            if (key == Qt::Key_Return || key == Qt::Key_Enter) return true;
            break;
        }
        case QEvent::MouseButtonRelease:
            if (Watched == FListView) {
                const QModelIndex at = FList->indexAt(static_cast<QMouseEvent*>(E)->position().toPoint());
                if (at.isValid()) Choose(at.row());
                return true;
            }
            break;
        case QEvent::FocusOut:
            // A press on the grid leaves the column named: the release there decides whether
            // the same list opens again.
            if (Watched == list && list->isVisible() && !list->isAncestorOf(QApplication::focusWidget())) {
                list->hide();
                if (QApplication::focusWidget() != FGrid && QApplication::focusWidget() != FGrid->viewport())
                    FGrid->SetFilterCol(-1);
            }
            break;
        default: break;
        }
        return false;
    }

private:
    void Close(QListWidget* List)
    {
        List->hide();
        FGrid->SetFilterCol(-1);
        FGrid->setFocus();
    }
    void Choose(int Index)
    {
        FList->hide();
        if (FList->OnSelect) FList->OnSelect(Index);
    }
    TProStringGrid* FGrid;
    TDropList* FList;
    TDropCheckList* FChecks;
    QObject* FListView = nullptr;
};

}  // namespace

// ---- the column's list -----------------------------------------------------------------------

void TFilter::RemoveColumnFilter(int Col)
{
    std::erase_if(FItems, [Col](const auto& f) { return f->Column() == Col; });
    if (FOwner) FOwner->RepaintCell(FOwner->DisplColIndex(Col), 0);
}

void TProStringGrid::CollectFilterValues(int ACol, QStringList& Entries)
{
    // Gathered first, then sorted and made unique once.
    const int first = FixedRows(), last = RowCount() - FFixedFooters - 1;
    QStringList values;
    values.reserve(std::max(0, last - first + 1) + (FFilterIncremental ? 0 : int(FGridItems.size())));
    for (int r = first; r <= last; ++r) values.append(Trim(Cells(ACol, r)));
    if (!FFilterIncremental)
        for (const auto& item : FGridItems) values.append(Trim(item->Cell(ACol)));
    for (QString& v : values)
        if (v.contains(QLatin1Char(' '))) v = v + QStringLiteral("=\"") + v + QLatin1Char('"');
    std::sort(values.begin(), values.end(), [](const QString& a, const QString& b) {
        const int c = QString::compare(a, b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    values.erase(std::unique(values.begin(), values.end()), values.end());
    if (!FFilterDropDownClear.isEmpty()) values.prepend(FFilterDropDownClear);
    Entries = std::move(values);
}

QHash<QString, QString> TProStringGrid::AutoFilterValues(int ACol) const
{
    QHash<QString, QString> values;
    const auto it = FFilterListCache.Columns.find(ACol);
    if (!FFilterDropDownAuto || it == FFilterListCache.Columns.end()) return values;
    // The first entry is the clearing one when there is one.
    for (qsizetype i = FFilterDropDownClear.isEmpty() ? 0 : 1; i < it->second.size(); ++i)
        values.insert(it->second[i], AutoEntryValue(it->second[i]));
    return values;
}

bool TProStringGrid::GetFilterList(int ACol)
{
    TGridStrings* list = FFilterList.get();
    list->Sorted = false;
    list->IgnoreDuplicates = false;
    if (FFilterDropDownAuto && (ACol >= FixedCols() || FFilterDropDownColumns == fdAll)) {
        // Kept per column until a cell is written or the rows it was taken from change; the
        // paint asks for it for every cell of the filter row.
        TFilterListCache& k = FFilterListCache;
        const quint64 hidden = FFilterIncremental ? FHiddenRowsVersion : 0;
        const int rows = FFilterIncremental ? RowCount() : RowCount() + HiddenRowCount();
        if (k.Store != StoreVersion() || k.Hidden != hidden || k.Rows != rows || k.Fixed != FixedRows() ||
            k.Footers != FFixedFooters || k.Incremental != FFilterIncremental || k.Clear != FFilterDropDownClear) {
            k = TFilterListCache{StoreVersion(), hidden, rows, FixedRows(), FFixedFooters, FFilterIncremental,
                                 FFilterDropDownClear, {}};
        }
        auto it = k.Columns.find(ACol);
        if (it == k.Columns.end()) {
            it = k.Columns.emplace(ACol, QStringList()).first;
            CollectFilterValues(ACol, it->second);
        }
        list->SetStrings(it->second);
    } else {
        list->Clear();
    }
    if (OnGetColumnFilter) OnGetColumnFilter(this, ACol, list);
    return list->Count() > 0;
}

// ---- choosing --------------------------------------------------------------------------------

void TProStringGrid::FilterSelect(TObject* Sender, int ItemIndex)
{
    (void)Sender;
    const int col = FFilterCol;
    if (col >= 0 && col < AllColCount()) {
        GetFilterList(col);
        if (ItemIndex >= 0 && ItemIndex < FFilterList->Count()) {
            setFocus();
            const QString entry = (*FFilterList)[ItemIndex];
            QString name, condition;
            SplitEntry(entry, name, condition);
            // A value taken from the column's cells filters for exactly that text, whatever
            // characters of the condition language it holds.
            QString value;
            const bool literal = LiteralValue(AutoFilterValues(col), entry, FFilterDropDownClear, value);
            if (literal) name = condition = value;
            if (FAutoFilterUpdate) SetFilterActive(false);
            if (condition == FFilterDropDownClear) condition.clear();
            const QString offered = condition;
            if (OnFilterSelect) OnFilterSelect(this, col, ItemIndex, name, condition);
            if (!condition.isEmpty()) {
                TFilterData* f = FFilter->GetColFilter(col);
                f->SetCondition(condition);
                f->SetMethod(literal && condition == offered ? fmLiteral : fmExpression);
            } else {
                FFilter->RemoveColumnFilter(col);
            }
            if (FAutoFilterUpdate) {
                FFixedRowAlways = true;
                SetFilterActive(true);
                if (RowCount() > FixedRows()) SetRow(FixedRows());
                FilterDone();
            }
        }
    }
    FFilterCol = -1;
}

void TProStringGrid::FilterCheckSelect(TObject* Sender, int ItemIndex)
{
    (void)Sender;
    (void)ItemIndex;
    const int col = FFilterCol;
    if (col < 0 || col >= AllColCount()) return;
    GetFilterList(col);
    if (FAutoFilterUpdate) SetFilterActive(false);
    FFilter->Clear();
    bool first = true;
    const QHash<QString, QString> values = AutoFilterValues(col);
    for (int i = 0; i < FDropCheckList->count() && i < FFilterList->Count(); ++i) {
        if (FDropCheckList->item(i)->checkState() != Qt::Checked) continue;
        const QString entry = (*FFilterList)[i];
        QString name, condition;
        SplitEntry(entry, name, condition);
        QString value;
        const bool literal = LiteralValue(values, entry, FFilterDropDownClear, value);
        if (literal) name = condition = value;
        if (condition == FFilterDropDownClear) condition.clear();
        const QString offered = condition;
        if (OnFilterCheck) OnFilterCheck(this, col, i, name, condition, FDropCheckList);
        TFilterData* f = FFilter->Add();
        f->SetColumn(int16_t(col));
        f->SetCondition(condition);
        f->SetMethod(literal && condition == offered ? fmLiteral : fmExpression);
        f->SetOperation(first ? foNONE : foOR);
        first = false;
    }
    SetFilterActive(true);
    FDropCheckList->viewport()->update();
}

// ---- opening the list ------------------------------------------------------------------------

void TProStringGrid::FilterDropDownMouseUp(int ACol, int ARow, int X, int Y, int OpenCol)
{
    // The release on the glyph of the column whose list was open closes it for good.
    if (ACol >= 0 && ARow == FFilterDropDownRow) {
        const TRect cr = CellRect(ACol, ARow);
        const int rc = RealColIndex(ACol);
        const int x = MirrorXInCell(X, cr);
        if (x > cr.Right - 16 && x < cr.Right - 3 && Y < cr.Top + 19 && rc != OpenCol && GetFilterList(rc)) {
            ShowFilterDropDown(ACol, rc);
            return;
        }
    }
    // A list that closed itself when the press took the focus names no column any more.
    if (!FDropList->isVisible() && !FDropCheckList->isVisible()) FFilterCol = -1;
}

void TProStringGrid::ShowFilterDropDown(int ACol, int RealCol)
{
    if (!findChild<TFilterListHooks*>(QStringLiteral("filterListHooks"), Qt::FindDirectChildrenOnly))
        new TFilterListHooks(this, FDropList, FDropCheckList);
    FFilterCol = RealCol;
    QListWidget* list = FFilterDropDownCheck ? static_cast<QListWidget*>(FDropCheckList) : static_cast<QListWidget*>(FDropList);
    // The other list of a former opening goes.
    (FFilterDropDownCheck ? static_cast<QListWidget*>(FDropList) : static_cast<QListWidget*>(FDropCheckList))->hide();
    TFilterDropDown* dd = FFilterDropDown.get();
    QPalette pal = list->palette();
    pal.setColor(QPalette::Base, ColorToQColor(dd->Color()));
    list->setPalette(pal);
    list->setFont(dd->Font()->ToQFont());
    const QSignalBlocker block(list);
    list->clear();
    const QFontMetrics fm(list->font());
    int widest = 0;
    const QHash<QString, QString> values = AutoFilterValues(RealCol);
    for (int i = 0; i < FFilterList->Count(); ++i) {
        const QString entry = (*FFilterList)[i];
        QString name, condition;
        SplitEntry(entry, name, condition);
        QString value;
        const bool literal = LiteralValue(values, entry, FFilterDropDownClear, value);
        if (literal) name = value;
        auto* item = new QListWidgetItem(name, list);
        widest = std::max(widest, fm.horizontalAdvance(name) + 8);
        if (!FFilterDropDownCheck) continue;
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        const QString quoted = name.contains(QLatin1Char(' ')) ? QLatin1Char('"') + name + QLatin1Char('"') : name;
        bool ticked = false;
        for (int k = 0; k < FFilter->Count() && !ticked; ++k) {
            const TFilterData* f = FFilter->GetItem(k);
            ticked = f->Column() == RealCol &&
                     (literal && f->Method() == fmLiteral ? f->Condition() == name : f->Condition() == quoted);
        }
        item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    }
    if (!FFilterDropDownCheck && list->count() > 0) list->setCurrentRow(0);
    // Two pixels of sunken edge on each side.
    constexpr int Edge = 2;
    int w = dd->Width(), h = dd->Height();
    if (dd->AutoSize()) {
        const int itemHeight = list->count() > 0 ? list->sizeHintForRow(0) : fm.height();
        h = list->count() * itemHeight + 2 * Edge;
        w = widest + 2 * Edge;
    }
    const TRect cr = CellRect(ACol, FFilterDropDownRow);
    // Under the glyph; right to left, the glyph is at the cell's left and the list ends at its
    // right edge.
    int left = cr.Right - 16;
    if (UseRightToLeftAlignment()) left = std::max(0, MirrorInCell({cr.Right - 16, 0, cr.Right, 0}, cr).Right - w);
    const int top = cr.Top + 16;
    if (dd->ColumnWidth()) {
        left = cr.Left;
        w = cr.Width();
    }
    if (left + w > ClientWidth()) left = std::max(0, CellRect(ACol, 0).Right - w);
    // Placed in the grid's client area, over the cells.
    if (list->parentWidget() != viewport()) list->setParent(viewport());
    list->setGeometry(left, top, w, h);
    list->show();
    list->raise();
    list->setFocus();
}

// ---- the fixed cells' drop-down button -------------------------------------------------------

bool TProStringGrid::CanShowFixedDropDown(int ACol)
{
    bool can = true;
    if (OnCanShowFixedDropDown) OnCanShowFixedDropDown(this, ACol, can);
    return can;
}

bool TProStringGrid::FixedDropDownMouseDown(TMouseButton Button, int ACol, int ARow, int X)
{
    (void)Button;
    if (ACol < 0 || ARow < 0 || !FControlLook->FixedDropDownButton() || !IsHoverFixedCell(ACol, ARow)) return false;
    const TRect cr = CellRect(ACol, ARow);
    if (X < cr.Right - 16 || X >= cr.Right || (Options().Contains(goColSizing) && X >= cr.Right - 2)) return false;
    const int rc = RealColIndex(ACol);
    if (!CanShowFixedDropDown(rc)) return false;
    FDropDownDown = true;
    RepaintCell(ACol, ARow);
    TPopupMenu* menu = FFixedDropDownMenu;
    if (!menu && !OnFixedDropDownClick) return true;
    if (menu) menu->Tag = rc;
    bool keepHot = false;
    if (OnFixedDropDownClick) OnFixedDropDownClick(this, rc, ARow, menu, keepHot);
    if (!menu) return true;
    // The cell shows hot while its menu is open; afterwards only when the event asked.
    FHoverFixedX = ACol;
    FHoverFixedY = ARow;
    FMouseDownMove = false;
    QObject::connect(
        menu, &QMenu::aboutToHide, this,
        [this, keepHot] {
            if (!keepHot) FHoverFixedX = FHoverFixedY = -1;
            Invalidate();
        },
        Qt::SingleShotConnection);
    const QPoint at = viewport()->mapToGlobal(QPoint(cr.Right - 16, cr.Bottom));
    menu->Popup(at.x(), at.y());
    return true;
}
