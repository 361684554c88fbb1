#include "addon/complex/AddOnPreferences.hpp"
#include "addon/host/HostCalls.hpp"
#include <cstring>

AddOnPreferences ConvertPreferences(AddOnPreferences stored, GSPlatformSign writer)
{
    IVUByte(writer, &stored.withList);
    UInt32 layer = 0;
    std::memcpy(&layer, &stored.layer, sizeof layer);
    IVULong(writer, &layer);
    std::memcpy(&stored.layer, &layer, sizeof layer);
    return stored;
}

std::optional<AddOnPreferences> ReadAddOnPreferences()
{
    Int32 version = 0;
    Int32 size = 0;
    if (HostGetPreferences(&version, &size, nullptr, nullptr) != NoError)
        return std::nullopt;
    if (version != AddOnPreferencesVersion || size != AddOnPreferencesSize)
        return std::nullopt;
    AddOnPreferences stored;
    std::memset(&stored, 0, sizeof stored);
    GSPlatformSign sign = GS_OWN_PLATFORM_SIGN;
    // The host writes at most the size asked for; a record that changed in
    // between is not taken.
    if (HostGetPreferences(&version, &size, &stored, &sign) != NoError || version != AddOnPreferencesVersion ||
        size != AddOnPreferencesSize)
        return std::nullopt;
    return ConvertPreferences(stored, sign);
}

GSErrCode WriteAddOnPreferences(bool withList, Int32 layer)
{
    AddOnPreferences record;
    std::memset(&record, 0, sizeof record);
    record.withList = withList ? 1 : 0;
    record.layer = layer;
    return HostSetPreferences(AddOnPreferencesVersion, AddOnPreferencesSize, &record);
}
