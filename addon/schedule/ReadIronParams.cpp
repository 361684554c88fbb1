#include "addon/schedule/ReadIronParams.hpp"
#include "addon/host/HostCalls.hpp"
#include "addon/host/HostRequests.hpp"
#include "addon/host/MemoMasks.hpp"
#include "addon/host/Owners.hpp"
#include "addon/schedule/ParamNames.hpp"
#include "addon/services/ComplexElementKind.hpp"
#include "addon/services/GdlParams.hpp"
#include "addon/services/HostText.hpp"
#include "addon/services/ResStrings.hpp"
#include "platform/gs/CH.hpp"
#include "platform/gs/Memory.hpp"
#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

namespace {

constexpr double FlagThreshold = 1e-5;
constexpr Int32 TextBufferSize = 1024;

bool NameIs(const API_AddParType& rec, const char* name)
{
    return std::strncmp(rec.name, name, sizeof rec.name) == 0;
}

// An ID or quality as the add-on keeps it, at most `bufferSize` - 1 bytes:
// letters the host's code page lacks are kept as the user wrote them.
std::string ToAnsi(const GS::UniString& text, Int32 bufferSize)
{
    return HostText::ToText(text, static_cast<size_t>(bufferSize - 1));
}

// The numbers of an array parameter, row by row, as far as its value handle
// holds them: an array whose handle is shorter than its dimensions gives the
// whole rows the handle holds. A view into the value handle: it holds while
// the memo keeps the record's values.
struct Numbers {
    Int32 rows = 0;
    Int32 columns = 0;
    const double* values = nullptr;
    size_t Count() const { return static_cast<size_t>(rows) * static_cast<size_t>(columns); }
    double Get(Int32 row, Int32 column) const
    {
        return row < rows && column < columns ? values[static_cast<size_t>(row) * static_cast<size_t>(columns) + static_cast<size_t>(column)] : 0.0;
    }
};

Numbers ReadNumbers(const API_AddParType& rec)
{
    Numbers n;
    if (!GdlParams::IsArray(rec) || rec.dim1 <= 0 || rec.dim2 <= 0 || rec.value.array == nullptr)
        return n;
    const Int64 held = BMhGetSize(rec.value.array) / static_cast<Int64>(sizeof(double));
    n.columns = rec.dim2;
    n.rows = static_cast<Int32>(std::min<Int64>(rec.dim1, held / rec.dim2));
    n.values = reinterpret_cast<const double*>(*rec.value.array);
    return n;
}

// The listing table: row r of the array is listing row r, its first five
// values the five columns; a row of fewer values leaves the others 0.
void ReadListing(const API_AddParType& rec, ListingColumns& listing)
{
    const Numbers n = ReadNumbers(rec);
    listing.Resize(n.rows);
    const Int32 columns = std::min(n.columns, ListingColumns::ColumnCount);
    for (Int32 r = 0; r < n.rows; ++r)
        for (Int32 c = 0; c < columns; ++c)
            listing.At(r, c) = n.Get(r, c);
}

bool IsFlagSet(const API_AddParType& rec) { return GdlParams::Number(rec) > FlagThreshold; }

// Applies the memo's parameters to the object; the host's answer is not
// needed, the object is read as it then stands.
void ApplyMemo(const API_Element& element, const API_ElementMemo& memo)
{
    GS::Array<API_Guid> guids;
    guids.Push(element.header.guid);
    HostChangeElementsByGuid(&guids, &element, &memo, MemoEveryBit);
}

// Reads the object's memo again in place of `memo`. When the host cannot
// give it, the memo stays as it was.
void ReadMemoAgain(const API_Guid& guid, API_ElementMemo& memo)
{
    MemoOwner fresh;
    if (HostGetMemo(guid, &fresh.Get(), MemoAllButBit30) != NoError)
        return;
    HostDisposeMemo(&memo);
    std::memcpy(static_cast<void*>(&memo), &fresh.Get(), sizeof memo);
    std::memset(static_cast<void*>(&fresh.Get()), 0, sizeof memo);
}

void SetDummy(API_ElementMemo& memo, double value) { GdlParams::WriteNumber(memo.params, ParamName::Dummy, value); }

// The parameters a bar's reading takes, and which one a record is: found
// by the name's length and first letter before its letters are compared,
// so that the many records read for no field cost next to nothing.
enum class BarField { None, IronType, IronData, IronExtraData, Listing, Id, Quality, FilterLength, IsListing, SymbolPositions, PlacedManual };

BarField BarFieldOf(const API_AddParType& rec)
{
    struct Named {
        const char* name;
        size_t length;
        BarField field;
    };
    static const auto named = [] {
        const std::pair<const char*, BarField> names[] = {
            {ParamName::IronType, BarField::IronType},         {ParamName::IronData, BarField::IronData},
            {ParamName::IronExtraData, BarField::IronExtraData}, {ParamName::IronListingData, BarField::Listing},
            {ParamName::IronId, BarField::Id},                 {ParamName::IronQuality, BarField::Quality},
            {ParamName::FilterLength, BarField::FilterLength}, {ParamName::IsListing, BarField::IsListing},
            {ParamName::SymbolPositions, BarField::SymbolPositions}, {ParamName::PlacedManual, BarField::PlacedManual}};
        std::vector<Named> table;
        for (const auto& n : names)
            table.push_back({n.first, std::strlen(n.first), n.second});
        return table;
    }();
    const size_t length = strnlen(rec.name, sizeof rec.name);
    for (const Named& n : named)
        if (n.length == length && n.name[0] == rec.name[0] && std::memcmp(n.name, rec.name, length) == 0)
            return n.field;
    return BarField::None;
}

// Writes the memo to the object with "dummy" set, so that the object stands
// as its memo says; for a complex element the object then computes its
// parameters again and the memo is read anew. False when the host refuses
// the recompute.
bool ApplyAndRecompute(const API_Element& element, API_ElementMemo& memo, bool forComplex)
{
    SetDummy(memo, 1.0);
    ApplyMemo(element, memo);
    if (!forComplex)
        return true;
    API_Element recompute = element;
    UInt32 flag = APIRecalcParams;
    if (HostRequest::RPAS(&recompute, &flag) != NoError)
        return false;
    SetDummy(memo, 0.0);
    ApplyMemo(element, memo);
    ReadMemoAgain(element.header.guid, memo);
    return true;
}

void ReadPlacement(const API_Element& element, const IronReadOptions& options, IronProperties& record)
{
    record.isBar = options.isBar;
    record.isStirrup = options.isStirrup;
    record.isConcrete = options.isConcrete;
    record.guid = element.header.guid;
    record.rotation = element.object.angle;
    record.mirrored = element.object.reflected;
    record.position[0] = element.object.pos.x;
    record.position[1] = element.object.pos.y;
    record.position[2] = element.object.level;
}

// The box around the symbol points, row by row; columns a row lacks count
// as 0.
void ReadSymbolBox(const API_AddParType& rec, IronProperties& record)
{
    const Numbers n = ReadNumbers(rec);
    for (Int32 r = 0; r < n.rows; ++r)
        for (Int32 c = 0; c < 3; ++c) {
            const double v = n.Get(r, c);
            record.symbolBox[c] = r == 0 ? v : std::min(record.symbolBox[c], v);
            record.symbolBox[c + 3] = r == 0 ? v : std::max(record.symbolBox[c + 3], v);
        }
}

// One parameter of the object into the record. False (told) for a bar not
// placed by hand that is read for a complex element.
bool ReadIronParam(const API_AddParType& rec, const IronReadOptions& options, std::string& id, IronProperties& record)
{
    const BarField field = BarFieldOf(rec);
    switch (field) {
    case BarField::IronType:
    case BarField::IronData:
    case BarField::IronExtraData: {
        RowArray& rows = field == BarField::IronType ? record.ironType
                         : field == BarField::IronData ? record.ironData
                                                       : record.ironExtraData;
        const Numbers n = ReadNumbers(rec);
        rows.Assign(n.rows, n.columns, n.values);
        break;
    }
    case BarField::Listing:
        ReadListing(rec, record.listingColumns);
        break;
    case BarField::Id:
        id = ToAnsi(GdlParams::Text(rec), TextBufferSize);
        break;
    case BarField::Quality:
        record.quality = ToAnsi(GdlParams::Text(rec), TextBufferSize);
        break;
    case BarField::FilterLength:
        record.filterLength = IsFlagSet(rec);
        break;
    case BarField::IsListing:
        record.isListing = IsFlagSet(rec);
        break;
    case BarField::SymbolPositions:
        ReadSymbolBox(rec, record);
        if (options.isBar && options.editedKind == CrowningKind)
            for (Int32 c = 0; c < 3; ++c)
                record.symbolBox[c] = record.symbolBox[c + 3] = record.position[c];
        break;
    case BarField::PlacedManual:
        if (options.isBar && options.editedKind && !(std::fabs(GdlParams::Number(rec) - 1.0) <= 0.1)) {
            HostReport(GetResString(ResStr::Messages::OnlyManualRebars), true);
            return false;
        }
        break;
    case BarField::None:
        break;
    }
    return true;
}

// A crowning's bars are listed by their first value only.
void ReduceCrowningBar(IronProperties& record)
{
    for (Int32 r = 0; r < record.ironData.RowCount(); ++r) {
        const Int32 length = record.ironData.RowLength(r);
        for (Int32 c = 1; c < std::min(length, 3); ++c)
            record.ironData.At(r, c) = 1.0;
        const double t = record.ironType.Get(r, 2);
        const Int32 counted = !(t > 0.0) ? 0 : t >= static_cast<double>(length) ? length : static_cast<Int32>(t);
        for (Int32 c = 3; c < counted; ++c)
            record.ironData.At(r, c) = 0.0;
    }
}

// The object's box on the plan; a crowning's bar stands at its placement
// point. False when the host cannot give the box.
bool ReadPlanBox(const API_Element& element, bool crowningBar, IronProperties& record)
{
    API_Box3D box{};
    API_Elem_Head head = element.header;
    if (HostRequest::CABO(&head, &box) != NoError)
        return false;
    if (crowningBar) {
        record.planBox[0] = record.planBox[2] = record.position[0];
        record.planBox[1] = record.planBox[3] = record.position[1];
    } else {
        record.planBox[0] = box.xMin;
        record.planBox[1] = box.yMin;
        record.planBox[2] = box.xMax;
        record.planBox[3] = box.yMax;
    }
    return true;
}

}  // namespace

