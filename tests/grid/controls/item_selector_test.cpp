// The item selector: its layout, navigation, lookup, hot tracking and selection by the
// mouse, drawing, a zero item height, and a drop-down that hosts it, driven by keys.
#include "dropdown_fixture.h"

#include "grid/controls/item_selector.h"
#include "platform/core/exception.h"

#include <QKeyEvent>

namespace {

struct ItemSelectorTest : ::testing::Test {
    QWidget Window;
    TProCustomItemSelector* Selector = nullptr;
    void SetUp() override
    {
        Selector = new TProCustomItemSelector(&Window);
        Selector->setGeometry(0, 0, 200, 120);
        Window.resize(220, 140);
        Window.show();
    }
    void AddItems(const QStringList& captions)
    {
        Selector->Items().BeginUpdate();
        for (const QString& c : captions) Selector->Items().Add()->SetCaption(c);
        Selector->Items().EndUpdate();
    }
    TCustomItemSelector* Panel() { return Selector->Panel(); }
    TRect ItemRect(int i) { return Selector->Items().Items(i)->FRect; }
};

} // namespace

TEST_F(ItemSelectorTest, ItemsFillRowsOfTheColumnCount)
{
    EXPECT_EQ(Panel()->size(), QSize(100, 50));   // empty
    EXPECT_THROW(TCustomItemSelector panel(&Window), Exception);
    Selector->SetColumns(3);
    Selector->SetColumns(0);   // refused
    EXPECT_EQ(Selector->Columns(), 3);
    AddItems({"a", "b", "c", "d", "e", "f", "g"});
    const TRect first = ItemRect(0);
    const int W = first.Width(), H = first.Height();
    EXPECT_EQ(first.TopLeft(), (TPoint{2, 2}));
    EXPECT_EQ(ItemRect(2).TopLeft(), (TPoint{2 + 2 * W, 2}));
    EXPECT_EQ(ItemRect(3).TopLeft(), (TPoint{2, 2 + H}));
    EXPECT_EQ(ItemRect(6).TopLeft(), (TPoint{2, 2 + 2 * H}));
    EXPECT_EQ(Panel()->size(), QSize(3 * W + 4, 3 * H + 4));
    // captions only, caption right of the content: the widest caption + 4 + both insets
    TCanvas c;
    c.SetFont(Selector->ItemAppearance().Font);
    int widest = 0, tallest = 0;
    for (const char* s : {"a", "b", "c", "d", "e", "f", "g"}) {
        const QSize m = DrawHtmlCaption(&c, QString::fromLatin1(s), {0, 0, 1000, 500}, nullptr, false);
        widest = std::max(widest, m.width()), tallest = std::max(tallest, m.height());
    }
    EXPECT_EQ(W, widest + 4 + 8);
    EXPECT_EQ(H, tallest + 8);
    // colour boxes set the content size
    Selector->SetSelectorType(stColor);
    EXPECT_EQ(ItemRect(0).Width(), 8 + 14 + 4 + widest + 4);
    // a larger font measures the captions again
    Selector->ItemAppearance().Font.SetSize(Selector->ItemAppearance().Font.Size() * 3);
    Selector->UpdateSelectorPanel();
    EXPECT_GT(ItemRect(0).Height(), H);
}

TEST_F(ItemSelectorTest, NavigationStopsAtTheEndsAndDisabledItemsRefuse)
{
    AddItems({"a", "b", "c"});
    int selects = 0;
    Selector->OnItemSelect = [&](QObject*) { ++selects; };
    Selector->SelectNext();
    EXPECT_EQ(Selector->ItemIndex(), 0);
    Selector->SetItemIndex(-1);
    Selector->SelectPrevious();
    EXPECT_EQ(Selector->ItemIndex(), 0);
    Selector->SelectPrevious();
    EXPECT_EQ(Selector->ItemIndex(), 0);
    Selector->SelectLast();
    Selector->SelectNext();
    EXPECT_EQ(Selector->ItemIndex(), 2);
    Selector->Items().Items(1)->Enabled = false;
    Selector->SelectPrevious();   // the move to a disabled item does not happen
    EXPECT_EQ(Selector->ItemIndex(), 2);
    Selector->SetItemIndex(1);
    EXPECT_EQ(Selector->ItemIndex(), 2);
    Selector->SetItemIndex(2);   // selecting again fires again
    EXPECT_EQ(selects, 4);
    Selector->HotNext();
    Selector->HotNext();   // the disabled item refuses
    EXPECT_EQ(Selector->ItemHot(), 0);
}

