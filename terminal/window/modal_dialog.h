// A modal dialog over a state its caller owns, for the window's dialogs: the state fills the
// controls when the dialog starts (Fill) and handles its buttons (Command, OK among them, which
// ends the dialog with EndDialog once the values are right); Cancel ends it for every dialog.
#pragma once

#include <windows.h>

template <typename State>
INT_PTR CALLBACK ModalDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        reinterpret_cast<State*>(lParam)->Fill(dialog);
        return TRUE;
    }
    if (message != WM_COMMAND) {
        return FALSE;
    }
    if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    State* state = reinterpret_cast<State*>(GetWindowLongPtrW(dialog, DWLP_USER));
    return state->Command(dialog, LOWORD(wParam)) ? TRUE : FALSE;
}

// True when the user chose OK.
template <typename State>
bool RunModalDialog(HWND owner, HINSTANCE instance, int dialogId, State* state)
{
    return DialogBoxParamW(instance, MAKEINTRESOURCEW(dialogId), owner, ModalDialogProc<State>,
                           reinterpret_cast<LPARAM>(state)) == IDOK;
}
