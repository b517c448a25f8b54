// Exports of system DLLs that are not KnownDLLs (winspool.drv,
// cfgmgr32.dll), bound at run time from the system folder only. Imported
// statically, the loader would look for them beside the program first, and
// Setup runs from a medium anyone may have written a DLL onto.
#pragma once

#include <windows.h>

#include "platform/Error.h"

namespace platform::win32 {

struct SystemExport {
    FARPROC address = nullptr;
    WinError error = ErrorSuccess; // the loader's, when address is null
};

// `exportName` may be an ordinal (MAKEINTRESOURCEA). The DLL stays loaded.
SystemExport FindSystemExport(const wchar_t* library, const char* exportName);

// One export bound once, where a call site keeps it in a static; a missing
// DLL or export makes every call fail with the loader's error.
template <class Function> class CSystemFunction {
  public:
    CSystemFunction(const wchar_t* library, const char* exportName) {
        SystemExport found = FindSystemExport(library, exportName);
        m_function = reinterpret_cast<Function>(reinterpret_cast<void*>(found.address));
        m_error = found.error;
    }

    explicit operator bool() const { return m_function != nullptr; }
    Function Get() const { return m_function; }
    WinError Error() const { return m_error; }

  private:
    Function m_function = nullptr;
    WinError m_error = ErrorSuccess;
};

} // namespace platform::win32
