// The look of the grid as a text file of key=value lines, one per property in a fixed order.
#include "grid/control/grid_look_settings.h"
#include "grid/control/grid_services.h"
#include "grid/control/grid_settings_objects.h"
#include "grid/control/pro_string_grid.h"
#include "grid/data/grid_settings_text.h"
#include "grid/data/text_io.h"
#include "platform/core/exception.h"
#include "platform/core/file_io.h"
#include "platform/core/sysutils.h"
#include <functional>
#include <optional>
#include <vector>

namespace {

// The value written, or nothing when the setting writes no line.
using TGet = std::function<std::optional<QString>(TProStringGrid&)>;
// Checks the value (nullptr: the key is missing) and returns the change it makes, or an empty
// function when it changes nothing; raises EConvertError for a value it cannot take.
using TParse = std::function<std::function<void(TProStringGrid&)>(const QString*)>;

struct TVisualProp {
    QString Key;
    TGet Get;
    TParse Parse;
};

using TColorGet = std::function<TColor(TProStringGrid&)>;
using TColorSet = std::function<void(TProStringGrid&, TColor)>;

TVisualProp ColorProp(const char* Key, TColorGet Get, TColorSet Set)
{
    return {QString::fromLatin1(Key), [Get](TProStringGrid& g) -> std::optional<QString> { return ColorToString(Get(g)); },
            [Set](const QString* v) -> std::function<void(TProStringGrid&)> {
                const TColor c = !v || v->isEmpty() ? clNone : StringToColor(*v);
                return [Set, c](TProStringGrid& g) { Set(g, c); };
            }};
}

TVisualProp BoolProp(const char* Key, std::function<bool(TProStringGrid&)> Get,
                     std::function<void(TProStringGrid&, bool)> Set)
{
    return {QString::fromLatin1(Key),
            [Get](TProStringGrid& g) -> std::optional<QString> { return Get(g) ? QStringLiteral("true") : QStringLiteral("false"); },
            [Set](const QString* v) -> std::function<void(TProStringGrid&)> {
                const bool b = v && v->toUpper() == QLatin1String("TRUE");
                return [Set, b](TProStringGrid& g) { Set(g, b); };
            }};
}

TVisualProp IntProp(const char* Key, std::function<int(TProStringGrid&)> Get,
                    std::function<void(TProStringGrid&, int)> Set, int Min, int Max)
{
    const QString key = QString::fromLatin1(Key);
    return {key, [Get](TProStringGrid& g) -> std::optional<QString> { return QString::number(Get(g)); },
            [Set, key, Min, Max](const QString* v) -> std::function<void(TProStringGrid&)> {
                int32_t i = 0;
                if (!v || !TryStrToInt(*v, i) || i < Min || i > Max)
                    throw EConvertError(QStringLiteral("'%1' is not a valid value of %2").arg(v ? *v : QString(), key));
                return [Set, i](TProStringGrid& g) { Set(g, i); };
            }};
}

// One of a list of names, matched without regard to case; an unknown or missing value
// changes nothing, and a setting outside the names writes no line.
TVisualProp EnumProp(const char* Key, QStringList Names, std::function<int(TProStringGrid&)> Get,
                     std::function<void(TProStringGrid&, int)> Set)
{
    return {QString::fromLatin1(Key),
            [Get, Names](TProStringGrid& g) -> std::optional<QString> {
                const int i = Get(g);
                if (i < 0 || i >= Names.size()) return std::nullopt;
                return Names[i];
            },
            [Set, Names](const QString* v) -> std::function<void(TProStringGrid&)> {
                if (!v) return {};
                for (int i = 0; i < Names.size(); ++i)
                    if (!Names[i].isEmpty() && Names[i].compare(*v, Qt::CaseInsensitive) == 0)
                        return [Set, i](TProStringGrid& g) { Set(g, i); };
                return {};
            }};
}

const char* const StyleNames[] = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};

