// Where the picture goes, what a paint draws, and the rotation through a folder.
#include "app/AppFixture.h"
#include "rest/PictureRect.h"
#include "rest/RestTexts.h"

namespace lumivar::test {
namespace {

TEST(FitPictureRect, PlacesPicturesOnA1024By768Screen) {
    const Rect screen{0, 0, 1024, 768};
    struct Case {
        Size picture;
        bool stretch;
        Rect expected;
    } cases[] = {
        {{640, 480}, false, {192, 144, 832, 624}},   // smaller both ways: natural size, centred
        {{2048, 1536}, false, {0, 0, 1024, 768}},    // larger, same ratio: the tie fits the height
        {{800, 1200}, false, {256, 0, 768, 768}},    // taller only: fit the height
        {{1600, 600}, false, {0, 192, 1024, 576}},   // wider only: fit the width
        {{3000, 1000}, false, {0, 213, 1024, 554}},  // larger both ways, wider: fit the width
        {{1024, 500}, false, {0, 134, 1024, 633}},   // equal width: fit the width (499.99997 in floats)
        {{500, 768}, false, {262, 0, 762, 768}},     // equal height, narrower: fit the height
        {{641, 481}, true, {0, 0, 1024, 768}},       // stretched: the whole window
        {{0, 0}, false, {0, 0, 1024, 768}},          // no size: nothing to divide by
    };
    for (const Case& c : cases)
        EXPECT_EQ(FitPictureRect(screen, c.picture, c.stretch), c.expected) << c.picture.cx << "x" << c.picture.cy;
}

class PaintTest : public AppTest {
protected:
    std::vector<std::string> Paint() {
        fake::FakePainter painter;
        dlg->OnPaint(painter);
        return painter.ops;
    }
};

TEST_F(PaintTest, RestScreenDrawsBackgroundTextCountdownAndClock) {
    StartWorking();
    dlg->StartRest();
    // 08:59:59 local: the clock and the countdown "00:00:06" (6 s shown as rest left + 1).
    shell.clock.epoch = 1733014799;
    EXPECT_EQ(Paint(), (std::vector<std::string>{"fill {0,0,1024,768} 6832395", "text 452,324 保护视力",
                                                 "small 0,0 00:00:06", "small 944,0 08:59:59"}));
    EXPECT_EQ(dlg->m_rcCountdown, (Rect{0, 0, 80, 20}));
    EXPECT_EQ(dlg->m_rcClock, (Rect{944, 0, 1024, 20}));
}

TEST_F(PaintTest, LockScreenHasNoCountdownAndStretchedPictureCoversTheFill) {
    WriteIni("[SCREEN]\nPICTURE=1\nPICFILE=D:\\图片\\bk.jpg\nDISPLAYTXT=0\n");
    shell.picture.pictures["D:\\图片\\bk.jpg"] = {640, 480};
    StartWorking();
    ASSERT_TRUE(dlg->m_bPictureLoaded);
    dlg->m_rcCountdown = {1, 2, 3, 4};
    dlg->LockScreen();
    const auto ops = Paint();
    ASSERT_EQ(ops.size(), 2u);
    EXPECT_EQ(ops[0], "picture {0,0,1024,768}");
    EXPECT_EQ(ops[1].substr(0, 10), "small 944,");
    EXPECT_EQ(dlg->m_rcCountdown, (Rect{1, 2, 3, 4}));

    // The erase still fills first; a fitted picture leaves the fill to the paint as well.
    fake::FakePainter erase;
    dlg->m_bStretch = 0;
    dlg->OnEraseBkgnd(erase);
    EXPECT_EQ(erase.ops, (std::vector<std::string>{"fill {0,0,1024,768} 6832395", "picture {192,144,832,624}"}));
    EXPECT_EQ(Paint()[0], "fill {0,0,1024,768} 6832395");
}

TEST(CountdownText, ShowsTheSecondsLeftPlusOne) {
    EXPECT_EQ(CountdownText(299), "00:05:00");
    EXPECT_EQ(CountdownText(3599), "01:00:00");
    EXPECT_EQ(CountdownText(0), "00:00:01");
    EXPECT_EQ(CountdownText(359999), "100:00:00");
}

class RotationTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        shell.files.folders.insert("D:\\pics");
        shell.files.listings["D:\\pics"] = {{"a.jpg"}, {"old.jpg", true}, {"b.jpg"}, {"c.jpg"}, {"x.png"}};
        for (const char* f : {"D:\\pics\\a.jpg", "D:\\pics\\b.jpg", "D:\\pics\\c.jpg"})
            shell.picture.pictures[f] = {800, 600};
        WriteIni("[SCREEN]\nPICTURE=1\nALTPIC=1\nPICFILE=D:\\pics\\a.jpg\n");
        StartWorking();
    }
    std::string AfterRest() {
        dlg->StartRest();
        dlg->BackToWork();
        return dlg->m_strPicFile;
    }
};

