// Where the picture goes on the rest screen.
#include <gtest/gtest.h>

#include "rest/PictureRect.h"
#include "rest/RestTexts.h"

namespace lumivar::test {
namespace {

TEST(FitPictureRect, PlacesPicturesOnA1024By768Screen) {
    const struct { Size picture; bool stretch; Rect expected; } cases[] = {
        {{640, 480}, false, {192, 144, 832, 624}},   // smaller both ways: natural size, centred
        {{2048, 1536}, false, {0, 0, 1024, 768}},    // larger, same ratio: the tie fits the height
        {{800, 1200}, false, {256, 0, 768, 768}},    // taller only: fit the height
        {{3000, 1000}, false, {0, 213, 1024, 554}},  // larger both ways, wider: fit the width
        {{1024, 500}, false, {0, 134, 1024, 633}},   // equal width: fit the width (499.99997 in floats)
        {{641, 481}, true, {0, 0, 1024, 768}},       // stretched: the whole window
        {{0, 0}, false, {0, 0, 1024, 768}},          // no size: nothing to divide by
    };
    for (const auto& c : cases)
        EXPECT_EQ(FitPictureRect({0, 0, 1024, 768}, c.picture, c.stretch), c.expected) << c.picture.cx << "x" << c.picture.cy;
    EXPECT_EQ(CountdownText(359999), "100:00:00");  // the seconds left plus one
}

}  // namespace
}  // namespace lumivar::test
