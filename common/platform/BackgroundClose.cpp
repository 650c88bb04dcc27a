#include "common/platform/BackgroundClose.h"

#include <dlfcn.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace
{

// Marks the module that holds this function as never to be unloaded.
bool KeepThisModuleLoaded()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void *>(&KeepThisModuleLoaded), &info) == 0 ||
        info.dli_fname == nullptr)
        return false;
    // An extra reference that is never given back, on a module already loaded.
    return dlopen(info.dli_fname, RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE) != nullptr;
}

} // namespace

void CloseInBackground(int File)
{
    if (File < 0)
        return;
    static const bool kept = KeepThisModuleLoaded();
    if (kept) {
        try {
            std::thread([File] { close(File); }).detach();
            return;
        } catch (const std::system_error &) {
        }
    }
    close(File);
}
