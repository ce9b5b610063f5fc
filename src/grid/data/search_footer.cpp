// The search footer's actions: look-up while typing, find next and previous, highlighting of
// the searched text and closing, wired to the search panel's edit and buttons.
#include "grid/control/pro_string_grid.h"

void TProStringGrid::WireSearchPanel()
{
    TSearchPanel* p = FSearchPanel;
    p->OnEditChange = [this] { SearchFooterEditChange(); };
    p->OnForwardClick = [this] { SearchFooterFindNext(); };
    p->OnBackwardClick = [this] { SearchFooterFindPrevious(); };
    p->OnHighLightClick = [this] { SearchFooterHighlight(); };
    p->OnExitClick = [this] { SearchFooterClose(); };
    p->OnCreated = [this] { FireNotify(OnCreatedSearchFooter, this); };
    // Alt+letter typed in the edit reaches the buttons' accelerators.
    p->FEdit->OnDialogChar = [this](const QString& Text) {
        TMessage m{CM_DIALOGCHAR, Text.isEmpty() ? 0u : Text.at(0).unicode(), 0, 0};
        HandleDialogChar(m);
        return m.Result != 0;
    };
}

void TProStringGrid::SearchFooterAction(const QString& Value, int ACol, int ARow, TSearchAction SearchAction)
{
    if (OnSearchFooterAction) OnSearchFooterAction(this, Value, ACol, ARow, SearchAction);
}

// Tags (or untags) the footer's text in the whole grid or in the search column, fixed cells
// excluded.
void TProStringGrid::SearchFooterTagRange(bool Tag)
{
    const int col = FSearchFooter->SearchColumn();
    const bool grid = col < 0 || col >= ColCount();
    if (!Tag) {
        if (grid) UnHilightInGrid(false);
        else UnHilightInCol(false, col);
        return;
    }
    const QString text = FSearchPanel->FEdit->text();
    const bool doCase = FSearchPanel->FMatchCase->Checked();
    if (grid) HilightInGrid(false, doCase, text);
    else HilightInCol(false, doCase, col, text);
}

void TProStringGrid::SearchFooterEditChange()
{
    TSearchPanel* p = FSearchPanel;
    TSearchFooter* sf = FSearchFooter.get();
    const QString text = p->FEdit->text();
    bool defaultSearch = true;
    if (OnSearchEditChange) OnSearchEditChange(this, text, defaultSearch);
    if (!defaultSearch || !sf->AutoSearch()) return;

    const bool hilite = p->FHiliteButton->Down();
    TFindParams fp{fnAutoGoto};
    if (hilite) fp += fnIgnoreHTMLTags;
    if (p->FMatchCase->Checked()) fp += fnMatchCase;
    if (sf->SearchActiveColumnOnly()) fp += fnFindInCurrentCol;
    if (sf->SearchMatchStart()) fp += fnMatchStart;
    if (sf->SearchFixedCells()) fp += fnIncludeFixed;
    if (sf->SearchHiddenRows()) fp += fnIncludeHiddenRows;
    if (sf->SearchDirection() == sdLeftRight) fp += fnDirectionLeftRight;
    if (sf->SearchColumn() >= 0 && sf->SearchColumn() < ColCount()) {
        fp += fnFindInPresetCol;
        FindCol = sf->SearchColumn();
    }
    if (hilite || sf->AlwaysHighLight()) SearchFooterTagRange(false);

    if (text.isEmpty()) {
        p->SetEditColor(clWindow);
        return;
    }
    SearchCell = Find({-1, -1}, text, fp);
    SearchFooterAction(text, SearchCell.X, SearchCell.Y, saFindFirst);
    if (SearchCell.X < 0) {
        p->SetEditColor(TColor(0x0000FF));
        return;
    }
    p->SetEditColor(clWindow);
    if (SearchCell.Y < RowCount()) ScrollInView(SearchCell.X, SearchCell.Y);
    if (hilite || sf->AlwaysHighLight()) SearchFooterTagRange(true);
}

void TProStringGrid::SearchFooterFind(bool Backward)
{
    TSearchPanel* p = FSearchPanel;
    TSearchFooter* sf = FSearchFooter.get();
    const QString text = p->FEdit->text();
    if (!sf->AutoSearch()) {
        if (text != sf->LastSearch()) SearchCell = {-1, -1};
        sf->SetLastSearch(text);
    }
    TFindParams fp{fnAutoGoto};
    if (Backward) fp += fnBackward;
    if (p->FHiliteButton->Down()) fp += fnIgnoreHTMLTags;
    if (p->FMatchCase->Checked()) fp += fnMatchCase;
    if (sf->SearchActiveColumnOnly()) fp += fnFindInCurrentCol;
    if (sf->SearchMatchStart()) fp += fnMatchStart;
    if (!Backward && sf->SearchDirection() == sdLeftRight) fp += fnDirectionLeftRight;
    if (sf->SearchColumn() >= 0 && sf->SearchColumn() < ColCount()) {
        fp += fnFindInPresetCol;
        FindCol = sf->SearchColumn();
    }
    SearchCell = Find(SearchCell, text, fp);
    if (SearchCell.X >= 0) {
        ScrollInView(SearchCell.X, SearchCell.Y);
        // Keep the found row clear of the rows the panel covers.
        const bool ff = FFloatingFooter->Visible();
        if (Row() > TopRow() + VisibleRowCount() + (ff ? 0 : 1) - 3 &&
            RowCount() > VisibleRowCount() + FixedRows() + (ff ? 1 : 0))
            SetTopRow(std::min(TopRow() + 2, std::max(FixedRows(), RowCount() - VisibleRowCount())));
    }
    SearchFooterAction(text, SearchCell.X, SearchCell.Y, Backward ? saFindPrevious : saFindNext);
    p->update();
}

void TProStringGrid::SearchFooterFindNext() { SearchFooterFind(false); }
void TProStringGrid::SearchFooterFindPrevious() { SearchFooterFind(true); }

void TProStringGrid::SearchFooterHighlight() { SearchFooterTagRange(FSearchPanel->FHiliteButton->Down()); }

void TProStringGrid::SearchFooterClose()
{
    FireNotify(OnSearchFooterClose, this);
    FSearchFooter->SetVisible(false);
}