void AddFont(std::vector<TVisualProp>& props, const QString& Prefix, std::function<TFont*(TProStringGrid&)> F)
{
    const auto key = [&Prefix](const char* k) { return (Prefix + QLatin1Char('.') + QLatin1String(k)).toLatin1(); };
    props.push_back(ColorProp(key("Color").constData(), [F](TProStringGrid& g) { return F(g)->Color(); },
                              [F](TProStringGrid& g, TColor c) { F(g)->SetColor(c); }));
    props.push_back({Prefix + QStringLiteral(".Style"),
                     [F](TProStringGrid& g) -> std::optional<QString> {
                         QStringList names;
                         for (int s = fsBold; s <= fsStrikeOut; ++s)
                             if (F(g)->Style().Contains(TFontStyle(s))) names << QLatin1String(StyleNames[s]);
                         return names.join(QLatin1Char(','));
                     },
                     [F](const QString* v) -> std::function<void(TProStringGrid&)> {
                         TFontStyles styles;
                         for (int s = fsBold; s <= fsStrikeOut; ++s)
                             if (v && v->contains(QLatin1String(StyleNames[s]), Qt::CaseInsensitive))
                                 styles.Include(TFontStyle(s));
                         return [F, styles](TProStringGrid& g) { F(g)->SetStyle(styles); };
                     }});
    props.push_back(IntProp(key("Size").constData(), [F](TProStringGrid& g) { return F(g)->Size(); },
                            [F](TProStringGrid& g, int s) { F(g)->SetSize(s); }, 1, 1000));
    props.push_back({Prefix + QStringLiteral(".Name"), [F](TProStringGrid& g) -> std::optional<QString> { return F(g)->Name(); },
                     [F](const QString* v) -> std::function<void(TProStringGrid&)> {
                         if (!v || v->isEmpty()) return {};
                         const QString name = *v;
                         return [F, name](TProStringGrid& g) { F(g)->SetName(name); };
                     }});
}

#define GRID_COLOR(Key, Get, Set) \
    ColorProp(Key, [](TProStringGrid& g) { return g.Get; }, [](TProStringGrid& g, TColor c) { g.Set; })
#define GRID_BOOL(Key, Get, Set) \
    BoolProp(Key, [](TProStringGrid& g) { return g.Get; }, [](TProStringGrid& g, bool b) { g.Set; })
#define GRID_INT(Key, Get, Set, Min, Max) \
    IntProp(Key, [](TProStringGrid& g) { return int(g.Get); }, [](TProStringGrid& g, int i) { g.Set; }, Min, Max)

