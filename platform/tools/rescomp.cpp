// Resource compiler: turns an add-on's readable resource files into a C++
// source that holds them as an RSImage, so that the resources travel inside
// the add-on library.
//
//   rescomp --codepage 1252 --symbol Name --out out.cpp file.txt ...
//
// Sections:
//   [STRS <id>]             entries  <n> = "text"   (\n \" \\ escapes)
//   [DATA <TYPE> <id>]      lines    hex = 01 02 ab ...   or   text = "..."
//
// Every string must fit a 255-byte buffer with its terminator in the given
// 8-bit code page, and must be representable in it; otherwise the build
// fails here, naming the file, the line and the entry.
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

}  // namespace

int main(int argc, char** argv)
{
    int codePage = 1252;
    std::string symbol = "ResourceImage", outPath;
    std::vector<std::string> inputs;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--codepage" && i + 1 < argc) codePage = std::atoi(argv[++i]);
        else if (a == "--symbol" && i + 1 < argc) symbol = argv[++i];
        else if (a == "--out" && i + 1 < argc) outPath = argv[++i];
        else inputs.push_back(a);
    }
    if (outPath.empty() || inputs.empty())
        Fail("rescomp", "usage: rescomp --codepage N --symbol NAME --out FILE input...");

    std::vector<StringEntry> strings;
    std::vector<BlobEntry> blobs;
    std::map<std::pair<int, int>, std::string> seen;
    for (const std::string& path : inputs) {
        std::ifstream in(path);
        if (!in)
            Fail(path, "cannot read file");
        std::string line, kind, blobType;
        int sectionId = 0, lineNo = 0;
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
                    if (!(hs >> sectionId))
                        Fail(where, "STRS needs a list id");
                } else if (kind == "DATA") {
                    if (!(hs >> blobType >> sectionId) || blobType.size() != 4)
                        Fail(where, "DATA needs a four-letter type and an id");
                    blobs.push_back({blobType, sectionId, {}});
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
                char* end = nullptr;
                long index = std::strtol(key.c_str(), &end, 10);
                if (end == key.c_str() || *end != '\0' || index < 1 || index > 32767)
                    Fail(where, "entry number must be 1 to 32767");
                std::string text = ParseQuoted(value, where);
                std::string entry = std::to_string(sectionId) + "/" + std::to_string(index);
                long size = EncodedSize(text, codePage);
                if (size < 0)
                    Fail(where, "string " + entry + " has a character that code page " + std::to_string(codePage) + " lacks");
                if (size > 254)
                    Fail(where, "string " + entry + " takes " + std::to_string(size) + " bytes; at most 254 fit");
                if (!seen.emplace(std::make_pair(sectionId, static_cast<int>(index)), where).second)
                    Fail(where, "string " + entry + " defined twice");
                strings.push_back({sectionId, static_cast<int>(index), text});
            } else {
                BlobEntry& b = blobs.back();
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

    std::ofstream out(outPath);
    out << os.str();
    if (!out)
        Fail(outPath, "cannot write output");
    return 0;
}
