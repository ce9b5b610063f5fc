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

TSearchPanel::TSearchPanel(QWidget* AOwner) : QWidget(AOwner)
{
    FEdit = new TRetEdit(this);
    FEdit->setGeometry(25, 6, 110, FEdit->sizeHint().height());
    connect(FEdit, &QLineEdit::textChanged, this, [this] { EditChanged(); });
    FEdit->OnReturn = [this] { EditReturn(); };
    FEdit->OnCtrlReturn = [this] { EditCtrlReturn(); };
    FExitButton = new TProGridButton(this);
    FExitButton->setGeometry(5, 7, 14, 14);
    TBitmap close;
    LoadResourceBitmap(close, QStringLiteral("PSGCLOSE"));
    FExitButton->SetGlyph(close);
    FExitButton->OnClick = [this](TObject*) { if (OnExitClick) OnExitClick(); };
    FForwardButton = new TProGridButton(this);
    FForwardButton->setGeometry(140, 5, 90, 23);
    FForwardButton->OnClick = [this](TObject*) { if (OnForwardClick) OnForwardClick(); };
    FBackwardButton = new TProGridButton(this);
    FBackwardButton->setGeometry(235, 5, 90, 23);
    FBackwardButton->OnClick = [this](TObject*) { if (OnBackwardClick) OnBackwardClick(); };
    FHiliteButton = new TProGridButton(this);
    FHiliteButton->setGeometry(330, 5, 90, 23);
    FHiliteButton->SetGroupIndex(1);
    FHiliteButton->SetAllowAllUp(true);
    FHiliteButton->OnClick = [this](TObject*) { if (OnHighLightClick) OnHighLightClick(); };
    for (TProGridButton* b : {FForwardButton, FBackwardButton, FHiliteButton}) b->setEnabled(false);
    FMatchCase = new TProCheckBox(this);
    FMatchCase->setGeometry(425, 8, 120, 18);
    FMatchCase->SetCaption(QString());
    hide();
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
    // takes no height; a shown panel lies along the grid's bottom edge with the last rows
    // scrolled above it, a hidden one shrinks to nothing.
    TProCheckBox* mc = panel->FMatchCase;
    mc->move(sf->ShowHighLight() ? 425 : 330, mc->y());
    for (TProGridButton* b : three) b->resize(b->width(), b->isVisibleTo(panel) ? 23 : 0);
    mc->resize(mc->width(), mc->isVisibleTo(panel) ? 18 : 0);
    if (sf->Visible()) {
        panel->setGeometry(0, height() - 32, width(), 32);
        ScrollAboveSearchFooter();
    } else {
        panel->resize(panel->width(), 0);
    }
}
