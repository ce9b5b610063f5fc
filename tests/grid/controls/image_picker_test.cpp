// The image picker: pictures listed from a folder that also holds a subfolder, a FIFO, a file
// that is no picture and one over the size limit; choosing by keys, clicks and typing;
// cancelling; the image index; the picture in the edit.
#include "dropdown_fixture.h"

#include "grid/controls/image_picker_dropdown.h"
#include "platform/ui/image_list.h"

#include <QTemporaryDir>
#include <set>

#include <sys/stat.h>

namespace {

class TTestImagePicker : public TProImagePickerDropDown {
public:
    using TProImagePickerDropDown::KeyTimerTimer;
    using TProImagePickerDropDown::TProImagePickerDropDown;
};

QImage Filled(int size, QColor c)
{
    QImage img(size, size, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

struct ImagePickerTest : DropDownFixture {
    TTestImagePicker* Picker = nullptr;
    int Selects = 0, Changes = 0;
    void SetUp() override
    {
        DropDownFixture::SetUp();
        Picker = new TTestImagePicker(&Dialog);
        Picker->setGeometry(150, 20, 120, 24);
        Picker->OnSelect = [this](QObject*) { ++Selects; };
        Picker->OnChange = [this](QObject*) { ++Changes; };
        for (const char* c : {"Apple", "Sun", "Sugar", "Moon"}) {
            TImageItem* item = Picker->Items().Add();
            item->SetCaption(QString::fromLatin1(c));
            item->SetImage(Filled(10, Qt::red));
            item->SetImageIndex(int(Picker->Items().Count()) * 10);
        }
        Picker->show();
        Picker->setFocus();
    }
    void TearDown() override
    {
        if (Picker->DroppedDown()) Picker->HideDropDown(false);
        DropDownFixture::TearDown();
    }
    void PKey(Qt::Key k) { QTest::keyClick(Picker, k); }
    void Open()
    {
        Now += 1000;
        QTest::mouseClick(Picker, Qt::LeftButton, {}, QPoint(10, 10));
        ASSERT_TRUE(Picker->DroppedDown());
    }
};

} // namespace

TEST_F(ImagePickerTest, FolderGivesRegularFilesOnly)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(Filled(16, Qt::red).save(dir.filePath("red.png")));
    ASSERT_TRUE(Filled(8, Qt::blue).save(dir.filePath(".hidden.png")));
    {
        QFile junk(dir.filePath("junk.png"));   // no picture
        ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
        junk.write("\x89PNG\r\n\x1a\n truncated");
        QFile big(dir.filePath("big.png"));   // over the limit (sparse, so the test stays quick)
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        ASSERT_TRUE(big.resize(TProImagePickerDropDown::MaxPictureFileSize + 1));
    }
    ASSERT_TRUE(QDir(dir.path()).mkdir("sub.png"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("pipe.png")).constData(), 0600), 0);
    ASSERT_TRUE(Filled(8, Qt::green).save(dir.filePath("other.bmp")));   // not matched by the mask

    TTestImagePicker picker;
    picker.Items().Add()->SetCaption("kept");
    picker.AddImagesFromFolder(dir.filePath("*.png"), true);
    ASSERT_EQ(picker.Items().Count(), 3);
    EXPECT_EQ(picker.Items().Items(0)->Caption(), "kept");
    std::set<QString> captions;
    int pictures = 0;
    for (int i = 1; i < 3; ++i) {
        captions.insert(picker.Items().Items(i)->Caption());
        pictures += !picker.Items().Items(i)->Image().isNull();
    }
    // pictures get their file name; a file that is no picture or too big adds no item
    EXPECT_EQ(captions, (std::set<QString>{"red.png", ".hidden.png"}));
    EXPECT_EQ(pictures, 2);
    // without captions
    TTestImagePicker plain;
    plain.AddImagesFromFolder(dir.filePath("red.png"), false);
    ASSERT_EQ(plain.Items().Count(), 1);
    EXPECT_EQ(plain.Items().Items(0)->Caption(), "");
    EXPECT_EQ(plain.Items().Items(0)->Image().size(), QSize(16, 16));
}

