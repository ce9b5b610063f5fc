// Editors an application plugs into cells (TEditLink), the rich edit of rich-text cells and
// the conversions between a cell's text and it, and the editors of header cells.
#include "grid/control/editor_link.h"

#include "grid/render/grid_paint.h"
#include "platform/ui/inplace_edit.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QShowEvent>
#include <QTextBlock>
#include <QTimer>

namespace {

bool IsEnterKey(int k) { return k == Qt::Key_Return || k == Qt::Key_Enter; }

// The widget of the grid that holds the focus when the grid has it.
bool FocusIsOnGrid(TProStringGrid* G, QWidget* W)
{
    return W && (W == G || W == G->viewport());
}

void PostKeyDown(QWidget* W, int QtKey)
{
    QCoreApplication::postEvent(W, new QKeyEvent(QEvent::KeyPress, QtKey, Qt::NoModifier));
}

}  // namespace

// ---------------------------------------------------------------- TEditLink

TEditLink::TEditLink(QObject* AOwner) : QObject(AOwner) {}

TEditLink::~TEditLink()
{
    if (FPopupForm) delete FPopupForm.data();
}

QWidget* TEditLink::GetParent()
{
    if (FEditStyle == esPopup && FPopupForm) return FPopupForm;
    return FOwner;
}

QString TEditLink::GetCellValue()
{
    if (!FOwner) return QString();
    return FOwner->Cells(FOwner->RealColIndex(FOwner->Col()), FOwner->Row());
}

void TEditLink::SetCellValue(const QString& s)
{
    if (FOwner) FOwner->SetEditedCell(FOwner->RealColIndex(FOwner->Col()), FOwner->Row(), s);
}

void TEditLink::HideEditor()
{
    SetCellValue(GetEditorValue());
    if (FOwner) FOwner->HideInplaceEdit();
    RestoreWinProc();
}

void TEditLink::RestoreWinProc()
{
    QWidget* C = GetEditControl();
    if (FEditStyle != esInplace || !C) return;
    FSubClassed = false;
    C->hide();
}

void TEditLink::EditExit(QObject* Sender)
{
    (void)Sender;
    HideEditor();
    if (FEditStyle == esPopup && FPopupForm) {
        DestroyEditor();
        FPopupForm->hide();
    }
}

void TEditLink::FormExit(QObject* Sender)
{
    if (!FOwner) return;
    if (TInplaceEdit* e = FOwner->InplaceEditor()) e->setText(GetEditorValue());
    if (FForcedExit) {
        SetCellValue(GetEditorValue());
        return;
    }
    EditExit(Sender);
}

void TEditLink::SetFocus(bool Value)
{
    QWidget* C = GetEditControl();
    if (!C) {
        if (!Value && FOwner) FOwner->SetFocus();
        return;
    }
    if (Value) {
        if (!C->isVisible()) C->show();
        if (!C->isEnabled()) C->setEnabled(true);
        // the control's keys pass through the grid first, Tab included while goTabs is on
        if (FEditStyle == esInplace && !FSubClassed) FSubClassed = true;
        Wire(C);
        C->setFocus(Qt::OtherFocusReason);
    } else if (FOwner) {
        FOwner->SetFocus();
    }
}

void TEditLink::SetRect(TRect r)
{
    QWidget* C = GetEditControl();
    if (!C) return;
    const int line = FOwner ? FOwner->GridLineWidth() : 0;
    C->setGeometry(r.Left, r.Top, r.Right - r.Left - line, r.Bottom - r.Top - line);
}

void TEditLink::SetVisible(bool Value)
{
    if (QWidget* C = GetEditControl()) C->setVisible(Value);
}

void TEditLink::Wire(QWidget* C)
{
    if (FWired == C) return;
    if (FWired) FWired->removeEventFilter(this);
    FWired = C;
    C->installEventFilter(this);
}

