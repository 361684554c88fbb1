// Resource compiler: turns an add-on's readable resource files into a C++
// source that holds them as an RSImage, so that the resources travel inside
// the add-on library.
//
//   rescomp --codepage 1252 --symbol Name --out out.cpp [--header ids.hpp]
//           file.txt ... [--other other.txt ...]
//
// Sections:
//   [STRS <id> <ListName>]  entries  <n> <Name> = "text"   (\n \" \\ escapes)
//   [DATA <TYPE> <id>]      lines    hex = 01 02 ab ...   or   text = "..."
//   [DLOG <id> <DialogName>] a modal dialog (see docs/ARCHITECTURE.md):
//       title = "text"
//       rect = x y width height
//       <n> <ItemName> = <type> x y width height ["text" ...]
//     types: button, edittext, statictext, checkbox, popup, usercontrol,
//     listview; items are numbered 1, 2, ... without gaps; a pop-up's texts
//     are its entries; a list view has no text (its items come at run time).
//     The dialog becomes a 'DLGT' record of the same id.
//   [ALRT <id> <AlertName>] an alert: a title, a text, a detail text and
//     its buttons (at least one, at most three):
//       title = "text"
//       text = "text"
//       detail = "text"
//       <n> <ButtonName> = button "text"
//     It becomes an 'ALRT' record of the same id.
//
// Every string must fit a 255-byte buffer with its terminator in the given
// 8-bit code page, and must be representable in it; otherwise the build
// fails here, naming the file, the line and the entry.
//
// Lists and entries are named, so that code says which text it means. The
// header (--header) gives every entry as a constant,
// ResStr::<ListName>::<Name>, an RSStringId of list id and entry number,
// and every list's id as ResStr::<ListName>::ListId. The files after
// --other are the same resources in the other language: the build fails
// when a list or entry of one language is missing in the other, or is named
// differently, so that both builds have the same texts under the same names.
// Dialogs are checked alike: the same dialogs under the same names, with
// the same items (number, name, type, and a pop-up's number of entries);
// titles, texts and rectangles are each language's own. The header gives
// every dialog as ResDlg::<DialogName>::DialogId and its items as
// ResDlg::<DialogName>::<ItemName>.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iconv.h>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct StringEntry {
    int list, index;
    std::string utf8;
    std::string name, where;
};

struct ListInfo {
    std::string name, where;
};

struct DialogItem {
    int number = 0;
    std::string name, type, where;
    int rect[4] = {0, 0, 0, 0};
    std::vector<std::string> texts;
};

struct DialogInfo {
    int id = 0;
    std::string name, where, title;
    bool hasTitle = false, hasRect = false;
    int rect[4] = {0, 0, 0, 0};
    std::vector<DialogItem> items;
};

// An alert: its texts and buttons (item n at n - 1, each a button).
struct AlertInfo {
    int id = 0;
    std::string name, where, title, text, detail;
    bool hasTitle = false, hasText = false, hasDetail = false;
    std::vector<DialogItem> buttons;
};

// The string lists, dialogs and alerts of one language, by id.
struct Language {
    std::map<int, ListInfo> lists;
    std::map<std::pair<int, int>, StringEntry> entries;
    std::map<int, DialogInfo> dialogs;
    std::map<int, AlertInfo> alerts;
};

struct BlobEntry {
    std::string type;
    int id;
    std::vector<unsigned char> bytes;
};

[[noreturn]] void Fail(const std::string& where, const std::string& why)
{
    std::cerr << where << ": error: " << why << "\n";
    std::exit(1);
}

std::string Trim(const std::string& s)
{
    size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos)
        return "";
    size_t e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

std::string ParseQuoted(const std::string& s, const std::string& where)
{
    if (s.size() < 2 || s.front() != '"' || s.back() != '"')
        Fail(where, "text must stand in double quotes");
    std::string out;
    for (size_t i = 1; i + 1 < s.size(); ++i) {
        char c = s[i];
        if (c == '\\') {
            if (i + 2 >= s.size())
                Fail(where, "dangling escape");
            char n = s[++i];
            if (n == 'n') out.push_back('\n');
            else if (n == '"') out.push_back('"');
            else if (n == '\\') out.push_back('\\');
            else if (n == 't') out.push_back('\t');
            else Fail(where, std::string("unknown escape \\") + n);
        } else if (c == '"') {
            Fail(where, "unescaped quote inside text");
        } else {
            out.push_back(c);
        }
    }
    return out;
}

