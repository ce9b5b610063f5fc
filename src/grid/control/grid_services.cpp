#include "grid/control/grid_services.h"

#include "grid/control/pro_string_grid.h"
#include "platform/core/exception.h"

namespace {
[[noreturn]] void InvalidCast(const TPersistent* Source, const TPersistent* Target)
{
    throw EConvertError(QStringLiteral("Cannot assign a %1 to a %2")
                            .arg(Source ? Source->ClassName() : QStringLiteral("nil"), Target->ClassName()));
}
}

void TSortSettings::SetHeaderColour(TColor& field, TColor v)
{
    if (field == v) return;
    field = v;
    if (FOwner && FOwner->FixedRows() > 0) FOwner->InvalidateRow(FOwner->FixedRows() - 1);
}

void TSortSettings::SetRow(int v)
{
    if (FOwner && v >= FOwner->FixedRows()) throw Exception(QStringLiteral("Sort row should be smaller than number of fixed rows"));
    FRow = v;
}

void TSortSettings::Assign(const TPersistent* Source)
{
    const auto* s = dynamic_cast<const TSortSettings*>(Source);
    if (!s) return;
    const bool ignoreCase = FIgnoreCase, virtualCells = FSortOnVirtualCells;
    FAutoSortForGrouping = s->FAutoSortForGrouping;
    FAutoColumnMerge = s->FAutoColumnMerge;
    FColumn = s->FColumn;
    FShow = s->FShow;
    FIndexShow = s->FIndexShow;
    FIndexColor = s->FIndexColor;
    FIndexSortKey = s->FIndexSortKey;
    FFull = s->FFull;
    FSingleColumn = s->FSingleColumn;
    FIgnoreBlanks = s->FIgnoreBlanks;
    FBlankPos = s->FBlankPos;
    FAutoFormat = s->FAutoFormat;
    FDirection = s->FDirection;
    FInitSortDirection = s->FInitSortDirection;
    FFixedCols = s->FFixedCols;
    FNormalCellsOnly = s->FNormalCellsOnly;
    FRow = s->FRow;
    FUndoSort = s->FUndoSort;
    FHeaderColor = s->FHeaderColor;
    FHeaderColorTo = s->FHeaderColorTo;
    FHeaderMirrorColor = s->FHeaderMirrorColor;
    FHeaderMirrorColorTo = s->FHeaderMirrorColorTo;
    FUpGlyph.Assign(s->FUpGlyph);
    FDownGlyph.Assign(s->FDownGlyph);
    FIndexUpGlyph.Assign(s->FIndexUpGlyph);
    FIndexDownGlyph.Assign(s->FIndexDownGlyph);
    FIgnoreCase = ignoreCase;
    FSortOnVirtualCells = virtualCells;
}

void TFilterData::Assign(const TPersistent* Source)
{
    const auto* s = dynamic_cast<const TFilterData*>(Source);
    if (!s) InvalidCast(Source, this);
    FColumn = s->FColumn;
    FCondition = s->FCondition;
    FCaseSensitive = s->FCaseSensitive;
    FData = s->FData;
    FPrefix = s->FPrefix;
    FSuffix = s->FSuffix;
    FOperation = s->FOperation;
}

void TFilter::Assign(const TPersistent* Source)
{
    const auto* s = dynamic_cast<const TFilter*>(Source);
    if (!s) return;
    FItems.clear();
    for (const auto& item : s->FItems) {
        TFilterData* d = Add();
        d->Assign(item.get());
        d->SetMethod(item->Method());
    }
}

TFilterData* TFilter::Add()
{
    // A condition added joins those before it with "and"; the first stands alone.
    FItems.push_back(std::make_unique<TFilterData>());
    FItems.back()->SetOperation(FItems.size() == 1 ? foNONE : foAND);
    return FItems.back().get();
}

TFilterData* TFilter::GetItem(int Index) const
{
    if (Index < 0 || Index >= Count()) throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    return FItems[size_t(Index)].get();
}

TFilterData* TFilter::GetColFilter(int Col)
{
    for (const auto& item : FItems)
        if (item->Column() == Col) return item.get();
    TFilterData* d = Add();
    d->SetColumn(int16_t(Col));
    return d;
}

