// FTM, the host's file-type manager: the file types the host and its
// add-ons know, each with its extension, under a group of types.
//
// Types are registered by a manager and belong to it: they are known for
// as long as the manager lives, and their ids are never given out again.
// Every manager sees every live manager's types.
#pragma once
#include "platform/gs/UniString.hpp"

namespace FTM {

// A registered file type; UnknownType is none.
using TypeID = UInt32;
constexpr TypeID UnknownType = 0;

// A group of file types. The stand-in knows one group, the root that holds
// every type.
using GroupID = UInt32;
constexpr GroupID RootGroup = 1;

// Tells a file's type from its contents. No type here has one.
class Recognizer;

class PLATFORM_API FileType {
public:
    FileType() = default;
    // A description shown in file dialogs (may be null), the extension
    // without its dot, the classic type and creator codes, an icon resource
    // id, a recogniser (may be null) and whether the type is final (no
    // other type refines it).
    FileType(const char* description, const char* extension, UInt32 macType, UInt32 macCreator, Int32 iconResId,
             const Recognizer* recognizer = nullptr, bool final = true);

    const GS::UniString& GetDescription() const { return description; }
    const GS::UniString& GetExtension() const { return extension; }
    UInt32 GetMacType() const { return macType; }
    UInt32 GetMacCreator() const { return macCreator; }

    // The same type: the same extension (ASCII letters without case) and
    // the same type and creator codes; descriptions do not count.
    bool IsSameType(const FileType& other) const;

private:
    GS::UniString description;
    GS::UniString extension;
    UInt32 macType = 0;
    UInt32 macCreator = 0;
    Int32 iconResId = 0;
    const Recognizer* recognizer = nullptr;
    bool final = true;
};

class PLATFORM_API FileTypeManager {
public:
    explicit FileTypeManager(const char* name);
    // The manager's types are unregistered.
    ~FileTypeManager();
    FileTypeManager(const FileTypeManager&) = delete;
    FileTypeManager& operator=(const FileTypeManager&) = delete;

    const GS::UniString& GetName() const { return name; }

    // The id of a registered type that is the same type as `type` in the
    // group, or UnknownType.
    static TypeID SearchForType(const FileType& type, GroupID group = RootGroup);
    // Registers the type in the group and gives its new id; UnknownType
    // when the group does not exist.
    TypeID AddType(const FileType& type, GroupID group = RootGroup);
    // A registered type by its id; false for an unknown id.
    static bool GetType(TypeID id, FileType* type);

private:
    GS::UniString name;
};

}  // namespace FTM