bool ReadIronParams(const API_Element& element, API_ElementMemo& memo, const IronReadOptions& options,
                    std::string& id, IronProperties& record)
{
    if (!ApplyAndRecompute(element, memo, options.editedKind.has_value()))
        return false;
    ReadPlacement(element, options, record);
    const Int32 count = GdlParams::Count(memo.params);
    for (Int32 i = 0; i < count; ++i)
        if (!ReadIronParam((*memo.params)[i], options, id, record))
            return false;
    const bool crowningBar = options.isBar && options.editedKind == CrowningKind;
    if (crowningBar)
        ReduceCrowningBar(record);
    return ReadPlanBox(element, crowningBar, record);
}

namespace {

// A texts array: one text per row, the row's first column. The texts lie
// one after the other, each ended by a zero; a handle that ends early ends
// the rows.
std::vector<std::string> ReadTexts(const API_AddParType& rec)
{
    std::vector<std::string> texts;
    if (!GdlParams::IsArray(rec) || rec.dim1 <= 0 || rec.dim2 <= 0 || rec.value.array == nullptr)
        return texts;
    const Int64 held = BMhGetSize(rec.value.array) / static_cast<Int64>(sizeof(GS::uchar_t));
    const GS::uchar_t* units = reinterpret_cast<const GS::uchar_t*>(*rec.value.array);
    Int64 at = 0;
    for (Int64 cell = 0; at < held && cell < static_cast<Int64>(rec.dim1) * rec.dim2; ++cell) {
        const Int64 begin = at;
        while (at < held && units[at] != 0)
            ++at;
        if (cell % rec.dim2 == 0) {
            const GS::UniString text(units + begin, static_cast<USize>(at - begin));
            texts.push_back(HostText::ToText(text, std::string::npos));
        }
        ++at;
    }
    return texts;
}

std::vector<double> AllNumbers(const API_AddParType& rec)
{
    const Numbers n = ReadNumbers(rec);
    return n.Count() > 0 ? std::vector<double>(n.values, n.values + n.Count()) : std::vector<double>();
}

// The complex object made to compute its parameters again, and its memo
// read anew. False when the host refuses the recompute.
bool RecomputeComplex(const API_Element& element, API_ElementMemo& memo)
{
    API_Element recompute;
    std::memset(static_cast<void*>(&recompute), 0, sizeof recompute);
    recompute.header.guid = element.header.guid;
    UInt32 flag = APIRecalcParams;
    if (HostRequest::RPAS(&recompute, &flag) != NoError)
        return false;
    ApplyMemo(element, memo);
    ReadMemoAgain(element.header.guid, memo);
    return true;
}

}  // namespace

