// The records of placed reinforcement objects read back from the model, the
// groups they are gathered into, and the two equality tests.
//
// The records are the add-on's own memory: texts and arrays are held as
// long as they are, not in fixed buffers, since a run over a large building
// holds a record per object.
#pragma once
#include "platform/api/APIdefs.hpp"
#include "platform/gs/Array.hpp"
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

// The numbers of one array of a record: inside the record while they are
// few, on the heap when more. A bar's arrays mostly hold a handful, and a
// first run over a large building reads a record per bar: kept in place,
// reading it (or copying it as a group's own key) makes no allocation per
// array.
class RecordNumbers {
public:
    static constexpr size_t InPlace = 6;

    RecordNumbers() = default;
    RecordNumbers(const RecordNumbers& other) { Assign(other.values, other.values + other.count); }
    RecordNumbers& operator=(const RecordNumbers& other)
    {
        if (this != &other)
            Assign(other.values, other.values + other.count);
        return *this;
    }
    // The source is left empty.
    RecordNumbers(RecordNumbers&& other) noexcept { Take(other); }
    RecordNumbers& operator=(RecordNumbers&& other) noexcept
    {
        if (this != &other)
            Take(other);
        return *this;
    }
    ~RecordNumbers() { FreeHeap(); }

    size_t Size() const { return count; }
    bool IsEmpty() const { return count == 0; }
    const double* Data() const { return values; }
    double* Data() { return values; }
    double operator[](size_t i) const { return values[i]; }
    double& operator[](size_t i) { return values[i]; }

    void Clear() { Resize(0); }
    // `n` values, those kept (up to the old size) unchanged, new ones 0.
    void Resize(size_t n);
    // The values of [first, last) in place of the present ones.
    void Assign(const double* first, const double* last);

    bool operator==(const RecordNumbers& other) const;

private:
    bool OnHeap() const { return values != inPlace; }
    void FreeHeap();
    void Take(RecordNumbers& other) noexcept;

    size_t count = 0;
    // `inPlace`, or a block of exactly `count` values of the record's own
    // when there are more than InPlace.
    double* values = inPlace;
    double inPlace[InPlace] = {};  // the values beyond `count` are 0
};

// Rows of numbers, each of its own length, kept in one block: the row
// count, the end of each row, then the values (no block at all when empty).
class RowArray {
public:
    Int32 RowCount() const { return data.IsEmpty() ? 0 : static_cast<Int32>(data[0]); }
    bool IsEmpty() const { return RowCount() == 0; }
    // 0 for a row that does not exist.
    Int32 RowLength(Int32 row) const { return row < 0 || row >= RowCount() ? 0 : End(row) - Begin(row); }
    // Whether row `row` holds a value at `column`.
    bool Has(Int32 row, Int32 column) const { return column >= 0 && column < RowLength(row); }
    // The value at (row, column); 0 outside the rows.
    double Get(Int32 row, Int32 column) const { return Has(row, column) ? data[Cell(row, column)] : 0.0; }
    // Writable value; the cell must exist.
    double& At(Int32 row, Int32 column) { return data[Cell(row, column)]; }

    void Clear() { data.Clear(); }
    // rows x columns values, taken row by row from `source`.
    void Assign(Int32 rows, Int32 columns, const double* source);
    void AppendRow(const double* source, Int32 count);

    bool operator==(const RowArray& other) const { return data == other.data; }

private:
    Int32 Begin(Int32 row) const { return row == 0 ? 0 : static_cast<Int32>(data[static_cast<size_t>(row)]); }
    Int32 End(Int32 row) const { return static_cast<Int32>(data[static_cast<size_t>(row) + 1]); }
    size_t Cell(Int32 row, Int32 column) const
    {
        return 1 + static_cast<size_t>(RowCount()) + static_cast<size_t>(Begin(row)) + static_cast<size_t>(column);
    }
    RecordNumbers data;
};

// The five columns of a listing table, one value per row in each.
class ListingColumns {
public:
    static constexpr Int32 ColumnCount = 5;
    Int32 RowCount() const { return static_cast<Int32>(cells.Size() / ColumnCount); }
    // 0 outside the rows.
    double Get(Int32 row, Int32 column) const;
    double& At(Int32 row, Int32 column) { return cells[static_cast<size_t>(row) * ColumnCount + static_cast<size_t>(column)]; }
    // `rows` rows of zeros.
    void Resize(Int32 rows);
    void Clear() { cells.Clear(); }

