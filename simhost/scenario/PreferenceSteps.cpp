// Steps of the add-on's stored preferences: a record preset as if an
// earlier run, or a run on another platform, had stored it.
#include "simhost/scenario/Steps.hpp"

namespace SimHost {

namespace {

// {"do": "preferences", "version": 256, "platformSign": "0x4D4D",
//  "withList": true, "layer": 3} lays out the add-on's 8-byte record in
// the byte order the sign names (0x5757: least significant byte first,
// any other the other order); "bytes": [...] gives the record as it is,
// of any size. "clear": true removes the stored record.
StepAction ParsePreferences(const JsonObject& step)
{
    step.Only({"do", "version", "platformSign", "withList", "layer", "bytes", "clear"});
    if (step.Bool("clear", false))
        return [](Host& host, RunContext&) { host.preferences.Clear(); };
    PreferencesRecord record;
    record.version = static_cast<Int32>(step.IntegerIn("version", 256, -2147483647 - 1, 2147483647));
    const UInt32 sign = step.Code("platformSign", 0x5757);
    if (sign > 0xFFFF)
        step.Fail("platformSign", "a platform sign has 16 bits");
    record.platformSign = static_cast<UInt16>(sign);
    if (step.Has("bytes")) {
        if (step.Has("withList") || step.Has("layer"))
            step.Fail("bytes", "give either 'bytes' or 'withList' and 'layer'");
        const picojson::array& bytes = step.Array("bytes");
        for (USize i = 0; i < bytes.size(); ++i) {
            if (!bytes[i].is<double>() || bytes[i].get<double>() < 0 || bytes[i].get<double>() > 255 ||
                bytes[i].get<double>() != static_cast<double>(static_cast<int>(bytes[i].get<double>())))
                step.Fail("bytes", "every byte is a whole number from 0 to 255");
            record.bytes.push_back(static_cast<unsigned char>(bytes[i].get<double>()));
        }
    } else {
        // The stored layer is any 32-bit number: a record from another run
        // may hold one no model has.
        const auto layer = static_cast<UInt32>(static_cast<Int32>(step.IntegerIn("layer", 1, -2147483647 - 1, 2147483647)));
        record.bytes = {static_cast<unsigned char>(step.Bool("withList", true) ? 1 : 0), 0, 0, 0};
        for (int i = 0; i < 4; ++i) {
            const int shift = record.platformSign == 0x5757 ? 8 * i : 8 * (3 - i);
            record.bytes.push_back(static_cast<unsigned char>((layer >> shift) & 0xFF));
        }
    }
    return [record](Host& host, RunContext&) { host.preferences.Store(record); };
}

}  // namespace

void AddPreferenceSteps(StepTable& table)
{
    table["preferences"] = {ParsePreferences};
}

}  // namespace SimHost
