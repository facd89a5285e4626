#pragma once
// A window's dialog template as a table: each control and the rectangle, in dialog units,
// the template gives it. One check serves every window, so a layout test is its table.
#include <gtest/gtest.h>

#include <QRect>
#include <QWidget>

#include <initializer_list>

#include "app/widgets/dialog_units.h"

namespace testsupport {

struct ControlPlace {
    const char* name;
    const QWidget* control;
    int left, top, width, height;  // dialog units
    // Where the control sits: in its parent, or, for one inside a group, in the group's
    // parent (the template places every control on the window).
    bool inGroup = false;
};

inline void expectPlaces(const DialogUnits& units, std::initializer_list<ControlPlace> rows) {
    for (const ControlPlace& row : rows) {
        ASSERT_NE(row.control, nullptr) << row.name;
        QRect where = row.control->geometry();
        if (row.inGroup)
            where.translate(row.control->parentWidget()->pos());
        EXPECT_EQ(where, units.rect(row.left, row.top, row.width, row.height)) << row.name;
    }
}

}  // namespace testsupport
