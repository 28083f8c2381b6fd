// The rest screen's picture taken in turn from its folder: each rest the next file with the
// same extension, in listing order, round again at the end.
#pragma once

#include <cstdint>
#include <string>

#include "ports/Files.h"

namespace lumivar {

class CPictureRotation {
public:
    explicit CPictureRotation(IDirectoryListing& files) : m_files(files) {}
    CPictureRotation(const CPictureRotation&) = delete;
    CPictureRotation& operator=(const CPictureRotation&) = delete;

    // The picture after `current`; programFolder holds a picture named without a folder.
    // Empty when the folder cannot be entered or nothing matches.
    std::string Next(const std::string& current, const std::string& programFolder);
    // The listing belongs to one folder: a picture chosen elsewhere starts a new one.
    void Close();

private:
    IDirectoryListing& m_files;
    intptr_t m_hFind = -1;
    FindEntry m_findData;
};

}  // namespace lumivar
