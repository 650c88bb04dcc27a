// libFuzzer target for the recovery side record: any bytes parse without a crash, and a
// record that parses writes back to a text that parses to the same record.
#include "editor/plugins/RecoveryRecord.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const std::optional<TRecoveryRecord> record = ParseRecoveryRecord(text);
    if (record) {
        const std::optional<TRecoveryRecord> again =
            ParseRecoveryRecord(FormatRecoveryRecord(*record));
        if (!again || !(*again == *record))
            std::abort();
    }
    return 0;
}
