// Names the benchmark program and its helper processes agree on.
#pragma once

// The standard debug-output monitor protocol that OutputDebugStringA writes to.
const char DbwinBufferName[] = "DBWIN_BUFFER";
const char DbwinBufferReadyName[] = "DBWIN_BUFFER_READY";
const char DbwinDataReadyName[] = "DBWIN_DATA_READY";
const unsigned DbwinBufferSize = 4096;

// Helper programs beside vornak-bench.exe.
const wchar_t ReceiverProgram[] = L"bench-receiver.exe";
const wchar_t ListenerProgram[] = L"bench-dbwin-listener.exe";

// A helper writes this line once it can receive, and one report line when it stops: what it received
// and how many messages it could not take as a line (an unreadable atom, another process's text).
const char HelperReadyLine[] = "ready";
const char HelperReportFormat[] = "lines %llu bytes %llu digest %llu rejected %llu";
