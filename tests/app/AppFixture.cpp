#include "app/AppFixture.h"

#include "settings/Gbk.h"

namespace lumivar::test {

void AppTest::WriteIni(const std::string& text) { shell.files.files[kIni] = Utf8ToGbk(text); }

std::string AppTest::IniText() {
    auto it = shell.files.files.find(kIni);
    return it == shell.files.files.end() ? std::string() : GbkToUtf8(it->second);
}

}  // namespace lumivar::test
