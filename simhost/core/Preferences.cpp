#include "simhost/core/Preferences.hpp"
#include <cstdio>
#include <fstream>
#include <sstream>

namespace SimHost {

namespace {
constexpr const char* Magic = "armbrix-preferences";
constexpr size_t MaxRecordSize = 1 << 20;
}  // namespace

void Preferences::SetFile(const std::string& path)
{
    file = path;
    stored.reset();
    if (file.empty())
        return;
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return;
    std::stringstream text;
    text << in.rdbuf();
    stored = Decode(text.str());
}

bool Preferences::Store(const PreferencesRecord& record)
{
    stored = record;
    if (file.empty())
        return true;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << Encode(record);
    out.close();
    const bool ok = static_cast<bool>(out);
    written = written || ok;
    writeFailed = writeFailed || !ok;
    return ok;
}

std::string Preferences::Encode(const PreferencesRecord& record)
{
    std::ostringstream out;
    out << Magic << " 1\n" << record.version << " " << record.platformSign << " " << record.bytes.size() << "\n";
    char hex[3];
    for (unsigned char b : record.bytes) {
        std::snprintf(hex, sizeof hex, "%02x", b);
        out << hex;
    }
    out << "\n";
    return out.str();
}

std::optional<PreferencesRecord> Preferences::Decode(const std::string& text)
{
    std::istringstream in(text);
    std::string magic;
    int formatVersion = 0;
    PreferencesRecord record;
    long long sign = 0;
    size_t size = 0;
    if (!(in >> magic >> formatVersion >> record.version >> sign >> size) || magic != Magic || formatVersion != 1 ||
        sign < 0 || sign > 0xFFFF || size > MaxRecordSize)
        return std::nullopt;
    record.platformSign = static_cast<UInt16>(sign);
    std::string hex;
    if (size > 0 && !(in >> hex))
        return std::nullopt;
    if (hex.size() != size * 2)
        return std::nullopt;
    for (size_t i = 0; i < size; ++i) {
        unsigned value = 0;
        if (std::sscanf(hex.c_str() + 2 * i, "%2x", &value) != 1)
            return std::nullopt;
        record.bytes.push_back(static_cast<unsigned char>(value));
    }
    return record;
}

}  // namespace SimHost