bool TFilter::HasFilter(int Col) const
{
    for (const auto& item : FItems)
        if (item->Column() == Col) return true;
    return false;
}

TFilterDropDown::TFilterDropDown()
{
    FGlyph.OnChange = [this](TObject*) { Changed(); };
    FGlyphActive.OnChange = [this](TObject*) { Changed(); };
}

void TFilterDropDown::Assign(const TPersistent* Source)
{
    const auto* s = dynamic_cast<const TFilterDropDown*>(Source);
    if (!s) return;
    FColor = s->FColor;
    FColumnWidth = s->FColumnWidth;
    FFont.Assign(s->FFont);
    FHeight = s->FHeight;
    FWidth = s->FWidth;
    FGlyph.Assign(s->FGlyph);
    FGlyphActive.Assign(s->FGlyphActive);
}

void TGrouping::Assign(const TPersistent* Source)
{
    const auto* s = dynamic_cast<const TGrouping*>(Source);
    if (!s) return;
    FGroupCountFormat = s->FGroupCountFormat;
    FHeaderColor = s->FHeaderColor;
    FHeaderColorTo = s->FHeaderColorTo;
    FHeaderTextColor = s->FHeaderTextColor;
    FHeaderUnderline = s->FHeaderUnderline;
    FMergeHeader = s->FMergeHeader;
    FMergeSummary = s->FMergeSummary;
    FShowGroupCount = s->FShowGroupCount;
    FSummaryColor = s->FSummaryColor;
    FSummaryColorTo = s->FSummaryColorTo;
    FSummaryTextColor = s->FSummaryTextColor;
    FSummaryLine = s->FSummaryLine;
    FAutoCheckGroup = s->FAutoCheckGroup;
    FAutoSelectGroup = s->FAutoSelectGroup;
}

void TPrintSettings::Assign(const TPersistent* Source)
{
    const auto* s = dynamic_cast<const TPrintSettings*>(Source);
    if (!s) InvalidCast(Source, this);
    const bool fixedAlways = FFixedCellsAlways;
    *this = *s;
    FFixedCellsAlways = fixedAlways;
}

void THTMLSettings::Assign(const TPersistent* Source)
{
    const auto* s = dynamic_cast<const THTMLSettings*>(Source);
    if (!s) return;
    const bool exportImages = FExportImages;
    FAutoPreview = s->FAutoPreview;
    FBorderSize = s->FBorderSize;
    FCellSpacing = s->FCellSpacing;
    FCellPadding = s->FCellPadding;
    FConvertSpecialChars = s->FConvertSpecialChars;
    FFooterFile = s->FFooterFile;
    FHeaderFile = s->FHeaderFile;
    FNonBreakingText = s->FNonBreakingText;
    FPrefixTag = s->FPrefixTag;
    FSuffixTag = s->FSuffixTag;
    FSaveColor = s->FSaveColor;
    FSaveFonts = s->FSaveFonts;
    FSummary = s->FSummary;
    FTableStyle = s->FTableStyle;
    FWidth = s->FWidth;
    FXHTML = s->FXHTML;
    FExportImages = exportImages;
}

void TDragDropSettings::Assign(const TPersistent* Source)
{
    if (const auto* s = dynamic_cast<const TDragDropSettings*>(Source)) *this = *s;
}

void TColumnSize::Assign(const TPersistent* Source)
{
    const auto* s = dynamic_cast<const TColumnSize*>(Source);
    if (!s) return;
    FRows = s->FRows;
    FSave = s->FSave;
    FKey = s->FKey;
    FSection = s->FSection;
    FStretch = s->FStretch;
    FStretchColumn = s->FStretchColumn;
    FSynchWithGrid = s->FSynchWithGrid;
    FSynchNormalCellsOnly = s->FSynchNormalCellsOnly;
    FLocation = s->FLocation;
}

void TColumnSize::SetStretch(bool v)
{
    FStretch = v;
    if (FOwner && FOwner->parentWidget()) FOwner->StretchColumn(FStretchColumn);
}
