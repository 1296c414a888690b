// How the window paces its work: its timers, and the share of its thread's time that storing,
// judging and drawing lines may take. The rules dialog states what rules cost against that share.
#pragma once

#include <windows.h>

// Arrived lines are taken from the receiver and drawn on a timer.
constexpr UINT RefreshTimerId = 1;
constexpr UINT RefreshIntervalMs = 50;
// Hosts never wait for the window, but on a machine of few cores its work takes the processor
// from them: after a refresh that took d ms the next comes no sooner than RefreshShareDivisor x d
// ms later, so storing, judging and drawing take at most a tenth of the thread's time. Where
// drawing is slow (a software X server, a remote session) the list moves in larger steps.
constexpr ULONGLONG RefreshShareDivisor = 9;
constexpr double RefreshShareOfThread = 1.0 / (RefreshShareDivisor + 1);
// The quick filter is applied when this timer comes due, once typing pauses this long.
constexpr UINT QuickFilterTimerId = 2;
constexpr UINT QuickFilterDelayMs = 250;
