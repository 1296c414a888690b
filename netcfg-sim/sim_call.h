// One call of a simulator method: counted for the script, journaled when it ends.
//
//   SimCall call("INetCfg::Apply");
//   HRESULT hr = call.Refused() ? call.Scripted() : <the work>;
//   return call.Finish(hr, JournalArgs());
//
// A scripted failure means the method does nothing (its out places set to NULL) and returns the
// code; a scripted success code replaces the result of work that succeeded.
#pragma once

#include <windows.h>

#include "call_journal.h"
#include "call_script.h"

class SimCall {
public:
    explicit SimCall(const char* method);
    SimCall(const SimCall&) = delete;
    SimCall& operator=(const SimCall&) = delete;

    bool Refused() const { return verdict_.scripted && FAILED(verdict_.code); }
    HRESULT Scripted() const { return verdict_.code; }

    // The result the call will return when its work gave workResult.
    HRESULT Outcome(HRESULT workResult) const;

    // Journals the call with its final result and returns that result.
    HRESULT Finish(HRESULT workResult, const JournalArgs& args);

private:
    const char* method_;
    CallScript::Verdict verdict_;
};
