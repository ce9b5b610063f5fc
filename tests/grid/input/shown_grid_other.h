#pragma once
// The shown grid of ShownGridFixture with a line edit below it in its window, where the focus
// can go when it leaves the grid.
#include "support/shown_grid.h"

#include <QLineEdit>

struct ShownGridOtherFixture : ShownGridFixture {
    QLineEdit* Other = nullptr;
    void SetUp() override
    {
        Window.resize(400, 240);
        Other = new QLineEdit(&Window);
        Other->setGeometry(0, 210, 100, 24);
        ShownGridFixture::SetUp();
    }
};
