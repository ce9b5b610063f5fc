// The floating footer: its settings and the panel below the cells that paints one row of
// values under the columns, follows horizontal scrolling and reports hints and clicks.
#include "grid/base/html_layout.h"
#include "grid/control/pro_string_grid.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>

// ---- settings ---------------------------------------------------------------------------------

void TFloatingFooter::Assign(const TPersistent* Source)
{
    auto* s = dynamic_cast<const TFloatingFooter*>(Source);
    if (!s) return;
    FCalculateHiddenRows = s->FCalculateHiddenRows;
    FColor = s->FColor;
    FColumn = s->FColumn;
    FCustomTemplate = s->FCustomTemplate;
    FFooterStyle = s->FFooterStyle;
    SetVisible(s->FVisible);
    SetShowHint(s->FShowHint);
}

TFooterPanel* TFloatingFooter::Panel() const { return FGrid ? FGrid->FooterPanel() : nullptr; }

void TFloatingFooter::Invalidate()
{
    if (TFooterPanel* p = Panel()) p->update();
}

void TFloatingFooter::SetColor(TColor Value)
{
    FColor = Value;
    Invalidate();
}

void TFloatingFooter::SetColumn(int Value)
{
    FColumn = Value;
    Invalidate();
}

void TFloatingFooter::SetCustomTemplate(const QString& Value)
{
    FCustomTemplate = Value;
    Invalidate();
}

void TFloatingFooter::SetBorderColor(TColor Value)
{
    if (Value == FBorderColor) return;
    FBorderColor = Value;
    Invalidate();
}

void TFloatingFooter::SetShowHint(bool Value)
{
    FShowHint = Value;
    if (TFooterPanel* p = Panel()) p->setAttribute(Qt::WA_AlwaysShowToolTips, Value);
}

void TFloatingFooter::SetHeight(int Value)
{
    FHeight = Value;
    TFooterPanel* p = Panel();
    if (!p || Value <= 0) return;
    p->resize(p->width(), Value - 1);
    if (FVisible) FGrid->RealignBottom();
}

void TFloatingFooter::SetVisible(bool Value)
{
    FVisible = Value;
    if (TFooterPanel* p = Panel()) {
        p->resize(p->width(), Value ? std::max(0, FHeight - 1) : 0);
        p->setVisible(Value);
    }
    if (!FGrid) return;
    FGrid->SetFixedFooters(Value && FFooterStyle == fsFixedLastRow ? 1 : 0);
    FGrid->SetHideLastRow(Value && FFooterStyle == fsFixedLastRow);
    FGrid->RealignBottom();
    FGrid->Invalidate();
}

void TFloatingFooter::SetFooterStyle(TFooterStyle Value)
{
    FFooterStyle = Value;
    if (!FGrid) return;
    FGrid->SetHideLastRow(FVisible && Value == fsFixedLastRow);
    FGrid->Invalidate();
    Invalidate();
}

TColumnCalcType TFloatingFooter::ColumnCalc(int ACol) const
{
    const int last = FGrid->RowCount() - 1;
    if (ACol < 0 || last < 0 || !FGrid->HasCellProperties(ACol, last)) return acNONE;
    return FGrid->GetCellProperties(ACol, last)->CalcType();
}

void TFloatingFooter::SetColumnCalc(int ACol, TColumnCalcType Value)
{
    const int last = FGrid->RowCount() - 1;
    if (ACol < 0 || ACol >= FGrid->TotalColCount() || last < 0)
        throw EProGridError(QStringLiteral("Invalid column accessed"));
    FGrid->GetCellProperties(ACol, last)->SetCalcType(Value);
    FGrid->CalcFooterCol(ACol);
}

// ---- panel ------------------------------------------------------------------------------------

TFooterPanel::TFooterPanel(TProStringGrid* AOwner) : QWidget(AOwner), FGrid(AOwner), FCanvas(std::make_unique<TCanvas>())
{
    hide();
    resize(0, 0);
    setMouseTracking(true);
}

TFooterPanel::~TFooterPanel() = default;

