// Hooks that descendants and events take part in: rows inserted and deleted from the
// keyboard, a finished filter, the block-focus notifications, cell texts saved and loaded;
// and the notifications of child controls: the balloon tooltip asking for its text and the
// date picker reporting a new date.
#include "grid/base/html_text.h"
#include "grid/base/text_packing.h"
#include "grid/control/pro_string_grid.h"
#include "grid/render/grid_paint.h"
#include "platform/core/dateutils.h"
#include "platform/ui/notify.h"

#include <QCursor>
#include <QTextDocument>
#include <algorithm>

// ---- rows from the keyboard ------------------------------------------------------------------

void TProStringGrid::InsertRowHook(int ARow)
{
    if (!HasNodes()) {
        InsertRows(ARow, 1, true);
        return;
    }
    if (GetParentRow(RealToDisplRow(ARow)) == -1) InsertNormalRow(ARow);
    else InsertChildRow(ARow, 0);
}

bool TProStringGrid::KeepsLastNormalRow()
{
    return RowCount() - FixedRows() - FFixedFooters == 1 && !FFixedRowAlways;
}

void TProStringGrid::RemoveRowHook(int ARow)
{
    if (HasNodes()) {
        if (GetParentRow(RealToDisplRow(ARow)) == -1) RemoveNormalRow(ARow);
        else RemoveChildRow(ARow);
    } else if (KeepsLastNormalRow()) {
        ClearRows(ARow, 1);
    } else {
        RemoveRowsHook(ARow, 1);
    }
    if (OnAutoDeleteRow) OnAutoDeleteRow(this, ARow);
}

void TProStringGrid::FilterDone()
{
    if (OnFilterDone) OnFilterDone(this);
}

void TProStringGrid::StartBlockFocus()
{
    if (OnStartBlockFocus) OnStartBlockFocus(this);
}

void TProStringGrid::EndBlockFocus()
{
    if (OnEndBlockFocus) OnEndBlockFocus(this);
}

// ---- saving and loading cell texts ---------------------------------------------------------

QString TProStringGrid::RichPlainText(int ACol, int ARow)
{
    // The same reading as the rich editor's, without a window.
    QTextDocument doc;
    LoadRichText(doc, Cells(ACol, ARow));
    return doc.toPlainText();
}

void TProStringGrid::SaveCell(int ACol, int ARow, QString& Value)
{
    Value = FSaveVirtCells ? GetFormattedCell(ACol, ARow) : GetGridCell(ACol, ARow);
    if (Value.isEmpty()) {
        // An empty check box cell is saved as its check text.
        const TCellType t = GetCellType(ACol, ARow);
        bool checked = false;
        if (t == ctCheckBox) {
            GetCheckBoxState(ACol, RealRowIndex(ARow), checked);
        } else if (t == ctTriStateCheckBox) {
            TCheckBoxState s = cbUnchecked;
            GetCheckBoxState(ACol, RealRowIndex(ARow), s);
            checked = s == cbChecked;
        }
        if (t == ctCheckBox || t == ctTriStateCheckBox) {
            if (checked) GetCheckTrue(ACol, ARow, Value);
            else GetCheckFalse(ACol, ARow, Value);
        }
    }
    switch (CellTextKind(Value, true)) {
    case 1:
        if (!FSaveWithHTML) Value = HtmlToPlainText(Value);
        break;
    case 2:
        if (FSaveWithRTF) {
            Value.remove(QLatin1Char('\r'));
            Value.remove(QLatin1Char('\n'));
        } else {
            Value = RichPlainText(ACol, ARow);
        }
        break;
    default: break;
    }
    if (OnSaveCell) OnSaveCell(this, ACol, ARow, Value);
}

void TProStringGrid::LoadCell(int ACol, int ARow, const QString& Value)
{
    if (!OnLoadCell) {
        SetGridCell(ACol, ARow, Value);
        return;
    }
    QString v = Value;
    OnLoadCell(this, ACol, ARow, v);
    SetGridCell(ACol, ARow, v);
}

// ---- notifications -----------------------------------------------------------------------------

namespace {
constexpr int MaxToolTipText = 2048;
constexpr int MaxBalloonTitle = 100;
}  // namespace

