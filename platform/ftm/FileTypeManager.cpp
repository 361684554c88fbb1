#include "platform/ftm/FileTypeManager.hpp"
#include <vector>

namespace FTM {

namespace {

struct Registered {
    TypeID id;
    GroupID group;
    const FileTypeManager* owner;
    FileType type;
};

struct Registry {
    std::vector<Registered> types;
    TypeID lastId = UnknownType;
};

Registry& Types()
{
    static auto* registry = new Registry;  // never destroyed: managers may die during static teardown
    return *registry;
}

}  // namespace

FileType::FileType(const char* description, const char* extension, UInt32 macType, UInt32 macCreator, Int32 iconResId,
                   const Recognizer* recognizer, bool final)
    : description(description, CC_UTF8),
      extension(extension, CC_UTF8),
      macType(macType),
      macCreator(macCreator),
      iconResId(iconResId),
      recognizer(recognizer),
      final(final)
{
}

bool FileType::IsSameType(const FileType& other) const
{
    return extension.ToLowerCaseAscii() == other.extension.ToLowerCaseAscii() && macType == other.macType &&
           macCreator == other.macCreator;
}

FileTypeManager::FileTypeManager(const char* name) : name(name, CC_UTF8) {}

FileTypeManager::~FileTypeManager()
{
    auto& types = Types().types;
    for (size_t i = types.size(); i-- > 0;)
        if (types[i].owner == this)
            types.erase(types.begin() + static_cast<std::ptrdiff_t>(i));
}

TypeID FileTypeManager::SearchForType(const FileType& type, GroupID group)
{
    for (const Registered& r : Types().types)
        if ((group == RootGroup || r.group == group) && r.type.IsSameType(type))
            return r.id;
    return UnknownType;
}

TypeID FileTypeManager::AddType(const FileType& type, GroupID group)
{
    if (group != RootGroup)
        return UnknownType;
    Registry& registry = Types();
    TypeID id = ++registry.lastId;
    registry.types.push_back(Registered{id, group, this, type});
    return id;
}

bool FileTypeManager::GetType(TypeID id, FileType* type)
{
    for (const Registered& r : Types().types)
        if (r.id == id) {
            if (type != nullptr)
                *type = r.type;
            return true;
        }
    return false;
}

}  // namespace FTM
