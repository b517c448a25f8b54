// A GUI program with Setup's resources, linked where the toolchain also
// offers a default manifest object: it must still carry one manifest only.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    return 0;
}
