// The element database of the stand-in host.
//
// Elements live in stable storage: a reference to one stays valid while
// others are added (only removing the element itself ends it), and an
// element is found by GUID in constant time. What differs by element type
// is the element's part (WallPart, ObjectPart, ...), so that each type's
// data, and the filling and reading of its record, is its own code.
#pragma once
#include "platform/api/APIdefs.hpp"
#include "simhost/model/WallPart.hpp"
#include "simhost/model/Databases.hpp"
#include "simhost/model/GuidTable.hpp"
#include "simhost/model/Placing.hpp"
#include "simhost/model/SlabRoofParts.hpp"
#include <map>
#include <optional>
#include <memory>
#include <string>
#include <unordered_map>
#include <variant>
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
// The number at `row`, `column` of a table of numbers; `fallback` when the
// parameter is missing, is no table of numbers, or has no such cell.
double NumberAt(const GdlParam* p, Int32 row, Int32 column, double fallback = 0.0);

struct Layer {
    std::string name;
    bool hidden = false;
    bool locked = false;
};

// ---------------------------------------------------------------- parts by type

// A placed library part.
struct ObjectPart {
    Int32 libInd = 0;
    API_Coord pos{};
    double level = 0.0, angle = 0.0;
    bool mirrored = false;
    GdlParams params;
};

// An opening cut into a roof or slab.
struct OpeningPart {
    // The plan outline, counter-clockwise, not closed.
    std::vector<API_Coord> shape;
};

// Types the host models no data of beyond the common ones.
struct OtherPart {};

using ElementPart = std::variant<OtherPart, WallPart, SlabPart, RoofPart, ObjectPart, OpeningPart>;

// The part an element of `type` carries.
ElementPart PartOfType(API_ElemTypeID type);

// An add-on's data attached to an element (HostSetUserData): the version
// and platform sign it gave and a copy of its bytes.
struct ElementUserData {
    Int16 version = 0;
    UInt16 platformSign = 0;
    std::vector<char> bytes;
};

struct Element {
    API_Guid guid{};
    API_ElemTypeID type = API_ZombieElemID;
    Int32 layer = 1;
    Int16 story = 0;
    API_Guid groupGuid{};
    std::u16string infoString;
    // Elements connected to this one (the openings cut into a roof).
    std::vector<API_Guid> connected;
    // The database the element lies in; the null GUID is the floor plan.
    API_Guid database{};
    std::optional<ElementUserData> userData;
    ElementPart part;

    // The type's part, or null for an element of another type.
    template <typename P> P* As() { return std::get_if<P>(&part); }
    template <typename P> const P* As() const { return std::get_if<P>(&part); }
    // The part of an element known to be an object or an opening; throws
    // std::bad_variant_access otherwise (a fault in the caller).
    ObjectPart& Object() { return std::get<ObjectPart>(part); }
    const ObjectPart& Object() const { return std::get<ObjectPart>(part); }
    OpeningPart& Opening() { return std::get<OpeningPart>(part); }
};

// What an undo step takes back: the elements, layers, selection and the
// detail drawings (a step that made one takes it back with its elements).
struct ModelState {
    std::vector<Element> elements;
    std::map<Int32, Layer> layers;
    std::vector<API_Guid> selection;
    ElementLinks links;
    std::vector<DetailDrawing> details;
};

class Model {
    using Storage = std::vector<std::unique_ptr<Element>>;

public:
    // The elements in the order they were added.
    class ElementRange {
    public:
        class Iterator {
        public:
            explicit Iterator(Storage::const_iterator at) : at(at) {}
            const Element& operator*() const { return **at; }
            const Element* operator->() const { return at->get(); }
            Iterator& operator++() { ++at; return *this; }
            bool operator!=(const Iterator& other) const { return at != other.at; }
            bool operator==(const Iterator& other) const { return at == other.at; }

        private:
            Storage::const_iterator at;
        };
        explicit ElementRange(const Storage& storage) : storage(storage) {}
        Iterator begin() const { return Iterator(storage.begin()); }
        Iterator end() const { return Iterator(storage.end()); }
        USize size() const { return storage.size(); }
        bool empty() const { return storage.empty(); }

    private:
        const Storage& storage;
    };

    Model();
    Model(const Model&) = delete;
    Model& operator=(const Model&) = delete;

    // A new element of the type, with the type's part, on the layer.
    Element& Add(API_ElemTypeID type, Int32 layer = 1);
    // Adds the element as it is; it gets a GUID if it has none, and its
    // type's part if it has none. Null, and nothing added, when its GUID is
    // taken.
    Element* Add(Element element);
    Element* Find(const API_Guid& guid);
    const Element* Find(const API_Guid& guid) const;
    bool Remove(const API_Guid& guid);
    ElementRange Elements() const { return ElementRange(elements); }
    API_Guid NewGuid();
    // The walls in the model's order, numbered from 1: the wall of a number
    // (null when there is none) and the number of a wall (0 when the GUID
    // names no wall). Both are lookups; the numbering follows every adding
    // and removing of a wall.
    const Element* WallOfNumber(Int32 number) const;
    Int32 WallNumber(const API_Guid& guid) const;

    // A copy of what undo takes back, and putting it back. GUIDs handed out
    // since stay used: a restored model never gives an old GUID again.
    ModelState Capture() const;
    void Restore(const ModelState& state);

    // Replaces the selection, without telling the add-on (the scripted user
    // changes it with the notification).
    void Select(const std::vector<API_Guid>& guids) { selection = guids; }

    std::vector<API_Guid> selection;
    std::map<Int32, Layer> layers;  // by attribute index; 1 is the default layer
    bool suspendGroups = false;
    // The stories (indices firstStory..lastStory) and the current one.
    Int16 firstStory = 0, lastStory = 0, currentStory = 0;
    // Makes the project's stories reach the story `index`, for an element
    // put there: the stories between are made too, as a project numbers its
    // stories without gaps.
    void ReachStory(Int16 index)
    {
        firstStory = index < firstStory ? index : firstStory;
        lastStory = index > lastStory ? index : lastStory;
    }
    // The current window's database type (APIWind_FloorPlanID ...).
    Int32 databaseType = APIWind_FloorPlanID;
    // The database new elements go into; the null GUID is the floor plan.
    API_Guid currentDatabase{};
    // Composite structures by attribute index.
    std::map<Int32, WallComposite> composites;
    // What 'GOFS' answers: the location offset of the database.
    API_Coord locationOffset{0, 0};
    // The detail drawings (the one shown is currentDatabase).
    Databases databases;
    // Links between elements and the element observers.
    ElementLinks links;
    // The object tool's default element: its part, two sizes, parameters.
    struct ObjectTool {
        Int32 libInd = 0;
        Int32 layer = 1;
        double a = 1.0, b = 1.0;
        std::vector<GdlParam> params;
    } objectTool;

private:
    Storage elements;
    GuidTable<Element*> byGuid;
    UInt32 guidCounter = 0;
    // The walls' numbering, made again on the first lookup after a change.
    void NumberWalls() const;
    mutable bool wallsNumbered = false;
    mutable std::vector<const Element*> walls;
    mutable GuidTable<Int32> wallNumbers;
};

std::string GuidText(const API_Guid& guid);
bool ParseGuid(const std::string& text, API_Guid& guid);

}  // namespace SimHost
