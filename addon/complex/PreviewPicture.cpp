#include "addon/complex/PreviewPicture.hpp"
#include "addon/host/HostCalls.hpp"
#include "addon/host/HostQueries.hpp"
#include "addon/host/HostRequests.hpp"
#include "addon/host/MemoMasks.hpp"
#include "addon/host/Owners.hpp"
#include "addon/schedule/ParamNames.hpp"
#include "addon/services/GdlParams.hpp"
#include "addon/services/ResStrings.hpp"
#include "platform/gs/CH.hpp"
#include "platform/gs/DBPrintf.hpp"
#include "platform/gs/Guid.hpp"
#include "platform/gs/Memory.hpp"
#include "platform/io/Location.hpp"
#include <cstring>
#include <exception>

namespace {

constexpr double ShownThreshold = 0.1;
constexpr Int32 DatabaseOf3D = 4;
constexpr Int32 DatabaseOf3DDocument = 14;

// Set by the first failed save; the add-on's globals start anew with each
// load, so it lives exactly as long as the add-on is loaded.
bool pictureWarningShown = false;

void Alert(RSStringId text) { HostReport(GetResString(text), true); }

void WriteBack(const API_Guid& guid, const API_Element* element, const API_ElementMemo& memo, UInt64 mask)
{
    GS::Array<API_Guid> guids;
    guids.Push(guid);
    HostChangeElementsByGuid(&guids, element, &memo, mask);
}

// The memo read again in place of `memo`; unchanged when the host cannot
// give it.
void ReadMemoAgain(const API_Guid& guid, MemoOwner& memo)
{
    MemoOwner fresh;
    if (HostGetMemo(guid, &fresh.Get(), MemoAllButBit30) != NoError)
        return;
    HostDisposeMemo(&memo.Get());
    std::memcpy(static_cast<void*>(&memo.Get()), &fresh.Get(), sizeof(API_ElementMemo));
    std::memset(static_cast<void*>(&fresh.Get()), 0, sizeof(API_ElementMemo));
}

// The first four values of the record, row by row, as a box.
bool ReadBox(const API_AddParType& rec, API_Box& box)
{
    if (!GdlParams::HoldsNumbers(rec) || !GdlParams::IsArray(rec) || rec.dim1 <= 0 || rec.dim2 <= 0 ||
        Int64(rec.dim1) * rec.dim2 < 4 || rec.value.array == nullptr ||
        BMhGetSize(rec.value.array) < Int64(4 * sizeof(double)))
        return false;
    const double* v = reinterpret_cast<const double*>(*rec.value.array);
    box = {v[0], v[1], v[2], v[3]};
    return true;
}

// One picture step: what it changed on the object, so that every way out
// restores it.
class PictureStep {
public:
    explicit PictureStep(const API_Guid& object) : object(object) {}

    GSErrCode Run(char (&picturePath)[PicturePathSize])
    {
        IO::Location folder;
        GSErrCode err = TempFolder(folder);
        if (err == NoError)
            err = Recompute();
        if (err != NoError)
            return err;

        // Without a box to zoom to there is nothing to show: no picture, as
        // when the zoom fails.
        API_Box box{};
        if (!ShowSection(box) || HostRequest::ZOOM(&box) != NoError) {
            Restore();
            return NoError;
        }

        IO::Location file = PictureFile(folder);
        if ((err = SavePicture(file)) != NoError) {
            Restore();
            return err;
        }
        KeepPath(file, picturePath);
        Int32 reset = 1;
        HostRequest::RZOM(&reset);
        HostRequest::RBLD(nullptr);
        Restore();
        return NoError;
    }

    // Puts "bShowSection" back, from the object as it stands when the host
    // can give it, else from the memo read before (its other parameters are
    // what the object was given a moment ago).
    void Restore() noexcept
    {
        if (!sectionSet)
            return;
        sectionSet = false;
        try {
            ReadMemoAgain(object, memo);
            GdlParams::WriteNumber(memo.Get().params, ParamName::ShowSection, wasShown ? 1.0 : 0.0);
            WriteBack(object, nullptr, memo.Get(), APIMemoMask_AddPars);
        } catch (const std::exception& e) {
            DBPrintf("[zolva] restoring bShowSection failed: %s\n", e.what());
        } catch (...) {
            DBPrintf("[zolva] restoring bShowSection failed\n");
        }
    }

private:
    // The host's temporary folder, where the picture is saved.
    static GSErrCode TempFolder(IO::Location& folder)
    {
        API_SpecFolderID kind = API_TempFolderID;
        const GSErrCode err = HostRequest::GSPF(&kind, &folder);
        if (err != NoError)
            Alert(ResStr::Messages::NoTempFolder);
        return err;
    }

    // The object made to compute its parameters again, and its memo as the
    // object then stands.
    GSErrCode Recompute()
    {
        API_Element element;
        GSErrCode err = ReadElement(object, element);
        if (err != NoError)
            return err;
        UInt32 recompute = APIRecalcParams;
        if ((err = HostRequest::RPAS(&element, &recompute)) != NoError)
            return err;
        if ((err = HostGetMemo(object, &memo.Get(), MemoAllButBit30)) != NoError)
            return err;
        WriteBack(object, &element, memo.Get(), APIMemoMask_All);
        ReadMemoAgain(object, memo);
        return NoError;
    }

