#include "simhost/library/ListBehaviour.hpp"
#include "platform/gs/CH.hpp"
#include <cstdio>

namespace SimHost {

namespace {

constexpr Int32 Columns = 8;

#if HOST_VERSION == 25
const char* const Header[Columns] = {"Oznaka", "Kakovost", "Oblika", "Premer (mm)",
                                     "Dolžina (m)", "Število", "Skupna dolžina (m)", "Masa (kg)"};
const char* const TotalLabel = "Skupaj";
#else
const char* const Header[Columns] = {"Bar mark", "Grade", "Shape", "Diameter (mm)",
                                     "Length (m)", "Number", "Total length (m)", "Mass (kg)"};
const char* const TotalLabel = "Total";
#endif

std::u16string Utf16(const char* utf8) { return GS::DecodeText(utf8, CC_UTF8); }

std::u16string Number(const char* format, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return Utf16(text);
}

std::u16string TextAt(const GdlParam* p, Int32 row, Int32 column)
{
    if (p == nullptr || p->kind != GdlParam::Kind::Texts || row >= p->dim1 || column >= p->dim2)
        return u"";
    const size_t i = static_cast<size_t>(row) * static_cast<size_t>(p->dim2) + static_cast<size_t>(column);
    return i < p->texts.size() ? p->texts[i] : u"";
}

}  // namespace

void ComputeListTable(ObjectPart& object)
{
    const GdlParam* dataInput = FindParam(object.params, "bDataInput");
    if (dataInput == nullptr || dataInput->kind != GdlParam::Kind::Number || !(dataInput->number > 1e-5))
        return;
    const GdlParam* strings = FindParam(object.params, "ironStringData");
    const GdlParam* type = FindParam(object.params, "ironType");
    const GdlParam* listing = FindParam(object.params, "ironListingData");
    const Int32 rows = strings != nullptr ? strings->dim1 : 0;

    std::vector<std::u16string> cells;
    for (const char* h : Header)
        cells.push_back(Utf16(h));
    double count = 0.0;
    double length = 0.0;
    double mass = 0.0;
    for (Int32 r = 0; r < rows; ++r) {
        cells.push_back(TextAt(strings, r, 0));
        cells.push_back(TextAt(strings, r, 1));
        cells.push_back(Number("%.0f", NumberAt(type, r, 1)));
        cells.push_back(Number("%.0f", NumberAt(listing, r, 1) * 1000.0));
        cells.push_back(Number("%.2f", NumberAt(listing, r, 2)));
        cells.push_back(Number("%.0f", NumberAt(listing, r, 0)));
        cells.push_back(Number("%.2f", NumberAt(listing, r, 3)));
        cells.push_back(Number("%.2f", NumberAt(listing, r, 4)));
        count += NumberAt(listing, r, 0);
        length += NumberAt(listing, r, 3);
        mass += NumberAt(listing, r, 4);
    }
    cells.push_back(Utf16(TotalLabel));
    for (int c = 0; c < 4; ++c)
        cells.push_back(u"");
    cells.push_back(Number("%.0f", count));
    cells.push_back(Number("%.2f", length));
    cells.push_back(Number("%.2f", mass));

    GdlParam* table = FindParam(object.params, "tableContentTexts");
    if (table == nullptr) {
        object.params.push_back(GdlParam{});
        table = &object.params.back();
        table->name = "tableContentTexts";
    }
    table->kind = GdlParam::Kind::Texts;
    table->dim1 = rows + 2;
    table->dim2 = Columns;
    table->texts = std::move(cells);
}

}  // namespace SimHost
