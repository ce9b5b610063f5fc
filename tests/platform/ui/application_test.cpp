#include "platform/core/exception.h"
#include "platform/ui/application.h"
#include "support/fixtures.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

// An object whose event handler fails, as a window's handler may.
class Throwing : public QObject {
public:
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User) throw EConvertError(QStringLiteral("'x' is not a valid integer value"));
        if (e->type() == QEvent::User + 1) throw std::runtime_error("plain failure");
        return QObject::event(e);
    }
};

TEST(Application, EscapedExceptionsBecomeErrorBoxes)
{
    ASSERT_NE(dynamic_cast<TApplication*>(QCoreApplication::instance()), nullptr);
    MessageBoxRecorder boxes;
    Throwing target;
    QEvent ev(QEvent::User);
    QCoreApplication::sendEvent(&target, &ev);
    QEvent ev2(static_cast<QEvent::Type>(QEvent::User + 1));
    QCoreApplication::sendEvent(&target, &ev2);
    ASSERT_EQ(boxes.Calls.size(), 2u);
    EXPECT_EQ(boxes.Calls[0].Type, TMsgDlgType::mtError);
    EXPECT_EQ(boxes.Calls[0].Buttons, TMsgDlgButtons(mbOK));
    EXPECT_EQ(boxes.Calls[0].Text, QStringLiteral("'x' is not a valid integer value"));
    EXPECT_EQ(boxes.Calls[1].Text, QStringLiteral("plain failure"));
}

}  // namespace
