#include "notivo/staff/StaffGeometry.h"

#include <gtest/gtest.h>

using namespace notivo::staff;

TEST(StaffGeometry, AnchorsAndTheirInverseRoundHalvesToEven)
{
    EXPECT_EQ(rowAnchorY(15), 88);
    EXPECT_EQ(headCentreY(11), 70);
    EXPECT_EQ(headCentreY(21), 120);
    EXPECT_EQ(columnAnchorX(1), 46);
    EXPECT_EQ(columnAnchorX(30), 510);
    const std::pair<double, int> rows[] = {{118, 21}, {13, 0}, {0, -3}, {15.5, 0}, {20.5, 2}, {25.5, 2}, {30.5, 4}, {176, 33}};
    for (auto [y, r] : rows)
        EXPECT_EQ(positionAt(y), r) << y;
    const std::pair<double, int> columns[] = {{62, 2}, {38, 0}, {54, 2}, {70, 2}, {86, 4}, {522, 31}, {0, -2}};
    for (auto [x, w] : columns)
        EXPECT_EQ(windowColumnAt(x), w) << x;
}
