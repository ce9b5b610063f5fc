#pragma once
// A drop-down edit shown in a dialog beside a plain edit, hosting a panel of a fixed size;
// the pop-up's clock is a counter the tests move.
#include "grid/controls/pro_custom_dropdown.h"
#include "platform/core/format_settings.h"
#include "platform/ui/panel.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

// The drop-down under test: a 150 x 100 panel in its form, and a record of its operations.
class TTestDropDown : public TProCustomDropDown {
public:
    using TProCustomDropDown::TProCustomDropDown;
    TCustomPanel* Panel = nullptr;
    QStringList Calls;

protected:
    void CreateDropDownForm() override
    {
        TProCustomDropDown::CreateDropDownForm();
        Panel = new TCustomPanel(FDropDownForm);
        Panel->SetColor(0x00FF00);
        Panel->resize(150, 100);
        SetControl(Panel);
    }
    void BeforeDropDown() override
    {
        Calls << "BeforeDropDown";
        TProCustomDropDown::BeforeDropDown();
    }
    void SizeDropDownForm() override
    {
        Calls << "SizeDropDownForm";
        TProCustomDropDown::SizeDropDownForm();
    }
    void AdaptDropDownHeight(int& Height) override
    {
        Calls << "AdaptDropDownHeight";
        TProCustomDropDown::AdaptDropDownHeight(Height);
    }
    void FocusDropDownControl() override
    {
        Calls << "FocusDropDownControl";
        TProCustomDropDown::FocusDropDownControl();
    }
};

inline TFormatSettings DropDownTestLocale()
{
    TFormatSettings s;
    s.DecimalSeparator = QLatin1Char('.');
    s.ThousandSeparator = QLatin1Char(',');
    return s;
}

struct DropDownFixture : ::testing::Test {
    ScopedFormatSettings Locale{DropDownTestLocale()};
    QDialog Dialog;
    TTestDropDown* Edit = nullptr;
    QLineEdit* Other = nullptr;
    uint32_t Now = 100000;
    std::function<uint32_t()> OldClock;

    void SetUp() override
    {
        OldClock = TPopupWindow::TickCount;
        TPopupWindow::TickCount = [this] { return Now; };
        Edit = new TTestDropDown(&Dialog);
        Edit->setGeometry(20, 20, 120, 22);
        Other = new QLineEdit(&Dialog);
        Other->setGeometry(20, 60, 120, 22);
        Dialog.setGeometry(100, 100, 300, 200);
        Dialog.show();
        QApplication::setActiveWindow(&Dialog);
        Edit->setFocus();
    }
    void TearDown() override
    {
        if (Edit->DroppedDown()) Edit->HideDropDown(false);
        TPopupWindow::TickCount = OldClock;
    }
    QRect Screen() const { return QGuiApplication::primaryScreen()->geometry(); }
    TDropDownForm* Form() { return Edit->DropDownForm(); }
    void Key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(Edit, k, m); }
    void Type(const QString& s) { QTest::keyClicks(Edit, s); }
    // A click on the arrow button.
    void ClickButton() { QTest::mouseClick(Edit->Button()->Button(), Qt::LeftButton, {}, QPoint(5, 5)); }
    // Picture of a widget as colours $BBGGRR.
    static TColor PixelOf(const QImage& img, int x, int y)
    {
        const QColor c = img.pixelColor(x, y);
        return TColor(c.red() | (c.green() << 8) | (c.blue() << 16));
    }
};