void TFooterPanel::CreateWnd()
{
    TFloatingFooter* f = FGrid->FloatingFooter();
    resize(width(), f->Visible() ? f->Height() - 1 : 0);
    setVisible(f->Visible());
    FGrid->RealignBottom();
    if (FGrid->OnCreatedFloatingFooter) FGrid->OnCreatedFloatingFooter(FGrid);
}

TRect TFooterPanel::Mirror(TRect R) const
{
    if (!FGrid->UseRightToLeftAlignment()) return R;
    const int w = width();
    return {w - R.Right, R.Top, w - R.Left, R.Bottom};
}

int TFooterPanel::FooterWidth() const
{
    int f = 0;
    for (int c = 0; c < FGrid->FixedCols() && c < FGrid->ColCount(); ++c) f += FGrid->ColWidths(c);
    for (int c = std::max(FGrid->LeftCol(), FGrid->FixedCols()); c < FGrid->ColCount(); ++c) f += FGrid->ColWidths(c);
    return f;
}

void TFooterPanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    FCanvas->BeginPaint(&p);
    FCanvas->Font()->Assign(*FGrid->Font());
    Paint();
    FCanvas->EndPaint();
}

void TFooterPanel::Paint()
{
    setLayoutDirection(FGrid->layoutDirection());
    TFloatingFooter* f = FGrid->FloatingFooter();
    const TRect client{0, 0, width(), height()};
    const int footerWidth = FooterWidth();
    int w = 0;
    switch (f->FooterStyle()) {
    case fsFixedLastRow: w = PaintFixedLastRow(client, footerWidth); break;
    case fsColumnPreview:
    case fsCustomPreview: w = PaintPreview(client, footerWidth); break;
    case fsCustomPaint:
        if (FGrid->OnFooterPaint) FGrid->OnFooterPaint(this, f->Column(), FCanvas.get(), Mirror(client));
        w = client.Right;
        break;
    }
    if (f->BorderColor() != clNone) {
        FCanvas->Pen()->SetColor(f->BorderColor());
        FCanvas->MoveTo(0, 0);
        FCanvas->LineTo(w, 0);
    }
}

namespace {
bool RaisedLook(TGridLook look) { return look == glSoft || look == glZUZ || look == glXP || look == glVista; }
}  // namespace

