#include "addon/schedule/IronRecords.hpp"
#include "platform/gs/CH.hpp"
#include "platform/gs/FlatTable.hpp"
#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>

// ------------------------------------------------------------------ arrays

void RecordNumbers::FreeHeap()
{
    if (OnHeap())
        delete[] values;
    values = inPlace;
}

void RecordNumbers::Resize(size_t n)
{
    if (n == count)
        return;
    const size_t kept = std::min(n, count);
    if (n <= InPlace) {
        if (OnHeap()) {
            std::copy(values, values + kept, inPlace);
            FreeHeap();
        }
        std::fill(inPlace + kept, inPlace + InPlace, 0.0);
    } else {
        double* grown = new double[n];
        std::copy(values, values + kept, grown);
        std::fill(grown + kept, grown + n, 0.0);
        FreeHeap();
        std::fill(inPlace, inPlace + InPlace, 0.0);
        values = grown;
    }
    count = n;
}

void RecordNumbers::Assign(const double* first, const double* last)
{
    const size_t n = static_cast<size_t>(last - first);
    if (n <= InPlace) {
        std::copy(first, last, inPlace);  // before the heap block they may lie in goes
        FreeHeap();
        std::fill(inPlace + n, inPlace + InPlace, 0.0);
    } else {
        double* copied = new double[n];
        std::copy(first, last, copied);
        FreeHeap();
        std::fill(inPlace, inPlace + InPlace, 0.0);
        values = copied;
    }
    count = n;
}

void RecordNumbers::Take(RecordNumbers& other) noexcept
{
    FreeHeap();
    std::copy(other.inPlace, other.inPlace + InPlace, inPlace);
    count = other.count;
    if (other.OnHeap())
        values = other.values;
    std::fill(other.inPlace, other.inPlace + InPlace, 0.0);
    other.values = other.inPlace;
    other.count = 0;
}

bool RecordNumbers::operator==(const RecordNumbers& other) const
{
    return count == other.count && std::equal(Data(), Data() + count, other.Data());
}

void RowArray::Assign(Int32 rows, Int32 columns, const double* source)
{
    if (rows <= 0) {
        data.Clear();
        return;
    }
    columns = std::max(columns, 0);
    const size_t values = static_cast<size_t>(rows) * static_cast<size_t>(columns);
    data.Resize(1 + static_cast<size_t>(rows) + values);
    double* out = data.Data();
    *out++ = rows;
    for (Int32 r = 1; r <= rows; ++r)
        *out++ = static_cast<double>(r) * columns;
    std::copy(source, source + values, out);
}

void RowArray::AppendRow(const double* source, Int32 count)
{
    count = std::max(count, 0);
    const Int32 rows = RowCount();
    const size_t values = rows == 0 ? 0 : static_cast<size_t>(End(rows - 1));
    // The new block: the row count, the old ends and the new one, the old
    // values and the new row's.
    std::vector<double> block;
    block.reserve(2 + static_cast<size_t>(rows) + values + static_cast<size_t>(count));
    block.push_back(rows + 1);
    const double* old = data.Data();
    block.insert(block.end(), old + 1, old + 1 + rows);
    block.push_back(static_cast<double>(values) + count);
    block.insert(block.end(), old + 1 + rows, old + 1 + rows + values);
    block.insert(block.end(), source, source + count);
    data.Assign(block.data(), block.data() + block.size());
}

void ListingColumns::Resize(Int32 rows)
{
    cells.Clear();
    cells.Resize(static_cast<size_t>(std::max(rows, 0)) * ColumnCount);
}

IronArrayByProperty::IronArrayByProperty(const IronProperties& first, std::string groupId, KeyHeld held)
    : id(std::move(groupId)), key(&first)
{
    if (held == KeyHeld::Copied)
        OwnKey();
}

IronProperties& IronArrayByProperty::OwnKey()
{
    if (!own) {
        own = std::make_unique<IronProperties>(*key);
        key = own.get();
    }
    return *own;
}

double ListingColumns::Get(Int32 row, Int32 column) const
{
    if (row < 0 || row >= RowCount() || column < 0 || column >= ColumnCount)
        return 0.0;
    return cells[static_cast<size_t>(row) * ColumnCount + static_cast<size_t>(column)];
}

