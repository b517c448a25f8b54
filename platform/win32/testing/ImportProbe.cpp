// A GUI program with Setup's resources that imports the spooler statically,
// as Setup must not: the binary check has to refuse it.
#include <windows.h>

#include <winspool.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    wchar_t name[256];
    DWORD size = 256;
    return GetDefaultPrinterW(name, &size) ? 0 : 1;
}
