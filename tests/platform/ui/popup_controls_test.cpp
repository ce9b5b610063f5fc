// The small controls the drop-downs stand on: the masked edit with the class library's mask
// letters, the pop-up window's deactivation and key routing, and the speed button.
#include "platform/ui/mask_edit.h"
#include "platform/ui/popup_window.h"
#include "platform/ui/speed_button.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QTest>
#include <gtest/gtest.h>

TEST(MaskEdit, TheClassLibraryMaskTakesOnlyWhatItsLettersAllow)
{
    QDialog dialog;
    auto* edit = new TCustomMaskEdit(&dialog);
    edit->setGeometry(10, 10, 120, 22);
    dialog.show();
    edit->setFocus();
    edit->SetEditMask(QStringLiteral("00-LL;1;_"));   // two required digits, two letters
    edit->SetSel(0, 0);
    QTest::keyClicks(edit, QStringLiteral("123bCd"));   // the 3 and the d find no place
    EXPECT_EQ(edit->text(), "12-bC");
    EXPECT_TRUE(edit->Modified());
    edit->SetSel(1, 3);
    EXPECT_EQ(edit->SelStart(), 1);
    EXPECT_EQ(edit->SelLength(), 3);
    edit->SetSel(50, 5);   // clamped to the text
    EXPECT_EQ(edit->SelStart(), 5);
    EXPECT_EQ(edit->SelLength(), 0);
}

TEST(PopupWindow, AClickOutsideDeactivatesAndAHideAskedForDoesNot)
{
    QDialog dialog;
    dialog.setGeometry(100, 100, 300, 200);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    TPopupWindow popup(&dialog);
    uint32_t now = 5000;
    const auto oldClock = TPopupWindow::TickCount;
    TPopupWindow::TickCount = [&] { return now; };
    int deactivations = 0, hides = 0;
    popup.OnDeactivate = [&] {
        ++deactivations;
        popup.HidePopup();
    };
    popup.OnHide = [&] { ++hides; };
    QList<int> keys;
    popup.OnKeyDown = [&](QKeyEvent* e) { keys << e->key(); };
    popup.setGeometry(110, 110, 50, 40);
    popup.show();
    QTest::keyClick(&popup, Qt::Key_Escape);
    EXPECT_EQ(keys, QList<int>{Qt::Key_Escape});
    EXPECT_TRUE(popup.isVisible());   // the keys go to the owner, which decides
    popup.HidePopup();
    EXPECT_EQ(deactivations, 0);
    EXPECT_EQ(hides, 1);
    popup.show();
    QTest::mouseClick(dialog.windowHandle(), Qt::LeftButton, {}, QPoint(250, 150));
    EXPECT_FALSE(popup.isVisible());
    EXPECT_EQ(deactivations, 1);
    EXPECT_EQ(popup.DeActivateTime(), 5000u);
    popup.BlockActivate = true;   // ignored while blocked: the window stays
    popup.show();
    now = 6000;
    QTest::mouseClick(dialog.windowHandle(), Qt::LeftButton, {}, QPoint(250, 150));
    EXPECT_TRUE(popup.isVisible());
    EXPECT_EQ(deactivations, 1);
    EXPECT_EQ(popup.DeActivateTime(), 5000u);
    popup.HidePopup();
    TPopupWindow::TickCount = oldClock;
}

TEST(SpeedButton, AClickNeedsPressAndReleaseInside)
{
    QDialog dialog;
    auto* b = new TSpeedButton(&dialog);
    b->setGeometry(10, 10, 23, 22);
    dialog.show();
    int clicks = 0, ups = 0;
    b->OnClick = [&](QWidget*) { ++clicks; };
    b->OnMouseUp = [&](QWidget*, Qt::MouseButton, const QPoint&) { ++ups; };
    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(b->State(), sbDown);
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(b->State(), sbUp);
    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(50, 5));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(ups, 2);
    b->setEnabled(false);
    EXPECT_EQ(b->State(), sbDisabled);
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks, 1);
}