TEST_F(ItemSelectorTest, LookupComparesThePlainUpperCaseCaption)
{
    AddItems({"apple", "  <b>Che</b>rry", "Chestnut"});
    EXPECT_TRUE(Selector->LookupItem(QStringLiteral("CHE")));
    EXPECT_EQ(Selector->ItemIndex(), 1);
    EXPECT_TRUE(Selector->LookupItem(QStringLiteral("CHES")));
    EXPECT_EQ(Selector->ItemIndex(), 2);
    EXPECT_FALSE(Selector->LookupItem(QStringLiteral("che")));
    EXPECT_EQ(Selector->ItemIndex(), 2);
}

TEST_F(ItemSelectorTest, TheMouseMakesItemsHotAndSelectsThem)
{
    AddItems({"one", "two", "three"});
    Selector->Items().Items(2)->Enabled = false;
    Selector->Items().Items(1)->Hint = QStringLiteral("the second");
    const QPoint second = ItemRect(1).ToQRect().center();
    QTest::mouseMove(Panel(), second);
    EXPECT_EQ(Selector->ItemHot(), 1);
    EXPECT_EQ(Panel()->toolTip(), "the second");
    QTest::mouseMove(Panel(), ItemRect(2).ToQRect().center());
    EXPECT_EQ(Selector->ItemHot(), -1);
    QTest::mouseClick(Panel(), Qt::LeftButton, {}, ItemRect(2).ToQRect().center());
    EXPECT_EQ(Selector->ItemIndex(), -1);
    QTest::mouseClick(Panel(), Qt::RightButton, {}, second);
    EXPECT_EQ(Selector->ItemIndex(), 1);
    QTest::mouseMove(Panel(), QPoint(Panel()->width() - 1, Panel()->height() - 1));
    EXPECT_EQ(Selector->ItemHot(), -1);
}

TEST_F(ItemSelectorTest, SelectedAndHotBackgroundsArePaintedBeforeTheDrawEvent)
{
    AddItems({"one", "two"});
    Selector->SetColor(0xFFFFFF);
    Selector->ItemAppearance().SetColorStyle(scCustom);
    Selector->ItemAppearance().BorderColorTop = clNone;   // the plain box
    Selector->ItemAppearance().ColorSelected = Selector->ItemAppearance().ColorSelectedTo = 0x0000FF;
    Selector->ItemAppearance().BorderColor = 0x00FF00;
    QList<int> drawn;
    Selector->OnDrawItem = [&](QObject*, TCanvas*, TRect, int i) { drawn << i; };
    Selector->SetItemIndex(1);
    const QImage img = Panel()->grab().toImage();
    const TRect r = ItemRect(1);
    EXPECT_EQ(DropDownFixture::PixelOf(img, r.Left + 3, r.Top + 3), 0x0000FFu);
    EXPECT_EQ(DropDownFixture::PixelOf(img, r.Left, r.Top + 3), 0x00FF00u);
    EXPECT_EQ(DropDownFixture::PixelOf(img, ItemRect(0).Left + 3, ItemRect(0).Top + 3), 0xFFFFFFu);
    EXPECT_TRUE(drawn.contains(0) && drawn.contains(1));
}

