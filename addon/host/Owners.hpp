// Small owners for what the host hands out, so that every path frees what
// it took.
#pragma once
#include "addon/host/HostCalls.hpp"
#include "addon/host/HostRequests.hpp"
#include "platform/gs/Memory.hpp"
#include <cstring>

// A zeroed element memo, disposed through the host when it goes.
class MemoOwner {
public:
    MemoOwner() { std::memset(static_cast<void*>(&memo), 0, sizeof memo); }
    ~MemoOwner() { HostDisposeMemo(&memo); }
    MemoOwner(const MemoOwner&) = delete;
    MemoOwner& operator=(const MemoOwner&) = delete;
    API_ElementMemo* operator->() { return &memo; }
    API_ElementMemo& Get() { return memo; }

private:
    API_ElementMemo memo;
};

// A parameter handle from a library part's defaults.
class ParamHandleOwner {
public:
    ParamHandleOwner() = default;
    ~ParamHandleOwner() { Reset(); }
    ParamHandleOwner(const ParamHandleOwner&) = delete;
    ParamHandleOwner& operator=(const ParamHandleOwner&) = delete;
    API_AddParType*** Out() { Reset(); return &handle; }
    API_AddParType** Get() const { return handle; }
    // Hands the handle over to the caller, who frees it from now on.
    API_AddParType** Release()
    {
        API_AddParType** h = handle;
        handle = nullptr;
        return h;
    }
    void Reset()
    {
        if (handle != nullptr)
            HostDisposeParamHandle(&handle);
        handle = nullptr;
    }

private:
    API_AddParType** handle = nullptr;
};

// A memory handle of the add-on's own.
class HandleOwner {
public:
    explicit HandleOwner(GSHandle h = nullptr) : handle(h) {}
    ~HandleOwner() { BMhKill(&handle); }
    HandleOwner(const HandleOwner&) = delete;
    HandleOwner& operator=(const HandleOwner&) = delete;
    GSHandle Get() const { return handle; }
    GSHandle* Out() { BMhKill(&handle); return &handle; }

private:
    GSHandle handle;
};

// The host's progress window, open while this lives. Closed on every path;
// when the host could not open it, nothing else is asked of it.
class ProgressWindowOwner {
public:
    ProgressWindowOwner(const char* title, Int16 phases)
    {
        open = HostRequest::IPWD(title, &phases) == NoError;
    }
    ~ProgressWindowOwner()
    {
        if (open)
            HostRequest::CPWD();
    }
    ProgressWindowOwner(const ProgressWindowOwner&) = delete;
    ProgressWindowOwner& operator=(const ProgressWindowOwner&) = delete;

    void StartPhase(const char* text, Int32 maximum)
    {
        if (open)
            HostRequest::SPRP(text, &maximum, nullptr);
    }
    void StartPhase(const char* text, Int32 maximum, bool warning)
    {
        if (open)
            HostRequest::SPRP(text, &maximum, &warning);
    }
    void Advance(Int32 step = 1)
    {
        if (open)
            HostRequest::IPRV(&step);
    }
    void SetValue(Int32 value)
    {
        if (open)
            HostRequest::SPRV(&value);
    }
    // Closes the window before the owner goes (the user cancelled); it is
    // not closed a second time.
    void Close()
    {
        if (open)
            HostRequest::CPWD();
        open = false;
    }
    bool IsOpen() const { return open; }
    // The host answers 1 when the user has cancelled and 0 when not; any
    // other answer is a query that failed, which is no cancel of the
    // user's. Without a window the user has no way to cancel.
    bool Cancelled() { return open && HostRequest::CANC() == CancelledAnswer; }

private:
    static constexpr GSErrCode CancelledAnswer = 1;
    bool open = false;
};

// The skins of a composite as the host hands them out; disposed through the
// host when it filled them.
class AttributeDefsOwner {
public:
    AttributeDefsOwner() { std::memset(static_cast<void*>(&defs), 0, sizeof defs); }
    ~AttributeDefsOwner()
    {
        if (defs.cwall_compItems != nullptr)
            HostDisposeAttributeDefs(&defs);
    }
    AttributeDefsOwner(const AttributeDefsOwner&) = delete;
    AttributeDefsOwner& operator=(const AttributeDefsOwner&) = delete;
    API_AttributeDefExt* operator->() { return &defs; }
    API_AttributeDefExt& Get() { return defs; }

private:
    API_AttributeDefExt defs;
};

// A block of host memory from GS_calloc, freed with GS_free.
class HostBlockOwner {
public:
    explicit HostBlockOwner(void* p = nullptr) : block(p) {}
    ~HostBlockOwner() { GS_free(block); }
    HostBlockOwner(const HostBlockOwner&) = delete;
    HostBlockOwner& operator=(const HostBlockOwner&) = delete;
    void* Get() const { return block; }

private:
    void* block;
};
