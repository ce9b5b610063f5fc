#include "grid/data/cell_stream.h"

#include "grid/base/int_list.h"
#include "grid/control/pro_string_grid.h"
#include "grid/data/text_io.h"
#include "grid/data/update_lock.h"
#include "platform/core/sysutils.h"
#include "platform/ui/picture.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QtEndian>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QSet>
#include <algorithm>
#include <array>
#include <cstring>

namespace {

// ---- enumeration names ------------------------------------------------------------------------

const QStringList& AlignmentNames()
{
    static const QStringList n{"taLeftJustify", "taRightJustify", "taCenter"};
    return n;
}
const QStringList& VAlignmentNames()
{
    static const QStringList n{"vtaTop", "vtaCenter", "vtaBottom"};
    return n;
}
const QStringList& BrushStyleNames()
{
    static const QStringList n{"bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal", "bsBDiagonal",
                               "bsCross", "bsDiagCross"};
    return n;
}
const QStringList& FontStyleNames()
{
    static const QStringList n{"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};
    return n;
}
const QStringList& GradientNames()
{
    static const QStringList n{"GradientVertical", "GradientHorizontal"};
    return n;
}
const QStringList& EditorNames()
{
    static const QStringList n{
        "edNormal", "edSpinEdit", "edComboEdit", "edComboList", "edEditBtn", "edCheckBox", "edDateEdit",
        "edDateEditUpDown", "edTimeEdit", "edButton", "edDataCheckBox", "edNumeric", "edPositiveNumeric",
        "edFloat", "edCapital", "edMixedCase", "edPassword", "edUnitEditBtn", "edLowerCase", "edUpperCase",
        "edFloatSpinEdit", "edTimeSpinEdit", "edDateSpinEdit", "edNumericEditBtn", "edFloatEditBtn", "edCustom",
        "edRichEdit", "edNone", "edDateTimeEdit", "edValidChars", "edTrackbarDropDown", "edMemoDropDown",
        "edCalculatorDropDown", "edTimePickerDropDown", "edDetailDropDown", "edGridDropDown",
        "edColorPickerDropDown", "edImagePickerDropDown", "edProGridDropDown", "edPositiveFloat",
        "edNumericUnitEditBtn", "edFloatUnitEditBtn", "edMaskEditBtn"};
    return n;
}
const QStringList& CellTypeNames()
{
    static const QStringList n{
        "ctBitmap", "ctIcon", "ctNone", "ctImageList", "ctCheckBox", "ctDataCheckBox", "ctRotated", "ctDataImage",
        "ctNode", "ctRadio", "ctEmpty", "ctImages", "ctPicture", "ctFilePicture", "ctValue", "ctProgress",
        "ctComment", "ctButton", "ctBitButton", "ctVirtCheckBox", "ctRowCheckBox", "ctProgressPie", "ctSummary",
        "ctRangeIndicator", "ctXPProgress", "ctInterface", "ctScrollbar", "ctRadioButton", "ctBalloon", "ctShape",
        "ctRating", "ctTriStateCheckBox", "ctExpand"};
    return n;
}
const QStringList& CellVAlignNames()
{
    static const QStringList n{"vaTop", "vaBottom", "vaCenter", "vaUnderText", "vaAboveText", "vaFull"};
    return n;
}
const QStringList& CellHAlignNames()
{
    static const QStringList n{"haLeft", "haRight", "haCenter", "haBeforeText", "haAfterText", "haFull"};
    return n;
}
const QStringList& CheckStateNames()
{
    static const QStringList n{"cbUnchecked", "cbChecked", "cbGrayed"};
    return n;
}

// Colours the stream may name instead of giving their number.
const std::array<std::pair<const char*, TColor>, 4> ColorIdents{
    {{"clNone", clNone}, {"clDefault", clDefault}, {"clBlack", 0x000000}, {"clWhite", 0xFFFFFF}}};

enum TPropKind { pkBool, pkInt, pkColor, pkString, pkFloat, pkEnum, pkSet, pkIgnored };
struct TPropSpec {
    const char* Name;
    TPropKind Kind;
    const QStringList& (*Names)();
};

// The properties of TCellProperties and TCellGraphic in stream order.  CellObject and Control
// are references to objects of the writing process: read as nothing, never written.
const std::array<TPropSpec, 21> CellPropSpecs{{
    {"IsBaseCell", pkBool, nullptr},      {"CellSpanX", pkInt, nullptr},
    {"CellSpanY", pkInt, nullptr},        {"Alignment", pkEnum, AlignmentNames},
    {"BorderColor", pkColor, nullptr},    {"BorderWidth", pkInt, nullptr},
    {"BrushColor", pkColor, nullptr},     {"BrushColorTo", pkColor, nullptr},
    {"BrushStyle", pkEnum, BrushStyleNames}, {"CellObject", pkIgnored, nullptr},
    {"FontColor", pkColor, nullptr},      {"FontName", pkString, nullptr},
    {"FontSize", pkInt, nullptr},         {"FontStyle", pkSet, FontStyleNames},
    {"Editor", pkEnum, EditorNames},      {"GradientDirection", pkEnum, GradientNames},
    {"ReadOnly", pkBool, nullptr},        {"VAlignment", pkEnum, VAlignmentNames},
    {"WordWrap", pkBool, nullptr},        {"NodeLevel", pkInt, nullptr},
    {"Control", pkIgnored, nullptr},
}};
const std::array<TPropSpec, 13> GraphicPropSpecs{{
    {"CellType", pkEnum, CellTypeNames},  {"CellVAlign", pkEnum, CellVAlignNames},
    {"CellHAlign", pkEnum, CellHAlignNames}, {"CellIndex", pkInt, nullptr},
    {"CellTransparent", pkBool, nullptr}, {"CellCreated", pkBool, nullptr},
    {"CellBoolean", pkBool, nullptr},     {"CellCheckBoxState", pkEnum, CheckStateNames},
    {"CellAngle", pkInt, nullptr},        {"CellValue", pkFloat, nullptr},
    {"CellErrFrom", pkInt, nullptr},      {"CellErrLen", pkInt, nullptr},
    {"CellText", pkString, nullptr},
}};

[[noreturn]] void Bad(const QString& What) { throw EReadError(What); }

template <size_t N>
const TPropSpec* SpecOf(const std::array<TPropSpec, N>& Specs, const QByteArray& Name)
{
    for (const TPropSpec& s : Specs)
        if (Name == s.Name) return &s;
    return nullptr;
}

int EnumIndex(const TPropSpec& s, const TStreamValue& v) { return int(s.Names().indexOf(v.Text)); }

// Checks one property of a nested object against its spec; the value is kept with its
// enumeration or colour already resolved into Int.
bool CheckProp(const TPropSpec& s, TStreamValue& v)
{
    switch (s.Kind) {
    case pkBool: return v.Kind == TStreamValue::vkBool;
    case pkInt: return v.Kind == TStreamValue::vkInt && v.Int >= INT32_MIN && v.Int <= INT32_MAX;
    case pkColor:
        if (v.Kind == TStreamValue::vkIdent) {
            for (const auto& c : ColorIdents)
                if (v.Text == QLatin1String(c.first)) {
                    v.Kind = TStreamValue::vkInt;
                    v.Int = int64_t(c.second);
                    return true;
                }
            return false;
        }
        return v.Kind == TStreamValue::vkInt && v.Int >= INT32_MIN && v.Int <= UINT32_MAX;
    case pkString: return v.Kind == TStreamValue::vkString;
    case pkFloat:
        if (v.Kind == TStreamValue::vkInt) {
            v.Kind = TStreamValue::vkFloat;
            v.Float = double(v.Int);
        }
        return v.Kind == TStreamValue::vkFloat && std::isfinite(v.Float);
    case pkEnum:
        if (v.Kind != TStreamValue::vkIdent) return false;
        v.Int = EnumIndex(s, v);
        return v.Int >= 0;
    case pkSet:
        if (v.Kind != TStreamValue::vkSet) return false;
        v.Int = 0;
        for (const QString& m : v.Items) {
            const int i = int(s.Names().indexOf(m));
            if (i < 0) return false;
            v.Int |= int64_t(1) << i;
        }
        return true;
    case pkIgnored: return true;
    }
    return false;
}

// The nested object's properties of a record: "<Prefix>.<Name>" entries, checked.
template <size_t N>
std::vector<std::pair<QByteArray, TStreamValue>> NestedProps(TStreamRecord& R, const QByteArray& Prefix,
                                                            const std::array<TPropSpec, N>& Specs)
{
    std::vector<std::pair<QByteArray, TStreamValue>> out;
    for (auto& p : R.Props) {
        if (!p.first.startsWith(Prefix)) continue;
        const QByteArray name = p.first.mid(Prefix.size());
        const TPropSpec* s = SpecOf(Specs, name);
        if (!s || !CheckProp(*s, p.second)) Bad(QStringLiteral("Invalid property value"));
        if (s->Kind != pkIgnored) out.emplace_back(name, p.second);
    }
    return out;
}

// A property's value checked for its kind (and range); an absent one gives the default.
bool FlagOf(const TStreamValue* v)
{
    if (!v) return false;
    if (v->Kind != TStreamValue::vkBool) Bad(QStringLiteral("Invalid property value"));
    return v->Int != 0;
}

int64_t IntOf(const TStreamValue* v, int64_t Min, int64_t Max)
{
    if (!v) return 0;
    if (v->Kind != TStreamValue::vkInt || v->Int < Min || v->Int > Max) Bad(QStringLiteral("Invalid property value"));
    return v->Int;
}

QString TextOf(const TStreamValue* v)
{
    if (!v) return {};
    if (v->Kind != TStreamValue::vkString) Bad(QStringLiteral("Invalid property value"));
    return v->Text;
}

bool FlagOf(const TStreamRecord& R, const char* Name) { return FlagOf(R.Find(Name)); }
int64_t IntOf(const TStreamRecord& R, const char* Name, int64_t Min, int64_t Max) { return IntOf(R.Find(Name), Min, Max); }
QString TextOf(const TStreamRecord& R, const char* Name) { return TextOf(R.Find(Name)); }

TStreamRecord Expect(TComponentReader& In, const char* ClassName)
{
    TStreamRecord r = In.ReadRecord();
    if (r.ClassName != QLatin1String(ClassName)) Bad(QStringLiteral("Invalid stream format"));
    return r;
}

// The smallest cell record: signature, class name, empty object name and both end markers.
constexpr qsizetype MinCellRecordSize = 4 + 1 + 11 + 1 + 1 + 1;

// The fixed byte runs of a cell record as SaveRectToBinStream writes it: signature, class,
// empty object name and "Col"; then "Row", "Cell" (left out for an empty text), "HasProp";
// the end markers.  Each name is preceded by its length.
constexpr char CellHeadRun[] = "TPF0\x0b" "TGridCellIO\x00\x03" "Col";
constexpr char CellRowRun[] = "\x03" "Row";
constexpr char CellTextRun[] = "\x04" "Cell";
constexpr char CellHasPropRun[] = "\x07" "HasProp";
constexpr char CellEndRun[] = "\x00\x00";

// The runs above as the writer makes them (checked in debug builds, once).
[[maybe_unused]] bool CellRunsMatchTheWriter()
{
    QByteArray head, end;
    TComponentWriter w(head);
    w.Begin(QStringLiteral("TGridCellIO"));
    TComponentWriter(end).End();
    auto run = [](const auto& r) { return QByteArray(r, sizeof r - 1); };
    auto name = [](const char* n) { return char(std::strlen(n)) + QByteArray(n); };
    return run(CellHeadRun) == head + name("Col") && run(CellRowRun) == name("Row") && run(CellTextRun) == name("Cell")
        && run(CellHasPropRun) == name("HasProp") && run(CellEndRun) == end;
}

// A cell record laid out exactly as the grid writes it, read straight from its bytes, values
// in range; false, with nothing read, for any other record.
bool ReadOwnCellRecord(TComponentReader& In, TCellStreamCell& C)
{
#ifndef NDEBUG
    static const bool runsMatch = CellRunsMatchTheWriter();
    Q_ASSERT(runsMatch);
#endif
    const qsizetype start = In.Pos();
    int32_t col = 0, row = 0;
    bool hasProp = false;
    QString text;
    if (In.TakeRun(CellHeadRun) && In.TakeInt32(col) && In.TakeRun(CellRowRun) && In.TakeInt32(row)
        && (!In.TakeRun(CellTextRun) || In.TakeString(text)) && In.TakeRun(CellHasPropRun) && In.TakeBool(hasProp)
        && In.TakeRun(CellEndRun) && col >= 0 && col <= CellStreamMaxIndex && row >= 0 && row <= CellStreamMaxIndex) {
        C.Col = col;
        C.Row = row;
        C.Text = std::move(text);
        C.HasProp = hasProp;
        return true;
    }
    In.Seek(start);
    return false;
}

// A cell's record, the most frequent of a stream.  The grid's own layout is read from its
// bytes; any other is read without building the record: each of its properties counts at its
// first appearance, as Find takes it, and is checked once the class is known.
void ReadCellRecord(TComponentReader& In, TCellStreamCell& C)
{
    if (ReadOwnCellRecord(In, C)) return;
    enum { Col, Row, Cell, HasProp, Count };
    static const QByteArrayView names[Count] = {"Col", "Row", "Cell", "HasProp"};
    TStreamValue values[Count];
    bool seen[Count] = {};
    const QByteArrayView className = In.ReadRecord([&](QByteArrayView Name, TStreamValue& Value) {
        for (int i = 0; i < Count; ++i)
            if (!seen[i] && Name == names[i]) {
                // what the checks below read: the kind, the number and the text
                seen[i] = true;
                values[i].Kind = Value.Kind;
                values[i].Int = Value.Int;
                values[i].Text.swap(Value.Text);
                return;
            }
    });
    if (className != "TGridCellIO") Bad(QStringLiteral("Invalid stream format"));
    auto value = [&](int i) { return seen[i] ? &values[i] : nullptr; };
    C.Col = int(IntOf(value(Col), 0, CellStreamMaxIndex));
    C.Row = int(IntOf(value(Row), 0, CellStreamMaxIndex));
    C.Text = TextOf(value(Cell));
    C.HasProp = FlagOf(value(HasProp));
}

// Entries of a width or height list; what is there is read, a non-number raises.
QList<int> NumberList(const QString& S)
{
    QList<int> out;
    if (S.isEmpty()) return out;
    for (const QString& part : S.split(QLatin1Char(','))) {
        const int v = StrToInt(part);
        out << std::clamp(v, 0, 10000);
    }
    return out;
}

// A picture from its stream bytes: 4-byte length, then an image file; a size beyond the cap
// is refused before anything is decoded.
QImage ImageOf(const QByteArray& Data, bool ClassNamePrefix)
{
    QByteArray d = Data;
    if (ClassNamePrefix) {
        if (d.isEmpty() || d.size() < 1 + uint8_t(d[0])) Bad(QStringLiteral("Invalid picture"));
        d = d.mid(1 + uint8_t(d[0]));
    }
    if (d.size() < 4) Bad(QStringLiteral("Invalid picture"));
    const qint32 n = qFromLittleEndian<qint32>(d.constData());
    if (n < 0 || n > d.size() - 4) Bad(QStringLiteral("Invalid picture"));
    QBuffer buf;
    buf.setData(d.mid(4, n));
    buf.open(QIODevice::ReadOnly);
    QImageReader reader(&buf);
    const QSize sz = reader.size();
    if (!sz.isValid() || sz.width() > CellStreamMaxPictureSide || sz.height() > CellStreamMaxPictureSide)
        Bad(QStringLiteral("Invalid picture"));
    QImage img = reader.read();
    if (img.isNull()) Bad(QStringLiteral("Invalid picture"));
    return img;
}

QByteArray ImageBytes(const QImage& Image, const QByteArray& ClassName)
{
    QByteArray png;
    QBuffer buf(&png);
    buf.open(QIODevice::WriteOnly);
    Image.save(&buf, "PNG");
    QByteArray out;
    if (!ClassName.isEmpty()) {
        out.append(char(ClassName.size()));
        out.append(ClassName);
    }
    char len[4];
    qToLittleEndian<qint32>(qint32(png.size()), len);
    out.append(len, 4);
    out.append(png);
    return out;
}

bool HasContentRecord(TCellType t)
{
    switch (t) {
    case ctBitmap: case ctBitButton: case ctIcon: case ctRadio: case ctImages: case ctPicture: case ctFilePicture:
        return true;
    default: return false;
    }
}

// Kinds whose graphic holds an object: written only when the graphic made it itself.
bool OwnsObject(TCellType t) { return HasContentRecord(t); }

// Kinds a stream may give a cell: those drawn from plain fields, and those whose object the
// content record supplies.  Objects of another process (interfaces, balloons, scroll bars)
// are never taken.
bool AcceptedType(TCellType t)
{
    switch (t) {
    case ctInterface: case ctBalloon: case ctScrollbar: case ctEmpty: return false;
    default: return true;
    }
}

QSet<qint64>& OwnIDs()
{
    static QSet<qint64> ids;
    return ids;
}

}  // namespace

QString CellTypeName(TCellType t) { return CellTypeNames().value(int(t)); }

// ---- reading ----------------------------------------------------------------------------------

TCellStream ParseCellStream(const QByteArray& Data)
{
    TComponentReader in(Data);
    TCellStream s;
    TStreamRecord h = Expect(in, "TGridPropIO");
    s.ColCount = int(IntOf(h, "ColCount", 0, CellStreamMaxIndex + 1));
    s.RowCount = int(IntOf(h, "RowCount", 0, CellStreamMaxIndex + 1));
    s.ColWidths = NumberList(TextOf(h, "ColWidths"));
    s.RowHeights = NumberList(TextOf(h, "RowHeights"));
    s.FullGrid = FlagOf(h, "FullGrid");
    s.ID = IntOf(h, "ID", INT32_MIN, UINT32_MAX);
    if (qint64(s.ColCount) * s.RowCount > CellStreamMaxCells) Bad(QStringLiteral("Invalid stream format"));
    // Every record takes bytes, so the cells counted here are the cells the stream carries,
    // and no more cells are made room for than the bytes left could hold.
    s.Cells.reserve(size_t(std::min<qint64>(qint64(s.ColCount) * s.RowCount, in.Remaining() / MinCellRecordSize)));
    while (in.Remaining() >= 2) {
        if (qint64(s.Cells.size()) >= CellStreamMaxCells) Bad(QStringLiteral("Invalid stream format"));
        // made in place: a refused stream is dropped whole
        TCellStreamCell& c = s.Cells.emplace_back();
        ReadCellRecord(in, c);
        if (c.HasProp) {
            TStreamRecord p = Expect(in, "TGridCellPropIO");
            c.More = std::make_unique<TCellStreamCellProps>();
            c.More->Props = NestedProps(p, "CellProperties.", CellPropSpecs);
            c.HasGraphic = FlagOf(p, "HasGraphic");
        }
        if (c.HasGraphic) {
            TStreamRecord g = Expect(in, "TGridGraphicIO");
            c.More->GraphicProps = NestedProps(g, "CellGraphic.", GraphicPropSpecs);
            c.GraphicType = ctNone;
            for (const auto& p : c.More->GraphicProps)
                if (p.first == "CellType") c.GraphicType = TCellType(p.second.Int);
            // The picture kinds: record class, property, and whether the data names its class.
            auto picture = [&](const char* Record, const char* Prop, bool Prefixed) {
                const TStreamRecord b = Expect(in, Record);
                if (const TStreamValue* v = b.Find(Prop); v && v->Kind == TStreamValue::vkBinary)
                    c.More->Image = ImageOf(v->Bytes, Prefixed);
                c.HasContent = !c.More->Image.isNull();
            };
            switch (c.GraphicType) {
            case ctBitmap:
            case ctBitButton: picture("TGridBMPIO", "Bitmap.Data", false); break;
            case ctIcon: picture("TGridIconIO", "Icon.Data", false); break;
            case ctPicture: picture("TGridPicIO", "Picture.Data", true); break;
            case ctFilePicture: {
                const TStreamRecord b = Expect(in, "TGridFilePicIO");
                c.More->FileName = TextOf(b, "Picture.Filename");
                c.HasContent = true;
                break;
            }
            case ctRadio:
            case ctImages: {
                const TStreamRecord b = Expect(in, "TGridSLIO");
                if (const TStreamValue* v = b.Find("Strings.Strings")) {
                    if (v->Kind != TStreamValue::vkList) Bad(QStringLiteral("Invalid property value"));
                    c.More->Strings = v->Items;
                }
                c.HasContent = true;
                break;
            }
            default: break;
            }
        }
        if (s.Cells.size() == 1) {
            s.MinCol = s.MaxCol = c.Col;
            s.MinRow = s.MaxRow = c.Row;
        } else {
            s.MinCol = std::min(s.MinCol, c.Col);
            s.MaxCol = std::max(s.MaxCol, c.Col);
            s.MinRow = std::min(s.MinRow, c.Row);
            s.MaxRow = std::max(s.MaxRow, c.Row);
        }
    }
    // A full grid takes the size its header names: only as far as the cells present carry it.
    if (s.FullGrid && qint64(s.ColCount) * s.RowCount > qint64(s.Cells.size()))
        Bad(QStringLiteral("Invalid stream format"));
    return s;
}

// ---- the grid's side --------------------------------------------------------------------------

int TProStringGrid::GridStreamID()
{
    if (FStreamID == 0) {
        do {
            FStreamID = int(QRandomGenerator::global()->generate() & 0x7FFFFFFF);
        } while (FStreamID == 0 || OwnIDs().contains(FStreamID));
        OwnIDs().insert(FStreamID);
    }
    return FStreamID;
}

bool TProStringGrid::IsOwnStreamID(qint64 ID) { return ID != 0 && OwnIDs().contains(ID); }

void TProStringGrid::SaveRectToBinStream(TRect Rect, QIODevice& Stream)
{
    if (Rect.Right > CellStreamMaxIndex || Rect.Bottom > CellStreamMaxIndex)
        throw EProGridError(QStringLiteral("Grid too large for the cell stream"));
    QByteArray out;
    TComponentWriter w(out);
    const int rows = std::max(0, Rect.Bottom - Rect.Top + 1), cols = std::max(0, Rect.Right - Rect.Left + 1);
    QStringList widths, heights;
    for (int c = Rect.Left; c <= Rect.Right; ++c) widths << QString::number(ColWidths(RealToDisplColumn(c)));
    for (int r = Rect.Top; r <= Rect.Bottom; ++r) heights << QString::number(RowHeights(r));
    const bool full = FSaveFixedCells ? (rows == RowCount() && cols == ColCount())
                                      : (rows == RowCount() - FixedRows() && cols == ColCount() - FixedCols());
    w.Begin(QStringLiteral("TGridPropIO"));
    w.Int("ColCount", cols);
    w.Int("RowCount", rows);
    w.String("ColWidths", widths.join(QLatin1Char(',')));
    w.String("RowHeights", heights.join(QLatin1Char(',')));
    w.Bool("FullGrid", full);
    w.Int("ID", GridStreamID());
    w.End();

    ExportNotification(esExportStart, Rect.Top);
    for (int r = Rect.Top; r <= Rect.Bottom; ++r) {
        ExportNotification(esExportNewRow, r);
        for (int c = Rect.Left; c <= Rect.Right; ++c) {
            const bool hasProp = HasCellProperties(c, r);
            w.Begin(QStringLiteral("TGridCellIO"));
            w.Int("Col", c);
            w.Int("Row", r);
            w.String("Cell", GetCellEx(c, r));
            w.Bool("HasProp", hasProp);
            w.End();
            if (!hasProp) continue;
            TCellProperties* p = GetCellProperties(c, r);
            auto* g = dynamic_cast<TCellGraphic*>(p->GraphicObject());
            const TCellType t = g ? g->CellType() : ctEmpty;
            const bool hasGraphic = g && t != ctEmpty && AcceptedType(t) && (!OwnsObject(t) || g->CellCreated());
            w.Begin(QStringLiteral("TGridCellPropIO"));
            w.Bool("CellProperties.IsBaseCell", p->IsBaseCell());
            w.Int("CellProperties.CellSpanX", p->CellSpanX());
            w.Int("CellProperties.CellSpanY", p->CellSpanY());
            w.Ident("CellProperties.Alignment", AlignmentNames().value(int(p->Alignment())));
            w.Int("CellProperties.BorderColor", int32_t(p->BorderColor()));
            w.Int("CellProperties.BorderWidth", p->BorderWidth());
            w.Int("CellProperties.BrushColor", int32_t(p->BrushColor()));
            w.Int("CellProperties.BrushColorTo", int32_t(p->BrushColorTo()));
            w.Ident("CellProperties.BrushStyle", BrushStyleNames().value(int(p->BrushStyle())));
            w.Int("CellProperties.FontColor", int32_t(p->FontColor()));
            w.String("CellProperties.FontName", p->FontName());
            w.Int("CellProperties.FontSize", p->FontSize());
            QStringList styles;
            for (int i = 0; i < FontStyleNames().size(); ++i)
                if (p->FontStyle().Contains(TFontStyle(i))) styles << FontStyleNames()[i];
            w.Set("CellProperties.FontStyle", styles);
            w.Ident("CellProperties.Editor", EditorNames().value(int(p->Editor())));
            w.Ident("CellProperties.GradientDirection", GradientNames().value(int(p->GradientDirection())));
            w.Bool("CellProperties.ReadOnly", p->ReadOnly());
            w.Ident("CellProperties.VAlignment", VAlignmentNames().value(int(p->VAlignment())));
            w.Bool("CellProperties.WordWrap", p->WordWrap());
            w.Int("CellProperties.NodeLevel", p->NodeLevel());
            w.Bool("HasGraphic", hasGraphic);
            w.End();
            if (!hasGraphic) continue;
            w.Begin(QStringLiteral("TGridGraphicIO"));
            w.Ident("CellGraphic.CellType", CellTypeName(t));
            w.Ident("CellGraphic.CellVAlign", CellVAlignNames().value(int(g->CellVAlign())));
            w.Ident("CellGraphic.CellHAlign", CellHAlignNames().value(int(g->CellHAlign())));
            w.Int("CellGraphic.CellIndex", g->CellIndex());
            w.Bool("CellGraphic.CellTransparent", g->CellTransparent());
            w.Bool("CellGraphic.CellCreated", g->CellCreated());
            w.Bool("CellGraphic.CellBoolean", g->CellBoolean());
            w.Ident("CellGraphic.CellCheckBoxState", CheckStateNames().value(int(g->CellCheckBoxState())));
            w.Int("CellGraphic.CellAngle", g->CellAngle());
            w.Float("CellGraphic.CellValue", g->CellValue());
            w.Int("CellGraphic.CellErrFrom", g->CellErrFrom());
            w.Int("CellGraphic.CellErrLen", g->CellErrLen());
            w.String("CellGraphic.CellText", g->CellText());
            w.End();
            auto picture = [&](const char* Record, const char* Prop, TBitmap* b, const QByteArray& ClassName) {
                w.Begin(QString::fromLatin1(Record));
                if (b && !b->Empty()) w.Binary(Prop, ImageBytes(b->Image(), ClassName));
                w.End();
            };
            // The kind's object is read only for the kinds that hold one: others keep plain
            // numbers in the same field.
            switch (t) {
            case ctBitmap:
            case ctBitButton: picture("TGridBMPIO", "Bitmap.Data", dynamic_cast<TBitmap*>(g->CellBitmap()), {}); break;
            case ctIcon: picture("TGridIconIO", "Icon.Data", dynamic_cast<TBitmap*>(g->CellIcon()), {}); break;
            case ctPicture: {
                auto* pic = dynamic_cast<TPicture*>(g->CellBitmap());
                picture("TGridPicIO", "Picture.Data", pic ? pic->Graphic() : nullptr, "TBitmap");
                break;
            }
            case ctFilePicture: {
                auto* fp = dynamic_cast<TFilePicture*>(g->CellBitmap());
                w.Begin(QStringLiteral("TGridFilePicIO"));
                if (fp) w.String("Picture.Filename", fp->Filename());
                w.End();
                break;
            }
            case ctRadio: {
                auto* sl = dynamic_cast<TGridStrings*>(g->CellBitmap());
                w.Begin(QStringLiteral("TGridSLIO"));
                if (sl && sl->Count() > 0) w.StringList("Strings.Strings", sl->Strings());
                w.End();
                break;
            }
            case ctImages: {
                auto* il = dynamic_cast<TIntList*>(g->CellBitmap());
                w.Begin(QStringLiteral("TGridSLIO"));
                if (il && il->Count() > 0) w.StringList("Strings.Strings", il->StrValue().split(QLatin1Char(',')));
                w.End();
                break;
            }
            default: break;
            }
        }
    }
    ExportNotification(esExportDone, -1);
    if (Stream.write(out) != out.size()) throw EInOutError(QStringLiteral("Stream write error"));
}

void TProStringGrid::SaveToBinStream(QIODevice& Stream)
{
    SaveRectToBinStream(TRect{SaveStartCol(), SaveStartRow(), SaveEndCol(), SaveEndRow()}, Stream);
}

void TProStringGrid::SaveToBinFile(const QString& FileName)
{
    QBuffer buf;
    buf.open(QIODevice::WriteOnly);
    SaveToBinStream(buf);
    QSaveFile f(FileName);
    if (!f.open(QIODevice::WriteOnly) || f.write(buf.data()) != buf.data().size() || !f.commit())
        throw EProGridError(QStringLiteral("Cannot Create file ") + FileName);
}

void TProStringGrid::LoadAtPointFromBinStream(TPoint Point, QIODevice& Stream)
{
    const TCellStream s = ParseCellStream(Stream.readAll());
    ApplyCellStream(s, Point);
}

void TProStringGrid::LoadFromBinStream(QIODevice& Stream)
{
    LoadAtPointFromBinStream({0, 0}, Stream);
    int nodes = 0;
    for (int r = FixedRows(); r < RowCount(); ++r)
        if (GetCellType(0, r) == ctNode) ++nodes;
    FNumNodes = nodes;
    if (nodes > 0) RepaintCol(0);
}

void TProStringGrid::LoadFromBinFile(const QString& FileName)
{
    const std::optional<QByteArray> bytes = ReadGridFile(FileName);
    if (!bytes) throw EProGridError(QStringLiteral("File ") + FileName + QStringLiteral(" not found"));
    QBuffer f;
    f.setData(*bytes);
    f.open(QIODevice::ReadOnly);
    LoadFromBinStream(f);
}

namespace {
void ApplyCellProps(TCellProperties* p, const std::vector<std::pair<QByteArray, TStreamValue>>& Props)
{
    for (const auto& [name, v] : Props) {
        const int i = int(std::clamp<int64_t>(v.Int, INT32_MIN, INT32_MAX));
        if (name == "Alignment") p->SetAlignment(TAlignment(i));
        else if (name == "BorderColor") p->SetBorderColor(TColor(i));
        else if (name == "BorderWidth") p->SetBorderWidth(std::clamp(i, 0, 64));
        else if (name == "BrushColor") p->SetBrushColor(TColor(i));
        else if (name == "BrushColorTo") p->SetBrushColorTo(TColor(i));
        else if (name == "BrushStyle") p->SetBrushStyle(TBrushStyle(i));
        else if (name == "FontColor") p->SetFontColor(TColor(i));
        else if (name == "FontName") p->SetFontName(v.Text);
        else if (name == "FontSize") p->SetFontSize(std::clamp(i, -512, 512));
        else if (name == "FontStyle") p->SetFontStyle(TFontStyles::FromBits(uint64_t(v.Int)));
        else if (name == "Editor") p->SetEditor(TEditorType(i));
        else if (name == "GradientDirection") p->SetGradientDirection(TCellGradientDirection(i));
        else if (name == "ReadOnly") p->SetReadOnly(v.Int != 0);
        else if (name == "VAlignment") p->SetVAlignment(TVAlignment(i));
        else if (name == "WordWrap") p->SetWordWrap(v.Int != 0);
        else if (name == "NodeLevel") p->SetNodeLevel(std::clamp(i, 0, 1024));
        // IsBaseCell and the spans are the merges, applied as whole blocks afterwards.
    }
}

void ApplyGraphicProps(TCellGraphic* g, const std::vector<std::pair<QByteArray, TStreamValue>>& Props)
{
    for (const auto& [name, v] : Props) {
        const int i = int(std::clamp<int64_t>(v.Int, INT32_MIN, INT32_MAX));
        if (name == "CellType") g->SetCellType(TCellType(i));
        else if (name == "CellVAlign") g->SetCellVAlign(TCellVAlign(i));
        else if (name == "CellHAlign") g->SetCellHAlign(TCellHAlign(i));
        else if (name == "CellIndex") g->SetCellIndex(i);
        else if (name == "CellTransparent") g->SetCellTransparent(v.Int != 0);
        else if (name == "CellBoolean") g->SetCellBoolean(v.Int != 0);
        else if (name == "CellCheckBoxState") g->SetCellCheckBoxState(TCheckBoxState(i));
        else if (name == "CellAngle") g->SetCellAngle(std::clamp(i, -360, 360));
        else if (name == "CellValue") g->SetCellValue(v.Float);
        else if (name == "CellErrFrom") g->SetCellErrFrom(i);
        else if (name == "CellErrLen") g->SetCellErrLen(i);
        else if (name == "CellText") g->SetCellText(v.Text);
    }
}

int SpanOf(const TCellStreamCell& c, const char* Name)
{
    for (const auto& [name, v] : c.More->Props)
        if (name == Name) return int(std::clamp<int64_t>(v.Int, -1, CellStreamMaxIndex));
    return -1;
}

bool IsBase(const TCellStreamCell& c)
{
    for (const auto& [name, v] : c.More->Props)
        if (name == "IsBaseCell") return v.Int != 0;
    return true;
}
}  // namespace

void TProStringGrid::ApplyCellStream(const TCellStream& S, TPoint Point, bool Paste)
{
    const int ox = S.FullGrid ? 0 : S.MinCol, oy = S.FullGrid ? 0 : S.MinRow;
    TGridUpdateLock lock(this);
    if (S.FullGrid) {
        // The header's size counts from the rectangle's corner, which lies past the fixed cells
        // when they were not saved.
        const int left = S.Cells.empty() ? 0 : S.MinCol, top = S.Cells.empty() ? 0 : S.MinRow;
        Clear();
        SetRowCount(std::max(1, S.RowCount + top + Point.Y));
        SetColCount(std::max(1, S.ColCount + left + Point.X));
        for (int i = 0; i < int(S.ColWidths.size()) && left + Point.X + i < ColCount(); ++i)
            SetColWidths(left + Point.X + i, S.ColWidths[i]);
        for (int i = 0; i < int(S.RowHeights.size()) && top + Point.Y + i < RowCount(); ++i)
            SetRowHeights(top + Point.Y + i, S.RowHeights[i]);
    }
    const bool ownStream = IsOwnStreamID(S.ID);
    std::vector<std::array<int, 4>> merges;
    for (const TCellStreamCell& c : S.Cells) {
        const int tc = c.Col - ox + Point.X, tr = c.Row - oy + Point.Y;
        if (tc < 0 || tr < 0 || tc >= TotalColCount() || tr >= RowCount()) continue;
        if (!Paste) SetCellEx(tc, tr, c.Text);
        else if (IsHiddenColumn(tc) || RealToDisplColumn(tc) >= ColCount() ||
                 !PasteOneCell(RealToDisplColumn(tc), tr, c.Text, true))
            continue;
        if (!c.HasProp) continue;
        TCellProperties* p = GetCellProperties(tc, tr);
        ApplyCellProps(p, c.More->Props);
        const int sx = SpanOf(c, "CellSpanX"), sy = SpanOf(c, "CellSpanY");
        if (IsBase(c) && (sx > 0 || sy > 0)) merges.push_back({tc, tr, std::max(sx, 0), std::max(sy, 0)});
        if (!c.HasGraphic || !AcceptedType(c.GraphicType)) continue;
        if (HasContentRecord(c.GraphicType) && !c.HasContent) continue;
        // A file name from a stream of another program is not opened.
        if (c.GraphicType == ctFilePicture && !ownStream) continue;
        TCellGraphic* g = CreateCellGraphic(tc, tr);
        ApplyGraphicProps(g, c.More->GraphicProps);
        g->SetCellCreated(HasContentRecord(c.GraphicType));
        switch (c.GraphicType) {
        case ctBitmap:
        case ctBitButton: {
            auto* b = new TBitmap;
            b->LoadFromImage(c.More->Image);
            g->SetCellBitmap(b);
            break;
        }
        case ctIcon: {
            auto* b = new TIcon;
            b->LoadFromImage(c.More->Image);
            g->SetCellIcon(b);
            break;
        }
        case ctPicture: {
            auto* pic = new TPicture;
            pic->Bitmap()->LoadFromImage(c.More->Image);
            g->SetCellBitmap(pic);
            break;
        }
        case ctFilePicture: {
            auto* fp = new TFilePicture;
            fp->SetFilename(c.More->FileName);
            g->SetCellBitmap(fp);
            break;
        }
        case ctRadio: {
            auto* sl = new TGridStrings;
            sl->SetStrings(c.More->Strings);
            g->SetCellBitmap(sl);
            g->SetCellAngle(sl->Count());
            break;
        }
        case ctImages: {
            g->SetCellCreated(false);
            g->SetMultiImage(tc, tr, g->CellBoolean() ? 1 : 0, g->CellHAlign(), g->CellVAlign(),
                             [this](TObject* Sender, int ac, int ar) { CellImagesChanged(Sender, ac, ar); });
            ApplyGraphicProps(g, c.More->GraphicProps);
            if (auto* il = dynamic_cast<TIntList*>(g->CellBitmap())) {
                QStringList ok;
                for (const QString& e : c.More->Strings) {
                    bool good = false;
                    e.trimmed().toInt(&good);
                    if (good) ok << e.trimmed();
                }
                il->SetStrValue(ok.join(QLatin1Char(',')));
            }
            break;
        }
        default: break;
        }
    }
    for (const auto& m : merges) {
        const int w = std::min(m[2] + 1, TotalColCount() - m[0]), h = std::min(m[3] + 1, RowCount() - m[1]);
        if (w > 1 || h > 1) MergeCells(m[0], m[1], w, h);
    }
    CellsChanged(TRect{0, 0, ColCount(), RowCount()});
}
