// The search footer's panel: its buttons and match-case box, its face, and the grid's search
// footer settings copied into it whenever they change.
#include "grid/base/grid_resources.h"
#include "grid/control/pro_string_grid.h"

#include <QKeyEvent>
#include <QPainter>

TRetEdit::TRetEdit(QWidget* AParent) : QLineEdit(AParent) {}

void TRetEdit::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        if (e->modifiers() & Qt::ControlModifier) {
            if (OnCtrlReturn) OnCtrlReturn();
        } else if (OnReturn) {
            OnReturn();
        }
        return;
    }
    if ((e->modifiers() & Qt::AltModifier) && OnDialogChar && OnDialogChar(e->text().isEmpty() ? QKeySequence(e->key()).toString() : e->text()))
        return;
    QLineEdit::keyPressEvent(e);
}

namespace {
// Gives a button one of its glyphs from the program's bitmap resources.
void Glyph(TProGridButton* b, void (TProGridButton::*set)(const TBitmap&), const char* name)
{
    TBitmap bmp;
    LoadResourceBitmap(bmp, QString::fromLatin1(name));
    (b->*set)(bmp);
}
}  // namespace

TSearchPanel::TSearchPanel(QWidget* AOwner) : QWidget(AOwner)
{
    FEdit = new TRetEdit(this);
    FEdit->resize(110, FEdit->sizeHint().height());
    connect(FEdit, &QLineEdit::textChanged, this, [this] { EditChanged(); });
    FEdit->OnReturn = [this] { EditReturn(); };
    FEdit->OnCtrlReturn = [this] { EditCtrlReturn(); };
    FExitButton = new TProGridButton(this);
    FExitButton->resize(14, 14);
    Glyph(FExitButton, &TProGridButton::SetGlyph, "PSGCLOSE");
    Glyph(FExitButton, &TProGridButton::SetGlyphHot, "PSGCLOSEH");
    Glyph(FExitButton, &TProGridButton::SetGlyphDown, "PSGCLOSED");
    FExitButton->OnClick = [this](TObject*) { if (OnExitClick) OnExitClick(); };
    FForwardButton = new TProGridButton(this);
    FForwardButton->resize(90, 23);
    Glyph(FForwardButton, &TProGridButton::SetGlyph, "PSGARDOWN");
    Glyph(FForwardButton, &TProGridButton::SetGlyphDisabled, "PSGARDOWND");
    FForwardButton->OnClick = [this](TObject*) { if (OnForwardClick) OnForwardClick(); };
    FBackwardButton = new TProGridButton(this);
    FBackwardButton->resize(90, 23);
    Glyph(FBackwardButton, &TProGridButton::SetGlyph, "PSGARUP");
    Glyph(FBackwardButton, &TProGridButton::SetGlyphDisabled, "PSGARUPD");
    FBackwardButton->OnClick = [this](TObject*) { if (OnBackwardClick) OnBackwardClick(); };
    FHiliteButton = new TProGridButton(this);
    FHiliteButton->resize(90, 23);
    FHiliteButton->SetGroupIndex(1);
    FHiliteButton->SetAllowAllUp(true);
    Glyph(FHiliteButton, &TProGridButton::SetGlyph, "PSGHI");
    Glyph(FHiliteButton, &TProGridButton::SetGlyphDisabled, "PSGHID");
    FHiliteButton->Font()->SetStyle({});
    FHiliteButton->OnClick = [this](TObject*) { if (OnHighLightClick) OnHighLightClick(); };
    for (TProGridButton* b : {FForwardButton, FBackwardButton, FHiliteButton}) {
        b->setEnabled(false);
        b->installEventFilter(this);
    }
    FMatchCase = new TProCheckBox(this);
    FMatchCase->resize(120, 18);
    FMatchCase->SetCaption(QString());
    LayOut();
    hide();
}

bool TSearchPanel::eventFilter(QObject* watched, QEvent* e)
{
    // A button's accelerator, wherever in the window it was typed, goes the way of the grid's
    // dialog characters, which also toggle the highlight button.
    auto* b = dynamic_cast<TProGridButton*>(watched);
    if (e->type() != QEvent::Shortcut || !b || !FEdit->OnDialogChar) return QWidget::eventFilter(watched, e);
    const QKeySequence k = QKeySequence::mnemonic(b->Caption());
    if (!k.isEmpty()) FEdit->OnDialogChar(QString(QChar(char16_t(k[0].key()))));
    return true;
}

void TSearchPanel::SetMatchCaseLeft(int v)
{
    FMatchCaseLeft = v;
    LayOut();
}

void TSearchPanel::LayOut()
{
    // Left positions read from the left edge; right to left they are mirrored within the panel.
    auto place = [this](QWidget* w, int left, int top) {
        w->move(isRightToLeft() ? width() - left - w->width() : left, top);
    };
    place(FEdit, 25, 6);
    place(FForwardButton, 140, 5);
    place(FBackwardButton, 235, 5);
    place(FExitButton, 5, 7);
    place(FHiliteButton, 330, 5);
    place(FMatchCase, FMatchCaseLeft, 8);
}

void TSearchPanel::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    LayOut();
}

void TSearchPanel::changeEvent(QEvent* e)
{
    QWidget::changeEvent(e);
    if (e->type() == QEvent::LayoutDirectionChange) LayOut();
}

void TSearchPanel::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    if (FCreated) return;
    FCreated = true;
    if (OnCreated) OnCreated();
}