TEST_F(ItemSelectorTest, AnItemHeightOfZeroDividesNothing)
{
    Selector->OnItemSize = [](QObject*, QSize& s) { s = QSize(30, 0); };
    AddItems({"a", "b", "c"});
    EXPECT_EQ(Selector->GetVisibleItemCount(), Selector->height());   // 0 counts as 1
    QTest::mouseMove(Panel(), QPoint(5, 5));
    QTest::mouseClick(Panel(), Qt::LeftButton, {}, QPoint(5, 5));
    (void)Panel()->grab();
    EXPECT_EQ(Selector->ItemIndex(), -1);   // no item has any height to be hit
}

namespace {

// A drop-down that hosts an item selector: arrows move the selection, typed letters look an
// item up, Enter takes the selected caption.
class TSelectorDropDown : public TProCustomDropDown {
public:
    using TProCustomDropDown::TProCustomDropDown;
    TProCustomItemSelector* Selector = nullptr;
    QString Typed;

protected:
    void CreateDropDownForm() override
    {
        TProCustomDropDown::CreateDropDownForm();
        Selector = new TProCustomItemSelector(FDropDownForm);
        Selector->resize(160, 120);
        SetControl(Selector);
        DropDownHeader()->SetVisible(false);
        DropDownFooter()->SetVisible(false);
    }
    void HandleKeyDown(QKeyEvent* e) override
    {
        if (FDroppedDown && Selector) {
            if (e->key() == Qt::Key_Down) return Selector->SelectNext();
            if (e->key() == Qt::Key_Up) return Selector->SelectPrevious();
            if (e->key() == Qt::Key_Return && Selector->ItemIndex() >= 0)
                setText(Selector->Items().Items(Selector->ItemIndex())->Caption());
            if (!e->text().isEmpty() && e->text()[0].isLetter()) {
                Typed += e->text().toUpper();
                Selector->LookupItem(Typed);
                return;
            }
        }
        TProCustomDropDown::HandleKeyDown(e);
    }
};

struct SelectorDropDownTest : DropDownFixture {
    TSelectorDropDown* Host = nullptr;
    void SetUp() override
    {
        DropDownFixture::SetUp();
        Host = new TSelectorDropDown(&Dialog);
        Host->setGeometry(150, 20, 120, 22);
        Host->show();
        Host->setFocus();
        Host->DropDownForm();   // makes the selector
        TSelectorItems& items = Host->Selector->Items();
        for (const char* s : {"Apple", "Banana", "Cherry", "Chestnut"}) items.Add()->SetCaption(QString::fromLatin1(s));
    }
    void HostKey(Qt::Key k, Qt::KeyboardModifiers m = {}) { QTest::keyClick(Host, k, m); }
};

} // namespace

TEST_F(SelectorDropDownTest, OpensMovesTypesAheadAcceptsAndCancels)
{
    Host->SetText(QStringLiteral("Apple"));
    HostKey(Qt::Key_F4);
    ASSERT_TRUE(Host->DroppedDown());
    EXPECT_EQ(Host->Selector->parentWidget(), Host->DropDownForm());
    HostKey(Qt::Key_Down);
    HostKey(Qt::Key_Down);
    EXPECT_EQ(Host->Selector->ItemIndex(), 1);
    QTest::keyClicks(Host->DropDownForm(), QStringLiteral("ches"));   // typed in the pop-up
    EXPECT_EQ(Host->Selector->ItemIndex(), 3);
    HostKey(Qt::Key_Return);
    EXPECT_FALSE(Host->DroppedDown());
    EXPECT_EQ(Host->Text(), "Chestnut");
    Host->Typed.clear();
    HostKey(Qt::Key_Down, Qt::AltModifier);
    HostKey(Qt::Key_Up);
    EXPECT_EQ(Host->Selector->ItemIndex(), 2);
    HostKey(Qt::Key_Escape);
    EXPECT_EQ(Host->Text(), "Apple");   // the value given to the last SetText
    // a click on an item selects it
    Now += 1000;
    HostKey(Qt::Key_F4);
    TCustomItemSelector* panel = Host->Selector->Panel();
    QTest::mouseClick(panel, Qt::LeftButton, {}, Host->Selector->Items().Items(0)->FRect.ToQRect().center());
    EXPECT_EQ(Host->Selector->ItemIndex(), 0);
}