void TEditLink::GridGone(TProStringGrid* G)
{
    if (FOwner != G) return;
    if (FWired) FWired->removeEventFilter(this);
    FWired = nullptr;
    FOwner = nullptr;
}

bool TEditLink::eventFilter(QObject* Watched, QEvent* E)
{
    if (Watched == FPopupForm && E->type() == QEvent::WindowDeactivate) {
        if (FPopupForm->isVisible()) FormExit(Watched);
        return false;
    }
    // nothing reaches a grid that is going away (its children lose the focus as it goes)
    if (Watched != FWired || !FOwner || FOwner->Destroying() || FOwner->FTornDown) return false;
    switch (E->type()) {
    case QEvent::ShortcutOverride: {
        // Enter and Escape belong to the editor, not to the window's buttons
        auto* k = static_cast<QKeyEvent*>(E);
        if (IsEnterKey(k->key()) || k->key() == Qt::Key_Escape) E->accept();
        return false;
    }
    case QEvent::KeyPress: {
        auto* k = static_cast<QKeyEvent*>(E);
        int key = k->key() == Qt::Key_Backtab ? VK_TAB : QtKeyToVirtualKey(k->key());
        if (key == 0) return false;
        TShiftState shift = ShiftStateOf(k);
        if (k->key() == Qt::Key_Backtab) shift.Include(ssShift);
        const QPointer<QObject> alive(Watched);
        EditKeyDown(Watched, key, shift);
        // a control the link destroyed while closing takes no further part in the key
        return key == 0 || !alive;
    }
    case QEvent::FocusOut: {
        // the link's own closing moves the focus on purpose and stores the value itself
        if (FForcedExit || !FOwner->GetEditMode()) return false;
        QWidget* to = QApplication::focusWidget();
        if (to && FWired && FWired->isAncestorOf(to)) return false;
        if (static_cast<QFocusEvent*>(E)->reason() == Qt::PopupFocusReason) return false;
        EditExit(Watched);
        return false;
    }
    default: return false;
    }
}

void TEditLink::EditKeyDown(QObject* Sender, int& Key, TShiftState Shift)
{
    TProStringGrid* G = FOwner;
    if (!G) return;
    const int k0 = Key;
    bool handled = k0 == VK_TAB || k0 == VK_RETURN || k0 == VK_ESCAPE || k0 == VK_PRIOR || k0 == VK_NEXT ||
                   k0 == VK_END || (k0 >= VK_LEFT && k0 <= VK_DOWN) || Shift.Contains(ssAlt);
    if (FWantKeyUpDown && (k0 == VK_UP || k0 == VK_DOWN)) handled = false;
    if (FWantKeyLeftRight && (k0 == VK_LEFT || k0 == VK_RIGHT)) handled = false;
    if (FWantKeyHomeEnd && (k0 == VK_END || k0 == VK_HOME)) handled = false;
    if (FWantKeyPriorNext && (k0 == VK_PRIOR || k0 == VK_NEXT)) handled = false;
    if (FWantKeyReturn && k0 == VK_RETURN) handled = false;
    if (FWantKeyEscape && k0 == VK_ESCAPE) handled = false;
    if (FWantTabs && k0 == VK_TAB) handled = false;
    if (!handled) return;

    // The grid takes the focus back as its own move: its entering must not validate the
    // cell before the editor's value is in it.
    auto takeFocus = [&] {
        FForcedExit = true;
        const bool block = G->FBlockFocus;
        G->FBlockFocus = true;
        G->SetFocus();
        G->FBlockFocus = block;
        FForcedExit = false;
    };
    auto close = [&] {
        takeFocus();
        G->CloseCellEditor(G->Col(), G->Row());
    };
    if (k0 == VK_TAB) {
        if (G->Navigation()->TabToNextAtEnd()) {
            close();
            G->EditMode = false;
            const int c = G->Col(), r = G->Row();
            G->TabNavigate(Shift.Contains(ssShift));
            if ((G->Col() != c || G->Row() != r) && !G->HasClickControl(G->RealCol(), G->Row()))
                PostKeyDown(G, Qt::Key_F2);
            Key = 0;
            return;
        }
        Key = 0;
    }
    // Escape gives the control back the text the cell had when editing began.
    if (k0 == VK_ESCAPE) SetEditorValue(G->FCellCache);
    close();
    if (FEditStyle == esPopup) EditExit(Sender);
    G->EditMode = false;
    G->CanSelectCell(G->Col(), G->Row());
    if (G->FLastValidation) {
        if (k0 == VK_RETURN) {
            G->AdvanceEdit(G->Col(), G->Row(), false, true, !Shift.Contains(ssShift), false, true);
        } else if (k0 != VK_ESCAPE) {
            if (k0 == VK_TAB || (k0 >= VK_LEFT && k0 <= VK_DOWN)) {
                int k = k0;
                G->KeyDown(k, Shift);
            }
            if (QWidget* C = GetEditControl()) C->setEnabled(false);
            takeFocus();
            if (G->Options().Contains(goTabs) && k0 == VK_TAB && !G->HasClickControl(G->RealCol(), G->Row()))
                PostKeyDown(G, Qt::Key_F2);
        }
        Key = 0;
        return;
    }
    // The value was refused: the editor opens again on the cell (unless the validation
    // already reopened it).
    G->FLastValidation = true;
    QWidget* C = GetEditControl();
    if (!G->EditMode || !C || !C->isVisible()) G->OpenCellEditor(G->Col(), G->Row());
    Key = 0;
}

