#include "simhost/model/ParamHandles.hpp"
#include "platform/gs/Memory.hpp"
#include <algorithm>
#include <cstring>

namespace SimHost {

namespace {
API_AddParType* Records(API_AddParType** h) { return *h; }
Int32 RecordCount(API_AddParType** h)
{
    return static_cast<Int32>(BMhGetSize(reinterpret_cast<GSConstHandle>(h)) / static_cast<Int64>(sizeof(API_AddParType)));
}
}  // namespace

// The records are written field by field into a handle that is not cleared
// first: a memo is handed out for nearly every call, and clearing each
// record's 1,600 bytes cost more than all the rest of the call. Every field
// a reader may look at is written: the type, index and flags, the name (its
// unused bytes zero), an empty description, the value (a number; a text and
// its terminator; or the handle of an array, all of whose bytes are
// written) and the dimensions. What lies beyond a text's terminator and in
// the reserved bytes is undefined, as in the host's own records.
API_AddParType** BuildParamHandle(const GdlParams& params)
{
    GSHandle h = BMhAll(static_cast<Int64>(params.size() * sizeof(API_AddParType)));
    if (h == nullptr)
        return nullptr;
    auto** handle = reinterpret_cast<API_AddParType**>(h);
    // Every record's array handle is null until it is made, so that a
    // handle given up half built frees only what it holds.
    for (size_t i = 0; i < params.size(); ++i) {
        API_AddParType& rec = Records(handle)[i];
        rec.dim1 = 0;
        rec.dim2 = 0;
    }
    for (size_t i = 0; i < params.size(); ++i) {
        const GdlParam& p = params[i];
        API_AddParType& rec = Records(handle)[i];
        const size_t nameLength = std::min(std::strlen(p.name.c_str()), sizeof rec.name - 1);
        std::memcpy(rec.name, p.name.data(), nameLength);
        std::memset(rec.name + nameLength, 0, sizeof rec.name - nameLength);
        rec.uDescname[0] = 0;
        rec.index = static_cast<Int16>(i);
        rec.flags = 0;
        switch (p.kind) {
        case GdlParam::Kind::Number:
            rec.typeID = APIParT_RealNum;
            rec.value.real = p.number;
            break;
        case GdlParam::Kind::Text: {
            rec.typeID = APIParT_CString;
            size_t n = p.text.size() < 255 ? p.text.size() : 255;
            std::memcpy(rec.value.uStr, p.text.data(), n * sizeof(GS::uchar_t));
            rec.value.uStr[n] = 0;
            break;
        }
        case GdlParam::Kind::Numbers: {
            rec.typeID = APIParT_RealNum;
            rec.value.array = nullptr;
            GSHandle values = BMhAll(static_cast<Int64>(p.numbers.size() * sizeof(double)));
            if (values != nullptr && !p.numbers.empty())
                std::memcpy(*values, p.numbers.data(), p.numbers.size() * sizeof(double));
            rec.value.array = values;
            break;
        }
        case GdlParam::Kind::Texts: {
            rec.typeID = APIParT_CString;
            rec.value.array = nullptr;
            size_t units = 0;
            for (const auto& t : p.texts)
                units += t.size() + 1;
            GSHandle values = BMhAll(static_cast<Int64>(units * sizeof(GS::uchar_t)));
            if (values != nullptr) {
                GS::uchar_t* at = reinterpret_cast<GS::uchar_t*>(*values);
                for (const auto& t : p.texts) {
                    std::memcpy(at, t.data(), t.size() * sizeof(GS::uchar_t));
                    at += t.size();
                    *at++ = 0;
                }
            }
            rec.value.array = values;
            break;
        }
        }
        // A host out of memory hands out no handle, rather than one whose
        // arrays are missing.
        if (p.kind == GdlParam::Kind::Numbers || p.kind == GdlParam::Kind::Texts) {
            if (rec.value.array == nullptr) {
                // The records after this one hold no array yet (dimensions
                // 0), so that the handle frees only what was made.
                KillParamHandle(&handle);
                return nullptr;
            }
            rec.dim1 = p.dim1;
            rec.dim2 = p.dim2;
        }
    }
    return handle;
}

void KillParamHandle(API_AddParType*** handle)
{
    if (handle == nullptr || *handle == nullptr)
        return;
    if (BMhIsValid(reinterpret_cast<GSConstHandle>(*handle))) {
        Int32 n = RecordCount(*handle);
        for (Int32 i = 0; i < n; ++i) {
            API_AddParType& rec = Records(*handle)[i];
            if (rec.dim1 > 0 || rec.dim2 > 0)
                BMhKill(&rec.value.array);
        }
    }
    GSHandle h = reinterpret_cast<GSHandle>(*handle);
    BMhKill(&h);
    *handle = nullptr;
}

// The parameters are read into the entries `out` already holds, so that a
// caller that reads one handle after another into the same vector (a change
// replaces an object's parameters with those of the memo) reuses their
// storage instead of allocating every name, text and array again. Every
// field of an entry is written, as a new entry would have it.
bool ReadParamHandle(API_AddParType** handle, GdlParams& out, std::string& fault)
{
    if (handle == nullptr) {
        out.clear();
        return true;
    }
    Int64 size = BMhGetSize(reinterpret_cast<GSConstHandle>(handle));
    if (size % static_cast<Int64>(sizeof(API_AddParType)) != 0) {
        out.clear();
        fault = "a parameter handle of " + std::to_string(size) + " bytes is not a whole number of records";
        return false;
    }
    const Int32 n = RecordCount(handle);
    out.resize(static_cast<size_t>(n));
    // On a fault `out` keeps the records read before it.
    auto failAt = [&](Int32 i, std::string what) {
        out.resize(static_cast<size_t>(i));
        fault = std::move(what);
        return false;
    };
    for (Int32 i = 0; i < n; ++i) {
        const API_AddParType& rec = Records(handle)[i];
        GdlParam& p = out[static_cast<size_t>(i)];
        // Mostly the entry already holds the name (the same part's
        // parameters, read again).
        const size_t nameLength = strnlen(rec.name, sizeof rec.name);
        if (p.name.size() != nameLength || std::memcmp(p.name.data(), rec.name, nameLength) != 0)
            p.name.assign(rec.name, nameLength);
        const bool isText = rec.typeID == APIParT_CString || rec.typeID == APIParT_Title;
        const bool isArray = rec.dim1 > 0 || rec.dim2 > 0;
        p.kind = isArray ? (isText ? GdlParam::Kind::Texts : GdlParam::Kind::Numbers)
                         : (isText ? GdlParam::Kind::Text : GdlParam::Kind::Number);
        p.number = 0.0;
        p.dim1 = isArray ? rec.dim1 : 0;
        p.dim2 = isArray ? rec.dim2 : 0;
        if (p.kind != GdlParam::Kind::Text)
            p.text.clear();
        if (p.kind != GdlParam::Kind::Numbers)
            p.numbers.clear();
        if (p.kind != GdlParam::Kind::Texts)
            p.texts.clear();
        switch (p.kind) {
        case GdlParam::Kind::Texts: {
            const size_t count = static_cast<size_t>(rec.dim1) * static_cast<size_t>(rec.dim2);
            const Int64 bytes = BMhGetSize(reinterpret_cast<GSConstHandle>(rec.value.array));
            const GS::uchar_t* units = rec.value.array != nullptr ? reinterpret_cast<const GS::uchar_t*>(*rec.value.array) : nullptr;
            const size_t total = static_cast<size_t>(bytes) / sizeof(GS::uchar_t);
            size_t at = 0;
            // Cells are checked before the vector is sized, so that dimensions
            // no handle backs make no room.
            for (size_t cell = 0; cell < count; ++cell) {
                while (at < total && units[at] != 0)
                    ++at;
                if (at >= total)
                    return failAt(i, "the texts of parameter '" + p.name + "' do not fill its " + std::to_string(count) +
                                         " cells");
                ++at;
            }
            p.texts.resize(count);
            at = 0;
            for (size_t k = 0; k < count; ++k) {
                const size_t begin = at;
                while (units[at] != 0)
                    ++at;
                p.texts[k].assign(units + begin, at - begin);
                ++at;
            }
            break;
        }
        case GdlParam::Kind::Numbers: {
            const size_t count = static_cast<size_t>(rec.dim1) * static_cast<size_t>(rec.dim2);
            const Int64 bytes = BMhGetSize(reinterpret_cast<GSConstHandle>(rec.value.array));
            if (bytes != static_cast<Int64>(count * sizeof(double)))
                return failAt(i, "parameter '" + p.name + "' holds " + std::to_string(bytes) + " bytes for " +
                                     std::to_string(rec.dim1) + " x " + std::to_string(rec.dim2) + " numbers");
            // An array of no cells may come without a value handle.
            if (count == 0) {
                p.numbers.clear();
                break;
            }
            const double* values = reinterpret_cast<const double*>(*rec.value.array);
            p.numbers.assign(values, values + count);
            break;
        }
        case GdlParam::Kind::Text: {
            size_t len = 0;
            while (len < 256 && rec.value.uStr[len] != 0)
                ++len;
            if (len == 256)
                return failAt(i, "the text of parameter '" + p.name + "' is not terminated within 256 units");
            p.text.assign(rec.value.uStr, len);
            break;
        }
        case GdlParam::Kind::Number:
            p.number = rec.value.real;
            break;
        }
    }
    return true;
}

}  // namespace SimHost
