// The detail drop-down: completion from the captions as the user types, Enter and Escape
// lookups, choosing by keys, wheel, type-ahead and clicks, cancelling, and the item drawing.
#include "placed_dropdown.h"

#include "grid/controls/pro_detail_dropdown.h"
#include "platform/ui/image_list.h"

namespace {

class TTestDetailDropDown : public TProDetailDropDown {
public:
    using TProDetailDropDown::KeyTimerTimer;
    using TProDetailDropDown::TProDetailDropDown;
};

struct DetailDropDownTest : PlacedDropDownFixture<TTestDetailDropDown> {
    int Selects = 0;
    void SetUp() override
    {
        PlacedDropDownFixture::SetUp();
        Drop->OnSelect = [this](QObject*) { ++Selects; };
    }
    void Fill(std::initializer_list<const char*> captions)
    {
        for (const char* c : captions) Drop->Items().Add()->SetCaption(QString::fromUtf8(c));
    }
    // Keys go where a user's keys go: to the pop-up while it is open.
    void DKey(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        if (Drop->DroppedDown()) QTest::keyClick(DropForm()->windowHandle(), k, m);
        else QTest::keyClick(Drop, k, m);
    }
    void DType(const char* s)
    {
        for (const char* c = s; *c; ++c) QTest::keyClick(DropForm()->windowHandle(), Qt::Key(QChar(*c).toUpper().unicode()), {});
    }
    void Open()
    {
        ClickDropButton();
        ASSERT_TRUE(Drop->DroppedDown());
    }
    int SelStart() const { return Drop->selectionStart(); }
    QString Sel() const { return Drop->selectedText(); }
};

} // namespace

TEST_F(DetailDropDownTest, TypingCompletesFromTheCaptions)
{
    Fill({"Apple", "Apricot", "Banana"});
    QTest::keyClicks(Drop, "ap");
    // the typed part keeps its case, the tail comes from the caption and is selected
    EXPECT_EQ(Drop->Text(), "apple");
    EXPECT_EQ(Sel(), "ple");
    EXPECT_EQ(Drop->cursorPosition(), 2);
    EXPECT_EQ(Drop->ItemIndex(), 0);
    EXPECT_EQ(Selects, 0);
    QTest::keyClicks(Drop, "r");
    EXPECT_EQ(Drop->Text(), "apricot");
    EXPECT_EQ(Sel(), "icot");
    EXPECT_EQ(Drop->ItemIndex(), 1);
    // Backspace switches the lookup off: the shortened text is not completed again
    DKey(Qt::Key_Backspace);
    EXPECT_EQ(Drop->Text(), "apr");
    DKey(Qt::Key_Backspace);
    EXPECT_EQ(Drop->Text(), "ap");
    // a character that no caption continues cuts what followed the caret
    Drop->SetText("bxyz");
    Drop->setCursorPosition(1);
    QTest::keyClicks(Drop, "q");
    EXPECT_EQ(Drop->Text(), "bq");
    EXPECT_EQ(Drop->cursorPosition(), 2);

    // with MatchCase the lower-case text finds nothing
    Drop->MatchCase = true;
    Drop->SetText(QString());
    QTest::keyClicks(Drop, "ap");
    EXPECT_EQ(Drop->Text(), "ap");
    QTest::keyClicks(Drop, "\b");
    Drop->SetText(QString());
    QTest::keyClicks(Drop, "Ap");
    EXPECT_EQ(Drop->Text(), "Apple");
}

TEST_F(DetailDropDownTest, EnterAndEscapeLookUpTheText)
{
    Fill({"Apple", "Apricot", "Banana"});
    Drop->SetText("Banana");
    DKey(Qt::Key_Return);
    EXPECT_EQ(Drop->ItemIndex(), 2);
    EXPECT_EQ(Selects, 1);
    // only the exact caption counts
    Drop->SetText("apricot");
    DKey(Qt::Key_Return);
    EXPECT_EQ(Drop->ItemIndex(), 2);
    EXPECT_EQ(Drop->Text(), "apricot");
    Drop->SetText("Apricot");
    DKey(Qt::Key_Escape);
    EXPECT_EQ(Drop->ItemIndex(), 1);

    // the index setter: -1 empties without OnSelect, the count is ignored
    Selects = 0;
    Drop->SetItemIndex(3);
    EXPECT_EQ(Drop->ItemIndex(), 1);
    Drop->SetItemIndex(-2);
    EXPECT_EQ(Drop->ItemIndex(), 1);
    Drop->SetItemIndex(-1);
    EXPECT_EQ(Drop->Text(), "");
    EXPECT_EQ(Selects, 0);
}

