// The keyboard after a message box: it goes back to the control that had it.
#include "platform/ui/dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {
// A dialog with a name field, and a handler that plays a box: its own window takes the
// keyboard and is closed again before the call returns, as a real box is.
struct BoxOverDialog : ::testing::Test {
    QDialog Dialog;
    QLineEdit* Name = new QLineEdit(&Dialog);
    QPushButton* Ok = new QPushButton(QStringLiteral("OK"), &Dialog);
    MessageBoxHandler Old;
    void SetUp() override
    {
        Ok->move(0, 40);
        Dialog.show();
        QApplication::setActiveWindow(&Dialog);
        Name->setFocus();
        QApplication::processEvents();
        Old = SetMessageBoxHandler([](const MessageBoxCall&) {
            QDialog box;
            auto* b = new QPushButton(QStringLiteral("OK"), &box);
            box.show();
            QApplication::setActiveWindow(&box);
            b->setFocus();
            QApplication::processEvents();
            box.hide();
            QApplication::setActiveWindow(nullptr);
            return int(mrOk);
        });
    }
    void TearDown() override { SetMessageBoxHandler(Old); }
};
}  // namespace

TEST_F(BoxOverDialog, EveryKindOfBoxGivesTheKeyboardBackToTheField)
{
    const std::function<void()> boxes[] = {
        [] { ShowError(QStringLiteral("exists")); },
        [] { ShowMessage(QStringLiteral("note")); },
        [] { MessageDlg(QStringLiteral("sure?"), TMsgDlgType::mtConfirmation, mbYes | mbNo); },
    };
    for (const auto& box : boxes) {
        Name->clear();
        box();
        QApplication::processEvents();
        ASSERT_EQ(QApplication::focusWidget(), Name);
        EXPECT_EQ(QApplication::activeWindow(), &Dialog);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("ab"));
        EXPECT_EQ(Name->text(), QStringLiteral("ab"));
    }
}

TEST_F(BoxOverDialog, AControlGoneMeanwhileIsLeftAlone)
{
    SetMessageBoxHandler([this](const MessageBoxCall&) {
        delete Name;
        Name = nullptr;
        Ok->setFocus();
        return int(mrOk);
    });
    ShowError(QStringLiteral("gone"));
    EXPECT_EQ(QApplication::focusWidget(), Ok);
}
