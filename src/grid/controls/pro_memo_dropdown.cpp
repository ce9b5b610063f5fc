// The memo drop-down: the memo in the pop-up, its keys, and the edit's first-line display.
#include "grid/controls/pro_memo_dropdown.h"

#include "grid/controls/dropdown_styles.h"

#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextCursor>

namespace {
QStringList LinesOf(const QString& S)
{
    QString s = S;
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return s.isEmpty() ? QStringList() : s.split(QLatin1Char('\n'));
}
} // namespace

TProMemoDropDown::TProMemoDropDown(QWidget* AParent) : TProCustomDropDown(AParent)
{
    connect(this, &QLineEdit::textChanged, this, [this] { Change(); });
}

void TProMemoDropDown::Change()
{
    // the edit's own rewrite of the first line is no new text
    if (FInternalUpdate) return;
    FMemoText = LinesOf(text());
}

void TProMemoDropDown::SetMemoText(const QStringList& v)
{
    FMemoText = v;
    if (FMemo) FMemo->setPlainText(v.join(QLatin1Char('\n')));
    UpdateEditText();
}

void TProMemoDropDown::SetMemoReadOnly(bool v)
{
    FMemoReadOnly = v;
    if (FMemo && FDroppedDown) FMemo->setReadOnly(v);
}

void TProMemoDropDown::UpdateEditText()
{
    QString shown;
    if (FMemoText.isEmpty() || EditorEnabled()) {
        shown = FMemoText.join(QLatin1Char('\n'));
    } else {
        const QString first = FMemoText.first();
        const QMargins m = textMargins();
        // the formatting rectangle: inside the frame and the margins, 2 pixels each side
        const int width = contentsRect().width() - m.left() - m.right() - 4;
        QImage surface(1, 1, QImage::Format_RGB32);
        TCanvas c(&surface);
        c.Font()->SetName(font().family());
        if (font().pointSize() > 0) c.Font()->SetSize(font().pointSize());
        if (MeasureText(&c, first).width() < width)
            shown = FMemoText.size() > 1 ? first + QStringLiteral("...") : first;
        else
            shown = FitTextToWidth(&c, first, width, true);
    }
    FInternalUpdate = true;
    SetTextDirect(shown);
    FInternalUpdate = false;
}

void TProMemoDropDown::CreateDropDownForm()
{
    TProCustomDropDown::CreateDropDownForm();
    if (FMemo) return;
    FMemo = new QPlainTextEdit(FDropDownForm);
    FMemo->resize(width(), 100);
    FMemo->setFrameShape(QFrame::NoFrame);
    FMemo->installEventFilter(this);
    connect(FMemo, &QPlainTextEdit::textChanged, this, [this] {
        // the edit's length limit holds for the memo too
        // the edit's length limit holds for the memo too: an input past it is refused
        const QString t = FMemo->toPlainText();
        if (FMemoMaxLength > 0 && t.size() > FMemoMaxLength && t.size() > FLastMemoText.size()) {
            const int caret = FMemo->textCursor().position() - int(t.size() - FLastMemoText.size());
            const QSignalBlocker quiet(FMemo);
            FMemo->setPlainText(FLastMemoText);
            QTextCursor c = FMemo->textCursor();
            c.setPosition(std::clamp(caret, 0, int(FLastMemoText.size())));
            FMemo->setTextCursor(c);
            return;
        }
        FLastMemoText = t;
        if (OnMemoChange) OnMemoChange(this);
    });
    SetFocusControl(FMemo);
    SetControl(FMemo);
}

void TProMemoDropDown::BeforeDropDown()
{
    TProCustomDropDown::BeforeDropDown();
    FDropDownForm->CancelOnDeActivate = false;
    // QLineEdit's default limit means none
    FMemoMaxLength = maxLength() < 32767 ? maxLength() : 0;
    FMemo->setPlainText(FMemoText.join(QLatin1Char('\n')));
    FMemo->setContextMenuPolicy(MemoPopup ? Qt::CustomContextMenu : Qt::DefaultContextMenu);
    FMemo->disconnect(SIGNAL(customContextMenuRequested(QPoint)));
    if (MemoPopup)
        connect(FMemo, &QWidget::customContextMenuRequested, this,
                [this](const QPoint& p) { MemoPopup->popup(FMemo->mapToGlobal(p)); });
    const bool h = MemoScrollBars == ssHorizontal || MemoScrollBars == ssBoth;
    const bool v = MemoScrollBars == ssVertical || MemoScrollBars == ssBoth;
    FMemo->setHorizontalScrollBarPolicy(h ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    FMemo->setVerticalScrollBarPolicy(v ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    FMemo->setLineWrapMode(h ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
    FMemo->setReadOnly(FMemoReadOnly);
}

void TProMemoDropDown::DoHideDropDown(bool Cancel)
{
    if (!FDroppedDown) return;
    const bool autoDrop = AutoDrop;
    AutoDrop = false;
    if (Cancel && FMemo) FMemo->setPlainText(FMemoText.join(QLatin1Char('\n')));
    // the base's cancel rewrites the edit with its last set value: keep the lines shown
    FOldText = Text();
    FInternalUpdate = true;
    TProCustomDropDown::DoHideDropDown(Cancel);
    FInternalUpdate = false;
    AutoDrop = autoDrop;
}

void TProMemoDropDown::DropDownFormHidden()
{
    TProCustomDropDown::DropDownFormHidden();
    if (FMemo) FMemoText = LinesOf(FMemo->toPlainText());
    UpdateEditText();
    SetSel(0, 0);
}

void TProMemoDropDown::focusInEvent(QFocusEvent* e)
{
    TProCustomDropDown::focusInEvent(e);
    if (AutoDrop && e->reason() != Qt::PopupFocusReason && !FDroppedDown) ShowDropDown();
}

bool TProMemoDropDown::eventFilter(QObject* Watched, QEvent* e)
{
    if (Watched != FMemo || (e->type() != QEvent::KeyPress && e->type() != QEvent::ShortcutOverride))
        return TProCustomDropDown::eventFilter(Watched, e);
    auto* k = static_cast<QKeyEvent*>(e);
    const bool alt = k->modifiers() & Qt::AltModifier;
    const bool toEdit = alt || k->key() == Qt::Key_Escape || k->key() == Qt::Key_F4;
    if (e->type() == QEvent::ShortcutOverride) {
        // the memo keeps Enter and Escape from the dialog around it
        if (toEdit || k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) e->accept();
        return false;
    }
    if (k->key() == Qt::Key_A && (k->modifiers() & Qt::ControlModifier)) {
        FMemo->selectAll();
        return true;
    }
    if (!toEdit) return false;
    keyPressEvent(k);
    return true;
}