TEST_F(DetailDropDownTest, ChoosesByKeysWheelTypeAheadAndClick)
{
    Fill({"One", "Two", "Three", "Four", "Five", "Six", "Seven"});
    // closed: Down and Up step, Home and End are the edit's while it can be typed into
    DKey(Qt::Key_Down);
    EXPECT_EQ(Drop->ItemIndex(), 0);
    EXPECT_EQ(Drop->Text(), "One");
    DKey(Qt::Key_Down);
    DKey(Qt::Key_End);
    EXPECT_EQ(Drop->ItemIndex(), 1);
    Drop->SetEditorEnabled(false);
    DKey(Qt::Key_End);
    EXPECT_EQ(Drop->ItemIndex(), 6);
    DKey(Qt::Key_Home);
    EXPECT_EQ(Drop->ItemIndex(), 0);
    Drop->SetEditorEnabled(true);
    QWheelEvent wheel(QPointF(5, 5), Drop->mapToGlobal(QPointF(5, 5)), {}, {0, -120}, Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(Drop, &wheel);
    EXPECT_EQ(Drop->ItemIndex(), 1);

    // open: arrows and pages move the selection without closing; the edit keeps its text
    Drop->SetItemIndex(4);
    Open();
    TProCustomItemSelector* s = Drop->ItemSelector();
    ASSERT_EQ(s->Items().Count(), 7);
    EXPECT_EQ(s->ItemIndex(), 4);
    DKey(Qt::Key_Up);
    EXPECT_TRUE(Drop->DroppedDown());
    EXPECT_EQ(Drop->ItemIndex(), 3);
    EXPECT_EQ(Drop->Text(), "Four");
    DKey(Qt::Key_PageDown);
    EXPECT_EQ(Drop->ItemIndex(), 6);
    DKey(Qt::Key_PageUp);
    EXPECT_EQ(Drop->ItemIndex(), 6 - s->GetVisibleItemCount());
    // type-ahead: T W finds Two, after the timer S finds Six
    DType("tw");
    EXPECT_EQ(Drop->ItemIndex(), 1);
    EXPECT_EQ(Drop->Text(), "Two");
    Drop->KeyTimerTimer();
    DType("s");
    EXPECT_EQ(Drop->ItemIndex(), 5);
    // Escape returns to the item of the opening
    DKey(Qt::Key_Escape);
    EXPECT_FALSE(Drop->DroppedDown());
    EXPECT_EQ(Drop->ItemIndex(), 4);
    EXPECT_EQ(Drop->Text(), "Five");
    // Enter keeps the item reached
    Open();
    DKey(Qt::Key_Down);
    DKey(Qt::Key_Return);
    EXPECT_FALSE(Drop->DroppedDown());
    EXPECT_EQ(Drop->ItemIndex(), 5);
    // a click on an item chooses it and closes
    Open();
    QTest::mouseClick(s->Panel(), Qt::LeftButton, {}, s->Items().Items(2)->FRect.ToQRect().center());
    EXPECT_FALSE(Drop->DroppedDown());
    EXPECT_EQ(Drop->ItemIndex(), 2);
    EXPECT_EQ(Drop->Text(), "Three");
    EXPECT_EQ(Sel(), "Three");
}

TEST_F(DetailDropDownTest, DrawsPictureCaptionAndNotes)
{
    TCustomImageList images(16, 16);
    QImage blue(16, 16, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    images.Add(blue);
    Drop->SetImages(&images);
    Drop->SetItemHeight(40);
    TDetailItem* a = Drop->Items().Add();
    a->SetCaption("Pump");
    a->SetNotes("<b>400</b> l/min");
    a->SetImageIndex(0);
    QImage red(12, 12, QImage::Format_RGB32);
    red.fill(Qt::red);
    red.setPixel(0, 11, qRgb(0, 255, 0));   // the transparent colour
    a->SetImage(red);
    TDetailItem* b = Drop->Items().Add();
    b->SetImageIndex(0);   // no caption: the image is centred
    Drop->setGeometry(20, 20, 200, 22);
    Open();
    TProCustomItemSelector* s = Drop->ItemSelector();
    const QImage shot = s->Panel()->grab().toImage();
    const QRect ra = s->Items().Items(0)->FRect.ToQRect(), rb = s->Items().Items(1)->FRect.ToQRect();
    const auto colourAt = [&](int x, int y) { return PixelOf(shot, x, y); };
    // the item's own picture, not the list image
    EXPECT_EQ(colourAt(ra.left() + 2 + 6, ra.center().y()), TColor(0x0000FF));
    int blueLeft = -1;
    for (int x = rb.left(); x < rb.right() && blueLeft < 0; ++x)
        if (colourAt(x, rb.center().y()) == TColor(0xFF0000)) blueLeft = x;
    EXPECT_EQ(blueLeft, rb.left() + (rb.width() - 16) / 2);
    // caption and notes are drawn as text to the right of the picture, notes below the caption
    auto inkRows = [&](int top, int bottom) {
        int first = -1, last = -1;
        for (int y = top; y < bottom; ++y)
            for (int x = ra.left() + 20; x < ra.right(); ++x) {
                const QColor c = shot.pixelColor(x, y);
                if (c.lightness() < 100) {
                    if (first < 0) first = y;
                    last = y;
                    break;
                }
            }
        return std::pair{first, last};
    };
    const auto [first, last] = inkRows(ra.top(), ra.bottom());
    EXPECT_GE(first, ra.top() + 2);
    EXPECT_GT(last - first, 14);   // two lines of text

    // a handler of its own draws instead
    int drawn = 0;
    Drop->OnDrawSelectedImage = [&](QObject*, TCanvas*, TRect) { ++drawn; };
    s->Panel()->grab();
    EXPECT_EQ(drawn, 2);
}

TEST_F(DetailDropDownTest, ItemsCopyNotesAndStyleColoursTheAppearance)
{
    TDetailItems items;
    TDetailItem* i = items.Add();
    i->SetCaption("A");
    i->SetNotes("note");
    i->Tag = 7;
    Drop->SetItems(items);
    ASSERT_EQ(Drop->Items().Count(), 1);
    EXPECT_EQ(Drop->Items().Items(0)->Notes(), "note");
    EXPECT_EQ(Drop->Items().Items(0)->Tag, 7);
    EXPECT_EQ(Drop->Items().IndexOf("A"), 0);
    EXPECT_EQ(Drop->Items().IndexOf("a"), -1);
    Drop->SetItemHeight(0);   // the list divides by it
    EXPECT_EQ(Drop->ItemHeight(), 1);

    const TItemAppearance defaults;
    TTestDetailDropDown fresh;
    EXPECT_EQ(fresh.ItemAppearance().ColorHot, defaults.ColorHot);
    fresh.SetComponentStyle(tsOffice2003Blue);
    TItemAppearance expected;
    TProCustomDropDown::ApplyItemAppearanceStyle(&expected, tsOffice2003Blue);
    EXPECT_EQ(fresh.ItemAppearance().ColorHot, expected.ColorHot);
}

// An item's bitmap shows in the open list without its transparent colour (the colour of its
// bottom-left pixel); a picture with its own transparency shows as it is.
TEST_F(DetailDropDownTest, BitmapsShowWithoutTheirTransparentColour)
{
    QImage bmp(16, 16, QImage::Format_RGB32);
    bmp.fill(QColor(255, 0, 255));
    for (int y = 4; y < 12; ++y)
        for (int x = 4; x < 12; ++x) bmp.setPixel(x, y, qRgb(0, 0, 255));
    TDetailItem* item = Drop->Items().Add();
    item->SetCaption("Pump");
    item->SetImage(bmp);
    Open();
    const QImage shot = DropForm()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    int blue = 0, magenta = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            blue += shot.pixel(x, y) == qRgb(0, 0, 255);
            magenta += shot.pixel(x, y) == qRgb(255, 0, 255);
        }
    EXPECT_EQ(blue, 64);
    EXPECT_EQ(magenta, 0);
    DKey(Qt::Key_Escape);
    EXPECT_FALSE(Drop->DroppedDown());
}