// ---------------------------------------------------------------- the grid's side of a link

void TProStringGrid::OpenEditLink(int C, int ARow, const TRect& R, TColor Bk, const TFont& AFont, const QString& T)
{
    TEditLink* L = FEditLink;
    if (!L) {
        EditMode = false;
        return;
    }
    EditMode = true;
    L->FOwner = this;
    L->FEditCell = {C, ARow};
    const QPoint at = viewport()->mapTo(this, QPoint(R.Left, R.Top));
    const TRect cell{at.x(), at.y(), at.x() + R.Width(), at.y() + R.Height()};
    if (L->FEditStyle == esPopup) {
        if (L->FAutoPopupWidth) L->FPopupWidth = R.Right - R.Left;
        if (!L->FPopupForm) {
            // one pop-up form of that name at a time in the application
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->objectName() == QLatin1String("gridform")) w->deleteLater();
            auto* form = new QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
            form->setObjectName(QStringLiteral("gridform"));
            form->installEventFilter(L);
            L->FPopupForm = form;
        }
        const QPoint P = L->FPopupLeft == -1 || L->FPopupTop == -1 ? mapToGlobal(QPoint(cell.Left, cell.Top))
                                                                   : QPoint(L->FPopupLeft, L->FPopupTop);
        QWidget* form = L->FPopupForm;
        form->move(P);
        form->show();
        form->move(P);
        form->resize(L->FPopupWidth, L->FPopupHeight);
        L->CreateEditor(form);
        L->SetRect(TRect{0, 0, L->FPopupWidth, L->FPopupHeight});
    } else {
        L->CreateEditor(this);
        L->SetRect(cell);
    }
    L->SetVisible(true);
    TFont font;
    font.Assign(AFont);
    L->SetCellProps(Bk, &font);
    L->SetProperties();
    GetEditorProp(C, ARow, L);
    L->SetEditorValue(T);
    const QChar K = FStartEditChar;
    L->SetFocus(true);
    FEditActive = true;
    FStartEditChar = K;
    if (!K.isNull())
        if (QWidget* w = L->GetEditControl())
            QCoreApplication::postEvent(w, new QKeyEvent(QEvent::KeyPress, 0, Qt::NoModifier, QString(K)));
    EditCtrl = L->GetEditControl();
}

