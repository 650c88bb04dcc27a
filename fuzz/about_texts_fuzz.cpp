// libFuzzer target for the texts the about box reads from the system: /proc/meminfo and the
// MIME database's globs files. Any bytes are read without a crash, and the figures they give
// stay consistent.
#include "common/platform/MemoryStatus.h"
#include "editor/shell/dialogs/FileAssociations.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    if (const std::optional<TMemoryStatus> status = ParseMemInfo(text)) {
        if (status->AvailPhysical > status->TotalPhysical || status->MemoryLoad > 100)
            std::abort();
    }
    GlobsClaim(text, true, "tzp", "application/x-tzpfile");
    GlobsClaim(text, false, "fmf", "");
    return 0;
}
