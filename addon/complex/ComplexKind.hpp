// The three kinds of complex element and the command object of one create
// run. The kind decides the library part of the new object, the rules of the
// selection checks, the outline that follows the cursor, the kind name in
// messages and undo names, and the list type.
#pragma once
#include "addon/services/ComplexElementKind.hpp"
#include "addon/services/LibraryParts.hpp"
#include "platform/api/APIdefs.hpp"
#include <string>

// The command object of one create run.
struct ObjectCreator {
    explicit ObjectCreator(ComplexElementKind k) : kind(k) {}
    virtual ~ObjectCreator() = default;
    ObjectCreator(const ObjectCreator&) = delete;
    ObjectCreator& operator=(const ObjectCreator&) = delete;

    ComplexElementKind kind;
};

// The command object of one edit run.
struct ObjectModifier {
    explicit ObjectModifier(ComplexElementKind k) : kind(k) {}
    virtual ~ObjectModifier() = default;
    ObjectModifier(const ObjectModifier&) = delete;
    ObjectModifier& operator=(const ObjectModifier&) = delete;

    ComplexElementKind kind;
};

// "crowning", "beam" or "column" in the add-on's language (8-bit text).
std::string KindName(ComplexElementKind kind);

// The library part of the kind's complex object.
LibraryPart KindPart(ComplexElementKind kind);

// The list type a cutting list of the element gets: 11, 12 or 13.
Int32 KindListType(ComplexElementKind kind);

// "%s %s" of the add-on's name and the kind name: the name of the create
// run's own undo steps.
GS::UniString KindUndoName(ComplexElementKind kind);

// 8-bit text (the host's default code page) of at most `bufferSize` - 1
// bytes: what fits a C buffer of that size. A character the code page lacks
// or a text that cannot be converted gives what the conversion left.
std::string ToHostText(const GS::UniString& text, Int32 bufferSize = 1024);
// UTF-16 text from 8-bit text in the host's default code page, at most
// `maxUnits` units.
GS::UniString FromHostText(const std::string& text, Int32 maxUnits = 1024);

// "%s - %s" of two texts, cut to at most 1023 bytes as a 1024-byte
// formatting buffer would hold it.
std::string JoinIds(const std::string& first, const std::string& second);
