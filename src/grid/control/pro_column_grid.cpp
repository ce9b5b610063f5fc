#include "grid/control/pro_column_grid.h"

#include "grid/control/grid_spin.h"

#include "platform/core/exception.h"
#include "platform/core/sysutils.h"

#include <QIODevice>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

// ---- stream form of the published settings ---------------------------------------------------

namespace {
QJsonObject FontToJson(const TFont& f)
{
    return {{"Name", f.Name()}, {"Size", f.Size()}, {"Color", qint64(f.Color())},
            {"Style", qint64(f.Style().Bits())}};
}
void FontFromJson(TFont& f, const QJsonValue& v)
{
    const QJsonObject o = v.toObject();
    f.SetName(o.value("Name").toString(f.Name()));
    f.SetSize(o.value("Size").toInt(f.Size()));
    f.SetColor(TColor(o.value("Color").toInteger(qint64(f.Color()))));
    f.SetStyle(TFontStyles::FromBits(uint64_t(o.value("Style").toInteger(qint64(f.Style().Bits())))));
}
QJsonObject PenToJson(const TPen& p)
{
    return {{"Color", qint64(p.Color())}, {"Width", p.Width()}, {"Style", int(p.Style())}};
}
void PenFromJson(TPen& p, const QJsonValue& v)
{
    const QJsonObject o = v.toObject();
    p.SetColor(TColor(o.value("Color").toInteger(qint64(p.Color()))));
    p.SetWidth(o.value("Width").toInt(p.Width()));
    p.SetStyle(TPenStyle(o.value("Style").toInt(int(p.Style()))));
}

// One published property: how it is written and read back, in streaming order. Width is
// handled by the grid (it lives in the grid's column widths).
struct StreamedProperty {
    const char* Name;
    std::function<QJsonValue(TGridColumnItem&)> Get;
    std::function<void(TGridColumnItem&, const QJsonValue&)> Set;
};

template <typename T>
StreamedProperty IntProp(const char* name, T (TGridColumnItem::*get)() const, void (TGridColumnItem::*set)(T))
{
    return {name, [get](TGridColumnItem& c) { return QJsonValue(qint64((c.*get)())); },
            [get, set](TGridColumnItem& c, const QJsonValue& v) { (c.*set)(T(v.toInteger(qint64((c.*get)())))); }};
}
StreamedProperty BoolProp(const char* name, bool (TGridColumnItem::*get)() const, void (TGridColumnItem::*set)(bool))
{
    return {name, [get](TGridColumnItem& c) { return QJsonValue((c.*get)()); },
            [get, set](TGridColumnItem& c, const QJsonValue& v) { (c.*set)(v.toBool((c.*get)())); }};
}
StreamedProperty TextProp(const char* name, QString (TGridColumnItem::*get)() const,
                          void (TGridColumnItem::*set)(const QString&))
{
    return {name, [get](TGridColumnItem& c) { return QJsonValue((c.*get)()); },
            [get, set](TGridColumnItem& c, const QJsonValue& v) { (c.*set)(v.toString((c.*get)())); }};
}
StreamedProperty BordersProp(const char* name, TCellBorders (TGridColumnItem::*get)() const,
                             void (TGridColumnItem::*set)(TCellBorders))
{
    return {name, [get](TGridColumnItem& c) { return QJsonValue(qint64((c.*get)().Bits())); },
            [get, set](TGridColumnItem& c, const QJsonValue& v) {
                (c.*set)(TCellBorders::FromBits(uint64_t(v.toInteger(qint64((c.*get)().Bits())))));
            }};
}
StreamedProperty ListProp(const char* name, TGridStrings* (TGridColumnItem::*get)())
{
    return {name, [get](TGridColumnItem& c) { return QJsonValue(QJsonArray::fromStringList((c.*get)()->Strings())); },
            [get](TGridColumnItem& c, const QJsonValue& v) {
                QStringList l;
                for (const QJsonValue& e : v.toArray()) l << e.toString();
                (c.*get)()->SetStrings(l);
            }};
}
StreamedProperty FontProp(const char* name, TFont* (TGridColumnItem::*get)())
{
    return {name, [get](TGridColumnItem& c) { return QJsonValue(FontToJson(*(c.*get)())); },
            [get](TGridColumnItem& c, const QJsonValue& v) { FontFromJson(*(c.*get)(), v); }};
}
StreamedProperty PenProp(const char* name, TPen* (TGridColumnItem::*get)())
{
    return {name, [get](TGridColumnItem& c) { return QJsonValue(PenToJson(*(c.*get)())); },
            [get](TGridColumnItem& c, const QJsonValue& v) { PenFromJson(*(c.*get)(), v); }};
}

// The menu and edit link are references to other objects of a form and are not streamed.
const std::vector<StreamedProperty>& StreamedProperties()
{
    using C = TGridColumnItem;
    static const std::vector<StreamedProperty> props{
        IntProp("AutoMinSize", &C::AutoMinSize, &C::SetAutoMinSize),
        IntProp("AutoMaxSize", &C::AutoMaxSize, &C::SetAutoMaxSize),
        IntProp("Alignment", &C::Alignment, &C::SetAlignment),
        BordersProp("Borders", &C::Borders, &C::SetBorders),
        PenProp("BorderPen", &C::BorderPen),
        TextProp("CheckFalse", &C::CheckFalse, &C::SetCheckFalse),
        TextProp("CheckTrue", &C::CheckTrue, &C::SetCheckTrue),
        IntProp("Color", &C::Color, &C::SetColor),
        IntProp("ColumnPopupType", &C::ColumnPopupType, &C::SetColumnPopupType),
        ListProp("ComboItems", &C::ComboItems),
        IntProp("DropDownCount", &C::DropDownCount, &C::SetDropDownCount),
        IntProp("EditLength", &C::EditLength, &C::SetEditLength),
        TextProp("EditMask", &C::EditMask, &C::SetEditMask),
        IntProp("Editor", &C::Editor, &C::SetEditor),
        ListProp("Filter", &C::Filter),
        BoolProp("FilterCaseSensitive", &C::FilterCaseSensitive, &C::SetFilterCaseSensitive),
        BoolProp("Fixed", &C::Fixed, &C::SetFixed),
        TextProp("FloatFormat", &C::FloatFormat, &C::SetFloatFormat),
        FontProp("Font", &C::Font),
        TextProp("Header", &C::Header, &C::SetHeaderField),
        IntProp("HeaderAlignment", &C::HeaderAlignment, &C::SetHeaderAlignment),
        FontProp("HeaderFont", &C::HeaderFont),
        IntProp("MinSize", &C::MinSize, &C::SetMinSize),
        IntProp("MaxSize", &C::MaxSize, &C::SetMaxSize),
        TextProp("Name", &C::Name, &C::SetName),
        BoolProp("Password", &C::Password, &C::SetPassword),
        BoolProp("PrintBorderCustom", &C::PrintBorderCustom, &C::SetPrintBorderCustom),
        BordersProp("PrintBorders", &C::PrintBorders, &C::SetPrintBorders),
        PenProp("PrintBorderPen", &C::PrintBorderPen),
        IntProp("PrintColor", &C::PrintColor, &C::SetPrintColor),
        BoolProp("PrintFontCustom", &C::PrintFontCustom, &C::SetPrintFontCustom),
        FontProp("PrintFont", &C::PrintFont),
        BoolProp("ReadOnly", &C::ReadOnly, &C::SetReadOnly),
        BoolProp("ShowBands", &C::ShowBands, &C::SetShowBands),
        IntProp("SortStyle", &C::SortStyle, &C::SetSortStyle),
        TextProp("SortPrefix", &C::SortPrefix, &C::SetSortPrefix),
        TextProp("SortSuffix", &C::SortSuffix, &C::SetSortSuffix),
        IntProp("SpinMax", &C::SpinMax, &C::SetSpinMax),
        IntProp("SpinMin", &C::SpinMin, &C::SetSpinMin),
        IntProp("SpinStep", &C::SpinStep, &C::SetSpinStep),
        IntProp("Tag", &C::Tag, &C::SetTag),
    };
    return props;
}
}