void TProStringGrid::CloseEditLink(int C, int ARow)
{
    if (FControlLook->DropDownAlwaysVisible()) GetCellEditorType(C, ARow, EditControl);
    if (TEditLink* L = FEditLink) {
        SetEditedCell(C, ARow, L->GetEditorValue());
        if (L->FEditStyle != esPopup) L->SetVisible(false);
        L->RestoreWinProc();
    }
    EditMode = false;
}

// ---------------------------------------------------------------- rich text

TProRichEdit* TProStringGrid::RichEdit()
{
    if (!FRichEdit) {
        FRichEdit = new TProRichEdit(this);
        FRichEdit->setFrameStyle(QFrame::NoFrame);
        FRichEdit->setGeometry(0, 0, 0, 0);
        FRichEdit->hide();
    }
    return FRichEdit;
}

TProRichEdit* TProStringGrid::InplaceRichEdit()
{
    if (!FInplaceRichEdit) {
        FInplaceRichEdit = new TProRichEdit(this);
        FInplaceRichEdit->hide();
        connect(FInplaceRichEdit.data(), &QTextEdit::selectionChanged, this, [this] {
            if (OnRichEditSelectionChange) OnRichEditSelectionChange(this);
        });
    }
    return FInplaceRichEdit;
}

void TProStringGrid::CellToRich(int ACol, int ARow, TProRichEdit* Richeditor)
{
    if (!Richeditor) return;
    const QString T = Cells(ACol, ARow);
    if (T.isEmpty()) {
        Richeditor->clear();
        return;
    }
    // The text goes in whole: characters beyond one byte stay what they are.
    LoadRichText(*Richeditor->document(), T);
}

QString TProStringGrid::RichToString(TProRichEdit* Richeditor)
{
    if (Destroying() || FTornDown || !Richeditor) return QString();
    return DocumentToRtf(*Richeditor->document());
}

void TProStringGrid::RichToCell(int ACol, int ARow, TProRichEdit* Richeditor)
{
    SetCells(ACol, ARow, RichToString(Richeditor));
}

void TProStringGrid::OpenRichEditor(int C, int ARow, const TRect& R, TColor Bk)
{
    EditMode = true;
    TProRichEdit* e = InplaceRichEdit();
    e->ReCreate();
    e->setFrameStyle(QFrame::NoFrame);
    const QPoint at = viewport()->mapTo(this, QPoint(R.Left, R.Top));
    e->setGeometry(at.x(), at.y(), R.Width() - 1, R.Height() - 1);
    GetEditorProp(C, ARow, FEditLink);
    e->Lock();
    CellToRich(C, ARow, e);
    if (FNavigation->EditSelectAll()) e->selectAll();
    else e->moveCursor(QTextCursor::End);
    e->show();
    e->raise();
    e->setEnabled(true);
    e->document()->setDocumentMargin(2);
    QPalette pal = e->palette();
    pal.setColor(QPalette::Base, ColorToQColor(Bk));
    e->setPalette(pal);
    e->setFocus(Qt::OtherFocusReason);
    if (!FStartEditChar.isNull())
        QCoreApplication::postEvent(e, new QKeyEvent(QEvent::KeyPress, 0, Qt::NoModifier, QString(FStartEditChar)));
    e->Unlock();
    EditCtrl = e;
}

void TProStringGrid::CloseRichEditor(int C, int ARow)
{
    TProRichEdit* e = FInplaceRichEdit;
    if (e) {
        SetEditedCell(C, ARow, RichToString(e));
        if (e->hasFocus()) SetFocus();
        e->hide();
    }
    EditMode = false;
}

TProRichEdit::TProRichEdit(TProStringGrid* AOwner) : QTextEdit(AOwner), FGrid(AOwner)
{
    setAcceptRichText(false);
    connect(document()->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, this,
            [this](const QSizeF& s) { RequestResize(s); });
}

