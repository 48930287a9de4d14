// A stand-in for the setup's dialogs: a modal dialog shaped like the destination dialog,
// with the title given, for scenarios that need a window of that title in another
// process and for the benchmark of a bare dialog program.
//   e2e_testdlg TITLE   exits with the button's identifier (1 Install, 2 Exit)
#include <windows.h>

namespace {

constexpr int kTestDialog = 100;

INT_PTR CALLBACK DialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        SetWindowTextA(dialog, reinterpret_cast<const char*>(lParam));
        return TRUE;
    }
    if (msg == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2)
        return 64;
    return static_cast<int>(DialogBoxParamA(GetModuleHandleA(nullptr),
                                            MAKEINTRESOURCEA(kTestDialog), nullptr, DialogProc,
                                            reinterpret_cast<LPARAM>(argv[1])));
}