// Size of the text in the 8-bit code page, or -1 if it has a character the
// code page lacks.
long EncodedSize(const std::string& utf8, int codePage)
{
    std::string name = "WINDOWS-" + std::to_string(codePage);
    iconv_t cd = iconv_open(name.c_str(), "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        Fail("rescomp", "unknown code page " + std::to_string(codePage));
    std::vector<char> out(utf8.size() * 2 + 8);
    char* in = const_cast<char*>(utf8.data());
    size_t inLeft = utf8.size();
    char* o = out.data();
    size_t outLeft = out.size();
    size_t rc = iconv(cd, &in, &inLeft, &o, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<size_t>(-1) || rc > 0)
        return -1;
    return static_cast<long>(o - out.data());
}

bool IsIdentifier(const std::string& s)
{
    if (s.empty() || !(std::isalpha(static_cast<unsigned char>(s[0])) || s[0] == '_'))
        return false;
    for (char c : s)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_'))
            return false;
    return true;
}

// Reads "<id> <Name>" after a DLOG or ALRT header and adds the dialog or
// alert of that id; an id or name defined before fails the build.
template <typename Info>
int OpenNamedSection(std::istringstream& hs, const std::string& where, const std::string& kind,
                     const std::string& what, std::map<int, Info>& defined)
{
    int id = 0;
    std::string name, extra;
    if (!(hs >> id >> name) || (hs >> extra) || id < 1 || id > 32767)
        Fail(where, kind + " needs " + (what == "alert" ? "an " : "a ") + what + " id (1 to 32767) and " +
                        (what == "alert" ? "an " : "a ") + what + " name");
    if (!IsIdentifier(name))
        Fail(where, what + " name '" + name + "' is not an identifier");
    auto known = defined.find(id);
    if (known != defined.end())
        Fail(where, what + " " + std::to_string(id) + " defined twice (first at " + known->second.where + ")");
    for (const auto& d : defined)
        if (d.second.name == name)
            Fail(where, what + " name '" + name + "' is taken at " + d.second.where);
    Info& info = defined[id];
    info.id = id;
    info.name = name;
    info.where = where;
    return id;
}


std::string CEscape(const std::string& s)
{
    std::string out;
    char buf[8];
    for (unsigned char c : s) {
        std::snprintf(buf, sizeof buf, "\\x%02x", c);
        out += buf;
    }
    return out;
}

// Item types as the platform's dialog library reads them (DG::ItemType).
const std::map<std::string, int>& ItemTypes()
{
    static const std::map<std::string, int> types = {{"button", 1},   {"edittext", 2}, {"statictext", 3},
                                                     {"checkbox", 4}, {"popup", 5},    {"usercontrol", 6},
                                                     {"listview", 7}};
    return types;
}

// The texts of an item: zero or more quoted texts separated by blanks.
std::vector<std::string> ParseQuotedList(const std::string& s, const std::string& where)
{
    std::vector<std::string> texts;
    size_t i = 0;
    while (true) {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
            ++i;
        if (i >= s.size())
            break;
        if (s[i] != '"')
            Fail(where, "item texts must stand in double quotes");
        size_t j = i + 1;
        while (j < s.size() && s[j] != '"') {
            if (s[j] == '\\')
                ++j;
            ++j;
        }
        if (j >= s.size())
            Fail(where, "text without its closing quote");
        texts.push_back(ParseQuoted(s.substr(i, j - i + 1), where));
        i = j + 1;
    }
    return texts;
}

void CheckText(const std::string& text, int codePage, const std::string& where, const std::string& what)
{
    if (codePage == 0)
        return;
    long size = EncodedSize(text, codePage);
    if (size < 0)
        Fail(where, what + " has a character that code page " + std::to_string(codePage) + " lacks");
    if (size > 254)
        Fail(where, what + " takes " + std::to_string(size) + " bytes; at most 254 fit");
}

void ParseRect(const std::string& value, int rect[4], const std::string& where)
{
    std::istringstream rs(value);
    std::string extra;
    for (int k = 0; k < 4; ++k)
        if (!(rs >> rect[k]) || rect[k] < -32768 || rect[k] > 32767)
            Fail(where, "a rectangle is four numbers: x y width height");
    if (rect[2] < 0 || rect[3] < 0)
        Fail(where, "a rectangle's width and height are not negative");
}

// One line of a dialog section.
void ReadDialogLine(DialogInfo& dialog, const std::string& key, const std::string& value, int codePage,
                    const std::string& where)
{
    if (key == "title") {
        dialog.title = ParseQuoted(value, where);
        dialog.hasTitle = true;
        CheckText(dialog.title, codePage, where, "the title of dialog " + std::to_string(dialog.id));
        return;
    }
    if (key == "rect") {
        ParseRect(value, dialog.rect, where);
        dialog.hasRect = true;
        return;
    }
    std::istringstream ks(key);
    std::string number, name, extra;
    ks >> number >> name;
    char* end = nullptr;
    long n = std::strtol(number.c_str(), &end, 10);
    if (end == number.c_str() || *end != '\0')
        Fail(where, "dialog lines are 'title = ...', 'rect = ...' or '<n> <ItemName> = <type> x y w h \"text\"...'");
    std::string item = "item " + std::to_string(n) + " of dialog " + std::to_string(dialog.id);
    if (n != static_cast<long>(dialog.items.size()) + 1)
        Fail(where, item + ": items are numbered 1, 2, ... in order (" +
                        std::to_string(dialog.items.size() + 1) + " expected)");
    if (name.empty() || (ks >> extra) || !IsIdentifier(name) || name == "DialogId")
        Fail(where, item + " needs a name (an identifier other than DialogId) after its number");
    for (const DialogItem& other : dialog.items)
        if (other.name == name)
            Fail(where, item + ": name '" + name + "' is taken at " + other.where);
    DialogItem d;
    d.number = static_cast<int>(n);
    d.name = name;
    d.where = where;
    std::istringstream vs(value);
    vs >> d.type;
    if (ItemTypes().count(d.type) == 0)
        Fail(where, item + ": unknown item type '" + d.type + "'");
    std::string rest;
    std::getline(vs, rest);
    rest = Trim(rest);
    size_t quote = rest.find('"');
    ParseRect(rest.substr(0, quote == std::string::npos ? rest.size() : quote), d.rect, where);
    if (quote != std::string::npos)
        d.texts = ParseQuotedList(rest.substr(quote), where);
    if (d.type != "popup" && d.texts.size() > 1)
        Fail(where, item + ": only a pop-up has more than one text");
    if (d.type == "listview" && !d.texts.empty())
        Fail(where, item + ": a list view has no text; its items are inserted by the add-on");
    for (const std::string& text : d.texts)
        CheckText(text, codePage, where, item + "'s text");
    dialog.items.push_back(d);
}

// One line of an alert section.
void ReadAlertLine(AlertInfo& alert, const std::string& key, const std::string& value, int codePage,
                   const std::string& where)
{
    const std::string what = "alert " + std::to_string(alert.id);
    if (key == "title" || key == "text" || key == "detail") {
        std::string& text = key == "title" ? alert.title : key == "text" ? alert.text : alert.detail;
        bool& has = key == "title" ? alert.hasTitle : key == "text" ? alert.hasText : alert.hasDetail;
        if (has)
            Fail(where, "the " + key + " of " + what + " is given twice");
        text = ParseQuoted(value, where);
        has = true;
        CheckText(text, codePage, where, "the " + key + " of " + what);
        return;
    }
    std::istringstream ks(key);
    std::string number, name, extra;
    ks >> number >> name;
    char* end = nullptr;
    long n = std::strtol(number.c_str(), &end, 10);
    if (end == number.c_str() || *end != '\0')
        Fail(where, "alert lines are 'title = ...', 'text = ...', 'detail = ...' or '<n> <ButtonName> = button \"text\"'");
    const std::string button = "button " + std::to_string(n) + " of " + what;
    if (n != static_cast<long>(alert.buttons.size()) + 1)
        Fail(where, button + ": buttons are numbered 1, 2, ... in order (" + std::to_string(alert.buttons.size() + 1) +
                        " expected)");
    if (n > 3)
        Fail(where, button + ": an alert has at most three buttons");
    if (name.empty() || (ks >> extra) || !IsIdentifier(name) || name == "AlertId")
        Fail(where, button + " needs a name (an identifier other than AlertId) after its number");
    for (const DialogItem& other : alert.buttons)
        if (other.name == name)
            Fail(where, button + ": name '" + name + "' is taken at " + other.where);
    std::istringstream vs(value);
    std::string type;
    vs >> type;
    if (type != "button")
        Fail(where, button + ": an alert's items are buttons");
    std::string rest;
    std::getline(vs, rest);
    DialogItem d;
    d.number = static_cast<int>(n);
    d.name = name;
    d.type = type;
    d.where = where;
    d.texts = ParseQuotedList(Trim(rest), where);
    if (d.texts.size() != 1)
        Fail(where, button + " has one text");
    CheckText(d.texts[0], codePage, where, button + "'s text");
    alert.buttons.push_back(d);
}

void PutU16(std::vector<unsigned char>& out, int v)
{
    out.push_back(static_cast<unsigned char>(v & 0xff));
    out.push_back(static_cast<unsigned char>((v >> 8) & 0xff));
}

void PutText(std::vector<unsigned char>& out, const std::string& text)
{
    PutU16(out, static_cast<int>(text.size()));
    out.insert(out.end(), text.begin(), text.end());
}

// The 'DLGT' record, little-endian: the rectangle (four 16-bit numbers),
// the title, the item count, and per item its type byte, its rectangle,
// its text count and texts. A text is a 16-bit length and UTF-8 bytes.
std::vector<unsigned char> DialogRecord(const DialogInfo& dialog)
{
    std::vector<unsigned char> out;
    for (int v : dialog.rect)
        PutU16(out, v);
    PutText(out, dialog.title);
    PutU16(out, static_cast<int>(dialog.items.size()));
    for (const DialogItem& item : dialog.items) {
        out.push_back(static_cast<unsigned char>(ItemTypes().at(item.type)));
        for (int v : item.rect)
            PutU16(out, v);
        PutU16(out, static_cast<int>(item.texts.size()));
        for (const std::string& text : item.texts)
            PutText(out, text);
    }
    return out;
}
// The 'ALRT' record, little-endian: the title, the text, the detail text,
// the button count and each button's text (texts as in 'DLGT').
std::vector<unsigned char> AlertRecord(const AlertInfo& alert)
{
    std::vector<unsigned char> out;
    PutText(out, alert.title);
    PutText(out, alert.text);
    PutText(out, alert.detail);
    PutU16(out, static_cast<int>(alert.buttons.size()));
    for (const DialogItem& button : alert.buttons)
        PutText(out, button.texts[0]);
    return out;
}

// Reads the resource files of one language. With `codePage` 0 the texts
// are only parsed (the other language is checked by its own build).
void ReadResources(const std::vector<std::string>& inputs, int codePage, Language& language,
                   std::vector<StringEntry>* strings, std::vector<BlobEntry>* blobs)
{
    std::map<std::string, std::string> listNames;  // name -> where
    for (const std::string& path : inputs) {
        std::ifstream in(path);
        if (!in)
            Fail(path, "cannot read file");
        std::string line, kind, blobType;
        int sectionId = 0, lineNo = 0;
        std::map<std::string, std::string> entryNames;  // of the current list
        while (std::getline(in, line)) {
            ++lineNo;
            std::string where = path + ":" + std::to_string(lineNo);
            std::string t = Trim(line);
            if (t.empty() || t[0] == '#')
                continue;
            if (t.front() == '[') {
                if (t.back() != ']')
                    Fail(where, "section header without ']'");
                std::istringstream hs(t.substr(1, t.size() - 2));
                hs >> kind;
                if (kind == "STRS") {
                    std::string listName, extra;
                    if (!(hs >> sectionId >> listName) || (hs >> extra))
                        Fail(where, "STRS needs a list id and a list name");
                    if (!IsIdentifier(listName))
                        Fail(where, "list name '" + listName + "' is not an identifier");
                    auto known = language.lists.find(sectionId);
                    if (known != language.lists.end() && known->second.name != listName)
                        Fail(where, "list " + std::to_string(sectionId) + " is named '" + known->second.name + "' at " +
                                        known->second.where);
                    auto named = listNames.find(listName);
                    if (named != listNames.end() && known == language.lists.end())
                        Fail(where, "list name '" + listName + "' is taken at " + named->second);
                    if (known == language.lists.end()) {
                        language.lists[sectionId] = {listName, where};
                        listNames[listName] = where;
                    }
                    entryNames.clear();
                    for (const auto& e : language.entries)
                        if (e.first.first == sectionId)
                            entryNames[e.second.name] = e.second.where;
                } else if (kind == "DLOG") {
                    sectionId = OpenNamedSection(hs, where, "DLOG", "dialog", language.dialogs);
                } else if (kind == "ALRT") {
                    sectionId = OpenNamedSection(hs, where, "ALRT", "alert", language.alerts);
                } else if (kind == "DATA") {
                    if (!(hs >> blobType >> sectionId) || blobType.size() != 4)
                        Fail(where, "DATA needs a four-letter type and an id");
                    if (blobs != nullptr)
                        blobs->push_back({blobType, sectionId, {}});
                } else {
                    Fail(where, "unknown section kind '" + kind + "'");
                }
                continue;
            }
            size_t eq = t.find('=');
            if (eq == std::string::npos || kind.empty())
                Fail(where, "expected 'key = value' inside a section");
            std::string key = Trim(t.substr(0, eq)), value = Trim(t.substr(eq + 1));
            if (kind == "DLOG") {
                ReadDialogLine(language.dialogs[sectionId], key, value, codePage, where);
            } else if (kind == "ALRT") {
                ReadAlertLine(language.alerts[sectionId], key, value, codePage, where);
            } else if (kind == "STRS") {
                std::istringstream ks(key);
                std::string number, name, extra;
                ks >> number >> name;
                char* end = nullptr;
                long index = std::strtol(number.c_str(), &end, 10);
                if (end == number.c_str() || *end != '\0' || index < 1 || index > 32767)
                    Fail(where, "entry number must be 1 to 32767");
                std::string entry = std::to_string(sectionId) + "/" + std::to_string(index);
                if (name.empty() || (ks >> extra) || !IsIdentifier(name))
                    Fail(where, "string " + entry + " needs a name (an identifier) after its number");
                std::string text = ParseQuoted(value, where);
                if (codePage != 0) {
                    long size = EncodedSize(text, codePage);
                    if (size < 0)
                        Fail(where, "string " + entry + " has a character that code page " + std::to_string(codePage) + " lacks");
                    if (size > 254)
                        Fail(where, "string " + entry + " takes " + std::to_string(size) + " bytes; at most 254 fit");
                }
                auto key2 = std::make_pair(sectionId, static_cast<int>(index));
                auto seen = language.entries.find(key2);
                if (seen != language.entries.end())
                    Fail(where, "string " + entry + " defined twice (first at " + seen->second.where + ")");
                auto named = entryNames.find(name);
                if (named != entryNames.end())
                    Fail(where, "string " + entry + ": name '" + name + "' is taken at " + named->second);
                entryNames[name] = where;
                StringEntry e{sectionId, static_cast<int>(index), text, name, where};
                language.entries[key2] = e;
                if (strings != nullptr)
                    strings->push_back(e);
            } else if (blobs != nullptr) {
                BlobEntry& b = blobs->back();
                if (key == "hex") {
                    std::istringstream hs(value);
                    std::string byte;
                    while (hs >> byte) {
                        char* end = nullptr;
                        long v = std::strtol(byte.c_str(), &end, 16);
                        if (byte.size() > 2 || *end != '\0' || v < 0 || v > 255)
                            Fail(where, "bad hex byte '" + byte + "'");
                        b.bytes.push_back(static_cast<unsigned char>(v));
                    }
                } else if (key == "text") {
                    std::string text = ParseQuoted(value, where);
                    b.bytes.insert(b.bytes.end(), text.begin(), text.end());
                    b.bytes.push_back('\n');
                } else {
                    Fail(where, "DATA lines are 'hex = ...' or 'text = \"...\"'");
                }
            }
        }
    }
}

// A dialog needs its title and rectangle and at least one item.
void CheckDialogs(const Language& language)
{
    for (const auto& d : language.dialogs) {
        const std::string dialog = "dialog " + std::to_string(d.first);
        if (!d.second.hasTitle)
            Fail(d.second.where, dialog + " has no title");
        if (!d.second.hasRect)
            Fail(d.second.where, dialog + " has no rect");
        if (d.second.items.empty())
            Fail(d.second.where, dialog + " has no items");
    }
}

// An alert needs its title, its texts and at least one button.
void CheckAlerts(const Language& language)
{
    for (const auto& a : language.alerts) {
        const std::string alert = "alert " + std::to_string(a.first);
        if (!a.second.hasTitle || !a.second.hasText || !a.second.hasDetail)
            Fail(a.second.where, alert + " needs a title, a text and a detail");
        if (a.second.buttons.empty())
            Fail(a.second.where, alert + " has no buttons");
    }
}

// One kind of numbered resource (alerts, dialogs) in both languages: each
// under the same number and name in both; `compareParts` then compares
// their buttons or items.
template <typename Map, typename CompareParts>
void CompareNumbered(const std::string& kind, const Map& own, const Map& other, CompareParts compareParts)
{
    for (const auto& a : own) {
        const std::string label = kind + " " + std::to_string(a.first);
        auto o = other.find(a.first);
        if (o == other.end())
            Fail(a.second.where, label + " (" + a.second.name + ") is missing in the other language");
        if (o->second.name != a.second.name)
            Fail(a.second.where, label + " is named '" + a.second.name + "' here and '" + o->second.name + "' at " +
                                     o->second.where);
        compareParts(label, a.second, o->second);
    }
    for (const auto& a : other)
        if (own.count(a.first) == 0)
            Fail(a.second.where, kind + " " + std::to_string(a.first) + " (" + a.second.name +
                                     ") is missing in the other language");
}

// The same alerts under the same names with the same buttons.
void CompareAlerts(const Language& own, const Language& other)
{
    CompareNumbered("alert", own.alerts, other.alerts, [](const std::string& alert, const auto& ownAlert, const auto& otherAlert) {
        const auto& mine = ownAlert.buttons;
        const auto& theirs = otherAlert.buttons;
        for (size_t i = 0; i < mine.size() || i < theirs.size(); ++i) {
            if (i >= theirs.size() || i >= mine.size())
                Fail(i < mine.size() ? mine[i].where : theirs[i].where,
                     alert + " button " + std::to_string(i + 1) + " is missing in the other language");
            if (mine[i].name != theirs[i].name)
                Fail(mine[i].where, alert + " button " + std::to_string(i + 1) + " is '" + mine[i].name +
                                        "' here and '" + theirs[i].name + "' at " + theirs[i].where);
        }
    });
}

// The same dialogs under the same names with the same items.
void CompareDialogs(const Language& own, const Language& other)
{
    CompareNumbered("dialog", own.dialogs, other.dialogs, [](const std::string& dialog, const auto& ownDialog, const auto& otherDialog) {
        const auto& mine = ownDialog.items;
        const auto& theirs = otherDialog.items;
        for (size_t i = 0; i < mine.size() || i < theirs.size(); ++i) {
            if (i >= theirs.size())
                Fail(mine[i].where, dialog + " item " + std::to_string(i + 1) + " (" + mine[i].name +
                                        ") is missing in the other language");
            if (i >= mine.size())
                Fail(theirs[i].where, dialog + " item " + std::to_string(i + 1) + " (" + theirs[i].name +
                                          ") is missing in the other language");
            if (mine[i].name != theirs[i].name || mine[i].type != theirs[i].type)
                Fail(mine[i].where, dialog + " item " + std::to_string(i + 1) + " is " + mine[i].type + " '" +
                                        mine[i].name + "' here and " + theirs[i].type + " '" + theirs[i].name +
                                        "' at " + theirs[i].where);
            if (mine[i].type == "popup" && mine[i].texts.size() != theirs[i].texts.size())
                Fail(mine[i].where, dialog + " item " + std::to_string(i + 1) + " has " +
                                        std::to_string(mine[i].texts.size()) + " entries here and " +
                                        std::to_string(theirs[i].texts.size()) + " at " + theirs[i].where);
        }
    });
}

// Every list and entry of one language must be in the other under the same
// name.
void CompareLanguages(const Language& own, const Language& other)
{
    CompareDialogs(own, other);
    CompareAlerts(own, other);
    for (const auto& l : own.lists) {
        auto o = other.lists.find(l.first);
        if (o == other.lists.end())
            Fail(l.second.where, "list " + std::to_string(l.first) + " (" + l.second.name +
                                     ") is missing in the other language");
        if (o->second.name != l.second.name)
            Fail(l.second.where, "list " + std::to_string(l.first) + " is named '" + l.second.name + "' here and '" +
                                     o->second.name + "' at " + o->second.where);
    }
    for (const auto& l : other.lists)
        if (own.lists.count(l.first) == 0)
            Fail(l.second.where, "list " + std::to_string(l.first) + " (" + l.second.name +
                                     ") is missing in the other language");
    for (const auto& e : own.entries) {
        std::string entry = std::to_string(e.first.first) + "/" + std::to_string(e.first.second);
        auto o = other.entries.find(e.first);
        if (o == other.entries.end())
            Fail(e.second.where, "string " + entry + " (" + e.second.name + ") is missing in the other language");
        if (o->second.name != e.second.name)
            Fail(e.second.where, "string " + entry + " is named '" + e.second.name + "' here and '" + o->second.name +
                                     "' at " + o->second.where);
    }
    for (const auto& e : other.entries)
        if (own.entries.count(e.first) == 0)
            Fail(e.second.where, "string " + std::to_string(e.first.first) + "/" + std::to_string(e.first.second) + " (" +
                                     e.second.name + ") is missing in the other language");
}

std::string IdsHeader(const Language& language)
{
    std::ostringstream os;
    os << "// Generated by rescomp from the add-on's resource files. Do not edit.\n"
       << "// Every string of the add-on by list and name.\n"
       << "#pragma once\n#include \"platform/rs/RS.hpp\"\n\nnamespace ResStr {\n";
    for (const auto& l : language.lists) {
        os << "\nnamespace " << l.second.name << " {\n"
           << "constexpr GSResID ListId = " << l.first << ";\n";
        for (const auto& e : language.entries)
            if (e.first.first == l.first)
                os << "constexpr RSStringId " << e.second.name << "{" << e.first.first << ", " << e.first.second << "};\n";
        os << "}  // namespace " << l.second.name << "\n";
    }
    os << "\n}  // namespace ResStr\n";
    if (!language.dialogs.empty()) {
        os << "\n// Every dialog by name, and its items by name.\nnamespace ResDlg {\n";
        for (const auto& d : language.dialogs) {
            os << "\nnamespace " << d.second.name << " {\n"
               << "constexpr Int16 DialogId = " << d.first << ";\n";
            for (const DialogItem& item : d.second.items)
                os << "constexpr Int16 " << item.name << " = " << item.number << ";\n";
            os << "}  // namespace " << d.second.name << "\n";
        }
        os << "\n}  // namespace ResDlg\n";
    }
    if (!language.alerts.empty()) {
        os << "\n// Every alert by name, and its buttons by name.\nnamespace ResAlert {\n";
        for (const auto& a : language.alerts) {
            os << "\nnamespace " << a.second.name << " {\n"
               << "constexpr Int16 AlertId = " << a.first << ";\n";
            for (const DialogItem& button : a.second.buttons)
                os << "constexpr Int16 " << button.name << " = " << button.number << ";\n";
            os << "}  // namespace " << a.second.name << "\n";
        }
        os << "\n}  // namespace ResAlert\n";
    }
    return os.str();
}

void WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream out(path);
    out << text;
    if (!out)
        Fail(path, "cannot write output");
}

}  // namespace

