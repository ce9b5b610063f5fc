#include "grid/base/int_list.h"

#include "platform/core/exception.h"
#include "platform/core/sysutils.h"

#include <QWidget>

#include "platform/ui/canvas.h"

namespace {
// Items of a comma text: commas and blanks separate, double quotes group ("" inside a
// quoted item stands for one quote).
QStringList SplitCommaText(const QString& text)
{
    QStringList items;
    const qsizetype n = text.size();
    qsizetype i = 0;
    auto skipBlanks = [&] { while (i < n && text[i].unicode() <= 32) ++i; };
    skipBlanks();
    while (i < n) {
        QString item;
        if (text[i] == QLatin1Char('"')) {
            ++i;
            while (i < n) {
                if (text[i] == QLatin1Char('"')) {
                    if (i + 1 < n && text[i + 1] == QLatin1Char('"')) { item += QLatin1Char('"'); i += 2; continue; }
                    ++i;
                    break;
                }
                item += text[i++];
            }
        } else {
            while (i < n && text[i].unicode() > 32 && text[i] != QLatin1Char(',')) item += text[i++];
        }
        items << item;
        skipBlanks();
        if (i < n && text[i] == QLatin1Char(',')) {
            ++i;
            skipBlanks();
            if (i >= n) items << QString();  // a trailing comma ends with an empty item
        }
    }
    return items;
}

constexpr uint32_t kDescending = 0x80000000u;
}

void TIntList::Changed()
{
    if (OnChange) OnChange(this, FCol, FRow);
}

void TIntList::CheckIndex(int Index, bool AllowEnd) const
{
    if (Index < 0 || Index > Count() || (!AllowEnd && Index == Count()))
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
}

void TIntList::Add(int Value)
{
    FItems.append(Value);
    Changed();
}

void TIntList::Delete(int Index)
{
    CheckIndex(Index, false);
    FItems.remove(Index);
    Changed();
}

void TIntList::Insert(int Index, int Value)
{
    CheckIndex(Index, true);
    FItems.insert(Index, Value);
}

int TIntList::GetInteger(int Index) const
{
    CheckIndex(Index, false);
    return FItems[Index];
}

void TIntList::SetInteger(int Index, int Value)
{
    CheckIndex(Index, false);
    FItems[Index] = Value;
    Changed();
}

int TIntList::IndexOf(int Value) const { return int(FItems.indexOf(Value)); }

void TIntList::DeleteValue(int Value)
{
    const int i = IndexOf(Value);
    if (i >= 0) Delete(i);
}

bool TIntList::HasValue(int Value) const { return FItems.contains(Value); }

QString TIntList::StrValue() const
{
    QStringList parts;
    parts.reserve(FItems.size());
    for (int v : FItems) parts << QString::number(v);
    return parts.join(QLatin1Char(','));
}

void TIntList::SetStrValue(const QString& Value)
{
    const QStringList items = SplitCommaText(Value);
    FItems.clear();
    for (const QString& item : items) Add(StrToInt(item));
}

void TSortIndexList::AddIndex(int ColumnIndex, bool Ascending)
{
    uint32_t v = uint32_t(ColumnIndex);
    if (!Ascending) v |= kDescending;
    Add(int32_t(v));
}

int TSortIndexList::FindIndex(int ColumnIndex) const
{
    for (int i = 0; i < Count(); ++i)
        if ((uint32_t(GetInteger(i)) & ~kDescending) == uint32_t(ColumnIndex)) return i;
    return -1;
}

void TSortIndexList::ToggleIndex(int ColumnIndex)
{
    const int i = FindIndex(ColumnIndex);
    if (i >= 0) SetInteger(i, int32_t(uint32_t(GetInteger(i)) ^ kDescending));
}

int TSortIndexList::SortColumns(int i) const { return int(uint32_t(GetInteger(i)) & ~kDescending); }