// ---- column item -----------------------------------------------------------------------------

TGridColumnItem::TGridColumnItem(TGridColumnCollection* ACollection) : FCollection(ACollection)
{
    FBorderPen.SetColor(0x00C0C0C0);
    FBorderPen.SetWidth(1);
    FPrintBorderPen.SetColor(0);
    FPrintBorderPen.SetWidth(1);
    if (!FCollection) return;
    TProColumnGrid* g = FCollection->Owner();
    FFont.Assign(*g->Font());
    FHeaderFont.Assign(*g->Font());
    FPrintFont.Assign(*g->Font());
    FColor = g->Color();
    FFont.OnChange = [this](TObject*) { Changed(); };
    FHeaderFont.OnChange = [this](TObject*) { Changed(); };
    FBorderPen.OnChange = [this](TObject*) { Changed(); };
    FFilter.OnChange = [this](TObject*) { InvalidateGrid(); };
}

TGridColumnItem::~TGridColumnItem()
{
    FFont.OnChange = nullptr;
    FHeaderFont.OnChange = nullptr;
    FBorderPen.OnChange = nullptr;
    FFilter.OnChange = nullptr;
    QObject::disconnect(FPopupGone);
}

void TGridColumnItem::SetColumnPopup(TPopupMenu* v)
{
    if (v == FColumnPopup) return;
    QObject::disconnect(FPopupGone);
    FColumnPopup = v;
    if (v) FPopupGone = QObject::connect(v, &QObject::destroyed, [this] { FColumnPopup = nullptr; });
}

TProColumnGrid* TGridColumnItem::Grid() const { return FCollection ? FCollection->Owner() : nullptr; }

int TGridColumnItem::Index() const { return FCollection ? FCollection->IndexOf(this) : -1; }

QString TGridColumnItem::DisplayName() const
{
    if (!FName.isEmpty()) return QStringLiteral("Col %1: %2").arg(Index()).arg(FName);
    return QStringLiteral("Column %1").arg(Index());
}

void TGridColumnItem::Changed()
{
    if (FCollection) FCollection->Update(this);
}

void TGridColumnItem::InvalidateGrid()
{
    if (TProColumnGrid* g = Grid()) g->Invalidate();
}

void TGridColumnItem::SetAlignment(TAlignment v)
{
    FAlignment = v;
    InvalidateGrid();
}

void TGridColumnItem::SetBorders(TCellBorders v)
{
    FBorders = v;
    Changed();
}

void TGridColumnItem::SetBorderPen(const TPen* v) { FBorderPen.Assign(*v); }

void TGridColumnItem::SetColor(TColor v)
{
    FColor = v;
    Changed();
}

