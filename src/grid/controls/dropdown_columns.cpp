#include "grid/controls/dropdown_columns.h"

namespace DropDownList {

void TDropDownColumn::Assign(const TDropDownColumn& Source)
{
    Wordwrap = Source.Wordwrap;
    Width = Source.Width;
    AutoSize = Source.AutoSize;
    Header = Source.Header;
    Alignment = Source.Alignment;
    Color = Source.Color;
    ColumnType = Source.ColumnType;
    FFont.Assign(Source.FFont);
    Ellipsis = Source.Ellipsis;
}

void TDropDownItem::Assign(const TDropDownItem& Source)
{
    ImageIndex = Source.ImageIndex;
    FText = Source.FText;
}

int TDropDownItems::IndexInColumn(int Column, const QString& Value) const
{
    if (Column < 0) return -1;
    for (int i = 0; i < Count(); ++i) {
        const QStringList& t = Items(i)->Text();
        if (Column < t.size() && t.at(Column) == Value) return i;
    }
    return -1;
}

} // namespace DropDownList
