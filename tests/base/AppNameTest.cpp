#include "base/AppName.h"

#include <gtest/gtest.h>

namespace lumivar {
namespace {

TEST(AppNameFromPath, KeepsOnlyTheFileNameWithoutItsExtension) {
    const struct { const char* path; const char* name; } rows[] = {
        {"C:\\Apps\\护眼.exe", "护眼"}, {"Lumivar.exe", "Lumivar"}, {"C:\\Apps\\Lumivar", "Lumivar"},
        {"C:\\my.tools\\v1.2\\Lumivar", "Lumivar"}, {"C:\\my.tools\\eye.care.exe", "eye.care"},
        {"C:\\Apps\\Lumivar.", "Lumivar"}, {"\\\\server\\share\\rest.EXE", "rest"}, {"C:/Apps/slashed.exe", "slashed"},
        {"C:\\Apps\\", ""}, {"", ""},
    };
    for (const auto& r : rows) EXPECT_EQ(AppNameFromPath(r.path), r.name) << r.path;
}

}  // namespace
}  // namespace lumivar