    // Columns 0, 3 and 4 are the ones groups sum: adds `other`'s values to
    // these columns over the rows both have.
    void AddSums(const ListingColumns& other);
    // Sets columns 0, 3 and 4 to 0 in every row.
    void ZeroSums();

    bool operator==(const ListingColumns& other) const { return cells == other.cells; }

private:
    RecordNumbers cells;  // row by row
};

// One bar, stirrup or concrete block.
struct IronProperties {
    API_Guid guid = APINULLGuid;
    bool isBar = false;
    bool isStirrup = false;
    bool isConcrete = false;
    bool isListing = false;
    bool filterLength = false;
    double symbolBox[6] = {};  // min x, y, z, max x, y, z of the symbol points
    double position[3] = {};
    double planBox[4] = {};  // xMin, yMin, xMax, yMax
    double rotation = 0.0;
    RowArray ironType;  // column 2 of a row: the number of ironData values of that row
    RowArray ironData;
    RowArray ironExtraData;
    ListingColumns listingColumns;
    std::string quality;  // 8-bit text, compared ignoring case
    bool mirrored = false;
};

// An array of a complex record that is absent until its parameter is read.
template <typename T> struct OptionalValues {
    bool present = false;
    std::vector<T> values;
    void Set(std::vector<T> v)
    {
        values = std::move(v);
        present = true;
    }
};

// One complex object (crowning, beam, column, mesh ...); its rows are the
// sub-bars. Never copied: groups hold it by pointer.
struct ComplexIronProperties {
    ComplexIronProperties() = default;
    ComplexIronProperties(const ComplexIronProperties&) = delete;
    ComplexIronProperties& operator=(const ComplexIronProperties&) = delete;

    API_Guid guid = APINULLGuid;
    Int32 count = 0;
    OptionalValues<double> ironType;  // count rows of 4
    OptionalValues<double> ironData;  // count rows of m
    OptionalValues<double> ironExtraData;  // count rows of 10
    OptionalValues<double> ironPos;  // count rows of x, y, z
    OptionalValues<UInt8> mirroredFlags;
    OptionalValues<double> ironRotate;
    Int32 listingRows = 0;
    ListingColumns listingColumns;
    bool isListing = false;
    OptionalValues<std::string> ironIds;
    OptionalValues<std::string> qualityTexts;
};

// A group of equal individual objects with one ID. The key is what the
// group is compared by, its first member as it was read; its listing
// columns hold the group's sums. A group may share its first member's
// record as its key until the key is first changed, and take a copy of its
// own only then: a first run over fresh bars starts a group per bar and
// merges nearly all of them away unchanged. The members are not the
// group's: the run that read them owns them.
struct IronArrayByProperty {
    // How a new group holds its key: a copy of its own, or shared with the
    // first member's record, which the run keeps and leaves unchanged while
    // the group lives.
    enum class KeyHeld { Copied, Shared };
    IronArrayByProperty(const IronProperties& first, std::string groupId, KeyHeld held = KeyHeld::Copied);
    IronArrayByProperty(const IronArrayByProperty&) = delete;
    IronArrayByProperty& operator=(const IronArrayByProperty&) = delete;

    const IronProperties& Key() const { return *key; }
    // The key to change: a shared key becomes the group's own copy first.
    IronProperties& OwnKey();

    GS::VAArray<IronProperties*> members{4};
    std::string id;

private:
    const IronProperties* key;
    std::unique_ptr<IronProperties> own;  // the key, when it is the group's own
};

// A group of equal complex objects with one ID. The key is the first
// member's record itself; neither it nor the members are the group's.
struct ComplexIronArrayByProperty {
    ComplexIronProperties* key = nullptr;
    GS::VAArray<ComplexIronProperties*> members{4};
    std::string id;
};

using IronGroups = GS::VAArray<IronArrayByProperty*>;
using ComplexIronGroups = GS::VAArray<ComplexIronArrayByProperty*>;

// Whether the object `b` belongs to the group whose key is `a`. Numbers are
// compared exactly (a NaN equals nothing), qualities ignoring case; see the
// definition for the rows each side must have.
bool IronPropertiesEqual(const IronProperties& a, const IronProperties& b);
// The same for complex objects, numbers within 1e-5.
bool ComplexIronPropertiesEqual(const ComplexIronProperties& a, const ComplexIronProperties& b);

// Hashes that equal records always share, so that a table keyed by them can
// narrow the candidates of an equality test (never decide it).
size_t IronPropertiesHash(const IronProperties& record);
size_t ComplexIronPropertiesHash(const ComplexIronProperties& record);
