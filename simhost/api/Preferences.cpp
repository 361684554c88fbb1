// The add-on's preferences record: read with its version, size and the
// writer's platform sign, and stored beyond one run.
#include "simhost/api/HostApi.hpp"
#include <algorithm>
#include <cstring>

namespace SimHost {

GSErrCode HostApi::GetPreferences(Int32* version, Int32* size, void* data, UInt16* platformSign)
{
    if (version == nullptr || size == nullptr)
        return APIERR_BADPARS;
    const std::optional<PreferencesRecord>& stored = host.preferences.Stored();
    if (!stored.has_value()) {
        *version = 0;
        *size = 0;
        return NoError;
    }
    const Int32 storedSize = static_cast<Int32>(stored->bytes.size());
    *version = stored->version;
    if (data == nullptr) {
        *size = storedSize;
        return NoError;
    }
    // Never more than the caller's buffer, which *size gives.
    const Int32 n = std::max(0, std::min(*size, storedSize));
    if (n > 0)
        std::memcpy(data, stored->bytes.data(), static_cast<size_t>(n));
    *size = n;
    if (platformSign != nullptr)
        *platformSign = stored->platformSign;
    return NoError;
}

GSErrCode HostApi::SetPreferences(Int32 version, Int32 size, const void* data)
{
    if (size < 0 || (size > 0 && data == nullptr))
        return APIERR_BADPARS;
    PreferencesRecord record;
    record.version = version;
    record.platformSign = 0x5757;
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    if (size > 0)
        record.bytes.assign(bytes, bytes + size);
    host.recorder.events.push_back("preferences stored: version " + std::to_string(version) + ", " +
                                   std::to_string(size) + " bytes");
    return host.preferences.Store(record) ? NoError : APIERR_GENERAL;
}

}  // namespace SimHost
