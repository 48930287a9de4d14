// A stand-in for the setup's questions, for the rig's own tests and for scenarios that
// need a window of a given title in another process.
//   e2e_testdlg dialog TITLE RESULT_FILE   modal dialog; on Install writes the state of
//                                         its controls to RESULT_FILE; exits with the
//                                         button's identifier (1 Install, 2 Exit)
//   e2e_testdlg msgbox CAPTION TEXT         Yes/No message box; exits with the answer
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "tests/e2e/testdlg/testdlg_ids.h"

namespace {

struct DialogState {
    const char* title;
    const char* resultFile;
};

std::string ControlText(HWND dialog, int id) {
    char text[1024] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

void WriteResult(HWND dialog, const char* path) {
    FILE* out = std::fopen(path, "wb");
    if (!out)
        return;
    int radio = IsDlgButtonChecked(dialog, IDC_TESTDLG_RADIO_B) == BST_CHECKED   ? 2
                : IsDlgButtonChecked(dialog, IDC_TESTDLG_RADIO_A) == BST_CHECKED ? 1
                                                                                 : 0;
    std::fprintf(out, "edit=%s\ncheck=%d\nradio=%d\n",
                 ControlText(dialog, IDC_TESTDLG_EDIT).c_str(),
                 IsDlgButtonChecked(dialog, IDC_TESTDLG_CHECK) == BST_CHECKED ? 1 : 0, radio);
    std::fclose(out);
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG: {
        auto* state = reinterpret_cast<DialogState*>(lParam);
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        SetWindowTextA(dialog, state->title);
        SetDlgItemTextA(dialog, IDC_TESTDLG_EDIT, "c:\\lumora");
        CheckDlgButton(dialog, IDC_TESTDLG_CHECK, BST_CHECKED);
        CheckRadioButton(dialog, IDC_TESTDLG_RADIO_A, IDC_TESTDLG_RADIO_B, IDC_TESTDLG_RADIO_A);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrA(dialog, DWLP_USER));
            if (LOWORD(wParam) == IDOK)
                WriteResult(dialog, state->resultFile);
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "dialog") == 0) {
        DialogState state = {argv[2], argv[3]};
        return static_cast<int>(DialogBoxParamA(GetModuleHandleA(nullptr),
                                                MAKEINTRESOURCEA(IDD_TESTDLG), nullptr, DialogProc,
                                                reinterpret_cast<LPARAM>(&state)));
    }
    if (argc == 4 && std::strcmp(argv[1], "msgbox") == 0)
        return MessageBoxA(nullptr, argv[3], argv[2], MB_YESNO);
    std::fprintf(stderr, "usage: e2e_testdlg dialog TITLE RESULT_FILE | msgbox CAPTION TEXT\n");
    return 64;
}
