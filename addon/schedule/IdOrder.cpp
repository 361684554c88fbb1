#include "addon/schedule/IdOrder.hpp"
#include "platform/gs/CH.hpp"
#include <algorithm>
#include <unordered_map>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Where the trailing run of digits begins (the text's length when it does
// not end in a digit).
size_t DigitsBegin(const std::string& s)
{
    size_t p = s.size();
    while (p > 0 && IsDigit(s[p - 1]))
        --p;
    return p;
}

// Sign of the difference of two digit runs as numbers, whatever their
// length: no run is too long to compare.
int CompareNumbers(const char* a, size_t aLen, const char* b, size_t bLen)
{
    while (aLen > 0 && *a == '0') {
        ++a;
        --aLen;
    }
    while (bLen > 0 && *b == '0') {
        ++b;
        --bLen;
    }
    if (aLen != bLen)
        return aLen < bLen ? -1 : 1;
    for (size_t i = 0; i < aLen; ++i)
        if (a[i] != b[i])
            return a[i] < b[i] ? -1 : 1;
    return 0;
}

std::string Lower(const std::string& s, size_t length)
{
    std::string out(s, 0, length);
    for (char& c : out)
        c = LowerAscii(c);
    return out;
}

// The consistent case. Every ID is either a member of a family (the IDs
// that end in digits after one exact prefix), ordered inside it by value,
// or a plain text. Between IDs of different families and plain texts,
// CompareIds compares bytes without case; the first difference falls
// either inside the lower-case prefix of a family, or where a family's
// digits begin. When no other ID continues a family's lower-case prefix
// with a digit, that difference never depends on a family member's digits:
// a family then compares with every other ID as a whole, like the text of
// its lower-case prefix followed by one digit. CompareIds is then the
// lexicographic order of these sort keys, refined by value inside a
// family: a strict weak order, on which a bubble sort and a stable sort
// give the same order.
struct SortKey {
    std::string text;  // lower-case text; for a family member its prefix and "0"
    const char* digits = nullptr;  // family members: the trailing digits
    size_t digitCount = 0;
};

bool BuildSortKeys(const std::vector<const std::string*>& ids, std::vector<SortKey>& keys)
{
    std::vector<std::string> lowered;
    lowered.reserve(ids.size());
    std::unordered_map<std::string, size_t> familySizes;  // exact prefix: members
    keys.resize(ids.size());
    for (size_t i = 0; i < ids.size(); ++i) {
        const std::string& id = *ids[i];
        lowered.push_back(Lower(id, id.size()));
        if (id.empty() || !IsDigit(id.back())) {
            keys[i].text = lowered.back();
            continue;
        }
        const size_t p = DigitsBegin(id);
        ++familySizes[id.substr(0, p)];
        keys[i].text = Lower(id, p) + "0";
        keys[i].digits = id.data() + p;
        keys[i].digitCount = id.size() - p;
    }
    std::sort(lowered.begin(), lowered.end());
    for (const auto& family : familySizes) {
        const std::string prefix = Lower(family.first, family.first.size());
        // IDs whose lower-case text is the prefix followed by a digit.
        const auto from = std::lower_bound(lowered.begin(), lowered.end(), prefix + "0");
        const auto to = std::lower_bound(from, lowered.end(), prefix + ":");  // ':' follows '9'
        if (static_cast<size_t>(to - from) != family.second)
            return false;
    }
    return true;
}

bool KeyLess(const SortKey& a, const SortKey& b)
{
    const int c = a.text.compare(b.text);
    if (c != 0)
        return c < 0;
    if (a.digits == nullptr || b.digits == nullptr)
        return false;
    return CompareNumbers(a.digits, a.digitCount, b.digits, b.digitCount) < 0;
}

}  // namespace

int CompareIds(const std::string& a, const std::string& b)
{
    if (!a.empty() && !b.empty() && IsDigit(a.back()) && IsDigit(b.back())) {
        const size_t pa = DigitsBegin(a);
        const size_t pb = DigitsBegin(b);
        if (pa == pb && a.compare(0, pa, b, 0, pb) == 0)
            return CompareNumbers(a.data() + pa, a.size() - pa, b.data() + pb, b.size() - pb);
    }
    return CHCompareASCII(a.c_str(), b.c_str());
}

bool BubbleOrderByIds(const std::vector<const std::string*>& ids, std::vector<Int32>& order,
                      const std::function<bool(Int32)>& beforePass)
{
    const Int32 count = static_cast<Int32>(ids.size());
    order.resize(ids.size());
    for (Int32 i = 0; i < count; ++i)
        order[static_cast<size_t>(i)] = i;

    // A list already in order is left as it is: the sort's first pass
    // exchanges nothing, and so it stops. A first run over fresh bars
    // numbers its groups in list order.
    bool inOrder = true;
    for (Int32 i = 1; i < count && inOrder; ++i)
        inOrder = CompareIds(*ids[static_cast<size_t>(i - 1)], *ids[static_cast<size_t>(i)]) <= 0;
    if (inOrder)
        return count == 0 || beforePass(1);

    std::vector<SortKey> keys;
    if (BuildSortKeys(ids, keys)) {
        if (count > 0 && !beforePass(1))
            return false;
        std::stable_sort(order.begin(), order.end(),
                         [&](Int32 a, Int32 b) { return KeyLess(keys[static_cast<size_t>(a)], keys[static_cast<size_t>(b)]); });
        return true;
    }

    for (Int32 pass = 1; pass <= count; ++pass) {
        if (!beforePass(pass))
            return false;
        bool exchanged = false;
        for (Int32 i = 1; i < count - pass + 1; ++i) {
            Int32& earlier = order[static_cast<size_t>(i - 1)];
            Int32& later = order[static_cast<size_t>(i)];
            if (CompareIds(*ids[static_cast<size_t>(earlier)], *ids[static_cast<size_t>(later)]) > 0) {
                std::swap(earlier, later);
                exchanged = true;
            }
        }
        if (!exchanged)
            break;  // a pass without exchanges leaves every later pass without any
    }
    return true;
}
