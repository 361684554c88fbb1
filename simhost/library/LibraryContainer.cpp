#include "simhost/library/LibraryContainer.hpp"
#include "platform/gs/CH.hpp"
#include <fstream>
#include <sstream>

namespace SimHost {

namespace {

struct LineReader {
    std::string text;
    size_t pos = 0;

    void SkipSpace()
    {
        while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t' || text[pos] == '\r'))
            ++pos;
    }
    bool AtEnd()
    {
        SkipSpace();
        return pos >= text.size();
    }
    bool Word(std::string& out)
    {
        SkipSpace();
        size_t b = pos;
        while (pos < text.size() && text[pos] != ' ' && text[pos] != '\t' && text[pos] != '\r')
            ++pos;
        out = text.substr(b, pos - b);
        return !out.empty();
    }
    bool Quoted(std::string& out)
    {
        SkipSpace();
        if (pos >= text.size() || text[pos] != '"')
            return false;
        out.clear();
        for (++pos; pos < text.size(); ++pos) {
            char c = text[pos];
            if (c == '"') {
                ++pos;
                return true;
            }
            if (c == '\\' && pos + 1 < text.size()) {
                char n = text[++pos];
                out.push_back(n == 'n' ? '\n' : n);
            } else {
                out.push_back(c);
            }
        }
        return false;
    }
    bool Number(double& out)
    {
        std::string w;
        if (!Word(w))
            return false;
        char* end = nullptr;
        out = std::strtod(w.c_str(), &end);
        return end != nullptr && *end == '\0';
    }
};

}  // namespace

bool ReadLibraryContainer(const std::string& path, LibraryContainer& out, std::string& error)
{
    std::ifstream in(path);
    if (!in) {
        error = path + ": cannot read the library container";
        return false;
    }
    out = LibraryContainer{};
    std::string line;
    int lineNo = 0;
    LibraryPartDef* part = nullptr;
    auto fail = [&](const std::string& why) {
        error = path + ":" + std::to_string(lineNo) + ": " + why;
        return false;
    };
    while (std::getline(in, line)) {
        ++lineNo;
        LineReader r{line};
        if (r.AtEnd() || line[r.pos] == '#')
            continue;
        std::string kw;
        r.Word(kw);
        if (kw == "container") {
            if (!r.Quoted(out.title))
                return fail("container needs a quoted title");
        } else if (kw == "part") {
            LibraryPartDef def;
            double type = 0;
            if (!r.Word(def.name))
                return fail("part needs a name");
            if (!r.Quoted(def.uniqueId) || def.uniqueId.empty())
                return fail("part '" + def.name + "' has no unique ID");
            if (!r.Number(type))
                return fail("part '" + def.name + "' needs a part type");
            def.partType = static_cast<Int32>(type);
            out.parts.push_back(def);
            part = &out.parts.back();
        } else if (kw == "end") {
            part = nullptr;
        } else if (part == nullptr) {
            return fail("'" + kw + "' outside a part");
        } else {
            GdlParam p;
            if (!r.Word(p.name))
                return fail("parameter without a name in part '" + part->name + "'");
            std::string where = "parameter '" + p.name + "' of part '" + part->name + "'";
            if (kw == "number") {
                p.kind = GdlParam::Kind::Number;
                if (!r.Number(p.number))
                    return fail(where + " needs a number");
            } else if (kw == "text") {
                std::string t;
                p.kind = GdlParam::Kind::Text;
                if (!r.Quoted(t))
                    return fail(where + " needs a quoted text");
                p.text = GS::DecodeText(t, CC_UTF8);
                if (p.text.size() > 255)
                    return fail(where + " is longer than 255 units");
            } else if (kw == "numbers" || kw == "texts") {
                double rows = 0, cols = 0;
                std::string colon;
                if (!r.Number(rows) || !r.Number(cols) || rows < 0 || cols < 0 || !r.Word(colon) || colon != ":")
                    return fail(where + " needs '<rows> <cols> :'");
                p.dim1 = static_cast<Int32>(rows);
                p.dim2 = static_cast<Int32>(cols);
                size_t n = static_cast<size_t>(p.dim1) * static_cast<size_t>(p.dim2);
                if (kw == "numbers") {
                    p.kind = GdlParam::Kind::Numbers;
                    p.numbers.assign(n, 0.0);
                    for (size_t i = 0; i < n && !r.AtEnd(); ++i)
                        if (!r.Number(p.numbers[i]))
                            return fail(where + " has a value that is not a number");
                } else {
                    p.kind = GdlParam::Kind::Texts;
                    p.texts.assign(n, u"");
                    for (size_t i = 0; i < n && !r.AtEnd(); ++i) {
                        std::string t;
                        if (!r.Quoted(t))
                            return fail(where + " has a value that is not a quoted text");
                        p.texts[i] = GS::DecodeText(t, CC_UTF8);
                    }
                }
                if (!r.AtEnd())
                    return fail(where + " has more values than " + std::to_string(n));
            } else {
                return fail(where + " has an unknown shape '" + kw + "'");
            }
            part->defaults.push_back(std::move(p));
        }
    }
    if (part != nullptr)
        return fail("part '" + part->name + "' is not closed with 'end'");
    return true;
}

}  // namespace SimHost