bool ReadComplexIronParams(const API_Element& element, API_ElementMemo& memo, std::string& id, ComplexIronProperties& record)
{
    if (!RecomputeComplex(element, memo))
        return false;
    record.guid = element.header.guid;
    const Int32 count = GdlParams::Count(memo.params);
    for (Int32 i = 0; i < count; ++i) {
        const API_AddParType& rec = (*memo.params)[i];
        const Int32 rows = GdlParams::IsArray(rec) ? std::max(rec.dim1, 0) : 0;
        if (NameIs(rec, ParamName::IronId)) {
            id = ToAnsi(GdlParams::Text(rec), TextBufferSize);
        } else if (NameIs(rec, ParamName::IronType)) {
            record.count = rows;
            record.ironType.Set(AllNumbers(rec));
        } else if (NameIs(rec, ParamName::IronData)) {
            record.count = rows;
            record.ironData.Set(AllNumbers(rec));
        } else if (NameIs(rec, ParamName::IronExtraData)) {
            record.count = rows;
            record.ironExtraData.Set(AllNumbers(rec));
        } else if (NameIs(rec, ParamName::SubBarPositions)) {
            record.count = rows;
            record.ironPos.Set(AllNumbers(rec));
        } else if (NameIs(rec, ParamName::SubBarRotations)) {
            record.count = rows;
            record.ironRotate.Set(AllNumbers(rec));
        } else if (NameIs(rec, ParamName::SubBarMirrored)) {
            record.count = rows;
            std::vector<UInt8> flags;
            for (double v : AllNumbers(rec))
                flags.push_back(std::fabs(v) < FlagThreshold ? 1 : 0);
            record.mirroredFlags.Set(std::move(flags));
        } else if (NameIs(rec, ParamName::IronListingData)) {
            record.listingRows = rows;
            ReadListing(rec, record.listingColumns);
        } else if (NameIs(rec, ParamName::SubBarIds)) {
            record.listingRows = rows;
            record.ironIds.Set(ReadTexts(rec));
        } else if (NameIs(rec, ParamName::SubBarQualities)) {
            record.listingRows = rows;
            record.qualityTexts.Set(ReadTexts(rec));
        } else if (NameIs(rec, ParamName::IsListing)) {
            record.isListing = IsFlagSet(rec);
        }
    }
    return true;
}