void TGridColumnItem::SetEditor(TEditorType v)
{
    if (v == FEditor) return;
    const bool checkBoxes = v == edDataCheckBox || FEditor == edDataCheckBox;
    FEditor = v;
    if (checkBoxes) InvalidateGrid();
}

void TGridColumnItem::SetFixed(bool v)
{
    FFixed = v;
    Changed();
}

void TGridColumnItem::SetFloatFormat(const QString& v)
{
    FFloatFormat = v;
    InvalidateGrid();
}

void TGridColumnItem::SetHeaderAlignment(TAlignment v)
{
    FHeaderAlignment = v;
    InvalidateGrid();
}

void TGridColumnItem::SetHeaderFont(const TFont* v)
{
    FHeaderFont.Assign(*v);
    InvalidateGrid();
}

void TGridColumnItem::SetPassword(bool v)
{
    FPassword = v;
    Changed();
}

void TGridColumnItem::SetShowBands(bool v)
{
    FShowBands = v;
    Changed();
}

int TGridColumnItem::Width() const
{
    TProColumnGrid* g = Grid();
    const int i = Index();
    if (!g || i < 0) return 0;
    return i < TProStringGrid::MaxColumns ? g->AllColWidths(i) : FWidth;
}

void TGridColumnItem::SetWidth(int Value)
{
    FWidth = Value;
    TProColumnGrid* g = Grid();
    const int i = Index();
    if (g && i >= 0 && i < TProStringGrid::MaxColumns) g->SetAllColWidths(i, Value);
}

void TGridColumnItem::SetHeader(const QString& Value)
{
    FHeader = Value;
    TProColumnGrid* g = Grid();
    if (!g) return;
    if (g->FixedRows() > 0 && !g->FColMoving) {
        g->SetCells(Index(), 0, Value);
        FCollection->Update(this);
    }
    // The grid's header list always holds every column's header in order.
    TGridStrings* headers = g->ColumnHeaders();
    QStringList all;
    for (int i = 0; i < FCollection->Count(); ++i) all << FCollection->Items(i)->Header();
    headers->SetStrings(all);
}

void TGridColumnItem::AssignCommon(const TGridColumnItem* s)
{
    FAlignment = s->FAlignment;
    FHeaderAlignment = s->FHeaderAlignment;
    FBorderPen.Assign(s->FBorderPen);
    FBorders = s->FBorders;
    FCheckFalse = s->FCheckFalse;
    FCheckTrue = s->FCheckTrue;
    FEditLength = s->FEditLength;
    FEditLink = s->FEditLink;
    FEditMask = s->FEditMask;
    FEditor = s->FEditor;
    FFixed = s->FFixed;
    FPassword = s->FPassword;
    FPrintBorderPen.Assign(s->FPrintBorderPen);
    FPrintBorders = s->FPrintBorders;
    FPrintColor = s->FPrintColor;
    FPrintFont.Assign(s->FPrintFont);
    FReadOnly = s->FReadOnly;
    FSortPrefix = s->FSortPrefix;
    FSortStyle = s->FSortStyle;
    FSortSuffix = s->FSortSuffix;
    FSpinMax = s->FSpinMax;
    FSpinMin = s->FSpinMin;
    FSpinStep = s->FSpinStep;
    SetColumnPopup(s->FColumnPopup);
    SetWidth(s->Width());
    FShowBands = s->FShowBands;
    FMinSize = s->FMinSize;
    FMaxSize = s->FMaxSize;
    FAutoMinSize = s->FAutoMinSize;
    FAutoMaxSize = s->FAutoMaxSize;
    FFilter.Assign(&s->FFilter);
    FFilterCaseSensitive = s->FFilterCaseSensitive;
    FDefIdx = s->FDefIdx;
    FFloatFormat = s->FFloatFormat;
}

void TGridColumnItem::Assign(const TPersistent* Source)
{
    auto* s = dynamic_cast<const TGridColumnItem*>(Source);
    if (!s || s == this) return;
    AssignCommon(s);
    FColor = s->FColor;
    FComboItems.Assign(&s->FComboItems);
    FDropDownCount = s->FDropDownCount;
    FFont.Assign(s->FFont);
    FHeaderFont.Assign(s->FHeaderFont);
    FHeader = s->FHeader;
    FName = s->FName;
    FTag = s->FTag;
}

void TGridColumnItem::AssignVisuals(const TGridColumnItem* Source)
{
    if (!Source || Source == this) return;
    AssignCommon(Source);
    if (TProColumnGrid* g = Grid()) {
        FColor = g->Color();
        FFont.Assign(*g->Font());
    }
}

QString TGridColumnItem::Rows(int ARow) const { return Grid() ? Grid()->Cells(Index(), ARow) : QString(); }
void TGridColumnItem::SetRows(int ARow, const QString& Value)
{
    if (Grid()) Grid()->SetCells(Index(), ARow, Value);
}
int TGridColumnItem::Ints(int ARow) const { return Grid() ? Grid()->GetInts(Index(), ARow) : 0; }
void TGridColumnItem::SetInts(int ARow, int Value)
{
    if (Grid()) Grid()->SetInts(Index(), ARow, Value);
}
double TGridColumnItem::Floats(int ARow) const { return Grid() ? Grid()->GetFloats(Index(), ARow) : 0; }
void TGridColumnItem::SetFloats(int ARow, double Value)
{
    if (Grid()) Grid()->SetFloats(Index(), ARow, Value);
}

// ---- collection ------------------------------------------------------------------------------