    // Sets "bShowSection" on (remembering how it was) and reads the box to
    // zoom to; false when the object gives no box.
    bool ShowSection(API_Box& box)
    {
        bool haveBox = false;
        const Int32 count = GdlParams::Count(memo.Get().params);
        for (Int32 i = 0; i < count; ++i) {
            API_AddParType& rec = (*memo.Get().params)[i];
            if (std::strncmp(rec.name, ParamName::ShowSection, sizeof rec.name) == 0 && GdlParams::HoldsNumbers(rec) &&
                !GdlParams::IsArray(rec) && !sectionSet) {
                wasShown = GdlParams::Number(rec) > ShownThreshold;
                sectionSet = true;
            } else if (std::strncmp(rec.name, ParamName::Bounding, sizeof rec.name) == 0 && !haveBox) {
                haveBox = ReadBox(rec, box);
            }
        }
        if (sectionSet)
            GdlParams::WriteNumber(memo.Get().params, ParamName::ShowSection, 1.0);
        WriteBack(object, nullptr, memo.Get(), APIMemoMask_AddPars);
        return haveBox;
    }

    // The picture's file: the object's GUID in the folder.
    IO::Location PictureFile(const IO::Location& folder) const
    {
        GS::Guid guid;
        guid.SetBytes(reinterpret_cast<const unsigned char*>(&object));
        IO::Location file = folder;
        file.AppendToLocal(IO::Name(guid.ToUniString() + ".jpg"));
        return file;
    }

    // Saves the zoomed view as a JPEG. The first failed save is told and
    // ends the step; a later one goes on as a saved one.
    static GSErrCode SavePicture(IO::Location& file)
    {
        API_FileSavePars save{};
        save.fileTypeID = APIFType_JpegFile;
        save.file = &file;
        API_SavePars_Picture options{};
        options.colorDepth = APIColorDepth_TC24;
        options.blackAndWhite = false;
        options.zoomedArea = true;
        options.smoothLines = true;

        API_DatabaseInfo database{};
        GSErrCode err = HostRequest::GDAT(&database);
        if (err != NoError) {
            Alert(ResStr::Messages::NoActualDatabase);
            return err;
        }
        if (database.typeID == DatabaseOf3D || database.typeID == DatabaseOf3DDocument)
            options.zoomedArea = false;

        if ((err = HostRequest::SAVE(&save, &options)) != NoError && !pictureWarningShown) {
            pictureWarningShown = true;
            Alert(ResStr::Messages::NoTempLibrary);
            return err;
        }
        return NoError;
    }

    // The entry names the file that the host was asked to write.
    static void KeepPath(const IO::Location& file, char (&picturePath)[PicturePathSize])
    {
        const GS::UniString path = file.ToUniString();
        std::memset(picturePath, 0, sizeof picturePath);
        CHUnicode2ANSI(path.ToUStr(), Int32(path.GetLength()), picturePath, PicturePathSize, CC_Default);
        picturePath[PicturePathSize - 1] = '\0';
    }

    API_Guid object;
    MemoOwner memo;
    bool sectionSet = false;
    bool wasShown = false;
};

// The step's own result, with the class libraries' exceptions turned into
// the warning and the object put back.
GSErrCode RunGuarded(PictureStep& step, char (&picturePath)[PicturePathSize]) noexcept
{
    try {
        return step.Run(picturePath);
    } catch (const std::exception& e) {
        DBPrintf("[zolva] SaveComplexPreviewPicture failed: %s\n", e.what());
    } catch (...) {
        DBPrintf("[zolva] SaveComplexPreviewPicture failed\n");
    }
    // The warning whatever was shown before, and the object as it was.
    step.Restore();
    try {
        Alert(ResStr::Messages::NoTempLibrary);
    } catch (...) {
    }
    return NoError;
}

}  // namespace

// The host lets the model change only inside an undoable command, so the
// step's changes of the object (its recomputed parameters written back,
// "bShowSection" set and put back) run inside one. Its body always answers
// a cancel: the host then takes every change back, the object is exactly as
// it was even where putting it back by hand failed, and the user's undo
// history gets no step for a picture.
GSErrCode SaveComplexPreviewPicture(const API_Guid& object, char (&picturePath)[PicturePathSize]) noexcept
{
    PictureStep step(object);
    GSErrCode result = NoError;
    bool ran = false;
    try {
        const GS::UniString name(GetResString(ResStr::AddOnName::Name), CC_Default);
        const UndoableBody body = [&]() -> GSErrCode {
            ran = true;
            result = RunGuarded(step, picturePath);
            return APIERR_CANCEL;
        };
        const GSErrCode err = HostRunUndoableCommand(&name, &body);
        return ran ? result : err;
    } catch (const std::exception& e) {
        DBPrintf("[zolva] SaveComplexPreviewPicture failed: %s\n", e.what());
    } catch (...) {
        DBPrintf("[zolva] SaveComplexPreviewPicture failed\n");
    }
    return ran ? result : NoError;
}

bool PictureWarningShown() { return pictureWarningShown; }

void ResetPictureWarning() { pictureWarningShown = false; }
