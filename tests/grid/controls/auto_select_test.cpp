// Entering the edit controls: Tab selects the value when AutoSelect is on, a left click never
// does, and without AutoSelect the float and money drop-downs put the caret before the
// decimal separator.
#include "grid/controls/pro_calculator_dropdown.h"
#include "grid/controls/pro_custom_dropdown.h"
#include "grid/controls/psg_edit_btn.h"
#include "grid/controls/psg_spin_edit.h"
#include "platform/core/format_settings.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

namespace {

TFormatSettings DotLocale()
{
    TFormatSettings s;
    s.DecimalSeparator = QLatin1Char('.');
    s.ThousandSeparator = QLatin1Char(',');
    return s;
}

void SetAutoSelect(QLineEdit* e, bool on)
{
    if (auto* d = dynamic_cast<TProCustomDropDown*>(e)) d->AutoSelect = on;
    else if (auto* s = dynamic_cast<TPsgSpinEdit*>(e)) s->AutoSelect = on;
    else if (auto* b = dynamic_cast<TPsgEditBtn*>(e)) b->AutoSelect = on;
    else ADD_FAILURE() << "no AutoSelect";
}

QLineEdit* DropDown(QWidget* p, TDropDownEditType t, const QString& Text)
{
    auto* d = new TProCustomDropDown(p);
    d->SetEditType(t);
    d->SetText(Text);
    return d;
}

struct Case {
    const char* Name;
    std::function<QLineEdit*(QWidget*)> Make;
    QString TabSelects;   // selection after Tab with AutoSelect on
    QString TypedOverAll; // text after typing 9 over it
    int OffCaret;         // caret after Tab with AutoSelect off; -1: not checked
    QString TypedAtCaret; // text after typing 9 there; empty: not checked
};

const Case Cases[] = {
    {"string drop-down", [](QWidget* p) { return DropDown(p, etString, "abc"); }, "abc", "9", -1, {}},
    {"float drop-down", [](QWidget* p) { return DropDown(p, etFloat, "12.5"); }, "12.5", "9", 2, "129.5"},
    {"money drop-down", [](QWidget* p) { return DropDown(p, etMoney, "1,234.50"); }, "1,234.50", "9", 5, {}},
    {"calculator",
     [](QWidget* p) {
         auto* c = new TProCalculatorDropdown(p);
         c->SetPrefix("$");
         c->SetSuffix(" kg");
         c->SetFloatValue(12.5);
         return c;
     },
     "12.50", "$9 kg", 3, "$129.50 kg"},
    {"spin edit",
     [](QWidget* p) {
         auto* s = new TPsgSpinEdit(p);
         s->SetValue(42);
         return s;
     },
     "42", "9", -1, {}},
    {"spin edit, editor off",
     [](QWidget* p) {
         auto* s = new TPsgSpinEdit(p);
         s->SetEditorEnabled(false);
         s->setText("42");
         return s;
     },
     "42", "42", -1, {}},
    {"edit button",
     [](QWidget* p) {
         auto* b = new TPsgEditBtn(p);
         b->setText("abc");
         return b;
     },
     "abc", "9", -1, {}},
    {"unit edit button",
     [](QWidget* p) {
         auto* b = new TPsgUnitEditBtn(p);
         b->setText("abc");
         return b;
     },
     "abc", "9", -1, {}},
};

struct Placed {
    QWidget Window;
    QLineEdit* Before = nullptr;
    QLineEdit* Edit = nullptr;
    Placed(const Case& c, bool AutoSelect)
    {
        Before = new QLineEdit(&Window);
        Before->setGeometry(10, 10, 150, 24);
        Edit = c.Make(&Window);
        Edit->setGeometry(10, 50, 150, 24);
        SetAutoSelect(Edit, AutoSelect);
        Window.resize(200, 100);
        Window.show();
        QApplication::setActiveWindow(&Window);
        Before->setFocus();
    }
    void TabIn()
    {
        QTest::keyClick(Before, Qt::Key_Tab);
        ASSERT_TRUE(Edit->hasFocus());
    }
};

} // namespace

TEST(AutoSelect, TabSelectsTheValueOnlyWithAutoSelect)
{
    ScopedFormatSettings locale{DotLocale()};
    for (const Case& c : Cases) {
        SCOPED_TRACE(c.Name);
        {
            Placed w(c, true);
            w.TabIn();
            EXPECT_EQ(w.Edit->selectedText(), c.TabSelects);
            QTest::keyClicks(w.Edit, "9");
            EXPECT_EQ(w.Edit->text(), c.TypedOverAll);
            // leaving and coming back selects again
            QTest::keyClick(w.Edit, Qt::Key_Tab, Qt::ShiftModifier);
            ASSERT_TRUE(w.Before->hasFocus());
            w.TabIn();
            EXPECT_TRUE(w.Edit->hasSelectedText());
        }
        {
            Placed w(c, false);
            w.TabIn();
            EXPECT_FALSE(w.Edit->hasSelectedText());
            if (c.OffCaret >= 0) EXPECT_EQ(w.Edit->cursorPosition(), c.OffCaret);
            if (!c.TypedAtCaret.isEmpty()) {
                QTest::keyClicks(w.Edit, "9");
                EXPECT_EQ(w.Edit->text(), c.TypedAtCaret);
            }
        }
    }
}

TEST(AutoSelect, AClickPlacesTheCaretInsteadOfSelecting)
{
    ScopedFormatSettings locale{DotLocale()};
    for (const Case& c : Cases) {
        SCOPED_TRACE(c.Name);
        Placed w(c, true);
        // just after the first character of the value
        const int at = w.Edit->text().startsWith('$') ? 2 : 1;
        QPoint p(0, w.Edit->height() / 2);
        while (p.x() < w.Edit->width() && w.Edit->cursorPositionAt(p) < at) p.rx()++;
        QTest::mouseClick(w.Edit, Qt::LeftButton, {}, p);
        ASSERT_TRUE(w.Edit->hasFocus());
        EXPECT_FALSE(w.Edit->hasSelectedText());
        EXPECT_EQ(w.Edit->cursorPosition(), at);
    }
}
