// The settings dialog's general and password pages, on their models.
#include <gtest/gtest.h>

#include "settings/GeneralPage.h"
#include "settings/PasswordPage.h"

namespace lumivar {
namespace {

// A user who cancels every dialog and reads the messages.
struct FakePageUi : IGeneralPageUi, IPasswordPageUi {
    bool PickColor(Colorref&) override { return false; }
    bool ChooseFile(const OpenFileRequest&, std::string&) override { return false; }
    void RangeError(int, int) override {}
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    std::vector<std::string> messages;
};

TEST(GeneralPage, PickersShowTheLengthsAndGiveThemBack) {
    CGeneralPage page;
    page.m_nWorkTime = page.m_nBreakTime = 0;  // would be below the pickers' range
    page.OnInitDialog();
    EXPECT_EQ(page.m_workPicker, (PickerTime{0, 10, 0}));
    EXPECT_EQ(page.m_restPicker, (PickerTime{0, 0, 10}));
    page.m_workPicker = {2, 0, 45};  // the work picker's seconds do not count
    page.m_restPicker = {23, 59, 59};
    FakePageUi ui;
    ASSERT_TRUE(page.OnOK(ui));
    EXPECT_EQ(page.m_nWorkTime, 120);
    EXPECT_EQ(page.m_nBreakTime, 86399);
}

TEST(PasswordPage, BlanksAroundAreIgnoredAndAMismatchStopsOk) {
    const struct { const char *password, *confirm; bool ok; const char* stored; } cases[] = {
        {"  abc ", "abc\t", true, "abc"}, {"   ", "", true, ""}, {"abc", "ABC", false, ""}, {"a bc", "abc", false, ""},
    };
    for (const auto& c : cases) {
        CPasswordPage page;
        page.m_strPassword = c.password;
        page.m_strConfirm = c.confirm;
        FakePageUi ui;
        EXPECT_EQ(page.OnOK(ui), c.ok) << c.password;
        EXPECT_EQ(c.ok ? page.m_strPassword : "", c.stored) << c.password;
        EXPECT_EQ(ui.messages, c.ok ? std::vector<std::string>{}
                                    : std::vector<std::string>{"设定密码跟确认密码不相同，请重新输入!"});
    }
}

}  // namespace
}  // namespace lumivar