TGridColumnCollection::TGridColumnCollection(TProColumnGrid* AOwner) : FOwner(AOwner) {}

TGridColumnCollection::~TGridColumnCollection()
{
    FNoRecursiveUpdate = true;
    FItems.clear();
}

TGridColumnItem* TGridColumnCollection::Items(int Index) const
{
    if (Index < 0 || Index >= Count()) throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    return FItems[size_t(Index)].get();
}

int TGridColumnCollection::IndexOf(const TGridColumnItem* Item) const
{
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i].get() == Item) return int(i);
    return -1;
}

TGridColumnItem* TGridColumnCollection::Add() { return Insert(Count()); }

TGridColumnItem* TGridColumnCollection::Insert(int Index)
{
    Index = std::clamp(Index, 0, Count());
    FItems.insert(FItems.begin() + Index, std::make_unique<TGridColumnItem>(this));
    TGridColumnItem* item = FItems[size_t(Index)].get();
    // A new column looks like the one before it.
    if (Index > 0) item->AssignVisuals(FItems[size_t(Index - 1)].get());
    else item->SetWidth(item->FWidth);
    Update(nullptr);
    return item;
}

void TGridColumnCollection::Delete(int Index)
{
    Items(Index);
    FItems.erase(FItems.begin() + Index);
    Update(nullptr);
}

void TGridColumnCollection::Clear()
{
    FItems.clear();
    Update(nullptr);
}

void TGridColumnCollection::Move(int FromIndex, int ToIndex)
{
    Items(FromIndex);
    Items(ToIndex);
    if (FromIndex == ToIndex) return;
    auto item = std::move(FItems[size_t(FromIndex)]);
    FItems.erase(FItems.begin() + FromIndex);
    FItems.insert(FItems.begin() + ToIndex, std::move(item));
}

void TGridColumnCollection::Assign(const TPersistent* Source)
{
    auto* s = dynamic_cast<const TGridColumnCollection*>(Source);
    if (!s || s == this) return;
    BeginUpdate();
    FItems.clear();
    for (const auto& src : s->FItems) {
        FItems.push_back(std::make_unique<TGridColumnItem>(this));
        FItems.back()->Assign(src.get());
    }
    EndUpdate();
}

void TGridColumnCollection::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0) Update(nullptr);
}

void TGridColumnCollection::Update(TGridColumnItem* Item)
{
    (void)Item;
    if (FUpdateCount > 0 || FNoRecursiveUpdate || FOwner->Loading()) return;
    const int visible = Count() - FOwner->NumHiddenColumns();
    if (visible != FOwner->ColCount() && visible > FOwner->FixedCols()) FOwner->SetColCount(visible);
    FOwner->SyncColumnHeaders();
    FOwner->Invalidate();
}

void TGridColumnCollection::SetOrganization()
{
    const bool keep = FNoRecursiveUpdate;
    FNoRecursiveUpdate = true;
    FOwner->SyncColumnCount();
    FNoRecursiveUpdate = keep;
    for (int i = 0; i < Count(); ++i) FItems[size_t(i)]->FDefIdx = i;
}

void TGridColumnCollection::ResetOrganization()
{
    bool moved = true;
    while (moved) {
        moved = false;
        for (int i = 0; i < Count() && i < FOwner->ColCount(); ++i) {
            const int target = FItems[size_t(i)]->FDefIdx;
            if (target < i && target >= 0) {
                FOwner->MoveColumn(i, target);
                moved = true;
            }
        }
    }
}

// ---- grid ------------------------------------------------------------------------------------

TProColumnGrid::TProColumnGrid(QWidget* AOwner, bool Designing) : TProStringGrid(AOwner, Designing)
{
    FColumnCollection = CreateColumns();
    FColumnCollection->FNoRecursiveUpdate = true;
    SyncColumnCount();
    FColumnCollection->FNoRecursiveUpdate = false;
    FColMoving = false;
    FSaveCol = std::make_unique<TGridColumnItem>();
}

TProColumnGrid::~TProColumnGrid()
{
    Teardown();
    FColumnCollection.reset();
    FSaveCol.reset();
}

std::unique_ptr<TGridColumnCollection> TProColumnGrid::CreateColumns()
{
    return std::make_unique<TGridColumnCollection>(this);
}

TGridColumnItem* TProColumnGrid::ColumnAt(int ACol) const
{
    if (!FColumnCollection || ACol < 0 || ACol >= FColumnCollection->Count()) return nullptr;
    return FColumnCollection->Items(ACol);
}

TGridColumnItem* TProColumnGrid::GetColumnByName(const QString& AValue) const
{
    for (int i = 0; i < FColumnCollection->Count(); ++i)
        if (FColumnCollection->Items(i)->Name() == AValue) return FColumnCollection->Items(i);
    return nullptr;
}

QString TProColumnGrid::GetVersionString() const { return VersionText(GetVersionNr()) + QStringLiteral(" Aug, 2012"); }

void TProColumnGrid::Loaded()
{
    TProStringGrid::Loaded();
    SyncColumnCount();
    FColumnCollection->SetOrganization();
}

void TProColumnGrid::SyncColumnCount()
{
    if (!FColumnCollection || FSyncing) return;
    FSyncing = true;
    const bool keep = FColumnCollection->FNoRecursiveUpdate;
    FColumnCollection->FNoRecursiveUpdate = true;
    const int total = TotalColCount();
    while (FColumnCollection->Count() < total) FColumnCollection->Add();
    while (FColumnCollection->Count() > total) FColumnCollection->Delete(FColumnCollection->Count() - 1);
    if (Designing())
        for (int i = 0; i < ColCount(); ++i) SetCells(i, FixedRows(), QStringLiteral("Column %1").arg(i));
    FColumnCollection->FNoRecursiveUpdate = keep;
    FSyncing = false;
}

