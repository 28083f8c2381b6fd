// The settings dialog's general page on its model.
#include <gtest/gtest.h>

#include "settings/GeneralPage.h"

namespace lumivar {
namespace {

// A user who cancels every dialog.
struct FakePageUi : IGeneralPageUi {
    bool PickColor(Colorref&) override { return false; }
    bool ChooseFile(const OpenFileRequest&, std::string&) override { return false; }
    void RangeError(int, int) override {}
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

}  // namespace
}  // namespace lumivar
