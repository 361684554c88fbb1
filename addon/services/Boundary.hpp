// Every entry point, handler and callback the host calls goes through here:
// no exception may travel into the host, so any failure inside becomes the
// add-on's failure code (or the value the caller names).
#pragma once
#include "platform/api/APIdefs.hpp"
#include "platform/gs/DBPrintf.hpp"
#include <exception>

template <typename R, typename F> R CallGuarded(const char* where, R onFailure, F&& body) noexcept
{
    try {
        return body();
    } catch (const std::exception& e) {
        DBPrintf("[zolva] %s failed: %s\n", where, e.what());
    } catch (...) {
        DBPrintf("[zolva] %s failed\n", where);
    }
    return onFailure;
}

// The same for the notifications that give the host no result.
template <typename F> void CallGuarded(const char* where, F&& body) noexcept
{
    CallGuarded(where, false, [&] {
        body();
        return true;
    });
}