void TProStringGrid::HandleNotifyMessage(TMessage& Message)
{
    auto* hdr = reinterpret_cast<TNMHdr*>(Message.LParam);
    if (!hdr) {
        TBaseGrid::DefaultHandler(Message);
        return;
    }
    switch (hdr->code) {
    case DTN_DATETIMECHANGE: {
        if (OnDateTimeChange) {
            const auto* dt = reinterpret_cast<TNMDateTimeChange*>(hdr);
            const TSystemTime& st = dt->st;
            TDateTime d = 0;
            // A cleared picker reports no day; its date counts as 0.
            if (st.wYear != 0 && st.wMonth != 0 && st.wDay != 0) {
                if (!TryEncodeDate(st.wYear, st.wMonth, st.wDay, d)) d = 0;
                TDateTime t = 0;
                if (d != 0 && TryEncodeTime(st.wHour, st.wMinute, st.wSecond, st.wMilliseconds, t)) d += t;
            }
            OnDateTimeChange(this, Col(), GetRowEx(), d);
        }
        TBaseGrid::DefaultHandler(Message);
        return;
    }
    case TTN_GETDISPINFOW: {
        if (!FBalloonSettings->Enable()) return;
        auto* info = reinterpret_cast<TNMTTDispInfo*>(hdr);
        const QPoint p = info->HasPos ? info->Pos : viewport()->mapFromGlobal(QCursor::pos());
        int c = -1, r = -1;
        MouseToCell(p.x(), p.y(), c, r);
        int bc = c, br = r;
        if (c >= 0 && r >= 0) ResolveBaseCell(c, r, bc, br);
        const int realCol = bc >= 0 ? DisplToRealColumn(bc) : -1;
        QString text;
        if (c != -1 && r != -1) {
            text = Cells(realCol, br);
            switch (CellTextKind(text, true)) {
            case 1: text = HtmlToPlainText(text); break;
            case 2: text = RichPlainText(realCol, br); break;
            case 5:
                text = GetWideCells(realCol, br);
                if (CellTextKind(text, true) == 5) text = UnpackWideText(text);
                break;
            default: break;
            }
        }
        text.replace(QLatin1Char('\t'), QLatin1Char(' '));
        int first = 0;
        while (first < text.size() &&
               (text[first] == QLatin1Char('\r') || text[first] == QLatin1Char('\n') || text[first] == QLatin1Char('\t')))
            ++first;
        text = text.mid(first);
        if (text.size() > MaxToolTipText) text = text.left(MaxToolTipText - 3) + QStringLiteral("...");

        int icon = 1;
        QString title = QStringLiteral(" ");
        if (realCol >= 0 && br >= 0) {
            TBalloonIcon bi = TBalloonIcon(icon);
            IsBalloon(realCol, br, title, text, bi);
            icon = int(bi);
            if (OnCellBalloon) OnCellBalloon(this, realCol, br, title, text, icon);
        }
        if (title.isEmpty()) title = QStringLiteral(" ");
        FLastBalloonPos = {bc, br};
        // A handler may have made the text longer again; the buffer has room for no more.
        const int n = int(std::min<qsizetype>(text.size(), MaxToolTipText));
        std::copy_n(reinterpret_cast<const char16_t*>(text.utf16()), n, FToolTipBuffer.begin());
        FToolTipBuffer[size_t(n)] = 0;
        info->lpszText = FToolTipBuffer.data();
        if (title.size() > MaxBalloonTitle) title = title.left(MaxBalloonTitle - 3) + QStringLiteral("...");

        QObject* tip = BalloonToolTip();
        SendMessageTo(tip, TTM_SETMAXTIPWIDTH, 0, 300);
        if (FBalloonSettings->TextColor() != clNone)
            SendMessageTo(tip, TTM_SETTIPTEXTCOLOR, intptr_t(ColorToRGB(FBalloonSettings->TextColor())), 0);
        if (FBalloonSettings->BackgroundColor() != clNone)
            SendMessageTo(tip, TTM_SETTIPBKCOLOR, intptr_t(ColorToRGB(FBalloonSettings->BackgroundColor())), 0);
        SendMessageTo(tip, TTM_SETTITLEW, icon, reinterpret_cast<intptr_t>(title.utf16()));
        return;
    }
    case TTN_SHOW:
    case TTN_POP: return;
    default: TBaseGrid::DefaultHandler(Message); return;
    }
}
