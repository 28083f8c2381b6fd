// Characters code page 936 lacks, through the settings file and back.
#include <gtest/gtest.h>

#include <string>

#include "settings/IniFile.h"
#include "settings/SettingsIo.h"

namespace lumivar {
namespace {

const char* const kTasks = "NOTES AND TASKS";

TEST(TextRoundTrip, TextsBeyondGbkSurviveSaveAndLoadWithoutAQuestionMark) {
    // 𠀀 95 32 82 36, 㐀 81 39 EE 39, 😀 94 39 FC 36.
    const std::string beyond = "𠀀㐀😀", beyondGbk = "\x95\x32\x82\x36\x81\x39\xEE\x39\x94\x39\xFC\x36";
    const struct { const char* name; std::string pwd, pwdGbk, pic, picGbk, note, cmd; } cases[] = {
        {"alone", beyond, beyondGbk, beyond, beyondGbk, beyond, beyond},
        {"among GBK text", "密码" + beyond, "\xC3\xDC\xC2\xEB" + beyondGbk, "D:\\图片\\" + beyond + " 2.jpg",
         "D:\\\xCD\xBC\xC6\xAC\\" + beyondGbk + " 2.jpg", "开会" + beyond + "\r\n带上报告",
         "notepad.exe D:\\" + beyond + ".txt"},
        // Trimming the password's blanks must not cut into a character at either end.
        {"at the ends", "😀 pw 𠀀", "\x94\x39\xFC\x36 pw \x95\x32\x82\x36", "𠀀.bmp㐀",
         "\x95\x32\x82\x36.bmp\x81\x39\xEE\x39", "😀", "𠀀"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Settings s;
        TaskTable t;
        s.m_strSystemPwd = c.pwd, s.m_strPicFile = c.pic;
        t.SetItem(0, {kDaily, c.note, c.cmd, 8, 30});
        s.m_nTaskCount = 1;
        IniFile ini;
        WriteSettings(ini, s, t);
        const IniFile file(ini.Text());

        for (const auto& [section, key] : {std::pair{kTasks, "NOTE0"}, {kTasks, "TASK0"}, {"SCREEN", "PICFILE"}})
            EXPECT_EQ(file.GetString(section, key, "").find('?'), std::string::npos) << key;
        // The password is stored shifted; unshifted it is the same GB18030 text as any other.
        const std::string storedPwd = file.GetString("Lumivar2003", "SYSTEMPWD", "");
        EXPECT_EQ(storedPwd.find('?'), std::string::npos);
        EXPECT_EQ(ScramblePassword(storedPwd, false), c.pwdGbk);
        EXPECT_EQ(file.GetString("SCREEN", "PICFILE", ""), c.picGbk);

        Settings loaded;
        TaskTable loadedTasks;
        ReadSettings(file, loaded, loadedTasks);
        EXPECT_EQ(loaded.m_strSystemPwd, c.pwd);
        EXPECT_EQ(loaded.m_strPicFile, c.pic);
        ASSERT_EQ(loaded.m_nTaskCount, 1);
        EXPECT_EQ(loadedTasks.Item(0), (TaskItem{kDaily, c.note, c.cmd, 8, 30}));
    }
}

}  // namespace
}  // namespace lumivar
