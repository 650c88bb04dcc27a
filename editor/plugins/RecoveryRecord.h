// The small text record kept beside each recovery copy: which document the copy is of
// (its name and original path, the plug-in it was read or written through, the format
// the save dialog offers first, how its parts-image references are stored), since the
// copy itself is written to a folder of its own with the references made absolute.
//
// The text is UTF-8, one "key=value" line each after the first line "Tessella recovery 1",
// and the line "end" last; a backslash in a value is written "\\" and a line break "\n".
// Unknown keys are skipped, so later versions may add some.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct TRecoveryRecord {
    std::string DocumentName;
    std::string DocumentPath; // empty for a map never saved
    std::string DocumentPlugin;
    int32_t ProjectPlugin = 0;
    uint8_t PathMode = 1;

    bool operator==(const TRecoveryRecord &) const = default;
};

// The most a record may hold; anything longer is not a record.
inline constexpr size_t MaxRecoveryRecordSize = 64 * 1024;

std::string FormatRecoveryRecord(const TRecoveryRecord &Record);
// Nothing when the text is not a whole record: another first line, a line without "=",
// a bad escape, a number out of range, a missing or empty name, a path that is not
// absolute, a text over the size limit.
std::optional<TRecoveryRecord> ParseRecoveryRecord(std::string_view Text);

// The record in a file; nothing when it cannot be read or is not a record.
std::optional<TRecoveryRecord> ReadRecoveryRecord(const std::string &Path);
// Written atomically and durably: the old record stays until the new one is whole.
bool WriteRecoveryRecord(const std::string &Path, const TRecoveryRecord &Record);
