// The grid cell stream and the clipboard paste: each input is read as a cell stream into a
// small grid (at a point, then whole), and pasted as clipboard data (the cell stream or text,
// by the input's first byte), and dropped as the data of a drag from another program (the
// cell stream, text, rich text, a list of addresses, a column number, by the bits of its
// first byte).  A reader that refuses its input must leave the grid as it was; what it
// accepted is drawn.
#include "fuzz_target.h"
#include "grid/control/pro_string_grid.h"
#include "grid/data/cell_stream.h"
#include "platform/ui/dialogs.h"

#include <QApplication>
#include <QBuffer>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <cstdlib>

namespace {

// Error boxes shown while an input was read.
int Errors = 0;

TProStringGrid* MakeGrid()
{
    auto* g = CreateGrid<TProStringGrid>();
    g->SetColCount(4);
    g->SetRowCount(5);
    g->SetBounds(0, 0, 260, 120);
    TGridOptions o = g->Options();
    o.Include(goEditing);
    g->SetOptions(o);
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 4; ++c) g->SetCells(c, r, QStringLiteral("%1.%2").arg(c).arg(r));
    g->MergeCells(2, 2, 2, 2);
    g->SetColors(1, 1, 0xFF00);
    // Column 3 takes no paste: only its cells outside the merge are its own.
    g->OnCanEditCell = [](TObject*, int, int ACol, bool& CanEdit) { CanEdit = ACol != 3; };
    return g;
}

QStringList Snapshot(TProStringGrid* g)
{
    QStringList s{QString::number(g->ColCount()), QString::number(g->RowCount())};
    for (int r = 0; r < g->RowCount(); ++r)
        for (int c = 0; c < g->ColCount(); ++c) s << g->GetGridCell(c, r);
    return s;
}

// Runs one reader; a refusal that changed the grid ends the run.
template <typename F>
void Checked(TProStringGrid* g, F&& Read)
{
    const QStringList before = Snapshot(g);
    try {
        Read();
    } catch (const Exception&) {
        if (Snapshot(g) != before) std::abort();
    }
}

QByteArray Stream(TProStringGrid* g, TRect r)
{
    QBuffer b;
    b.open(QIODevice::WriteOnly);
    g->SaveRectToBinStream(r, b);
    return b.data();
}

// Streams the grid writes itself: plain texts, properties and merges, and every kind of
// graphic that has a content record.
std::vector<std::string> StreamSeeds()
{
    TProStringGrid* g = MakeGrid();
    g->SetCells(0, 0, QStringLiteral("two\r\nlines \"q\" äöü"));
    g->AddCheckBox(0, 1, true, false);
    g->AddProgress(1, 2, 0xFF, 0xFFFFFF);
    TBitmap* b = g->CreateBitmap(0, 3, false, haLeft, vaTop);
    QImage img(3, 2, QImage::Format_RGB32);
    img.fill(Qt::red);
    b->LoadFromImage(img);
    TGridStrings* radio = g->CreateRadio(3, 4, 0, 1);
    radio->Add(QStringLiteral("one"));
    radio->Add(QStringLiteral("two"));
    g->AddNode(1, 2);
    std::vector<std::string> seeds;
    for (const TRect r : {TRect{0, 0, 3, 4}, TRect{1, 1, 2, 2}, TRect{0, 3, 0, 3}}) {
        const QByteArray d = Stream(g, r);
        seeds.emplace_back(d.constData(), size_t(d.size()));
    }
    g->Free();
    return seeds;
}

