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

// The string lists of one language, by list id and entry number.
struct Language {
    std::map<int, ListInfo> lists;
    std::map<std::pair<int, int>, StringEntry> entries;
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
            if (kind == "STRS") {
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

// Every list and entry of one language must be in the other under the same
// name.
void CompareLanguages(const Language& own, const Language& other)
{
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
    if (other) {
        Language otherLanguage;
        ReadResources(others, 0, otherLanguage, nullptr, nullptr);
        CompareLanguages(language, otherLanguage);
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
