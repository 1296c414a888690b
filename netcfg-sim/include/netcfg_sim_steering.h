// How a test steers the simulated network configuration service: through the environment of
// the process that uses it.
//
// NETCFG_SIM_JOURNAL  a file to which every call is appended as one line; read at every line.
// NETCFG_SIM_SCRIPT   results to return instead of the real ones; read at every CreateInstance.
#pragma once

const wchar_t NetCfgSimJournalVariable[] = L"NETCFG_SIM_JOURNAL";
const wchar_t NetCfgSimScriptVariable[] = L"NETCFG_SIM_SCRIPT";

// The holder named by an AcquireWriteLock that was scripted to return S_FALSE.
const wchar_t NetCfgSimScriptedHolder[] = L"Scripted Holder";