void TProRichEdit::RequestResize(QSizeF Size)
{
    if (!FGrid) return;
    if (this == FGrid->FRichEdit.data()) {
        FReqWidth = int(std::ceil(Size.width()));
        FReqHeight = int(std::ceil(Size.height()));
    }
    if (this != FGrid->FInplaceRichEdit.data() || FLocked || !isVisible()) return;
    if (!FGrid->SizeWhileTyping()->Height()) return;
    const int A = int(std::ceil(Size.height()));
    const int row = FGrid->Row();
    const TRect cell = FGrid->CellRect(FGrid->Col(), row);
    if (FGrid->RowHeights(row) < A + 5 && cell.Top + A + 5 < FGrid->height()) {
        resize(width(), A + 9);
        FGrid->SetRowHeights(row, A + 10);
        if (FGrid->OnEndRowSize) FGrid->OnEndRowSize(FGrid, row);
    }
}

void TProRichEdit::SetSelOffset(QTextCharFormat::VerticalAlignment A)
{
    QTextCharFormat f;
    f.setVerticalAlignment(A);
    QTextCursor c = textCursor();
    c.mergeCharFormat(f);
    mergeCurrentCharFormat(f);
}

QTextCharFormat::VerticalAlignment TProRichEdit::SelOffset() const
{
    const QTextCursor c = textCursor();
    if (!c.hasSelection()) return c.charFormat().verticalAlignment();
    QTextCursor first(document());
    first.setPosition(c.selectionStart() + 1);
    return first.charFormat().verticalAlignment();
}

bool TProRichEdit::event(QEvent* e)
{
    if (e->type() == QEvent::KeyPress && FGrid && this == FGrid->FInplaceRichEdit.data()) {
        auto* k = static_cast<QKeyEvent*>(e);
        if ((k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) && FGrid->Options().Contains(goTabs)) {
            // Tab moves on to the next cell and edits it there
            FGrid->SetFocus();
            int key = VK_TAB;
            TShiftState shift = ShiftStateOf(k);
            if (k->key() == Qt::Key_Backtab) shift.Include(ssShift);
            FGrid->KeyDown(key, shift);
            FGrid->ShowInplaceEdit();
            return true;
        }
    }
    return QTextEdit::event(e);
}

void TProRichEdit::keyPressEvent(QKeyEvent* e)
{
    QTextEdit::keyPressEvent(e);
    if (!FGrid || this != FGrid->FInplaceRichEdit.data()) return;
    if ((e->key() == Qt::Key_Up || e->key() == Qt::Key_Down) && !FGrid->WordWrap() && !FGrid->Multilinecells()) {
        FGrid->SetFocus();
        int key = QtKeyToVirtualKey(e->key());
        FGrid->KeyDown(key, ShiftStateOf(e));
    }
}

void TProRichEdit::focusOutEvent(QFocusEvent* e)
{
    if (FGrid && this == FGrid->FInplaceRichEdit.data() && isVisible() &&
        FocusIsOnGrid(FGrid, QApplication::focusWidget()))
        FGrid->HideInplaceEdit();
    QTextEdit::focusOutEvent(e);
}

// ---------------------------------------------------------------- RTF

namespace {

QString RtfEscaped(const QString& s)
{
    QString out;
    for (QChar ch : s) {
        const char16_t u = ch.unicode();
        if (u == '\\' || u == '{' || u == '}') out += QLatin1Char('\\') + ch;
        else if (u == '\t') out += QLatin1String("\\tab ");
        else if (u == 0x2028) out += QLatin1String("\\line ");
        else if (u < 0x80) out += ch;
        else if (u < 0x100) out += QStringLiteral("\\'%1").arg(int(u), 2, 16, QLatin1Char('0'));
        else out += QStringLiteral("\\u%1?").arg(int(int16_t(u)));
    }
    return out;
}

}  // namespace

