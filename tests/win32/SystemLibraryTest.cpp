// Binding system DLLs at run time: an export is found in the system folder,
// and a missing DLL or export is the loader's error, never a crash.
#include <gtest/gtest.h>

#include "platform/win32/Win32SystemLibrary.h"

namespace {

using platform::win32::CSystemFunction;
using platform::win32::FindSystemExport;

TEST(SystemLibrary, AnExportOfASystemDllIsFound) {
    EXPECT_NE(FindSystemExport(L"winspool.drv", "OpenPrinterW").address, nullptr);
    EXPECT_NE(FindSystemExport(L"winspool.drv", MAKEINTRESOURCEA(204)).address, nullptr);
    EXPECT_NE(FindSystemExport(L"cfgmgr32.dll", "CM_Get_Device_IDW").address, nullptr);
}

TEST(SystemLibrary, AMissingExportIsTheLoadersError) {
    CSystemFunction<BOOL(WINAPI*)(void)> missing(L"winspool.drv", "VqNoSuchExport");
    EXPECT_FALSE(missing);
    EXPECT_EQ(missing.Error(), static_cast<platform::WinError>(ERROR_PROC_NOT_FOUND));
}

TEST(SystemLibrary, AMissingDllIsTheLoadersError) {
    platform::win32::SystemExport found = FindSystemExport(L"vq_no_such_library.dll", "Anything");
    EXPECT_EQ(found.address, nullptr);
    EXPECT_EQ(found.error, static_cast<platform::WinError>(ERROR_MOD_NOT_FOUND));
}

} // namespace