const std::vector<TVisualProp>& VisualProps()
{
    static const std::vector<TVisualProp> props = [] {
        std::vector<TVisualProp> p;
        p.push_back(GRID_COLOR("Color", Color(), SetColor(c)));
        p.push_back(GRID_COLOR("HintColor", HintColor(), SetHintColor(c)));
        p.push_back(GRID_COLOR("SelectionColor", SelectionColor(), SetSelectionColor(c)));
        p.push_back(GRID_COLOR("SelectionColorTo", SelectionColorTo(), SetSelectionColorTo(c)));
        p.push_back(GRID_COLOR("SelectionMirrorColor", SelectionMirrorColor(), SetSelectionMirrorColor(c)));
        p.push_back(GRID_COLOR("SelectionMirrorColorTo", SelectionMirrorColorTo(), SetSelectionMirrorColorTo(c)));
        p.push_back(GRID_COLOR("SelectionTextColor", SelectionTextColor(), SetSelectionTextColor(c)));
        p.push_back(GRID_COLOR("URLColor", URLColor(), SetURLColor(c)));
        p.push_back(GRID_BOOL("URLShow", URLShow(), SetURLShow(b)));
        p.push_back(GRID_BOOL("URLShowInText", URLShowInText(), SetURLShowInText(b)));
        p.push_back(GRID_COLOR("ScrollColor", ScrollColor(), SetScrollColor(c)));
        p.push_back(GRID_COLOR("ActiveRowColor", ActiveRowColor(), SetActiveRowColor(c)));
        p.push_back(GRID_BOOL("ActiveRowShow", ActiveRowShow(), SetActiveRowShow(b)));
        p.push_back(GRID_BOOL("ActiveCellShow", ActiveCellShow(), SetActiveCellShow(b)));
        AddFont(p, QStringLiteral("Font"), [](TProStringGrid& g) { return g.Font(); });
        p.push_back(GRID_COLOR("ActiveCellColor", ActiveCellColor(), SetActiveCellColor(c)));
        p.push_back(GRID_COLOR("ActiveCellColorTo", ActiveCellColorTo(), SetActiveCellColorTo(c)));
        AddFont(p, QStringLiteral("ActiveCellFont"), [](TProStringGrid& g) { return g.ActiveCellFont(); });
        AddFont(p, QStringLiteral("FixedFont"), [](TProStringGrid& g) { return g.FixedFont(); });
        p.push_back(GRID_COLOR("Balloon.BackgroundColor", BalloonSettings()->BackgroundColor(),
                               BalloonSettings()->SetBackgroundColor(c)));
        p.push_back(GRID_COLOR("Balloon.TextColor", BalloonSettings()->TextColor(), BalloonSettings()->SetTextColor(c)));
        p.push_back(GRID_INT("Balloon.Transparency", BalloonSettings()->Transparency(),
                             BalloonSettings()->SetTransparency(uint8_t(i)), 0, 255));
        p.push_back(GRID_COLOR("Bands.PrimaryColor", Bands()->PrimaryColor(), Bands()->SetPrimaryColor(c)));
        p.push_back(GRID_COLOR("Bands.SecondaryColor", Bands()->SecondaryColor(), Bands()->SetSecondaryColor(c)));
        p.push_back(GRID_BOOL("Bands.Active", Bands()->Active(), Bands()->SetActive(b)));
        p.push_back(GRID_COLOR("SortSettings.IndexColor", SortSettings()->IndexColor(), SortSettings()->SetIndexColor(c)));
        p.push_back(GRID_COLOR("FloatingFooter.Color", FloatingFooter()->Color(), FloatingFooter()->SetColor(c)));
        p.push_back(GRID_INT("ControlLook.CheckSize", ControlLook()->CheckSize(), ControlLook()->SetCheckSize(i), 0, 1000));
        p.push_back(GRID_COLOR("ControlLook.Color", ControlLook()->Color(), ControlLook()->SetColor(c)));
        p.push_back(GRID_COLOR("ControlLook.CommentColor", ControlLook()->CommentColor(), ControlLook()->SetCommentColor(c)));
        p.push_back(EnumProp("ControlLook.ControlStyle",
                             {"csClassic", "csFlat", "csWinXP", "csBorland", "csZUZ", "csGlyph", "csTheme"},
                             [](TProStringGrid& g) { return int(g.ControlLook()->ControlStyle()); },
                             [](TProStringGrid& g, int i) { g.ControlLook()->SetControlStyle(TControlStyle(i)); }));
        p.push_back(GRID_COLOR("ControlLook.FixedGradientFrom", ControlLook()->FixedGradientFrom(),
                               ControlLook()->SetFixedGradientFrom(c)));
        p.push_back(GRID_COLOR("ControlLook.FixedGradientTo", ControlLook()->FixedGradientTo(),
                               ControlLook()->SetFixedGradientTo(c)));
        p.push_back(GRID_INT("ControlLook.RadioSize", ControlLook()->RadioSize(), ControlLook()->SetRadioSize(i), 0, 1000));
        p.push_back(GRID_BOOL("ControlLook.FlatButton", ControlLook()->FlatButton(), ControlLook()->SetFlatButton(b)));
        p.push_back(GRID_COLOR("ControlLook.ProgressBorderColor", ControlLook()->ProgressBorderColor(),
                               ControlLook()->SetProgressBorderColor(c)));
        p.push_back(GRID_BOOL("ControlLook.ProgressXP", ControlLook()->ProgressXP(), ControlLook()->SetProgressXP(b)));
        // glCustom has no name: it writes an empty value, which reads back as no change.
        p.push_back(EnumProp("Look",
                             {"glStandard", "glSoft", "glClassic", "glZUZ", "glXP", "glListView", "glVista", "glWin7",
                              "glOffice2007", ""},
                             [](TProStringGrid& g) { return int(g.Look()); },
                             [](TProStringGrid& g, int i) { g.SetLook(TGridLook(i)); }));
        p.push_back(GRID_COLOR("SearchFooter.Color", SearchFooter()->Color(), SearchFooter()->SetColor(c)));
        p.push_back(GRID_COLOR("SearchFooter.ColorTo", SearchFooter()->ColorTo(), SearchFooter()->SetColorTo(c)));
        p.push_back(GRID_COLOR("Grouping.HeaderColor", Grouping()->HeaderColor(), Grouping()->SetHeaderColor(c)));
        p.push_back(GRID_COLOR("Grouping.HeaderColorTo", Grouping()->HeaderColorTo(), Grouping()->SetHeaderColorTo(c)));
        p.push_back(GRID_COLOR("Grouping.HeaderTextColor", Grouping()->HeaderTextColor(),
                               Grouping()->SetHeaderTextColor(c)));
        p.push_back(GRID_BOOL("Grouping.HeaderUnderline", Grouping()->HeaderUnderline(),
                              Grouping()->SetHeaderUnderline(b)));
        p.push_back(GRID_COLOR("Grouping.HeaderLineColor", Grouping()->HeaderLineColor(),
                               Grouping()->SetHeaderLineColor(c)));
        p.push_back(GRID_INT("Grouping.HeaderLineWidth", Grouping()->HeaderLineWidth(),
                             Grouping()->SetHeaderLineWidth(i), 0, 1000));
        p.push_back(GRID_COLOR("Grouping.SummaryColor", Grouping()->SummaryColor(), Grouping()->SetSummaryColor(c)));
        p.push_back(GRID_COLOR("Grouping.SummaryColorTo", Grouping()->SummaryColorTo(), Grouping()->SetSummaryColorTo(c)));
        p.push_back(GRID_COLOR("Grouping.SummaryTextColor", Grouping()->SummaryTextColor(),
                               Grouping()->SetSummaryTextColor(c)));
        p.push_back(GRID_BOOL("Grouping.SummaryLine", Grouping()->SummaryLine(), Grouping()->SetSummaryLine(b)));
        p.push_back(GRID_COLOR("Grouping.SummaryLineColor", Grouping()->SummaryLineColor(),
                               Grouping()->SetSummaryLineColor(c)));
        p.push_back(GRID_INT("Grouping.SummaryLineWidth", Grouping()->SummaryLineWidth(),
                             Grouping()->SetSummaryLineWidth(i), 0, 1000));
        p.push_back(GRID_COLOR("GridLineColor", GridLineColor(), SetGridLineColor(c)));
        p.push_back(GRID_COLOR("GridFixedLineColor", GridFixedLineColor(), SetGridFixedLineColor(c)));
        p.push_back(GRID_INT("BackGround.Top", BackGround()->Top(), BackGround()->SetTop(i), -32768, 32767));
        p.push_back(GRID_INT("BackGround.Left", BackGround()->Left(), BackGround()->SetLeft(i), -32768, 32767));
        p.push_back(EnumProp("BackGround.Display", {"bdTile", "bdFixed", "bdGradientHorz", "bdGradientVert"},
                             [](TProStringGrid& g) { return int(g.BackGround()->Display()); },
                             [](TProStringGrid& g, int i) { g.BackGround()->SetDisplay(TBackgroundDisplay(i)); }));
        p.push_back(EnumProp("BackGround.Cells", {"bcNormal", "bcFixed", "bcAll"},
                             [](TProStringGrid& g) { return int(g.BackGround()->Cells()); },
                             [](TProStringGrid& g, int i) { g.BackGround()->SetCells(TBackGroundCells(i)); }));
        p.push_back(GRID_COLOR("BackGround.Color", BackGround()->Color(), BackGround()->SetColor(c)));
        p.push_back(GRID_COLOR("BackGround.ColorTo", BackGround()->ColorTo(), BackGround()->SetColorTo(c)));
        return p;
    }();
    return props;
}