void TProColumnGrid::DimensionsChanged()
{
    TProStringGrid::DimensionsChanged();
    SyncColumnCount();
}

void TProColumnGrid::SyncColumnHeaders()
{
    if (FixedRows() == 0) return;
    QStringList all;
    for (int i = 0; i < FColumnCollection->Count(); ++i) {
        TGridColumnItem* c = FColumnCollection->Items(i);
        if (c->Header().isEmpty() && !Cells(i, 0).isEmpty()) c->SetHeaderField(Cells(i, 0));
        all << c->Header();
    }
    ColumnHeaders()->SetStrings(all);
}

void TProColumnGrid::UpdateColumnHeaders()
{
    TGridStrings* headers = ColumnHeaders();
    if (!headers || !FColumnCollection) return;
    for (int i = 0; i < std::min(headers->Count(), FColumnCollection->Count()); ++i)
        FColumnCollection->Items(i)->SetHeaderField((*headers)[i]);
}

void TProColumnGrid::CellsLoaded()
{
    TProStringGrid::CellsLoaded();
    SyncColumnCount();
}

void TProColumnGrid::SaveColumnPositions(const QString& Key, const QString& Section)
{
    SaveColPositionsAt(clIniFile, Key, Section);
}

void TProColumnGrid::LoadColumnPositions(const QString& Key, const QString& Section)
{
    // The column descriptions travel with their columns, so each keeps its recorded index.
    LoadColPositionsAt(clIniFile, Key, Section);
}

void TProColumnGrid::SaveColumnsToStream(QIODevice& Stream)
{
    QJsonArray items;
    for (int i = 0; i < FColumnCollection->Count(); ++i) {
        TGridColumnItem& c = *FColumnCollection->Items(i);
        QJsonObject o;
        for (const StreamedProperty& p : StreamedProperties()) o.insert(p.Name, p.Get(c));
        o.insert("Width", c.Width());
        items.append(o);
    }
    const QByteArray text = QJsonDocument(QJsonObject{{"Items", items}}).toJson(QJsonDocument::Indented);
    if (Stream.write(text) != text.size()) throw EInOutError(QStringLiteral("Column settings could not be written"));
}

void TProColumnGrid::LoadColumnsFromStream(QIODevice& Stream)
{
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(Stream.readAll(), &error);
    const QJsonValue items = doc.object().value("Items");
    if (error.error != QJsonParseError::NoError || !items.isArray())
        throw EInOutError(QStringLiteral("Invalid column settings"));
    // Read into a scratch collection first so a bad text changes nothing.
    TGridColumnCollection loaded(this);
    loaded.FNoRecursiveUpdate = true;
    std::vector<int> widths;
    for (const QJsonValue& v : items.toArray()) {
        if (!v.isObject()) throw EInOutError(QStringLiteral("Invalid column settings"));
        const QJsonObject o = v.toObject();
        loaded.FItems.push_back(std::make_unique<TGridColumnItem>(&loaded));
        TGridColumnItem& c = *loaded.FItems.back();
        for (const StreamedProperty& p : StreamedProperties())
            if (o.contains(p.Name)) p.Set(c, o.value(p.Name));
        widths.push_back(o.value("Width").toInt(50));
    }
    FColumnCollection->FNoRecursiveUpdate = true;
    FColumnCollection->Assign(&loaded);
    for (int i = 0; i < FColumnCollection->Count(); ++i) FColumnCollection->Items(i)->SetWidth(widths[size_t(i)]);
    FColumnCollection->FNoRecursiveUpdate = false;
    Invalidate();
}

void TProColumnGrid::ApplyScaleChange(int M, int D)
{
    TProStringGrid::ApplyScaleChange(M, D);
    if (Designing() || M == D || D == 0) return;
    FColumnCollection->BeginUpdate();
    for (int i = 0; i < std::min(ColCount(), FColumnCollection->Count()); ++i) {
        TGridColumnItem* c = FColumnCollection->Items(i);
        c->Font()->SetSize(MulDiv(c->Font()->Size(), M, D));
        c->HeaderFont()->SetSize(MulDiv(c->HeaderFont()->Size(), M, D));
    }
    FColumnCollection->EndUpdate();
}

void TProColumnGrid::InsertCols(int ColIndex, int CCount)
{
    const int total = TotalColCount();
    if (CCount <= 0 || ColIndex < 0 || ColIndex > total) return;
    FColumnCollection->FNoRecursiveUpdate = true;
    // The store, widths, visibility and merged blocks move with the grid's own insertion.
    InsertStoreColumns(ColIndex, CCount);
    // The new columns' descriptions go where the columns went, not at the end.
    while (FColumnCollection->Count() > total) FColumnCollection->Delete(FColumnCollection->Count() - 1);
    for (int i = 0; i < CCount; ++i) FColumnCollection->Insert(ColIndex + i);
    // A new description brings a width of its own; new columns have the grid's default.
    for (int i = 0; i < CCount; ++i) SetAllColWidths(ColIndex + i, DefaultColWidth());
    FColumnCollection->FNoRecursiveUpdate = false;
    Invalidate();
}