QString DocumentToRtf(const QTextDocument& Doc)
{
    std::vector<QColor> colors;
    auto colorIndex = [&](const QColor& c) {
        for (size_t i = 0; i < colors.size(); ++i)
            if (colors[i] == c) return int(i) + 1;
        colors.push_back(c);
        return int(colors.size());
    };
    const QFont base = Doc.defaultFont();
    QString body;
    bool bold = false, italic = false, underline = false, strike = false;
    int color = 0, halfPoints = 0;
    QTextCharFormat::VerticalAlignment valign = QTextCharFormat::AlignNormal;
    for (QTextBlock b = Doc.begin(); b.isValid(); b = b.next()) {
        if (b != Doc.begin()) body += QLatin1String("\\par\n");
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const QTextCharFormat cf = f.charFormat();
            QString codes;
            const bool fb = cf.fontWeight() >= QFont::Bold;
            if (fb != bold) codes += fb ? QLatin1String("\\b") : QLatin1String("\\b0");
            bold = fb;
            if (cf.fontItalic() != italic) codes += cf.fontItalic() ? QLatin1String("\\i") : QLatin1String("\\i0");
            italic = cf.fontItalic();
            if (cf.fontUnderline() != underline)
                codes += cf.fontUnderline() ? QLatin1String("\\ul") : QLatin1String("\\ulnone");
            underline = cf.fontUnderline();
            if (cf.fontStrikeOut() != strike)
                codes += cf.fontStrikeOut() ? QLatin1String("\\strike") : QLatin1String("\\strike0");
            strike = cf.fontStrikeOut();
            const int fc = cf.hasProperty(QTextFormat::ForegroundBrush) ? colorIndex(cf.foreground().color()) : 0;
            if (fc != color) codes += QStringLiteral("\\cf%1").arg(fc);
            color = fc;
            const int hp = cf.hasProperty(QTextFormat::FontPointSize) ? int(std::lround(cf.fontPointSize() * 2)) : 0;
            if (hp != halfPoints && hp > 0) codes += QStringLiteral("\\fs%1").arg(hp);
            halfPoints = hp;
            if (cf.verticalAlignment() != valign) {
                switch (cf.verticalAlignment()) {
                case QTextCharFormat::AlignSuperScript: codes += QLatin1String("\\super"); break;
                case QTextCharFormat::AlignSubScript: codes += QLatin1String("\\sub"); break;
                default: codes += QLatin1String("\\nosupersub"); break;
                }
            }
            valign = cf.verticalAlignment();
            if (!codes.isEmpty()) body += codes + QLatin1Char(' ');
            body += RtfEscaped(f.text());
        }
    }
    QString colorTable;
    if (!colors.empty()) {
        colorTable = QLatin1String("{\\colortbl ;");
        for (const QColor& c : colors)
            colorTable += QStringLiteral("\\red%1\\green%2\\blue%3;").arg(c.red()).arg(c.green()).arg(c.blue());
        colorTable += QLatin1Char('}');
    }
    const int fs = base.pointSize() > 0 ? base.pointSize() * 2 : 16;
    return QStringLiteral("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil %1;}}").arg(RtfEscaped(base.family())) +
           colorTable + QStringLiteral("\n\\viewkind4\\uc1\\pard\\f0\\fs%1 ").arg(fs) + body +
           QLatin1String("\\par\n}\n");
}

// ---------------------------------------------------------------- header-cell editors

