#include "addon/services/GdlParams.hpp"
#include "platform/gs/Memory.hpp"
#include <algorithm>
#include <cstring>
#include <vector>

namespace GdlParams {

namespace {
// The first letters are compared before the call: most records a walk
// passes differ from the name in them.
bool NameIs(const API_AddParType& rec, const char* name)
{
    return name != nullptr && rec.name[0] == name[0] && std::strncmp(rec.name, name, sizeof rec.name) == 0 &&
           std::strlen(name) < sizeof rec.name;
}

Int64 ArrayBytes(const API_AddParType& rec)
{
    return rec.value.array != nullptr ? BMhGetSize(rec.value.array) : 0;
}

// Gives the record rows x columns cells in a value handle of `bytes`; false
// when that is not possible (the record is left as it was). A record that
// holds no array yet gets a handle of its own: its value was a number or a
// text, not a handle. An array of no rows and no columns keeps no handle:
// with both dimensions 0 the record reads as holding no array, so a handle
// left in it would be neither found nor freed by anyone.
bool SetArrayShape(API_AddParType& rec, Int32 rows, Int32 columns, Int64 bytes)
{
    if (rows == 0 && columns == 0) {
        if (IsArray(rec))
            BMhKill(&rec.value.array);
        std::memset(&rec.value, 0, sizeof rec.value);
    } else if (!IsArray(rec) || rec.value.array == nullptr) {
        GSHandle h = BMhAllClear(bytes);
        if (h == nullptr)
            return false;
        rec.value.array = h;
    } else if (BMhReallocate(rec.value.array, bytes) == nullptr) {
        return false;
    }
    rec.dim1 = rows;
    rec.dim2 = columns;
    return true;
}
}  // namespace

Int32 Count(API_AddParType** params)
{
    if (params == nullptr)
        return 0;
    return static_cast<Int32>(BMhGetSize(reinterpret_cast<GSConstHandle>(params)) / static_cast<Int64>(sizeof(API_AddParType)));
}

API_AddParType* Record(API_AddParType** params, Int32 index)
{
    return index >= 0 && index < Count(params) ? &(*params)[index] : nullptr;
}

void ForEachNamed(API_AddParType** params, const char* name, const std::function<void(API_AddParType&)>& visit)
{
    Int32 n = Count(params);
    for (Int32 i = 0; i < n; ++i)
        if (NameIs((*params)[i], name))
            visit((*params)[i]);
}

void ForEachNamedReverse(API_AddParType** params, const char* name, const std::function<void(API_AddParType&)>& visit)
{
    for (Int32 i = Count(params) - 1; i >= 0; --i)
        if (NameIs((*params)[i], name))
            visit((*params)[i]);
}

namespace {
constexpr size_t NameField = sizeof(API_AddParType::name);
// A name's length (up to its terminator or the field's end) and first letter.
UInt32 Signature(const char* name, size_t limit)
{
    const size_t length = strnlen(name, limit);
    return static_cast<UInt32>(length) << 8 | static_cast<unsigned char>(name[0]);
}
}  // namespace

NameIndex::NameIndex(API_AddParType** handle) : params(handle)
{
    const Int32 n = Count(handle);
    signatures.reserve(static_cast<size_t>(n));
    for (Int32 i = 0; i < n; ++i)
        signatures.push_back(Signature((*handle)[i].name, NameField));
}

void NameIndex::ForEachNamed(const char* name, const std::function<void(API_AddParType&)>& visit) const
{
    if (name == nullptr || params == nullptr)
        return;
    // A name that fills the field has no match (NameIs): its signature,
    // taken up to the field's end, is compared like any other.
    const UInt32 wanted = Signature(name, NameField);
    const size_t n = std::min(signatures.size(), static_cast<size_t>(Count(params)));
    for (size_t i = 0; i < n; ++i)
        if (signatures[i] == wanted && NameIs((*params)[i], name))
            visit((*params)[i]);
}

bool IsArray(const API_AddParType& rec) { return rec.dim1 > 0 || rec.dim2 > 0; }

bool HoldsNumbers(const API_AddParType& rec)
{
    switch (rec.typeID) {
    case APIParT_Integer:
    case APIParT_Length:
    case APIParT_Angle:
    case APIParT_RealNum:
    case APIParT_Boolean:
        return true;
    default:
        return false;
    }
}

bool HoldsTexts(const API_AddParType& rec) { return rec.typeID == APIParT_CString || rec.typeID == APIParT_Title; }

double Number(const API_AddParType& rec, double missing)
{
    return HoldsNumbers(rec) && !IsArray(rec) ? rec.value.real : missing;
}

GS::UniString Text(const API_AddParType& rec)
{
    if (!HoldsTexts(rec) || IsArray(rec))
        return GS::UniString();
    size_t len = 0;
    while (len < 255 && rec.value.uStr[len] != 0)
        ++len;
    return GS::UniString(rec.value.uStr, len);
}

double ArrayNumber(const API_AddParType& rec, Int32 row, Int32 column)
{
    if (!HoldsNumbers(rec) || !IsArray(rec) || row < 0 || column < 0 || row >= rec.dim1 || column >= rec.dim2)
        return 0.0;
    Int64 index = static_cast<Int64>(row) * rec.dim2 + column;
    if ((index + 1) * static_cast<Int64>(sizeof(double)) > ArrayBytes(rec))
        return 0.0;
    return reinterpret_cast<const double*>(*rec.value.array)[index];
}

GS::UniString ArrayText(const API_AddParType& rec, Int32 row, Int32 column)
{
    if (!HoldsTexts(rec) || !IsArray(rec) || row < 0 || column < 0 || row >= rec.dim1 || column >= rec.dim2 ||
        rec.value.array == nullptr)
        return GS::UniString();
    Int64 wanted = static_cast<Int64>(row) * rec.dim2 + column;
    const GS::uchar_t* units = reinterpret_cast<const GS::uchar_t*>(*rec.value.array);
    Int64 total = ArrayBytes(rec) / static_cast<Int64>(sizeof(GS::uchar_t));
    Int64 at = 0;
    for (Int64 cell = 0; at < total; ++cell) {
        Int64 begin = at;
        while (at < total && units[at] != 0)
            ++at;
        if (cell == wanted)
            return GS::UniString(units + begin, static_cast<USize>(at - begin));
        ++at;
    }
    return GS::UniString();
}

namespace {

// The writers' bodies, over the records a walk visits: the handle's records
// of the name, found by comparing each or through an index.
using Walk = std::function<void(const std::function<void(API_AddParType&)>&)>;

bool WriteNumberTo(const Walk& forEachNamed, double value)
{
    bool found = false;
    forEachNamed([&](API_AddParType& rec) {
        if (!HoldsNumbers(rec) || IsArray(rec))
            return;
        rec.value.real = value;
        found = true;
    });
    return found;
}

bool WriteTextTo(const Walk& forEachNamed, const GS::UniString& value)
{
    bool found = false;
    forEachNamed([&](API_AddParType& rec) {
        if (!HoldsTexts(rec) || IsArray(rec))
            return;
        USize n = value.GetLength() < 255 ? value.GetLength() : 255;
        std::memset(rec.value.uStr, 0, sizeof rec.value.uStr);
        std::memcpy(rec.value.uStr, value.ToUStr(), n * sizeof(GS::uchar_t));
        found = true;
    });
    return found;
}

bool WriteNumbersTo(const Walk& forEachNamed, Int32 rows, Int32 columns, const double* values)
{
    if (rows < 0 || columns < 0)
        return false;
    bool ok = false;
    Int64 count = static_cast<Int64>(rows) * columns;
    forEachNamed([&](API_AddParType& rec) {
        if (!HoldsNumbers(rec) || !SetArrayShape(rec, rows, columns, count * static_cast<Int64>(sizeof(double))))
            return;
        if (count > 0)
            std::memcpy(*rec.value.array, values, static_cast<USize>(count) * sizeof(double));
        ok = true;
    });
    return ok;
}

bool WriteTextsTo(const Walk& forEachNamed, Int32 rows, Int32 columns, const GS::UniString* values)
{
    if (rows < 0 || columns < 0)
        return false;
    Int64 count = static_cast<Int64>(rows) * columns;
    std::vector<GS::uchar_t> joined;
    for (Int64 i = 0; i < count; ++i) {
        const GS::UniString& t = values[i];
        joined.insert(joined.end(), t.ToUStr(), t.ToUStr() + t.GetLength());
        joined.push_back(0);
    }
    bool ok = false;
    forEachNamed([&](API_AddParType& rec) {
        if (!HoldsTexts(rec) || !SetArrayShape(rec, rows, columns, static_cast<Int64>(joined.size() * sizeof(GS::uchar_t))))
            return;
        if (!joined.empty())
            std::memcpy(*rec.value.array, joined.data(), joined.size() * sizeof(GS::uchar_t));
        ok = true;
    });
    return ok;
}

Walk Walker(API_AddParType** params, const char* name)
{
    return [params, name](const std::function<void(API_AddParType&)>& visit) { ForEachNamed(params, name, visit); };
}

Walk Walker(const NameIndex& index, const char* name)
{
    return [&index, name](const std::function<void(API_AddParType&)>& visit) { index.ForEachNamed(name, visit); };
}

}  // namespace

bool WriteNumber(API_AddParType** params, const char* name, double value)
{
    return WriteNumberTo(Walker(params, name), value);
}

bool WriteText(API_AddParType** params, const char* name, const GS::UniString& value)
{
    return WriteTextTo(Walker(params, name), value);
}

bool WriteNumbers(API_AddParType** params, const char* name, Int32 rows, Int32 columns, const double* values)
{
    return WriteNumbersTo(Walker(params, name), rows, columns, values);
}

bool WriteTexts(API_AddParType** params, const char* name, Int32 rows, Int32 columns, const GS::UniString* values)
{
    return WriteTextsTo(Walker(params, name), rows, columns, values);
}

bool WriteNumber(const NameIndex& index, const char* name, double value)
{
    return WriteNumberTo(Walker(index, name), value);
}

bool WriteText(const NameIndex& index, const char* name, const GS::UniString& value)
{
    return WriteTextTo(Walker(index, name), value);
}

bool WriteNumbers(const NameIndex& index, const char* name, Int32 rows, Int32 columns, const double* values)
{
    return WriteNumbersTo(Walker(index, name), rows, columns, values);
}

bool WriteTexts(const NameIndex& index, const char* name, Int32 rows, Int32 columns, const GS::UniString* values)
{
    return WriteTextsTo(Walker(index, name), rows, columns, values);
}

}  // namespace GdlParams
