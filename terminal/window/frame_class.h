// The class of the window the user sees. Hosts never look for it: they send to the receiving
// window, of the protocol's class, on a thread of its own.
#pragma once

constexpr wchar_t TerminalFrameClass[] = L"VornakDebugTerminalFrame";