void ListingColumns::AddSums(const ListingColumns& other)
{
    const Int32 rows = std::min(RowCount(), other.RowCount());
    for (Int32 r = 0; r < rows; ++r)
        for (Int32 c : {0, 3, 4})
            At(r, c) += other.Get(r, c);
}

void ListingColumns::ZeroSums()
{
    for (Int32 r = 0; r < RowCount(); ++r)
        for (Int32 c : {0, 3, 4})
            At(r, c) = 0.0;
}

// ---------------------------------------------------------------- equality

namespace {

// How many ironData values of a row take part in equality: those at column
// indices below the row's ironType column 2. A row whose ironType row lacks
// that column gives no count, so the whole row takes part.
constexpr Int32 WholeRow = 0x7FFFFFFF;
Int32 ComparedDataColumns(const RowArray& ironType, Int32 row)
{
    if (!ironType.Has(row, 2))
        return WholeRow;
    const double t = ironType.Get(row, 2);
    if (!(t > 0.0))
        return 0;
    if (t >= static_cast<double>(WholeRow))
        return WholeRow;
    return static_cast<Int32>(std::ceil(t));
}

// A value that one side holds and the other lacks makes the sides unequal;
// a value that both lack does not.
template <typename Same> bool CellsEqual(bool hasA, bool hasB, Same same)
{
    if (hasA != hasB)
        return false;
    return !hasA || same();
}

size_t Mix(size_t seed, size_t value) { return seed ^ (value + 0x9E3779B97F4A7C15ull + (seed << 6) + (seed >> 2)); }
// Equal numbers have the same bits, but for -0 and 0.
size_t HashNumber(double v)
{
    const double value = v == 0.0 ? 0.0 : v;
    UInt64 bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return static_cast<size_t>(GS::MixBits(bits));
}

}  // namespace

bool IronPropertiesEqual(const IronProperties& a, const IronProperties& b)
{
    // Bar forms: the same rows, each with the same first four values.
    const Int32 typeRows = a.ironType.RowCount();
    if (typeRows != b.ironType.RowCount())
        return false;
    for (Int32 r = 0; r < typeRows; ++r)
        for (Int32 c = 0; c < 4; ++c)
            if (!CellsEqual(a.ironType.Has(r, c), b.ironType.Has(r, c),
                            [&] { return a.ironType.Get(r, c) == b.ironType.Get(r, c); }))
                return false;

    // Data: the values the key's form counts.
    const Int32 dataRows = a.ironData.RowCount();
    if (dataRows != b.ironData.RowCount())
        return false;
    for (Int32 r = 0; r < dataRows; ++r) {
        const Int32 n = std::min(ComparedDataColumns(a.ironType, r),
                                 std::max(a.ironData.RowLength(r), b.ironData.RowLength(r)));
        for (Int32 c = 0; c < n; ++c)
            if (!CellsEqual(a.ironData.Has(r, c), b.ironData.Has(r, c),
                            [&] { return a.ironData.Get(r, c) == b.ironData.Get(r, c); }))
                return false;
    }

    if (!CHEqualCStringsInsensitive(a.quality.c_str(), b.quality.c_str()))
        return false;

    // Lengths, only when either side filters by them: the object's rows
    // decide; a key that lacks one of them cannot be the same bar.
    if (a.filterLength || b.filterLength) {
        for (Int32 r = 0; r < b.ironExtraData.RowCount(); ++r)
            if (!CellsEqual(a.ironExtraData.Has(r, 0), b.ironExtraData.Has(r, 0),
                            [&] { return a.ironExtraData.Get(r, 0) == b.ironExtraData.Get(r, 0); }))
                return false;
    }
    return true;
}

size_t IronPropertiesHash(const IronProperties& record)
{
    size_t h = Mix(0, static_cast<size_t>(record.ironType.RowCount()));
    for (Int32 r = 0; r < record.ironType.RowCount(); ++r) {
        const Int32 n = std::min(record.ironType.RowLength(r), 4);
        h = Mix(h, static_cast<size_t>(n));
        for (Int32 c = 0; c < n; ++c)
            h = Mix(h, HashNumber(record.ironType.Get(r, c)));
    }
    // Equal forms count the same data columns on both sides.
    h = Mix(h, static_cast<size_t>(record.ironData.RowCount()));
    for (Int32 r = 0; r < record.ironData.RowCount(); ++r) {
        const Int32 n = std::min(ComparedDataColumns(record.ironType, r), record.ironData.RowLength(r));
        h = Mix(h, static_cast<size_t>(n));
        for (Int32 c = 0; c < n; ++c)
            h = Mix(h, HashNumber(record.ironData.Get(r, c)));
    }
    for (char ch : record.quality)
        h = Mix(h, static_cast<size_t>(ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : static_cast<unsigned char>(ch)));
    return h;
}

