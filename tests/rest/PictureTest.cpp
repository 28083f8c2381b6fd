// Where the picture goes, what a paint draws, and the rotation through a folder.
#include "app/AppFixture.h"
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

class RotationTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        shell.files.folders.insert("D:\\pics");
        shell.files.listings["D:\\pics"] = {{"a.jpg"}, {"old.jpg", true}, {"b.jpg"}, {"c.jpg"}, {"x.png"}};
        for (const char* f : {"D:\\pics\\a.jpg", "D:\\pics\\b.jpg", "D:\\pics\\c.jpg"}) shell.picture.pictures[f] = {8, 6};
        WriteIni("[SCREEN]\nPICTURE=1\nALTPIC=1\nPICFILE=D:\\pics\\a.jpg\n");
        StartWorking();
    }
    std::string AfterRest() {
        dlg->StartRest();
        dlg->BackToWork();
        return dlg->m_strPicFile;
    }
};

TEST_F(RotationTest, WalksTheFolderFromItsSecondPictureAndWrapsButNotOnAQuietReturn) {
    std::vector<std::string> seen;
    for (int i = 0; i < 4; ++i) seen.push_back(AfterRest());
    EXPECT_EQ(seen, (std::vector<std::string>{"D:\\pics\\b.jpg", "D:\\pics\\c.jpg", "D:\\pics\\a.jpg", "D:\\pics\\b.jpg"}));
    EXPECT_TRUE(dlg->m_bPictureLoaded);
    dlg->m_bQuietReturn = 1;
    EXPECT_EQ(AfterRest(), "D:\\pics\\b.jpg");
    dlg->OnDestroy();
    EXPECT_EQ(shell.files.openCursors, 0);
}

}  // namespace
}  // namespace lumivar::test
