// A component library the process keeps until it ends, whatever frees it.
#include "platform/component_library.h"
#include "tests/e2e/harness.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

TEST(ComponentLibrary, APinnedLibraryOutlivesItsOwner) {
    // A component no other test of this process loads.
    const std::wstring path = e2e::ComponentDir() + L"\\UnPack.dll";
    if (::GetModuleHandleW(path.c_str())) GTEST_SKIP() << "already loaded by another test";
    {
        platform::ComponentLibrary library(path);
        ASSERT_TRUE(library);
        EXPECT_TRUE(library.PinForProcessLifetime());
    }  // FreeLibrary here
    EXPECT_NE(::GetModuleHandleW(path.c_str()), nullptr) << "the pinned library was unloaded";

    EXPECT_FALSE(platform::ComponentLibrary().PinForProcessLifetime());
}

TEST(ComponentLibrary, AnUnpinnedLibraryGoesWithItsOwner) {
    const std::wstring path = e2e::ComponentDir() + L"\\sdtapi.dll";
    if (::GetModuleHandleW(path.c_str())) GTEST_SKIP() << "already loaded by another test";
    { ASSERT_TRUE(platform::ComponentLibrary(path)); }
    EXPECT_EQ(::GetModuleHandleW(path.c_str()), nullptr);
}

}  // namespace