namespace {

constexpr double ComplexTolerance = 1e-5;

bool Near(double a, double b) { return std::fabs(a - b) <= ComplexTolerance; }  // a NaN is near nothing

// The first `expected` values of two optional arrays: both absent is equal,
// one absent is not; a value only one of them holds is unequal.
template <typename T, typename Same>
bool ValuesEqual(const OptionalValues<T>& a, const OptionalValues<T>& b, Int64 expected, Same same)
{
    if (a.present != b.present)
        return false;
    if (!a.present)
        return true;
    const Int64 n = std::min<Int64>(expected, static_cast<Int64>(std::max(a.values.size(), b.values.size())));
    for (Int64 i = 0; i < n; ++i) {
        const size_t at = static_cast<size_t>(i);
        if (!CellsEqual(at < a.values.size(), at < b.values.size(), [&] { return same(a.values[at], b.values[at]); }))
            return false;
    }
    return true;
}

bool NumbersNear(const OptionalValues<double>& a, const OptionalValues<double>& b, Int64 expected)
{
    return ValuesEqual(a, b, expected, [](double x, double y) { return Near(x, y); });
}

// The data row length: the largest bar value count (column 2 of the form,
// rounded) over b's sub-bars, never below 0.
Int64 DataRowLength(const ComplexIronProperties& b)
{
    Int64 m = 0;
    if (!b.ironType.present)
        return 0;
    for (Int64 r = 0; r < b.count; ++r) {
        const size_t at = static_cast<size_t>(r * 4 + 2);
        if (at >= b.ironType.values.size())
            break;
        const double v = std::floor(b.ironType.values[at] + 0.5);
        if (v > static_cast<double>(m))
            m = v >= 2147483647.0 ? 2147483647 : static_cast<Int64>(v);
    }
    return m;
}

}  // namespace

bool ComplexIronPropertiesEqual(const ComplexIronProperties& a, const ComplexIronProperties& b)
{
    if (a.count != b.count)
        return false;
    const Int64 n = std::max<Int64>(a.count, 0);
    if (!ValuesEqual(a.mirroredFlags, b.mirroredFlags, n, [](UInt8 x, UInt8 y) { return x == y; }))
        return false;
    if (!NumbersNear(a.ironPos, b.ironPos, n * 3) || !NumbersNear(a.ironRotate, b.ironRotate, n) ||
        !NumbersNear(a.ironType, b.ironType, n * 4))
        return false;
    if (!NumbersNear(a.ironData, b.ironData, n * DataRowLength(b)) || !NumbersNear(a.ironExtraData, b.ironExtraData, n * 10))
        return false;
    return ValuesEqual(a.qualityTexts, b.qualityTexts, n, [](const std::string& x, const std::string& y) { return x == y; });
}

size_t ComplexIronPropertiesHash(const ComplexIronProperties& record)
{
    // Numbers compare within a tolerance, so only what is compared exactly
    // takes part: the count, which arrays are present, the mirrored flags
    // and the qualities.
    const size_t n = static_cast<size_t>(std::max<Int32>(record.count, 0));
    size_t h = Mix(0, n);
    for (bool present : {record.mirroredFlags.present, record.ironPos.present, record.ironRotate.present,
                         record.ironType.present, record.ironData.present, record.ironExtraData.present,
                         record.qualityTexts.present})
        h = Mix(h, present ? 1 : 0);
    const size_t flags = std::min(n, record.mirroredFlags.values.size());
    h = Mix(h, flags);
    for (size_t i = 0; i < flags; ++i)
        h = Mix(h, record.mirroredFlags.values[i]);
    const size_t texts = std::min(n, record.qualityTexts.values.size());
    h = Mix(h, texts);
    for (size_t i = 0; i < texts; ++i)
        h = Mix(h, std::hash<std::string>()(record.qualityTexts.values[i]));
    return h;
}