const TFuzzRegistration Targets({
    {"grid_cell_stream", [] {},
     [](const std::string& input) {
         const QByteArray data(input.data(), qsizetype(input.size()));
         TProStringGrid* g = MakeGrid();
         Checked(g, [&] {
             QBuffer b;
             b.setData(data);
             b.open(QIODevice::ReadOnly);
             g->LoadAtPointFromBinStream({1, 1}, b);
         });
         Checked(g, [&] {
             QBuffer b;
             b.setData(data);
             b.open(QIODevice::ReadOnly);
             g->LoadFromBinStream(b);
         });
         g->grab();
         g->Free();
     },
     StreamSeeds},
    {"grid_clipboard_paste", [] {},
     [](const std::string& input) {
         if (input.empty()) return;
         const QByteArray data(input.data() + 1, qsizetype(input.size() - 1));
         QMimeData mime;
         if (input[0] & 1) mime.setData(QString::fromLatin1(GridCellsMimeType), data);
         mime.setText(QString::fromUtf8(data));
         TProStringGrid* g = MakeGrid();
         g->Navigation()->SetClipboardPasteAction((input[0] & 2) ? paInsert : paReplace);
         int rows = 0, cols = 0;
         Checked(g, [&] { g->PasteMimeData(&mime, 1, 1, rows, cols); });
         if (!(input[0] & 3))
             for (int r : {0, 1, 4})
                 if (g->GetGridCell(3, r) != QStringLiteral("3.%1").arg(r)) std::abort();
         g->grab();
         g->Free();
     },
     [] {
         std::vector<std::string> seeds;
         for (const std::string& s : StreamSeeds()) seeds.push_back("\1" + s);
         seeds.push_back(std::string("\0", 1) + "a\tb\r\n\"two\nlines\"\t\"say \"\"x\"\"\"\r\nc\n");
         seeds.push_back(std::string("\2", 1) + "1\t2\t3\r4\t5\t6\r\n");
         return seeds;
     }},
    {"grid_drop",
     [] {
         SetMessageBoxHandler([](const MessageBoxCall&) {
             ++Errors;
             return int(mrOk);
         });
     },
     [](const std::string& input) {
         if (input.empty()) return;
         const unsigned kind = uchar(input[0]);
         const QByteArray data(input.data() + 1, qsizetype(input.size() - 1));
         QMimeData mime;
         if (kind & 1) mime.setData(QString::fromLatin1(GridCellsMimeType), data);
         if (kind & 2) mime.setData(QStringLiteral("text/plain"), data);
         if (kind & 4) mime.setData(QStringLiteral("text/rtf"), data);
         if (kind & 8) mime.setData(QStringLiteral("text/uri-list"), data);
         if (kind & 16) mime.setData(QStringLiteral("application/x-prostringgrid-column"), data);
         TProStringGrid* g = MakeGrid();
         auto* d = g->DragDropSettings();
         d->SetOleDropTarget(true);
         d->SetOleDropRTF(true);
         d->SetOleColumnReorder(true);
         if (kind & 32) {
             d->SetOleEntireRows(true);
             d->SetOleAppendRows(true);
             d->SetOleInsertRows(true);
         }
         const QPoint at(70 + int(kind >> 6) * 40, 30);
         const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
         const QStringList before = Snapshot(g);
         const int errors = Errors;
         QWidget* v = g->viewport();
         QDragEnterEvent enter(at, actions, &mime, Qt::LeftButton, {});
         QApplication::sendEvent(v, &enter);
         QDragMoveEvent move(at, actions, &mime, Qt::LeftButton, {});
         QApplication::sendEvent(v, &move);
         QDropEvent drop(QPointF(at), actions, &mime, Qt::LeftButton, {});
         QApplication::sendEvent(v, &drop);
         if (Errors != errors && Snapshot(g) != before) std::abort();
         g->grab();
         g->Free();
     },
     [] {
         std::vector<std::string> seeds;
         for (const std::string& s : StreamSeeds()) seeds.push_back("\3" + s);
         seeds.push_back(std::string("\2", 1) + "a\tb\r\n\"two\nlines\"\tc\r\n");
         seeds.push_back(std::string("\x22", 1) + "a\tb\r\nc\td\r\n");
         seeds.push_back(std::string("\4", 1) + "{\\rtf1 bold}");
         seeds.push_back(std::string("\x08", 1) + "https://example.net/a\r\nfile:///tmp/none.csv\r\n");
         seeds.push_back(std::string("\x10", 1) + "2");
         return seeds;
     }},
});
}  // namespace
