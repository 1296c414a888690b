#include "debug_output_listener.h"

#include <sddl.h>
#include <string.h>

#include "debug_output_buffer.h"
#include "process_names.h"
#include "system_error_text.h"
#include "terminal_texts.h"

namespace {

// How long Stop waits for the thread; it waits on nothing but its events, so this is ample.
constexpr DWORD ListenerStopWaitMs = 5000;

// Writers at every integrity level of the session (a sandboxed program's too) may write a text
// and signal; the label lets low-integrity writers past the no-write-up check.
constexpr wchar_t WritersMayWrite[] = L"D:(A;;GRGWGX;;;WD)S:(ML;;NW;;;LW)";


} // namespace

struct ListenerState : private NonCopyable {
    HANDLE mutex = NULL;
    HANDLE mapping = NULL;
    const unsigned char* buffer = NULL;
    HANDLE bufferReady = NULL;
    HANDLE dataReady = NULL;
    HANDLE stop = NULL;
    CapturedTextSink sink;
    ProcessNames names;  // the listener's thread alone uses it

    ~ListenerState()
    {
        if (buffer != NULL) {
            UnmapViewOfFile(buffer);
        }
        for (HANDLE handle : {stop, dataReady, bufferReady, mapping, mutex}) {
            if (handle != NULL) {
                CloseHandle(handle);
            }
        }
    }
};

namespace {

DWORD WINAPI Listen(void* parameter)
{
    auto* handedOver = static_cast<std::shared_ptr<ListenerState>*>(parameter);
    std::shared_ptr<ListenerState> state = std::move(*handedOver);
    delete handedOver;
    unsigned char copy[DebugOutputBufferSize];
    HANDLE waited[] = {state->stop, state->dataReady};
    SetEvent(state->bufferReady);
    bool stopping = false;
    while (!stopping) {
        // Asked to stop, a text a writer had already given is still taken (it was written to
        // us), but no later one: writers do not hold the stop back.
        stopping = WaitForMultipleObjects(2, waited, FALSE, INFINITE) != WAIT_OBJECT_0 + 1;
        if (stopping && WaitForSingleObject(state->dataReady, 0) != WAIT_OBJECT_0) {
            break;
        }
        memcpy(copy, state->buffer, sizeof(copy));
        SetEvent(state->bufferReady);  // the next writer may go on while this text is read
        CapturedText text;
        text.arrival = CurrentArrivalTime();
        DebugOutputText read = ReadDebugOutput(copy, sizeof(copy));
        text.processId = read.processId;
        text.processName = state->names.NameOf(read.processId);
        text.lines = std::move(read.lines);
        state->sink(std::move(text));
    }
    return 0;
}

std::string Refused(const char* format, DWORD error)
{
    return FillText(format, {SystemErrorText(error)});
}

} // namespace

bool DebugOutputListener::Start(CaptureScope scope, CapturedTextSink sink, std::string* refusal)
{
    Stop();
    auto state = std::make_shared<ListenerState>();
    state->sink = std::move(sink);
    std::wstring prefix = scope == CaptureScope::Global ? L"Global\\" : L"";
    const char* cannot = scope == CaptureScope::Global ? CaptureGlobalRefused : CaptureCannotStart;
    PSECURITY_DESCRIPTOR descriptor = NULL;
    SECURITY_ATTRIBUTES attributes = {sizeof(attributes), NULL, FALSE};
    if (ConvertStringSecurityDescriptorToSecurityDescriptorW(WritersMayWrite, SDDL_REVISION_1, &descriptor, NULL)) {
        attributes.lpSecurityDescriptor = descriptor;
    }
    SECURITY_ATTRIBUTES* security = descriptor != NULL ? &attributes : NULL;
    bool started = false;
    DWORD error = 0;
    state->mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, security, PAGE_READWRITE, 0,
                                        static_cast<DWORD>(DebugOutputBufferSize), (prefix + L"DBWIN_BUFFER").c_str());
    error = GetLastError();
    if (state->mapping == NULL) {
        *refusal = Refused(cannot, error);
        goto Cleanup;
    }
    if (error == ERROR_ALREADY_EXISTS) {
        *refusal = CaptureOtherMonitor;  // its buffer is not ours to read or to signal
        goto Cleanup;
    }
    state->buffer = static_cast<const unsigned char*>(MapViewOfFile(state->mapping, FILE_MAP_READ, 0, 0, 0));
    state->mutex = CreateMutexW(security, FALSE, (prefix + L"DBWinMutex").c_str());
    state->bufferReady = CreateEventW(security, FALSE, FALSE, (prefix + L"DBWIN_BUFFER_READY").c_str());
    state->dataReady = CreateEventW(security, FALSE, FALSE, (prefix + L"DBWIN_DATA_READY").c_str());
    state->stop = CreateEventW(NULL, TRUE, FALSE, NULL);
    if (state->buffer == NULL || state->mutex == NULL || state->bufferReady == NULL || state->dataReady == NULL ||
        state->stop == NULL) {
        *refusal = Refused(cannot, GetLastError());
        goto Cleanup;
    }
    {
        auto* handedOver = new std::shared_ptr<ListenerState>(state);
        thread_ = CreateThread(NULL, 0, Listen, handedOver, 0, NULL);
        if (thread_ == NULL) {
            *refusal = Refused(cannot, GetLastError());
            delete handedOver;
            goto Cleanup;
        }
    }
    state_ = state;
    started = true;
Cleanup:
    if (descriptor != NULL) {
        LocalFree(descriptor);
    }
    return started;
}

void DebugOutputListener::Stop()
{
    if (thread_ == NULL) {
        return;
    }
    SetEvent(state_->stop);
    // A sink that hangs keeps its thread; the state it shares is freed by whichever ends last.
    WaitForSingleObject(thread_, ListenerStopWaitMs);
    CloseHandle(thread_);
    thread_ = NULL;
    state_.reset();
}

void CaptureListeners::Start(bool withGlobal, const CapturedTextSink& sink, std::vector<std::string>* refusals)
{
    std::string refusal;
    if (!session.Listening() && !session.Start(CaptureScope::Session, sink, &refusal)) {
        refusals->push_back(refusal);
    }
    if (withGlobal && !global.Listening() && !global.Start(CaptureScope::Global, sink, &refusal)) {
        refusals->push_back(refusal);
    }
}

void CaptureListeners::Stop()
{
    global.Stop();
    session.Stop();
}