void TProColumnGrid::RemoveCols(int ColIndex, int CCount)
{
    int total = TotalColCount();
    if (CCount <= 0 || ColIndex < 0 || ColIndex >= total) return;
    CCount = std::min(CCount, total - ColIndex);
    FColumnCollection->FNoRecursiveUpdate = true;
    // A hidden column that goes is shown first, so the hidden count stays right.
    for (int i = ColIndex; i < std::min(ColIndex + CCount, MaxColumns - 1); ++i)
        if (!VisibleCol(i)) UnHideColumn(i);
    for (int i = 0; i < CCount; ++i) FColumnCollection->Delete(ColIndex);
    EraseStoreColumns(ColIndex, CCount);
    FColumnCollection->FNoRecursiveUpdate = false;
    CellsChanged(TRect{ColIndex, 0, ColIndex + CCount, RowCount() - 1});
    Invalidate();
}

bool TProColumnGrid::IsDataCell(int ACol, int ARow)
{
    return ACol >= FixedCols() && ACol < TotalColCount() - FixedRightCols() && ARow >= FixedRows() &&
           ARow < RowCount() - FixedFooters();
}

// ---- cell hooks ------------------------------------------------------------------------------

void TProColumnGrid::GetCellColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont)
{
    TGridColumnItem* c = ColumnAt(ACol);
    if (c && ACol >= FixedCols() && ACol < TotalColCount() - FixedRightCols() && ARow < RowCount() - FixedFooters()) {
        if (c->Fixed()) ABrush->SetColor(FixedColor());
        else if (ARow >= FixedRows() && (!c->ShowBands() || !Bands()->Active())) ABrush->SetColor(c->Color());
        AFont->Assign(ARow < FixedRows() ? *c->HeaderFont() : *c->Font());
        if (HasCellProperties(ACol, ARow)) {
            TCellProperties* p = GetCellProperties(ACol, ARow);
            if (p->BrushColor() != clNone) ABrush->SetColor(p->BrushColor());
            if (p->FontColor() != clNone) AFont->SetColor(p->FontColor());
        }
    }
    TProStringGrid::GetCellColor(ACol, ARow, AState, ABrush, AFont);
}

void TProColumnGrid::GetCellPrintColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont)
{
    TGridColumnItem* c = ColumnAt(ACol);
    if (c && IsDataCell(ACol, ARow)) {
        if (c->Fixed()) ABrush->SetColor(FixedColor());
        else if (!(c->ShowBands() && Bands()->Active() && Bands()->Print())) {
            ABrush->SetColor(c->PrintColor());
            if (HasCellProperties(ACol, ARow) && GetCellProperties(ACol, ARow)->BrushColor() != clNone)
                ABrush->SetColor(GetCellProperties(ACol, ARow)->BrushColor());
        }
        if (c->PrintFontCustom()) {
            AFont->Assign(*c->PrintFont());
            if (HasCellProperties(ACol, ARow)) {
                TCellProperties* p = GetCellProperties(ACol, ARow);
                if (p->FontColor() != clNone) AFont->SetColor(p->FontColor());
                if (!p->FontStyle().Empty()) AFont->SetStyle(p->FontStyle());
                if (p->FontSize() != 0) AFont->SetSize(p->FontSize());
                if (!p->FontName().isEmpty()) AFont->SetName(p->FontName());
            }
        }
    }
    TProStringGrid::GetCellPrintColor(ACol, ARow, AState, ABrush, AFont);
}

void TProColumnGrid::GetCellBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders)
{
    if (TGridColumnItem* c = ColumnAt(ACol); c && ACol >= FixedCols() && ARow >= FixedRows()) {
        Borders = c->Borders();
        APen->Assign(*c->BorderPen());
    }
    TProStringGrid::GetCellBorder(ACol, ARow, APen, Borders);
}

void TProColumnGrid::GetCellPrintBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders)
{
    if (TGridColumnItem* c = ColumnAt(ACol); c && c->PrintBorderCustom() && ACol >= FixedCols() && ARow >= FixedRows()) {
        Borders = c->PrintBorders();
        APen->Assign(*c->PrintBorderPen());
    }
    TProStringGrid::GetCellPrintBorder(ACol, ARow, APen, Borders);
}

void TProColumnGrid::GetCellAlignHook(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign)
{
    if (TGridColumnItem* c = ColumnAt(ACol)) {
        HAlign = ARow < FixedRows() ? c->HeaderAlignment() : c->Alignment();
        if (HasCellProperties(ACol, ARow)) HAlign = GetCellProperties(ACol, ARow)->Alignment();
    }
    TProStringGrid::GetCellAlignHook(ACol, ARow, HAlign, VAlign);
}

void TProColumnGrid::GetColFormat(int ACol, TSortStyle& AStyle, QString& Prefix, QString& Suffix)
{
    if (TGridColumnItem* c = ColumnAt(ACol)) {
        AStyle = c->SortStyle();
        Prefix = c->SortPrefix();
        Suffix = c->SortSuffix();
    }
    TProStringGrid::GetColFormat(ACol, AStyle, Prefix, Suffix);
}

