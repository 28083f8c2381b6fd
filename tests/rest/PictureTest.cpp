// Where the picture goes on the rest screen.
#include "app/AppFixture.h"
#include "rest/PictureRect.h"
#include "rest/RestScreen.h"

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

// Each rest takes the next picture of the folder that loads, wrapping round; a quiet return
// keeps it. A picture chosen elsewhere rotates through its own folder, saved (as GBK) only at the
// end. No listing stays open.
TEST(PictureRotation, WalksTheFolderWrapsAndFollowsAChosenPicture) {
    App app("[SCREEN]\nPICTURE=1\nALTPIC=1\nPICFILE=D:\\pics\\a.jpg\n");
    fake::FakeShell& shell = app.shell;
    shell.files.folders = {"D:\\pics", "E:\\新"};
    shell.files.listings["D:\\pics"] = {{"a.jpg"}, {"old.jpg", true}, {"b.jpg"}, {"c.jpg"}, {"x.png"}};
    shell.files.listings["E:\\新"] = {{"n1.jpg"}, {"n2.jpg"}};
    for (const char* f : {"D:\\pics\\a.jpg", "D:\\pics\\b.jpg", "D:\\pics\\c.jpg", "E:\\新\\n1.jpg", "E:\\新\\n2.jpg"})
        shell.picture.pictures[f] = {8, 6};
    const auto afterRest = [&] { return app.dlg->StartRest(), app.dlg->BackToWork(), app.dlg->Config().m_strPicFile; };
    std::vector<std::string> seen;
    for (int i = 0; i < 4; ++i) seen.push_back(afterRest());
    EXPECT_EQ(seen, (std::vector<std::string>{"D:\\pics\\b.jpg", "D:\\pics\\c.jpg", "D:\\pics\\a.jpg", "D:\\pics\\b.jpg"}));
    app.dlg->StartRest();
    app.dlg->OnToggleEyeCare();  // off during the rest: a quiet return
    app.dlg->OnToggleEyeCare();
    EXPECT_EQ(app.dlg->Config().m_strPicFile, "D:\\pics\\b.jpg");
    shell.dialogs.fileAnswer = "E:\\新\\n1.jpg";
    app.dlg->OnCommand(ID_CHOOSE_PICTURE);
    EXPECT_EQ(shell.files.openCursors, 0);
    EXPECT_EQ(afterRest(), "E:\\新\\n2.jpg");
    EXPECT_EQ(shell.files.writes, 0) << "saved only at the end";
    app.dlg->OnDestroy();
    EXPECT_EQ(shell.files.openCursors, 0);
    EXPECT_NE(app.IniText().find("PICFILE=E:\\新\\n2.jpg"), std::string::npos);
}

}  // namespace
}  // namespace lumivar::test
