// The add-on's preferences as the host keeps them: one record with its
// version and the sign of the platform that wrote it. With a file set (one
// per stand-in installation) the record outlives the run: it is read when
// the file is set and written whenever the add-on stores a record.
#pragma once
#include "platform/gs/GSTypes.hpp"
#include <optional>
#include <string>
#include <vector>

namespace SimHost {

struct PreferencesRecord {
    Int32 version = 0;
    UInt16 platformSign = 0x5757;
    std::vector<unsigned char> bytes;
};

class Preferences {
public:
    // Keeps the record in `path` from now on and reads what it holds; a
    // missing or unreadable file holds no record. Empty: memory only.
    void SetFile(const std::string& path);
    const std::string& File() const { return file; }

    const std::optional<PreferencesRecord>& Stored() const { return stored; }
    // Stores the record (and writes the file, when there is one); false
    // when the file could not be written.
    bool Store(const PreferencesRecord& record);
    void Clear() { stored.reset(); }
    // Whether the file was written, and whether a write failed.
    bool Written() const { return written; }
    bool WriteFailed() const { return writeFailed; }

    // The file's text form: "armbrix-preferences 1", then version, sign and
    // the bytes in hex.
    static std::string Encode(const PreferencesRecord& record);
    static std::optional<PreferencesRecord> Decode(const std::string& text);

private:
    std::string file;
    std::optional<PreferencesRecord> stored;
    bool written = false;
    bool writeFailed = false;
};

}  // namespace SimHost
