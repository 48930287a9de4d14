// Stand-in for the product's uninstaller: the shortcuts the setup creates point at it,
// but removing an installation is not part of this product's tests.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return 0;
}
