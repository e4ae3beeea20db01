#include "mzfc/MzWorkArea.h"

#include <gtest/gtest.h>

TEST(MzGetWorkArea, WholeScreenUnlessAShellPublishesLess) {
    auto same = [](RECT a, RECT b) {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    };
    struct Case {
        bool published;
        RECT given;
        RECT expected;
    } cases[] = {
        {true, {0, 0, 720, 420}, {0, 0, 720, 420}}, // a shell bar at the bottom
        {true, {0, 60, 720, 480}, {0, 60, 720, 480}},
        {true, {-50, -50, 900, 900}, {0, 0, 720, 480}}, // cut to the screen
        {true, {300, 300, 100, 100}, {0, 0, 720, 480}}, // empty: the whole screen
        {false, {0, 0, 10, 10}, {0, 0, 720, 480}},      // nothing published
    };
    for (const Case& c : cases) {
        MzSetWorkAreaProvider([&](RECT* r) {
            *r = c.given;
            return c.published;
        });
        RECT got = MzGetWorkArea();
        EXPECT_TRUE(same(got, c.expected))
            << got.left << "," << got.top << "," << got.right << "," << got.bottom;
    }
    MzSetWorkAreaProvider(nullptr);
    EXPECT_TRUE(same(MzGetWorkArea(), RECT{0, 0, 720, 480}));
}
