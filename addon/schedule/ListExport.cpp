#include "addon/schedule/ListExport.hpp"
#include "addon/host/HostCalls.hpp"
#include "addon/host/MemoMasks.hpp"
#include "addon/host/Owners.hpp"
#include "addon/services/CommandTrace.hpp"
#include "addon/services/GdlParams.hpp"
#include "addon/services/LibraryParts.hpp"
#include "addon/services/ResStrings.hpp"
#include "platform/dg/DGFileDialog.hpp"
#include "platform/ftm/FileTypeManager.hpp"
#include "platform/gs/CH.hpp"
#include "platform/gs/Memory.hpp"
#include "platform/io/File.hpp"
#include <cstring>
#include <memory>
#include <new>

namespace {

constexpr UInt32 OnVisibleLayer = 2;
constexpr Int32 TestBufferSize = 1024;
constexpr const char* TableParameter = "tableContentTexts";

void Report(RSStringId text) { HostReport(GetResString(text), true); }

// The texts of a value handle, one after the other, each ended by a NUL.
// Reading never goes past the handle: a text cut by its end ends there, and
// cells past the last text are empty.
class CellReader {
public:
    explicit CellReader(GSHandle values)
        : units(values != nullptr ? reinterpret_cast<const GS::uchar_t*>(*values) : nullptr),
          total(values != nullptr ? BMhGetSize(values) / static_cast<Int64>(sizeof(GS::uchar_t)) : 0)
    {
    }

    GS::UniString Next()
    {
        Int64 begin = at;
        while (at < total && units[at] != 0)
            ++at;
        GS::UniString text(units + begin, static_cast<USize>(at - begin));
        if (at < total)
            ++at;  // the NUL
        return text;
    }

private:
    const GS::uchar_t* units;
    Int64 total;
    Int64 at = 0;
};

void AppendTable(const API_AddParType& rec, char* testBuffer, std::string& text)
{
    Int32 rows = rec.dim1;
    Int32 columns = rec.dim2 > 0 ? rec.dim2 : 0;
    if (rows <= 0)
        return;  // no value handle to read either: the value is inline
    CellReader cells(rec.value.array);
    for (Int32 row = 0; row < rows; ++row) {
        for (Int32 column = 0; column < columns; ++column) {
            GS::UniString cell = cells.Next();
            if (CHUnicode2ANSI(cell.ToUStr(), -1, testBuffer, TestBufferSize, CC_UTF8) < 0)
                continue;
            text += cell.ToCStr(CC_UTF8).Get();
            if (column != columns - 1)
                text += '\t';
        }
        text += "\r\n";
    }
}

struct BlockFree {
    void operator()(char* block) const { GS_free(block); }
};

enum class Selection { OneList, Unreadable, Refused };

// The one selected list: an object of the list part, on a visible layer,
// that the host can read.
Selection SelectedList(Int32 listLibInd, API_Guid* list)
{
    API_SelectionInfo info{};
    GS::Array<API_Neig> selected;
    GSErrCode err = HostGetSelection(&info, &selected, true, true, 0);
    BMhKill(&info.marqueeCoords);
    if (err != NoError && err != APIERR_NOSEL)
        return Selection::Unreadable;
    if (err == APIERR_NOSEL || selected.GetSize() != 1)
        return Selection::Refused;
    const API_Neig& item = selected[0];
    API_ElemTypeID type = API_ZombieElemID;
    if (HostUtility(RequestCode("NTOE"), const_cast<API_Neig*>(&item), &type, nullptr) != NoError || type != API_ObjectID)
        return Selection::Refused;
    if (!HostElementFilter(item.guid, OnVisibleLayer, 0, APINULLGuid))
        return Selection::Refused;
    API_Element element;
    std::memset(static_cast<void*>(&element), 0, sizeof element);
    element.header.guid = item.guid;
    if (HostGetElement(&element) != NoError || element.object.libInd != listLibInd)
        return Selection::Refused;
    *list = item.guid;
    return Selection::OneList;
}

// The file for plain text, registered with the host's file types unless it
// is there already; the manager keeps a type it adds for the dialog's time.
FTM::TypeID TextFileType(FTM::FileTypeManager& manager)
{
    FTM::FileType text(nullptr, "txt", 0, 0, 0, nullptr, true);
    FTM::TypeID id = FTM::FileTypeManager::SearchForType(text, FTM::RootGroup);
    if (id == FTM::UnknownType)
        id = manager.AddType(text, FTM::RootGroup);
    return id;
}

// Writes exactly `text` into the file: a longer file that was there is cut,
// so that none of its old bytes stay behind the new text.
GSErrCode WriteTextFile(const IO::Location& where, const std::string& text)
{
    std::unique_ptr<IO::File> file(new IO::File(where, IO::File::Create));
    GSErrCode err = file->Open(IO::File::WriteMode, IO::File::ShareReadWrite);
    if (err == NoError)
        err = file->SetDataLength(0);
    if (err == NoError)
        err = file->WriteBin(text.data(), text.size());
    GSErrCode closed = file->Close();
    return err != NoError ? err : closed;
}

// The list's table into the chosen file; false when it could not be done.
bool ExportTable(const API_Guid& list, const IO::Location& where)
{
    try {
        std::string text;
        {
            MemoOwner memo;
            if (HostGetMemo(list, &memo.Get(), MemoAllButBit30) != NoError)
                return false;
            if (!ListTableText(memo->params, &text))
                return false;
        }
        return WriteTextFile(where, text) == NoError;
    } catch (const std::bad_alloc&) {
        return false;  // the file object or the text had no memory
    }
}

}  // namespace

bool ListTableText(API_AddParType** params, std::string* text)
{
    std::unique_ptr<char, BlockFree> testBuffer(static_cast<char*>(GS_calloc(TestBufferSize, 1)));
    if (testBuffer == nullptr)
        return false;
    GdlParams::ForEachNamed(params, TableParameter,
                            [&](API_AddParType& rec) { AppendTable(rec, testBuffer.get(), *text); });
    return true;
}

void ExportListToText()
{
    TraceCommand("ExportListToText");
    Int32 listLibInd = 0;
    if (FindLibraryPart(LibraryPart::List, &listLibInd) != NoError) {
        Report(ResStr::Messages::MissingList);
        return;
    }
    API_Guid list = APINULLGuid;
    switch (SelectedList(listLibInd, &list)) {
    case Selection::Unreadable: return;
    case Selection::Refused: Report(ResStr::Messages::SelectOneVisibleList); return;
    case Selection::OneList: break;
    }

    FTM::FileTypeManager manager("MyManager");
    DG::FileDialog dialog(DG::FileDialog::Save);
    Int32 filter = dialog.AddFilter(TextFileType(manager), DG::FileDialog::AppendExtension);
    dialog.SetFilterText(filter, GS::UniString("*.txt", CC_UTF8));
    if (!dialog.Invoke())
        return;

    if (!ExportTable(list, dialog.GetSelectedFile()))
        Report(ResStr::Messages::ListExportFailed);
}
