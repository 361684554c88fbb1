// The element database of the stand-in host.
#pragma once
#include "platform/api/APIdefs.hpp"
#include <map>
#include <string>
#include <vector>

namespace SimHost {

// One GDL parameter of an object or a library part's defaults.
struct GdlParam {
    enum class Kind { Number, Text, Numbers, Texts };
    std::string name;
    Kind kind = Kind::Number;
    double number = 0.0;
    std::u16string text;
    Int32 dim1 = 0, dim2 = 0;
    std::vector<double> numbers;      // dim1 x dim2, row by row
    std::vector<std::u16string> texts;  // dim1 x dim2, row by row
};

using GdlParams = std::vector<GdlParam>;
const GdlParam* FindParam(const GdlParams& params, const std::string& name);
GdlParam* FindParam(GdlParams& params, const std::string& name);

struct Layer {
    std::string name;
    bool hidden = false;
    bool locked = false;
};

struct Element {
    API_Guid guid{};
    API_ElemTypeID type = API_ZombieElemID;
    Int32 layer = 1;
    Int16 story = 0;
    API_Guid groupGuid{};
    // Objects.
    Int32 libInd = 0;
    API_Coord pos{};
    double level = 0.0, angle = 0.0;
    bool mirrored = false;
    GdlParams params;
    std::u16string infoString;
    // Elements connected to this one (the openings cut into a roof).
    std::vector<API_Guid> connected;
    // The plan outline of an opening, counter-clockwise, not closed.
    std::vector<API_Coord> shape;
};

class Model {
public:
    Model();

    Element& Add(Element element);  // gives it a GUID if it has none
    Element* Find(const API_Guid& guid);
    const Element* Find(const API_Guid& guid) const;
    bool Remove(const API_Guid& guid);
    const std::vector<Element>& Elements() const { return elements; }
    API_Guid NewGuid();

    std::vector<API_Guid> selection;
    std::map<Int32, Layer> layers;  // by attribute index; 1 is the default layer
    bool suspendGroups = false;

private:
    std::vector<Element> elements;
    UInt32 guidCounter = 0;
};

std::string GuidText(const API_Guid& guid);
bool ParseGuid(const std::string& text, API_Guid& guid);

}  // namespace SimHost
