// What every COM object of the simulator shares: a reference count that starts at 1 and is also
// counted in LiveReferences, the object deleted with its last reference, and QueryInterface and
// the methods the installer never calls journaled and scriptable like every other call.
#pragma once

#include <windows.h>

#include <atomic>

#include "live_references.h"
#include "sim_call.h"

// Derived keeps its destructor private and names SimObject<Derived> its friend.
template <typename Derived>
class SimObject {
protected:
    SimObject() : references_(1) { LiveReferences::Taken(); }

    ULONG AddReference()
    {
        LiveReferences::Taken();
        return ++references_;
    }

    // QueryInterface journaled as method, Derived::Query doing the work.
    HRESULT JournaledQuery(const char* method, REFIID riid, void** object);

    ULONG ReleaseReference()
    {
        LiveReferences::Given();
        ULONG left = --references_;
        if (left == 0) {
            delete static_cast<Derived*>(this);
        }
        return left;
    }

private:
    std::atomic<ULONG> references_;
};

// A second interface of a simulator object (its "face"): the same identity and references, and
// its QueryInterface journaled under the face's own name.
template <typename Interface, typename Object>
class SimFace : public Interface {
public:
    SimFace(Object& object, const char* queryMethod) : object_(object), queryMethod_(queryMethod) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return object_.AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return object_.Release(); }

protected:
    Object& object_;

private:
    const char* queryMethod_;
};

// Hands out main for IUnknown and mainIid, face for faceIid, with one more reference; else
// E_NOINTERFACE and *object NULL.
template <typename Main, typename Face>
HRESULT HandOutInterface(REFIID riid, void** object, Main* main, REFIID mainIid, Face* face, REFIID faceIid)
{
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, mainIid)) {
        *object = main;
    } else if (IsEqualIID(riid, faceIid)) {
        *object = face;
    } else {
        *object = NULL;
        return E_NOINTERFACE;
    }
    main->AddRef();
    return S_OK;
}

// QueryInterface journaled as method; query(riid, object) does the work once object is known good.
template <typename Query>
HRESULT JournaledQueryInterface(const char* method, REFIID riid, void** object, Query query)
{
    SimCall call(method);
    if (object != NULL) {
        *object = NULL;
    }
    HRESULT hr = call.Refused() ? call.Scripted() : object == NULL ? E_POINTER : query(riid, object);
    return call.Finish(hr, JournalArgs().Iid(riid).Out(object));
}

// A method the installer never calls: E_NOTIMPL unless the script says otherwise.
inline HRESULT NotImplemented(const char* method, const JournalArgs& args)
{
    SimCall call(method);
    return call.Finish(call.Refused() ? call.Scripted() : E_NOTIMPL, args);
}

// The same for one that hands out an object or a text: *out is NULL whatever happens.
template <typename Pointer>
HRESULT NotImplementedOut(const char* method, Pointer** out, JournalArgs args)
{
    if (out != NULL) {
        *out = NULL;
    }
    return NotImplemented(method, args.Out(out));
}

template <typename Interface, typename Object>
HRESULT SimFace<Interface, Object>::QueryInterface(REFIID riid, void** object)
{
    return JournaledQueryInterface(queryMethod_, riid, object,
                                   [this](REFIID iid, void** out) { return object_.Query(iid, out); });
}

template <typename Derived>
HRESULT SimObject<Derived>::JournaledQuery(const char* method, REFIID riid, void** object)
{
    return JournaledQueryInterface(method, riid, object, [this](REFIID iid, void** out) {
        return static_cast<Derived*>(this)->Query(iid, out);
    });
}