TEST_F(RotationTest, WalksTheFolderFromItsSecondPictureAndWraps) {
    std::vector<std::string> seen;
    for (int i = 0; i < 4; ++i) seen.push_back(AfterRest());
    EXPECT_EQ(seen, (std::vector<std::string>{"D:\\pics\\b.jpg", "D:\\pics\\c.jpg", "D:\\pics\\a.jpg",
                                              "D:\\pics\\b.jpg"}));
    EXPECT_EQ(shell.picture.loads.back(), "D:\\pics\\b.jpg");
    EXPECT_TRUE(dlg->m_bPictureLoaded);
    dlg->OnDestroy();
    EXPECT_EQ(shell.files.openCursors, 0);
}

TEST_F(RotationTest, OneFileFolderKeepsItsPictureAndRelativeNamesBecomeAbsolute) {
    shell.files.listings["D:\\pics"] = {{"a.jpg"}};
    EXPECT_EQ(dlg->NextRotationPicture("D:\\pics\\a.jpg"), "D:\\pics\\a.jpg");
    EXPECT_EQ(dlg->NextRotationPicture("D:\\pics\\a.jpg"), "D:\\pics\\a.jpg");

    shell.files.listings["C:\\Program Files\\Lumivar"] = {{"bk.jpg"}};
    dlg->OnDestroy();  // closes the cursor
    EXPECT_EQ(dlg->NextRotationPicture("bk.jpg"), "C:\\Program Files\\Lumivar\\bk.jpg");
}

TEST_F(RotationTest, QuietReturnNoExtensionAndMissingFolderKeepThePicture) {
    dlg->m_bQuietReturn = 1;
    EXPECT_EQ(AfterRest(), "D:\\pics\\a.jpg");
    EXPECT_EQ(dlg->NextRotationPicture("D:\\pics\\noext"), "");
    EXPECT_EQ(dlg->NextRotationPicture("D:\\my.pictures\\photo"), "");  // the dot is the folder's
    EXPECT_EQ(dlg->NextRotationPicture("E:\\gone\\a.jpg"), "");
    EXPECT_EQ(dlg->NextRotationPicture("D:\\pics\\a.gif"), "");
}

TEST_F(RotationTest, APictureChosenInAnotherFolderRotatesThroughThatFolder) {
    EXPECT_EQ(AfterRest(), "D:\\pics\\b.jpg");
    shell.files.folders.insert("E:\\new");
    shell.files.listings["E:\\new"] = {{"n1.jpg"}, {"n2.jpg"}};
    for (const char* f : {"E:\\new\\n1.jpg", "E:\\new\\n2.jpg"}) shell.picture.pictures[f] = {800, 600};
    shell.dialogs.fileAnswer = "E:\\new\\n1.jpg";
    dlg->ChooseBackgroundPicture();
    EXPECT_EQ(shell.files.openCursors, 0);
    EXPECT_EQ(AfterRest(), "E:\\new\\n2.jpg");
    EXPECT_EQ(AfterRest(), "E:\\new\\n1.jpg");
}

TEST_F(AppTest, PicturePickerOffersOnlyWhatTheDecoderReads) {
    StartWorking();
    dlg->ChooseBackgroundPicture();
    ASSERT_EQ(shell.dialogs.fileRequests.size(), 1u);
    const std::string pictures = shell.dialogs.fileRequests[0].filters.at(0).second;
    for (const char* ext : {"*.jpg", "*.jpeg", "*.bmp", "*.gif", "*.png"})
        EXPECT_NE(pictures.find(ext), std::string::npos) << ext;
    for (const char* ext : {"*.wmf", "*.emf", "*.pic"}) EXPECT_EQ(pictures.find(ext), std::string::npos) << ext;
}

TEST_F(AppTest, ChosenPictureIsStoredAndSwitchedOnOnlyIfItLoads) {
    StartWorking();
    shell.dialogs.fileAnswer = "D:\\壁纸.png";
    shell.picture.pictures["D:\\壁纸.png"] = {100, 100};
    dlg->OnCommand(32800);
    ASSERT_EQ(shell.dialogs.fileRequests.size(), 1u);
    EXPECT_EQ(shell.dialogs.fileRequests[0].title, "请选择背景图像文件");
    EXPECT_EQ(dlg->m_strPicFile, "D:\\壁纸.png");
    EXPECT_TRUE(dlg->m_bPicture);

    dlg->m_bPicture = 0;
    shell.dialogs.fileAnswer = "D:\\broken.jpg";
    dlg->ChooseBackgroundPicture();
    EXPECT_EQ(dlg->m_strPicFile, "D:\\broken.jpg");
    EXPECT_FALSE(dlg->m_bPicture);
    EXPECT_FALSE(dlg->m_bPictureLoaded);

    shell.dialogs.fileAnswer.clear();  // cancelled
    dlg->ChooseBackgroundPicture();
    EXPECT_EQ(dlg->m_strPicFile, "D:\\broken.jpg");
}

}  // namespace
}  // namespace lumivar::test
