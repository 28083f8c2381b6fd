#include "app/AppName.h"

#include <gtest/gtest.h>

namespace lumivar {
namespace {

TEST(AppNameFromPath, KeepsOnlyTheFileNameWithoutItsExtension) {
    const struct { const char* path; const char* name; } cases[] = {
        {"C:\\Apps\\护眼.exe", "护眼"},
        {"C:\\Program Files\\Lumivar\\Lumivar.exe", "Lumivar"},
        {"Lumivar.exe", "Lumivar"},                       // no folder
        {"C:\\Apps\\Lumivar", "Lumivar"},                 // no extension
        {"C:\\my.tools\\v1.2\\Lumivar", "Lumivar"},       // dots in folders only
        {"C:\\my.tools\\eye.care.exe", "eye.care"},       // only the last extension goes
        {"C:\\Apps\\Lumivar.", "Lumivar"},                // a trailing dot
        {"\\\\server\\share\\rest.EXE", "rest"},
        {"C:/Apps/slashed.exe", "slashed"},
        {"C:\\Apps\\", ""},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(AppNameFromPath(c.path), c.name) << c.path;
}

}  // namespace
}  // namespace lumivar