void TSearchPanel::EditChanged()
{
    const bool any = !FEdit->text().isEmpty();
    for (TProGridButton* b : {FForwardButton, FBackwardButton, FHiliteButton}) b->setEnabled(any);
    if (OnEditChange) OnEditChange();
}

void TSearchPanel::SetEditColor(TColor v)
{
    if (v == FEditColor) return;
    FEditColor = v;
    QPalette pal = FEdit->palette();
    pal.setColor(QPalette::Base, ColorToQColor(v));
    FEdit->setPalette(pal);
    // A width change makes the edit repaint its whole face in the new colour.
    FEdit->resize(FEdit->width() + 1, FEdit->height());
    FEdit->resize(FEdit->width() - 1, FEdit->height());
}

void TSearchPanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (FColorTo == clNone) {
        p.fillRect(rect(), ColorToQColor(FColor));
    } else {
        QLinearGradient g(0, 0, 0, height());
        g.setColorAt(0, ColorToQColor(FColor));
        g.setColorAt(1, ColorToQColor(FColorTo));
        p.fillRect(rect(), g);
    }
    if (auto* grid = dynamic_cast<TBaseGrid*>(parentWidget())) {
        p.setPen(ColorToQColor(grid->GridLineColor()));
        p.drawLine(0, 0, width(), 0);
    }
}

void TProStringGrid::SearchFooterChanged(TObject*)
{
    TSearchPanel* panel = FSearchPanel;
    TSearchFooter* sf = FSearchFooter.get();
    if (FLoading || !panel || !sf) return;

    // Hiding the panel while its highlight button is down takes the search's marks out of the
    // cells; with AlwaysHighLight each change starts again from unmarked cells.
    if ((panel->FHiliteButton->Down() && panel->isVisible() && !sf->Visible()) || sf->AlwaysHighLight())
        UnHilightInGrid(false);

    // Colours, visibility, captions, hints and font as the settings give them.
    panel->SetColor(sf->Color());
    panel->SetColorTo(sf->ColorTo());
    panel->setVisible(sf->Visible());
    panel->FFindNextCaption = sf->FindNextCaption();
    panel->FFindPrevCaption = sf->FindPrevCaption();
    panel->FHighLightCaption = sf->HighLightCaption();
    panel->FMatchCaseCaption = sf->MatchCaseCaption();
    panel->FForwardButton->SetCaption(sf->FindNextCaption());
    panel->FBackwardButton->SetCaption(sf->FindPrevCaption());
    panel->FHiliteButton->SetCaption(sf->HighLightCaption());
    panel->FMatchCase->SetCaption(sf->MatchCaseCaption());
    panel->FHintFindNext = sf->HintFindNext();
    panel->FHintFindPrev = sf->HintFindPrev();
    panel->FHintClose = sf->HintClose();
    panel->FHintHighlight = sf->HintHighlight();
    for (TProGridButton* b : {panel->FForwardButton, panel->FBackwardButton, panel->FHiliteButton, panel->FExitButton})
        b->Font()->Assign(*sf->Font());
    panel->FMatchCase->Font()->Assign(*sf->Font());

    // The find and highlight buttons take the grid's control style, or the theme's look when
    // the grid adapts to the theme.
    TProGridButton* three[] = {panel->FBackwardButton, panel->FForwardButton, panel->FHiliteButton};
    switch (FControlLook->ControlStyle()) {
    case csFlat:
        for (TProGridButton* b : three) b->SetFlat(true);
        break;
    case csWinXP:
    case csTheme:
        if (!FAutoThemeAdapt)
            for (TProGridButton* b : three) {
                b->SetAutoXPStyle(true);
                b->SetFlat(false);
            }
        break;
    case csClassic:
        for (TProGridButton* b : three) {
            b->SetAutoXPStyle(false);
            b->SetFlat(false);
        }
        break;
    default: break;
    }
    if (FAutoThemeAdapt)
        for (TProGridButton* b : three) {
            b->SetAutoThemeAdapt(true);
            b->SetFlat(true);
        }

    // Only the parts the settings ask for show, each with its hint.
    panel->FHiliteButton->setVisible(sf->ShowHighLight());
    panel->FExitButton->setVisible(sf->ShowClose());
    panel->FMatchCase->setVisible(sf->ShowMatchCase());
    panel->FMatchCase->SetTransparent(true);
    panel->FBackwardButton->setVisible(sf->ShowFindPrev());
    panel->FForwardButton->setVisible(sf->ShowFindNext());
    auto hint = [](TProGridButton* b, const QString& text) { b->setToolTip(text); };
    hint(panel->FExitButton, sf->HintClose());
    hint(panel->FForwardButton, sf->HintFindNext());
    hint(panel->FBackwardButton, sf->HintFindPrev());
    hint(panel->FHiliteButton, sf->HintHighlight());

    // Without the highlight button the match-case box moves up into its place; a hidden part
    // takes no height; a shown panel lies along the bottom edge of the cells, wherever the
    // grid is sized to, with the last rows scrolled above it; a hidden one shrinks to nothing.
    TProCheckBox* mc = panel->FMatchCase;
    panel->SetMatchCaseLeft(sf->ShowHighLight() ? 425 : 330);
    for (TProGridButton* b : three) b->resize(b->width(), b->isVisibleTo(panel) ? 23 : 0);
    mc->resize(mc->width(), mc->isVisibleTo(panel) ? 18 : 0);
    panel->resize(panel->width(), sf->Visible() ? 32 : 0);
    RealignBottom();
    if (sf->Visible()) ScrollAboveSearchFooter();
}