TEST_F(ImagePickerTest, ChoosesByKeysClicksAndTypingAndCancels)
{
    // closed: Down steps, a page beyond the end stops at the last item
    PKey(Qt::Key_Down);
    EXPECT_EQ(Picker->ItemIndex(), 0);
    EXPECT_EQ(Selects, 1);
    EXPECT_EQ(Changes, 1);
    PKey(Qt::Key_PageDown);
    EXPECT_EQ(Picker->ItemIndex(), 3);
    PKey(Qt::Key_Home);
    EXPECT_EQ(Picker->ItemIndex(), 0);
    PKey(Qt::Key_End);
    EXPECT_EQ(Picker->ItemIndex(), 3);
    Selects = 0;
    Picker->SetItemIndex(3);   // the same item: nothing fires
    EXPECT_EQ(Selects, 0);
    // open: Up moves without closing, Escape restores
    Open();
    PKey(Qt::Key_Up);
    EXPECT_TRUE(Picker->DroppedDown());
    EXPECT_EQ(Picker->ItemIndex(), 2);
    PKey(Qt::Key_Escape);
    EXPECT_FALSE(Picker->DroppedDown());
    EXPECT_EQ(Picker->ItemIndex(), 3);
    // type-ahead: S U finds "Sun"; after the timer G finds nothing new
    Open();
    QTest::keyClicks(Picker, QStringLiteral("su"));
    EXPECT_EQ(Picker->ItemIndex(), 1);
    QTest::keyClicks(Picker, QStringLiteral("g"));
    EXPECT_EQ(Picker->ItemIndex(), 2);   // "SUG"
    Picker->KeyTimerTimer();
    QTest::keyClicks(Picker, QStringLiteral("a"));
    EXPECT_EQ(Picker->ItemIndex(), 0);
    PKey(Qt::Key_Return);
    EXPECT_FALSE(Picker->DroppedDown());
    EXPECT_EQ(Picker->ItemIndex(), 0);
    // a click on an item chooses it and closes
    Open();
    TProCustomItemSelector* s = Picker->ItemSelector();
    QTest::mouseClick(s->Panel(), Qt::LeftButton, {}, s->Items().Items(3)->FRect.ToQRect().center());
    EXPECT_FALSE(Picker->DroppedDown());
    EXPECT_EQ(Picker->ItemIndex(), 3);
    EXPECT_EQ(Picker->ImageIndex(), 40);
    // items of no height: a page is still a step
    Picker->ItemSelector()->OnItemSize = [](QObject*, QSize& size) { size.setHeight(0); };
    Open();
    PKey(Qt::Key_PageUp);
    EXPECT_EQ(Picker->ItemIndex(), 0);
    PKey(Qt::Key_PageDown);
    EXPECT_EQ(Picker->ItemIndex(), 3);
    PKey(Qt::Key_Escape);
    Picker->ItemSelector()->OnItemSize = nullptr;
    // an image index no item has clears the selection
    Selects = Changes = 0;
    Picker->SetImageIndex(20);
    EXPECT_EQ(Picker->ItemIndex(), 1);
    Picker->SetImageIndex(99);
    EXPECT_EQ(Picker->ItemIndex(), -1);
    EXPECT_EQ(Selects, 2);
    EXPECT_EQ(Changes, 2);
}

TEST_F(ImagePickerTest, EditShowsThePictureCentredOrTheListImage)
{
    TCustomImageList list(6, 6);
    list.Add(Filled(6, Qt::blue));
    Picker->SetImages(&list);
    Picker->Items().Items(0)->SetImageIndex(0);
    Picker->Items().Add()->SetImageIndex(0);   // no picture: the list's image
    Picker->Items().Add();                     // neither: nothing
    Other->setFocus();
    struct Case {
        int Index;
        TColor Centre;
    } cases[] = {{0, 0x0000FF}, {4, 0xFF0000}, {5, -1}};
    for (const Case& c : cases) {
        Picker->SetItemIndex(c.Index);
        const QImage shot = Picker->grab().toImage();
        const QRect r = Picker->contentsRect().marginsRemoved(Picker->textMargins());
        const TColor centre = PixelOf(shot, r.center().x(), r.center().y());
        if (c.Centre >= 0) EXPECT_EQ(centre, c.Centre) << c.Index;
        else {
            EXPECT_NE(centre, 0x0000FF);
            EXPECT_NE(centre, 0xFF0000);
        }
    }
}