void TProColumnGrid::GetCellEditor(int ACol, int ARow, TEditorType& AEditor)
{
    if (TGridColumnItem* c = ColumnAt(ACol)) {
        if (ACol >= FixedCols() && ARow >= FixedRows()) {
            AEditor = c->Editor();
            SetEditLink(c->EditLink());
            if (TGridCombo* combo = EditComboControl()) {
                combo->clear();
                combo->addItems(c->ComboItems()->Strings());
                combo->setMaxVisibleItems(std::max(1, c->DropDownCount()));
            }
            // equal bounds (the column's default 0 and 0) mean no range
            TGridSpin* spin = SpinEdit();
            spin->MinValue = c->SpinMin();
            spin->MaxValue = c->SpinMax();
            spin->Increment = c->SpinStep();
        }
        if (!c->FloatFormat().isEmpty()) SetFloatFormat(c->FloatFormat());
    }
    TProStringGrid::GetCellEditor(ACol, ARow, AEditor);
}

void TProColumnGrid::IsFixedCell(int ACol, int ARow, bool& IsFixed)
{
    // The column is a display column here.
    if (ACol >= FixedCols() && ARow >= FixedRows())
        if (TGridColumnItem* c = ColumnAt(DisplToRealColumn(ACol))) IsFixed = c->Fixed();
    TProStringGrid::IsFixedCell(ACol, ARow, IsFixed);
}

void TProColumnGrid::CanEditCell(int ACol, int ARow, bool& CanEdit)
{
    TGridColumnItem* c = ColumnAt(ACol);
    if (!c) {
        TProStringGrid::CanEditCell(ACol, ARow, CanEdit);
        return;
    }
    CanEdit = false;
    if (!Loading() && ACol >= FixedCols() && ARow >= FixedRows()) {
        CanEdit = !(c->ReadOnly() || c->Fixed());
        if (CanEdit && HasCellProperties(ACol, ARow)) CanEdit = !GetCellProperties(ACol, ARow)->ReadOnly();
    }
    int bx = ACol, by = ARow;
    ResolveBaseCell(ACol, ARow, bx, by);
    CanEditCellEvent(bx, by, CanEdit);
}

void TProColumnGrid::IsPasswordCellHook(int ACol, int ARow, bool& IsPassword)
{
    if (TGridColumnItem* c = ColumnAt(ACol)) IsPassword = c->Password();
    TProStringGrid::IsPasswordCellHook(ACol, ARow, IsPassword);
}

bool TProColumnGrid::HasComboBox(int ACol, int ARow)
{
    TGridColumnItem* c = ColumnAt(ACol);
    bool answer = c && ACol >= FixedCols() && ARow >= FixedRows() &&
                  (c->Editor() == edComboEdit || c->Editor() == edComboList);
    if (OnHasComboBox) OnHasComboBox(this, ACol, ARow, answer);
    return answer;
}

void TProColumnGrid::GetCheckTrue(int ACol, int ARow, QString& Value)
{
    TProStringGrid::GetCheckTrue(ACol, ARow, Value);
    if (TGridColumnItem* c = ColumnAt(ACol); c && IsDataCell(ACol, ARow)) Value = c->CheckTrue();
}

void TProColumnGrid::GetCheckFalse(int ACol, int ARow, QString& Value)
{
    TProStringGrid::GetCheckFalse(ACol, ARow, Value);
    if (TGridColumnItem* c = ColumnAt(ACol); c && IsDataCell(ACol, ARow)) Value = c->CheckFalse();
}

bool TProColumnGrid::GetFilterList(int ACol)
{
    const bool automatic = TProStringGrid::GetFilterList(ACol);
    // A column without entries of its own offers the grid's list.
    TGridColumnItem* c = ColumnAt(ACol);
    if (!c || c->Filter()->Count() == 0) return automatic;
    QStringList names;
    for (const QString& entry : c->Filter()->Strings()) {
        const int eq = entry.indexOf(QLatin1Char('='));
        names << (eq < 0 ? entry : entry.left(eq));
    }
    FilterList()->Sorted = false;
    FilterList()->IgnoreDuplicates = false;
    FilterList()->SetStrings(names);
    return true;
}

void TProColumnGrid::GetFloatFormat(int ACol, int ARow, QString& AFloatFormat)
{
    TProStringGrid::GetFloatFormat(ACol, ARow, AFloatFormat);
    if (TGridColumnItem* c = ColumnAt(ACol); c && !c->FloatFormat().isEmpty()) AFloatFormat = c->FloatFormat();
}

void TProColumnGrid::UpdateColumnSize(int ACol, int& AWidth)
{
    if (TGridColumnItem* c = ColumnAt(ACol)) {
        if (c->MinSize() > 0) AWidth = std::max(AWidth, c->MinSize());
        if (c->MaxSize() > 0) AWidth = std::min(AWidth, c->MaxSize());
    }
    TProStringGrid::UpdateColumnSize(ACol, AWidth);
}

void TProColumnGrid::UpdateAutoColumnSize(int ACol, int& AWidth)
{
    if (TGridColumnItem* c = ColumnAt(ACol)) {
        if (c->AutoMinSize() > 0) AWidth = std::max(AWidth, c->AutoMinSize());
        if (c->AutoMaxSize() > 0) AWidth = std::min(AWidth, c->AutoMaxSize());
    }
    TProStringGrid::UpdateAutoColumnSize(ACol, AWidth);
}

