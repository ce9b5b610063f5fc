#pragma once
// A drop-down control of a given class in the drop-down fixture's dialog, in place of the
// fixture's own edit.
#include "dropdown_fixture.h"

template <typename T> struct PlacedDropDownFixture : DropDownFixture {
    T* Drop = nullptr;

    void SetUp() override
    {
        DropDownFixture::SetUp();
        Edit->hide();
        Drop = new T(&Dialog);
        Drop->setGeometry(Edit->geometry());
        Drop->show();
        Drop->setFocus();
    }
    void TearDown() override
    {
        if (Drop->DroppedDown()) Drop->HideDropDown(false);
        DropDownFixture::TearDown();
    }
    TDropDownForm* DropForm() { return Drop->DropDownForm(); }
    void ClickDropButton()
    {
        Now += 1000;
        QTest::mouseClick(Drop->Button()->Button(), Qt::LeftButton, {}, QPoint(5, 5));
    }
};
