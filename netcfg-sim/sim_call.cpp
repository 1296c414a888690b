#include "sim_call.h"

#include <cstdio>

SimCall::SimCall(const char* method) : method_(method), verdict_(CallScript::CountCall(method))
{
}

HRESULT SimCall::Outcome(HRESULT workResult) const
{
    return verdict_.scripted && SUCCEEDED(workResult) ? verdict_.code : workResult;
}

HRESULT SimCall::Finish(HRESULT workResult, const JournalArgs& args)
{
    HRESULT result = Outcome(workResult);
    char code[16];
    std::snprintf(code, sizeof(code), "0x%08lx", static_cast<unsigned long>(result));
    CallJournal::Append(std::string(method_) + "(" + args.Joined() + ") = " + code);
    return result;
}