#undef GRID_COLOR
#undef GRID_BOOL
#undef GRID_INT

}  // namespace

void TProStringGrid::SaveVisualProps(const QString& FileName)
{
    QString text;
    for (const TVisualProp& p : VisualProps()) {
        // An enumeration outside its names writes no line (glCustom writes an empty one).
        if (const std::optional<QString> v = p.Get(*this)) text += p.Key + QLatin1Char('=') + *v + QStringLiteral("\r\n");
    }
    try {
        SaveFileAtomic(FileName, text.toUtf8());
    } catch (const Exception&) {
        throw EInOutError(QStringLiteral("Cannot Create ") + FileName);
    }
}

void TProStringGrid::LoadVisualProps(const QString& FileName)
{
    const std::optional<QByteArray> bytes = ReadGridFile(FileName, MaxNameValueFileSize);
    if (!bytes) throw EInOutError(QStringLiteral("Cannot open file ") + FileName);
    const TNameValues values = ReadNameValues(*bytes);
    // Every value is checked before the first one is applied.
    std::vector<std::function<void(TProStringGrid&)>> changes;
    for (const TVisualProp& p : VisualProps()) {
        const QString* v = values.Find(p.Key);
        if (auto change = p.Parse(v)) changes.push_back(std::move(change));
    }
    BeginUpdate();
    for (const auto& change : changes) change(*this);
    EndUpdate();
    Invalidate();
}
