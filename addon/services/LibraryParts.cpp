#include "addon/services/LibraryParts.hpp"
#include "addon/services/ResStrings.hpp"
#include "addon/host/HostCalls.hpp"
#include "addon/host/HostRequests.hpp"
#include <cstring>

#define NULL_REVISION "-{00000000-0000-0000-0000-000000000000}"
#define PART_ID(guid) {"{" guid "}" NULL_REVISION, "{" guid "}"}

const LibraryPartId LibraryPartIds[LibraryPartCount] = {
    PART_ID("4AC31094-E3E3-42C3-99DA-B0F5F8EA4D1E"),  // rf_mesh
    PART_ID("EC850C1A-6899-4EF8-9927-B27D1AE9E22B"),  // rf_rebar
    PART_ID("C9E7F990-2898-4CF5-B49B-4227FCD7C95B"),  // FourthComplexObject
    PART_ID("0BA19100-ACF3-4D66-9A10-DDCD165C6824"),  // rf_single_rebar
    PART_ID("7E1634D6-F2F8-9741-9C52-1CB192F3E998"),  // rf_stirrup
    PART_ID("434FA5A5-73EE-EA48-86F8-0C2C74F2AEE5"),  // rf_list
    PART_ID("E8ED93DE-890E-432B-9577-11DECF17D56F"),  // rf_crowning
    PART_ID("B121E811-EC91-49BA-AFA5-A96AED5ED59A"),  // rf_column
    PART_ID("74EC4F30-5101-4B72-87E2-6917D1EAC1E4"),  // rf_beam
    PART_ID("D69F1158-FC2B-4609-A2A4-E9A0EB343681"),  // rf_concrete
};

static_assert(sizeof("{4AC31094-E3E3-42C3-99DA-B0F5F8EA4D1E}" NULL_REVISION) == 78, "a unique ID has 77 characters");

GSErrCode FindLibraryPart(LibraryPart part, Int32* libInd)
{
    API_LibPart rec;
    std::memset(static_cast<void*>(&rec), 0, sizeof rec);
    rec.typeID = 4;
    std::strncpy(rec.ownUnID, LibraryPartIds[static_cast<Int32>(part)].uniqueId, sizeof rec.ownUnID - 1);
    GSErrCode err = HostSearchLibraryPart(&rec, false);
    if (err == NoError && libInd != nullptr)
        *libInd = rec.index;
    return err;
}

bool IdentifyLibraryPart(Int32 libInd, LibraryPart* part, GSErrCode* readError)
{
    API_LibPart rec;
    std::memset(static_cast<void*>(&rec), 0, sizeof rec);
    rec.index = libInd;
    const GSErrCode err = HostGetLibraryPart(&rec);
    if (readError != nullptr)
        *readError = err;
    if (err != NoError)
        return false;
    char main[39];
    std::memcpy(main, rec.ownUnID, 38);
    main[38] = '\0';
    for (Int32 i = 0; i < LibraryPartCount; ++i)
        if (std::strcmp(main, LibraryPartIds[i].mainGuid) == 0) {
            if (part != nullptr)
                *part = static_cast<LibraryPart>(i);
            return true;
        }
    return false;
}

GSErrCode EnsureLibraryLoaded()
{
    IO::Location container;
    GSErrCode err = HostOwnLocation(&container);
    if (err != NoError)
        return err;
    container.DeleteLastLocalName();
    container.AppendToLocal(IO::Name(GetResUniString(ResStr::Texts::LibraryContainerFile)));

    GS::Array<API_LibraryInfo> active;
    err = HostRequest::GLIB(&active);
    if (err != NoError)
        return err;
    for (const API_LibraryInfo& lib : active)
        if (lib.location == container)
            return NoError;
    return HostRequest::ALIB(&container);
}

void LoadLibraryOrAlert()
{
    if (EnsureLibraryLoaded() != NoError)
        HostReport(GetResString(ResStr::Messages::LibraryLoadingFailed), true);
}