void TSortIndexList::SetSortColumns(int i, int Value)
{
    const uint32_t keep = uint32_t(GetInteger(i)) & kDescending;
    SetInteger(i, int32_t((uint32_t(Value) & ~kDescending) | keep));
}

bool TSortIndexList::SortDirections(int i) const { return (uint32_t(GetInteger(i)) & kDescending) == 0; }

void TSortIndexList::SetSortDirections(int i, bool Ascending)
{
    uint32_t v = uint32_t(GetInteger(i));
    v = Ascending ? (v & ~kDescending) : (v | kDescending);
    SetInteger(i, int32_t(v));
}

QString TSortIndexList::SaveToString() const
{
    QStringList parts;
    for (int i = 0; i < Count(); ++i)
        parts << (SortDirections(i) ? QStringLiteral("u") : QStringLiteral("d")) +
                     QString::number(uint32_t(GetInteger(i)) & 0xFFFF);
    return parts.join(QLatin1Char(';'));
}

void TSortIndexList::LoadFromString(const QString& S)
{
    Clear();
    QString rest = S;
    while (!rest.isEmpty()) {
        const qsizetype p = rest.indexOf(QLatin1Char(';'));
        const QString item = p < 0 ? rest : rest.left(p);
        rest = p < 0 ? QString() : rest.mid(p + 1);
        if (item.size() < 2) continue;
        // The number at the start of the rest of the item: leading blanks and a sign,
        // digits up to the first other character, 0 without digits.
        const QString num = item.mid(1);
        qsizetype i = 0;
        while (i < num.size() && num[i] == QLatin1Char(' ')) ++i;
        bool negative = false;
        if (i < num.size() && (num[i] == QLatin1Char('-') || num[i] == QLatin1Char('+'))) {
            negative = num[i] == QLatin1Char('-');
            ++i;
        }
        int64_t column = 0;
        while (i < num.size() && num[i].isDigit() && num[i].unicode() < 128) {
            column = column * 10 + (num[i].unicode() - '0');
            if (column > 0x7FFFFFFF) column = 0x7FFFFFFF;
            ++i;
        }
        if (negative) column = -column;
        AddIndex(int(column), item[0] == QLatin1Char('u'));
    }
}

TControlList::~TControlList() { FItems.clear(); }

void TControlList::AddControl(int X, int Y, QWidget* AObject)
{
    FItems.push_back(std::make_unique<TControlItem>(X, Y, AObject));
}

int TControlList::ControlIndex(int X, int Y) const
{
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i]->X() == X && FItems[i]->Y() == Y) return int(i);
    return -1;
}

TControlItem* TControlList::GetControl(int i) const
{
    if (i < 0 || i >= Count()) throw EListError(QStringLiteral("List index out of bounds (%1)").arg(i));
    return FItems[size_t(i)].get();
}

bool TControlList::HasHandle(const QWidget* Handle) const
{
    if (!Handle) return false;
    for (const auto& item : FItems)
        if (item->Control() == Handle) return true;
    return false;
}

void TControlList::RemoveControl(int Index)
{
    if (Index < 0 || Index >= Count()) throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    FItems.erase(FItems.begin() + Index);
}

void TFilePicture::Assign(const TPersistent* Source)
{
    const auto* s = dynamic_cast<const TFilePicture*>(Source);
    if (!s) return;
    FFilename = s->FFilename;
    FWidth = s->FWidth;
    FHeight = s->FHeight;
}

void TFilePicture::SetFilename(const QString& v)
{
    FFilename = v;
    TBitmap picture;
    if (picture.LoadFromFile(v)) {
        FWidth = picture.Width();
        FHeight = picture.Height();
    }
}

void TFilePicture::DrawPicture(TCanvas* Canvas, const TRect& r)
{
    if (FFilename.isEmpty() || !Canvas) return;
    TBitmap picture;
    if (picture.LoadFromFile(FFilename)) Canvas->StretchDraw(r, picture);
}
