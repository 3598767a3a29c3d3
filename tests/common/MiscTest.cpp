#include "common/Misc.h"

#include <gtest/gtest.h>

#include "tests/fakes/FakeControls.h"
#include "tests/fakes/FakeDesktop.h"

namespace pendrel {
namespace {

// On a 1024 x 768 pixel screen, in single precision without rounding, Left before Top; a
// window larger than the screen goes to a negative place.
TEST(CenterForm, CentresInSinglePrecisionWithoutRounding) {
    struct Case {
        float width, height, left, top;
    };
    for (const Case& c : std::vector<Case>{{9000, 6000, 3180, 2760},
                                           {9001, 6000, 3179.5f, 2760},
                                           {16000, 12001, -320, -240.5f}}) {
        fakes::FakeScreen screen;
        fakes::FakeWindow window;
        window.width = c.width;
        window.height = c.height;
        Misc::CenterForm(window, screen);
        EXPECT_EQ(window.left, c.left);
        EXPECT_EQ(window.top, c.top);
        EXPECT_EQ(window.writes, (std::vector<char>{'L', 'T'}));
    }
}

}  // namespace
}  // namespace pendrel
