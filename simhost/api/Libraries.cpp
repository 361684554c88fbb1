// Active libraries and library parts.
#include "simhost/api/HostApi.hpp"
#include "simhost/api/Requests.hpp"
#include "simhost/model/ParamHandles.hpp"
#include <cstring>

namespace SimHost {

namespace {

// The part's main GUID in braces: the first 38 characters of a unique ID.
std::string MainGuid(const std::string& uniqueId)
{
    std::string s = uniqueId.substr(0, 38);
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

void CopyUnits(GS::uchar_t* dst, size_t capacity, const std::string& utf8)
{
    std::u16string u = GS::DecodeText(utf8, CC_UTF8);
    size_t n = u.size() < capacity - 1 ? u.size() : capacity - 1;
    std::memcpy(dst, u.data(), n * sizeof(GS::uchar_t));
    dst[n] = 0;
}

}  // namespace

GSErrCode RequestHandlers::GLIB(GS::Array<API_LibraryInfo>* libraries)
{
    if (libraries == nullptr)
        return APIERR_BADPARS;
    libraries->Clear();
    for (const auto& lib : host.libraries.active) {
        API_LibraryInfo info;
        info.location = lib.location;
        info.name = GS::UniString(lib.container.title.c_str(), CC_UTF8);
        libraries->Push(info);
    }
    return NoError;
}

GSErrCode RequestHandlers::ALIB(const IO::Location* container)
{
    if (container == nullptr)
        return APIERR_BADPARS;
    std::string error;
    if (!host.libraries.Activate(*container, error)) {
        host.recorder.events.push_back("library refused: " + error);
        return APIERR_BADLIBRARY;
    }
    return NoError;
}

GSErrCode HostApi::SearchLibraryPart(API_LibPart* libPart, bool)
{
    if (libPart == nullptr)
        return APIERR_BADPARS;
    std::string wanted = MainGuid(std::string(libPart->ownUnID, strnlen(libPart->ownUnID, sizeof libPart->ownUnID)));
    Int32 index = 0;
    for (const auto& lib : host.libraries.active)
        for (const auto& part : lib.container.parts) {
            ++index;
            // Parts are found by their main GUID: another revision of the
            // same part serves as well.
            if (wanted.size() == 38 && MainGuid(part.uniqueId) == wanted) {
                libPart->index = index;
                libPart->typeID = part.partType;
                CopyUnits(libPart->docu_UName, 256, part.name);
                return NoError;
            }
        }
    return APIERR_BADID;
}

GSErrCode HostApi::GetLibraryPart(API_LibPart* libPart)
{
    if (libPart == nullptr)
        return APIERR_BADPARS;
    const LibraryPartDef* part = host.libraries.PartOfIndex(libPart->index);
    if (part == nullptr)
        return APIERR_BADINDEX;
    std::memset(libPart->ownUnID, 0, sizeof libPart->ownUnID);
    std::strncpy(libPart->ownUnID, part->uniqueId.c_str(), sizeof libPart->ownUnID - 1);
    libPart->typeID = part->partType;
    CopyUnits(libPart->docu_UName, 256, part->name);
    CopyUnits(libPart->file_UName, 256, part->name + ".gsm");
    return NoError;
}

GSErrCode HostApi::GetLibraryPartParams(Int32 libInd, double* a, double* b, Int32* addParNum, API_AddParType*** addPars)
{
    const LibraryPartDef* part = host.libraries.PartOfIndex(libInd);
    if (part == nullptr || addPars == nullptr)
        return APIERR_BADINDEX;
    *addPars = BuildParamHandle(part->defaults);
    if (*addPars == nullptr)
        return APIERR_MEMFULL;
    if (a != nullptr)
        *a = 1.0;
    if (b != nullptr)
        *b = 1.0;
    if (addParNum != nullptr)
        *addParNum = static_cast<Int32>(part->defaults.size());
    return NoError;
}

GSErrCode HostApi::DisposeParamHandle(API_AddParType*** addPars)
{
    KillParamHandle(addPars);
    return NoError;
}

}  // namespace SimHost
