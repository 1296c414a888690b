/* Wine's netcfgx.h lacks INetCfgClass, INetCfgClassSetup, OBO_TOKEN and NETCFG_S_REBOOT: the
 * MinGW-w64 header, MIDL-generated from Microsoft's published interface definitions, has them.
 * It names BOOL by MinGW's own alias. */
#pragma once
#include <windows.h>
typedef BOOL WINBOOL;
#include "/usr/x86_64-w64-mingw32/include/netcfgx.h"
