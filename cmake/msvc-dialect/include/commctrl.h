/* Wine's commctrl.h lacks ListView_SetItemCountEx; defined here as Microsoft's and MinGW-w64's
 * headers define it. */
#pragma once
#include_next <commctrl.h>
#ifndef ListView_SetItemCountEx
#define ListView_SetItemCountEx(hwndLV, cItems, dwFlags) \
    SNDMSG((hwndLV), LVM_SETITEMCOUNT, (WPARAM)(cItems), (LPARAM)(dwFlags))
#endif