int main(int argc, char** argv)
{
    int codePage = 1252;
    std::string symbol = "ResourceImage", outPath, headerPath;
    std::vector<std::string> inputs, others;
    bool other = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--codepage" && i + 1 < argc) codePage = std::atoi(argv[++i]);
        else if (a == "--symbol" && i + 1 < argc) symbol = argv[++i];
        else if (a == "--out" && i + 1 < argc) outPath = argv[++i];
        else if (a == "--header" && i + 1 < argc) headerPath = argv[++i];
        else if (a == "--other") other = true;
        else (other ? others : inputs).push_back(a);
    }
    if (outPath.empty() || inputs.empty() || codePage == 0)
        Fail("rescomp", "usage: rescomp --codepage N --symbol NAME --out FILE [--header FILE] input... [--other input...]");

    std::vector<StringEntry> strings;
    std::vector<BlobEntry> blobs;
    Language language;
    ReadResources(inputs, codePage, language, &strings, &blobs);
    CheckDialogs(language);
    CheckAlerts(language);
    if (other) {
        Language otherLanguage;
        ReadResources(others, 0, otherLanguage, nullptr, nullptr);
        CheckDialogs(otherLanguage);
        CheckAlerts(otherLanguage);
        CompareLanguages(language, otherLanguage);
    }
    for (const auto& d : language.dialogs) {
        for (const BlobEntry& b : blobs)
            if (b.type == "DLGT" && b.id == d.first)
                Fail(d.second.where, "dialog " + std::to_string(d.first) + " is also given as DATA DLGT");
        blobs.push_back({"DLGT", d.first, DialogRecord(d.second)});
    }
    for (const auto& a : language.alerts) {
        for (const BlobEntry& b : blobs)
            if (b.type == "ALRT" && b.id == a.first)
                Fail(a.second.where, "alert " + std::to_string(a.first) + " is also given as DATA ALRT");
        blobs.push_back({"ALRT", a.first, AlertRecord(a.second)});
    }

    std::ostringstream os;
    os << "// Generated by rescomp from the add-on's resource files. Do not edit.\n"
       << "#include \"platform/rs/RS.hpp\"\n\nnamespace {\n";
    for (size_t i = 0; i < blobs.size(); ++i) {
        os << "const unsigned char blob" << i << "[] = {";
        for (size_t k = 0; k < blobs[i].bytes.size(); ++k)
            os << (k % 16 == 0 ? "\n    " : " ") << static_cast<int>(blobs[i].bytes[k]) << ",";
        os << "\n    0};\n";
    }
    os << "const RSStringEntry strings[] = {\n";
    for (const auto& s : strings)
        os << "    {" << s.list << ", " << s.index << ", \"" << CEscape(s.utf8) << "\"},\n";
    os << "    {0, 0, nullptr}};\n";
    os << "const RSBlobEntry blobs[] = {\n";
    for (size_t i = 0; i < blobs.size(); ++i) {
        const std::string& ty = blobs[i].type;
        unsigned code = (static_cast<unsigned char>(ty[0]) << 24) | (static_cast<unsigned char>(ty[1]) << 16) |
                        (static_cast<unsigned char>(ty[2]) << 8) | static_cast<unsigned char>(ty[3]);
        os << "    {0x" << std::hex << code << std::dec << "u, " << blobs[i].id << ", blob" << i << ", "
           << blobs[i].bytes.size() << "},\n";
    }
    os << "    {0, 0, nullptr, 0}};\n}  // namespace\n\n";
    os << "extern const RSImage " << symbol << ";\n";
    os << "const RSImage " << symbol << " = {RSImageMagic, strings, " << strings.size() << ", blobs, " << blobs.size()
       << "};\n";

    WriteFile(outPath, os.str());
    if (!headerPath.empty())
        WriteFile(headerPath, IdsHeader(language));
    return 0;
}