int TFooterPanel::PaintFixedLastRow(const TRect& Client, int FooterWidth)
{
    TFloatingFooter* f = FGrid->FloatingFooter();
    TCanvas* cv = FCanvas.get();
    TRect r = Client;
    r.Right = std::min(Client.Right, FooterWidth);
    r = Mirror(r);
    cv->Brush()->SetColor(f->Color());
    cv->Pen()->SetColor(f->Color());
    cv->FillRect(r);
    TRect rest = Mirror({std::min(Client.Right, FooterWidth), 0, Client.Right, Client.Bottom});
    if (rest.Right > rest.Left) {
        cv->Brush()->SetColor(FGrid->Color());
        cv->FillRect(rest);
    }

    const TGridOptions opts = FGrid->Options();
    const bool raised = opts.Contains(goFixedVertLine) && RaisedLook(FGrid->Look()) && !FGrid->Flat();
    const int last = FGrid->RowCount() - 1;
    std::vector<int> layout;
    for (int c = 0; c < FGrid->FixedCols() && c < FGrid->ColCount(); ++c) layout.push_back(c);
    for (int c = std::max(FGrid->LeftCol(), FGrid->FixedCols()); c < FGrid->ColCount(); ++c) layout.push_back(c);

    // Separators.
    int x = 0;
    for (int c : layout) {
        const int cw = FGrid->ColWidths(c);
        if (raised) {
            cv->Pen()->SetColor(0xFFFFFF);
            TRect l = Mirror({x, 0, x + 1, Client.Bottom});
            cv->MoveTo(l.Left, Client.Bottom - 1);
            cv->LineTo(l.Left, 0);
        }
        cv->Pen()->SetColor(FGrid->GridLineColor());
        if (opts.Contains(goFixedHorzLine)) {
            TRect t = Mirror({x, 0, x + cw - 1, 1});
            cv->MoveTo(t.Left, 0);
            cv->LineTo(t.Right, 0);
        }
        if (opts.Contains(goFixedVertLine)) {
            const bool fixed = c < FGrid->FixedCols();
            cv->Pen()->SetColor(fixed || FGrid->Look() == glVista ? FGrid->GridLineColor() : TColor(0x808080));
            TRect v = Mirror({x + cw - 1, 0, x + cw, Client.Bottom});
            cv->MoveTo(v.Left, 0);
            cv->LineTo(v.Left, Client.Bottom);
        }
        x += cw;
    }

    // Contents: the grid's own painter draws the last row's cells at the footer's places.
    TRect row = Client;
    if (opts.Contains(goFixedHorzLine)) row.Top += 1;
    const bool inset = opts.Contains(goFixedHorzLine) && RaisedLook(FGrid->Look()) && !FGrid->Flat();
    int left = 0;
    int right = -1;
    for (size_t i = 0; i < layout.size(); ++i) {
        const int c = layout[i];
        const bool fixed = c < FGrid->FixedCols();
        const int real = FGrid->DisplToRealColumn(c);
        right = left + FGrid->ColWidths(c) - 1;
        int bc = real, br = last;
        const bool base = last < 0 || FGrid->ResolveBaseCell(real, last, bc, br);
        if (last >= 0 && base) {
            const TPoint span = FGrid->CellSpan(real, last);
            for (int k = 1; k <= span.X && i + k < layout.size(); ++k) right += FGrid->ColWidths(layout[i + k]);
        }
        TRect cr{left + (inset ? 1 : 0), row.Top, right, row.Bottom};
        if (last >= 0 && !fixed) {
            if (FGrid->OnGetCellColor) {
                TBrush brush;
                brush.SetColor(clNone);
                TFont font;
                font.Assign(*FGrid->Font());
                FGrid->OnGetCellColor(FGrid, last, real, TGridDrawState{gdFixed}, &brush, &font);
                if (brush.Color() != clNone) {
                    cv->Brush()->SetColor(brush.Color());
                    cv->FillRect(Mirror(cr));
                }
            }
            if (const TColor cc = FGrid->GetColors(real, last); cc != clNone) {
                cv->Brush()->SetColor(cc);
                cv->FillRect(Mirror(cr));
            }
        }
        if (last >= 0 && base) {
            if (!fixed && FGrid->OnFooterPaint) FGrid->OnFooterPaint(this, c, cv, Mirror(cr));
            else FGrid->DrawCellContent(cv, c, last, Mirror(cr), TGridDrawState{gdFixed});
        }
        left = right + 1;
    }
    return right + 1 > 0 ? right : 0;
}

int TFooterPanel::PaintPreview(const TRect& Client, int FooterWidth)
{
    TFloatingFooter* f = FGrid->FloatingFooter();
    TCanvas* cv = FCanvas.get();
    TRect r = Client;
    r.Right = std::min(Client.Right, FooterWidth);
    const TRect mr = Mirror(r);
    cv->Brush()->SetColor(f->Color());
    cv->FillRect(mr);
    cv->Pen()->SetColor(0x808080);
    cv->MoveTo(mr.Left, mr.Bottom - 1);
    cv->LineTo(mr.Right - 1, mr.Bottom - 1);
    cv->LineTo(mr.Right - 1, mr.Top - 1);
    cv->Pen()->SetColor(0xFFFFFF);
    cv->MoveTo(mr.Right - 1, mr.Top);
    cv->LineTo(mr.Left, mr.Top);
    cv->LineTo(mr.Left, mr.Bottom);

    const TColor oldSelText = FGrid->SelectionTextColor();
    FGrid->FSelectionTextColor = 0;
    if (f->FooterStyle() == fsColumnPreview) {
        if (FGrid->OnFooterPaint) FGrid->OnFooterPaint(this, f->Column(), cv, mr);
        else if (f->Column() >= 0 && f->Column() < FGrid->ColCount() && FGrid->Row() >= 0 && FGrid->Row() < FGrid->RowCount())
            FGrid->DrawCellContent(cv, f->Column(), FGrid->Row(), mr, TGridDrawState{});
    } else if (FGrid->Designing()) {
        cv->Brush()->SetStyle(bsClear);
        TRect tr = mr;
        cv->DrawText(f->CustomTemplate(), tr, DT_SINGLELINE | DT_NOPREFIX);
        cv->Brush()->SetStyle(bsSolid);
    } else {
        THtmlRenderArgs a = FGrid->HtmlArgs();
        a.HitX = a.HitY = -1;
        TRect hr = mr;
        hr.Top += 2;
        hr.Bottom += 2;
        RenderHtmlCell(cv, ExpandTemplate(f->CustomTemplate()), hr, a);
    }
    FGrid->FSelectionTextColor = oldSelText;

    TRect rest = Mirror({r.Right, 0, Client.Right, Client.Bottom});
    if (rest.Right > rest.Left) {
        cv->Brush()->SetColor(FGrid->Color());
        cv->FillRect(rest);
    }
    return FooterWidth;
}