namespace {

// The editor was shown on a header cell: what it shows now counts as unchanged.
void LoadFixedEdit(TFixedCellEditState& E, const QString& Shown)
{
    E.FCellText = E.FGrid ? E.FGrid->Cells(E.FCol, E.FRow) : QString();
    E.FLoadedText = Shown;
}

// Hides the editor; the grid gets the focus back when the editor had it, without the
// focus loss ending the edit a second time.
template <typename Editor> void LeaveFixedEdit(Editor* E)
{
    if (E->hasFocus() && E->FGrid) {
        E->FLeaving = true;
        E->FGrid->SetFocus();
        E->FLeaving = false;
    }
    E->hide();
}

template <typename Editor> bool StopFixedEdit(Editor* E, const QString& Text)
{
    TProStringGrid* G = E->FGrid;
    if (!G) {
        E->hide();
        return true;
    }
    QString S = Text == E->FLoadedText ? E->FCellText : Text;
    bool Valid = true;
    if (G->OnCellValidate) G->OnCellValidate(G, E->FCol, E->FRow, S, Valid);
    if (!Valid) {
        const int c = G->RealToDisplColumn(E->FCol);
        if (c >= G->FixedCols() && c < G->ColCount()) G->SetCol(c);
        if (E->FRow >= G->FixedRows() && E->FRow < G->RowCount()) G->SetRowEx(E->FRow);
        // the focus comes back once the move that took it away has settled
        E->setFocus(Qt::OtherFocusReason);
        QTimer::singleShot(0, E, [E] {
            if (E->isVisible()) E->setFocus(Qt::OtherFocusReason);
        });
        return false;
    }
    if (G->OnEditingDone) G->OnEditingDone(G);
    G->SetCells(E->FCol, E->FRow, S);
    LeaveFixedEdit(E);
    return true;
}

// Enter ends the edit and Escape cancels it; neither reaches the window (its default or
// cancel button).  True when the event was taken.
template <typename Editor> bool FixedEditKeys(Editor* E, QEvent* e)
{
    if (e->type() != QEvent::KeyPress && e->type() != QEvent::ShortcutOverride) return false;
    const int k = static_cast<QKeyEvent*>(e)->key();
    if (!IsEnterKey(k) && k != Qt::Key_Escape) return false;
    e->accept();
    if (e->type() == QEvent::ShortcutOverride) return true;
    if (IsEnterKey(k)) E->StopEdit();
    else LeaveFixedEdit(E);   // the header cell was never written: it keeps its text
    return true;
}

}  // namespace

TGridTransEdit::TGridTransEdit(TProStringGrid* AGrid) : QLineEdit(AGrid)
{
    FGrid = AGrid;
    setFrame(false);
    hide();
    connect(this, &QLineEdit::textChanged, this, [this](const QString& t) {
        if (FGrid && FGrid->OnEditChange) FGrid->OnEditChange(FGrid, FCol, FRow, t);
    });
}

bool TGridTransEdit::StopEdit() { return StopFixedEdit(this, text()); }

bool TGridTransEdit::event(QEvent* e)
{
    if (isVisible() && FixedEditKeys(this, e)) return true;
    return QLineEdit::event(e);
}

void TGridTransEdit::showEvent(QShowEvent* e)
{
    QLineEdit::showEvent(e);
    if (!e->spontaneous()) LoadFixedEdit(*this, text());
}

void TGridTransEdit::focusOutEvent(QFocusEvent* e)
{
    QLineEdit::focusOutEvent(e);
    if (isVisible() && !FLeaving) StopEdit();
}

TGridTransCombo::TGridTransCombo(TProStringGrid* AGrid) : QComboBox(AGrid)
{
    FGrid = AGrid;
    hide();
}

bool TGridTransCombo::StopEdit() { return StopFixedEdit(this, currentText()); }

bool TGridTransCombo::event(QEvent* e)
{
    if (isVisible() && FixedEditKeys(this, e)) return true;
    return QComboBox::event(e);
}

void TGridTransCombo::showEvent(QShowEvent* e)
{
    QComboBox::showEvent(e);
    if (!e->spontaneous()) LoadFixedEdit(*this, currentText());
}

void TGridTransCombo::focusOutEvent(QFocusEvent* e)
{
    QComboBox::focusOutEvent(e);
    if (isVisible() && !FLeaving && e->reason() != Qt::PopupFocusReason) StopEdit();
}
