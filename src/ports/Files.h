// The settings file and the picture folder's listing.
#pragma once

#include <cstdint>
#include <string>

namespace lumivar {

class IFiles {
public:
    virtual ~IFiles() = default;
    virtual bool ReadFile(const std::string& path, std::string& bytes) = 0;
    // Replaces the file as a whole: afterwards it holds either the old or the new bytes.
    virtual bool WriteFileAtomic(const std::string& path, const std::string& bytes) = 0;
};

struct FindEntry {
    std::string name;
    bool directory = false;
};

// The process's current directory and a directory listing (_fullpath, _chdir, _findfirst...).
class IDirectoryListing {
public:
    virtual ~IDirectoryListing() = default;
    virtual bool FullPath(const std::string& path, std::string& full) = 0;
    virtual bool ChangeDir(const std::string& dir) = 0;
    virtual intptr_t FindFirst(const std::string& pattern, FindEntry& entry) = 0;  // -1 when nothing matches
    virtual bool FindNext(intptr_t handle, FindEntry& entry) = 0;
    virtual void FindClose(intptr_t handle) = 0;
};

class IFileSystem : public IFiles, public IDirectoryListing {};

}  // namespace lumivar
