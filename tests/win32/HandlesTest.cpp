// The shell's owners give back what they hold exactly once, and only what they hold.
#include <gtest/gtest.h>

#include <windows.h>

#include <utility>
#include <vector>

#include "win32/Handles.h"
#include "win32/Win32Ports.h"

namespace lumivar {
namespace {

struct Counted {
    static inline std::vector<int> closed;
    using Type = int;
    static int None() { return 0; }
    static bool Valid(int h) { return h != 0; }
    static void Close(int h) { closed.push_back(h); }
};
using Owner = Unique<Counted>;

TEST(Handles, AnOwnerGivesBackWhatItHoldsOnceAndNothingElse) {
    Counted::closed.clear();
    { Owner none; EXPECT_FALSE(none); }
    EXPECT_TRUE(Counted::closed.empty());

    { Owner one(1); EXPECT_TRUE(one); }
    EXPECT_EQ(Counted::closed, std::vector<int>{1});

    Counted::closed.clear();
    Owner a(2);
    *a.Put() = 3;  // the one held goes before a call hands back the next
    EXPECT_EQ(Counted::closed, std::vector<int>{2});
    EXPECT_EQ(a.Get(), 3);
    a.Reset(4);
    EXPECT_EQ(Counted::closed, (std::vector<int>{2, 3}));
    EXPECT_EQ(a.Release(), 4);  // handed over, not given back
    EXPECT_FALSE(a);
    a.Reset();
    EXPECT_EQ(Counted::closed, (std::vector<int>{2, 3}));

    Counted::closed.clear();
    {
        Owner from(5), to(6);
        to = std::move(from);
        EXPECT_EQ(Counted::closed, std::vector<int>{6});
        EXPECT_FALSE(from);
        EXPECT_EQ(to.Get(), 5);
        Owner moved(std::move(to));
        EXPECT_FALSE(to);
        EXPECT_EQ(moved.Get(), 5);
    }
    EXPECT_EQ(Counted::closed, (std::vector<int>{6, 5}));
}

// The painter's text font is the DC's only while it paints, and goes with it.
TEST(GdiPainter, PutsTheFontBackAndDeletesItsOwn) {
    const MemoryDC dc(CreateCompatibleDC(nullptr));
    const GdiObject<HBITMAP> bitmap(CreateBitmap(8, 8, 1, 32, nullptr));
    const SelectedObject target(dc.Get(), bitmap.Get());
    const HGDIOBJ original = GetCurrentObject(dc.Get(), OBJ_FONT);
    HGDIOBJ textFont = nullptr;
    {
        GdiPainter painter(dc.Get());
        painter.MeasureText(IPainter::Font::Text, "眸安星");
        textFont = GetCurrentObject(dc.Get(), OBJ_FONT);
        EXPECT_NE(textFont, original);
        EXPECT_EQ(GetObjectType(textFont), DWORD(OBJ_FONT));
        painter.FillRect({0, 0, 8, 8}, RGB(10, 200, 30));
        EXPECT_EQ(GetPixel(dc.Get(), 4, 4), RGB(10, 200, 30));
    }
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_FONT), original);
    EXPECT_EQ(GetObjectType(textFont), 0u);
}

}  // namespace
}  // namespace lumivar