QString TFooterPanel::ExpandTemplate(const QString& Template) const
{
    QString result;
    QString t = Template;
    for (int p = t.indexOf(QLatin1String("<#")); p >= 0; p = t.indexOf(QLatin1String("<#"))) {
        result += t.left(p);
        const int close = t.indexOf(QLatin1Char('>'), p);
        // An unclosed tag ends the template; what follows it is not shown.
        if (close < 0) return result;
        const QString inner = t.mid(p + 2, close - p - 2);
        t = t.mid(close + 1);
        bool ok = false;
        const int n = inner.toInt(&ok);
        if (ok && !inner.isEmpty() && inner.front().isDigit() && n >= 0 && n < FGrid->TotalColCount()
            && FGrid->Row() >= 0 && FGrid->Row() < FGrid->RowCount())
            result += FGrid->Cells(n, FGrid->Row());
    }
    return result + t;
}

int TFooterPanel::ColumnWalk(int X) const
{
    int s = 0;
    for (int i = 0; s < X && i < FGrid->ColCount() && i < FGrid->FixedCols(); ++i) s += FGrid->ColWidths(i);
    int j = FGrid->LeftCol();
    while (s < X && j < FGrid->ColCount()) {
        s += FGrid->ColWidths(j);
        ++j;
    }
    return (j == FGrid->ColCount() && s < X) ? -1 : j;
}

bool TFooterPanel::event(QEvent* e)
{
    if (e->type() != QEvent::ToolTip) return QWidget::event(e);
    auto* he = static_cast<QHelpEvent*>(e);
    TFloatingFooter* f = FGrid->FloatingFooter();
    const int j = ColumnWalk(he->pos().x());
    QString hint;
    if (FGrid->OnGridHint && j > 0) FGrid->OnGridHint(FGrid, FGrid->RowCount() - 1, j - 1, hint);
    FLastHintX = (f->ShowHint() && j > 0) ? j - 1 : -1;
    if (!f->ShowHint() || hint.isEmpty()) {
        CancelHintOf(this);
        return true;
    }
    THintInfo info;
    info.HintControl = this;
    info.CursorPos = {he->pos().x(), he->pos().y()};
    info.CursorRect = {0, 0, width(), height()};
    info.HintPos = {he->globalPos().x(), he->globalPos().y() + 20};
    info.HintStr = hint;
    ShowControlHint(info, [](THintInfo&) { return intptr_t(0); });
    return true;
}

void TFooterPanel::mouseMoveEvent(QMouseEvent* e)
{
    QWidget::mouseMoveEvent(e);
    HintMouseMoved(this, {e->pos().x(), e->pos().y()});
    if (!FGrid->FloatingFooter()->ShowHint()) return;
    const int j = ColumnWalk(e->pos().x());
    if (j - 1 != FLastHintX && FLastHintX >= 0) {
        CancelHintOf(this);
        FLastHintX = j - 1;
    }
}

void TFooterPanel::mouseReleaseEvent(QMouseEvent* e)
{
    QWidget::mouseReleaseEvent(e);
    if (e->button() != Qt::LeftButton) return;
    if (FGrid->OnClick) FGrid->OnClick(FGrid);
    const int j = ColumnWalk(e->pos().x());
    if (j > 0 && FGrid->OnClickCell) FGrid->OnClickCell(FGrid, FGrid->RowCount() - 1, j - 1);
}

void TFooterPanel::leaveEvent(QEvent* e)
{
    QWidget::leaveEvent(e);
    FLastHintX = -1;
}
