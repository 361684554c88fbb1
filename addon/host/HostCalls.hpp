// One wrapper per host call: HostGetElement, HostReport, ... Each takes its
// function from the add-on's copy of the table, passes the context token
// where the host expects it, and gives the answer platform/api/HostSlots.def
// names for an empty slot (0x81060387 for most calls). This folder is the
// only code that calls the host; requests go through HostRequests.hpp.
#pragma once
#include "platform/api/HostTable.hpp"
#include "platform/rs/RS.hpp"

#define HOST_SLOT(Name, Ret, Tok, Missing, Fails, Params, Args) Ret Host##Name Params;
#include "platform/api/HostSlots.def"

// How many calls that answer an error code have answered one (an empty
// slot's answer included) since the add-on was loaded.
UInt64 HostFailedCallCount();

// Whether any host call answered an error while this watch was alive: the
// work it covers then rests on a read that did not happen or a write that
// did not land.
class HostFailureWatch {
public:
    HostFailureWatch() : start(HostFailedCallCount()) {}
    bool Seen() const { return HostFailedCallCount() != start; }

private:
    UInt64 start;
};

// Calls the host provides to an add-on outside the table.
// An 8-bit text of string list `listId` in the host's default code page,
// into a buffer of 255 bytes; false when the entry does not exist.
bool HostGetResourceString(char* buffer, GSResID listId, GSResID index, GSResModule module);
bool HostGetResourceUniString(GS::UniString* text, GSResID listId, GSResID index, GSResModule module);
// The full path of the add-on file.
GS::UniString HostOwnFilePath();
// The add-on file's location; 0, or APIERR_GENERAL when it cannot be told.
GSErrCode HostOwnLocation(IO::Location* location);
