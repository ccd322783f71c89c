// A fresh directory for one test, removed with everything in it afterwards.
#pragma once

#include <string>

namespace testing_support {

class TempDirectory {
public:
    TempDirectory();
    ~TempDirectory();
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    const std::wstring& Path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

// A Linux path from the build ("/x/y") as Wine sees it ("Z:\x\y"); others unchanged.
std::wstring FromBuildPath(const char* path);

}  // namespace testing_support