void TProColumnGrid::GetCellDefaults(int ACol, int ARow, TFont* AFont, TBrush* ABrush, TColor& AColorTo,
                                     TColor& AMirrorColor, TColor& AMirrorColorTo, TAlignment& HA, TVAlignment& VA,
                                     bool& WW, TCellGradientDirection& GD)
{
    TGridColumnItem* c = ColumnAt(ACol);
    if (!c) {
        TProStringGrid::GetCellDefaults(ACol, ARow, AFont, ABrush, AColorTo, AMirrorColor, AMirrorColorTo, HA, VA, WW,
                                        GD);
        return;
    }
    AFont->Assign(*c->Font());
    ABrush->SetColor(c->Color());
    AColorTo = clNone;
    HA = ARow < FixedRows() ? c->HeaderAlignment() : c->Alignment();
    VA = VAlignment();
    WW = WordWrap();
    GD = GradientVertical;
    if (IsFixed(ACol, ARow) || (c->ShowBands() && Bands()->Active())) {
        ABrush->SetColor(clNone);
        AColorTo = clNone;
    }
}

QString TProColumnGrid::GetEditMask(int ACol, int ARow)
{
    QString mask;
    if (ACol >= FixedCols())
        if (TGridColumnItem* c = ColumnAt(DisplToRealColumn(ACol))) mask = c->EditMask();
    const QString inherited = TProStringGrid::GetEditMask(ACol, ARow);
    return inherited.isEmpty() ? mask : inherited;
}

int TProColumnGrid::GetEditLimit()
{
    int limit = TProStringGrid::GetEditLimit();
    if (Col() >= FixedCols())
        if (TGridColumnItem* c = ColumnAt(DisplToRealColumn(Col()))) limit = c->EditLength();
    return limit;
}

void TProColumnGrid::ColWidthsChanged()
{
    TProStringGrid::ColWidthsChanged();
    if (Loading() || !FColumnCollection || FColMoving) return;
    for (int d = 0; d < ColCount(); ++d)
        if (TGridColumnItem* c = ColumnAt(DisplToRealColumn(d))) c->FWidth = ColWidths(d);
}

void TProColumnGrid::ColumnMoved(int FromIndex, int ToIndex)
{
    FColumnCollection->FNoRecursiveUpdate = true;
    const int top = TopRow();
    const int rf = DisplToRealColumn(FromIndex);
    const int rt = DisplToRealColumn(ToIndex);
    TProStringGrid::ColumnMoved(FromIndex, ToIndex);
    BeginUpdate();
    FColMoving = true;
    // The column's description travels with it.
    if (rf < FColumnCollection->Count() && rt < FColumnCollection->Count()) FColumnCollection->Move(rf, rt);
    SetTopRow(top);
    FColMoving = false;
    EndUpdate();
    FColumnCollection->FNoRecursiveUpdate = false;
    if (OnAfterColumnMoved) OnAfterColumnMoved(this, rf, rt);
}

void TProColumnGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TProStringGrid::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft && Button != mbRight) return;
    const TGridCoord cell = MouseCoord(X, Y);
    TGridColumnItem* c = ColumnAt(cell.X);
    if (!c || cell.Y < 0 || !c->ColumnPopup()) return;
    const TColumnPopupType t = c->ColumnPopupType();
    const bool left = Button == mbLeft;
    const TColumnPopupType fixedType = left ? cpFixedCellsLClick : cpFixedCellsRClick;
    const TColumnPopupType normalType = left ? cpNormalCellsLClick : cpNormalCellsRClick;
    const TColumnPopupType allType = left ? cpAllCellsLClick : cpAllCellsRClick;
    if (t != fixedType && t != normalType && t != allType) return;
    TPopupMenu* menu = c->ColumnPopup();
    if (OnColumnPopup) OnColumnPopup(this, cell.X, cell.Y, menu);
    const bool fixedRow = cell.Y < FixedRows();
    if (!(fixedRow ? (t == fixedType || t == allType) : (t == normalType || t == allType))) return;
    // The handler may have dropped the menu.
    if (c->ColumnPopup() != menu) return;
    const TRect r = CellRect(cell.X, cell.Y);
    const QPoint p = viewport()->mapToGlobal(QPoint(r.Left, r.Bottom));
    menu->Popup(p.x(), p.y());
}

void TProColumnGrid::FilterSelect(TObject* Sender, int ItemIndex)
{
    (void)Sender;
    const int col = FilterCol();
    TGridColumnItem* c = ColumnAt(col);
    // A column without entries of its own offers the automatic list, chosen as the grid does.
    if (!c || c->Filter()->Count() == 0) {
        TProStringGrid::FilterSelect(Sender, ItemIndex);
        return;
    }
    if (ItemIndex >= 0 && ItemIndex < c->Filter()->Count()) {
        const QString entry = (*c->Filter())[ItemIndex];
        const int eq = entry.indexOf(QLatin1Char('='));
        const QString friendlyName = eq < 0 ? entry : entry.left(eq);
        if (FAutoFilterDisplay) c->SetHeader(friendlyName);
        // With automatic update the old conditions go off while the new one is put in, then
        // the filter is applied again.
        const bool autoUpdate = AutoFilterUpdate();
        if (autoUpdate) SetFilterActive(false);
        QString condition = eq < 0 ? entry : entry.mid(eq + 1);
        if (OnFilterSelect) OnFilterSelect(this, col, ItemIndex, friendlyName, condition);
        TFilterData* data = Filter()->GetColFilter(col);
        data->SetCondition(condition);
        data->SetCaseSensitive(c->FilterCaseSensitive());
        if (autoUpdate) {
            SetFilterActive(true);
            if (!(RowCount() == FixedRows() || (RowCount() == 1 && FixedRowAlways()))) SetRow(FixedRows());
            if (OnFilterDone) OnFilterDone(this);
        }
    }
    SetFilterCol(-1);
}
