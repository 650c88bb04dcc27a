#include "common/platform/BackgroundClose.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace
{

// Marks the module that holds this function as never to be unloaded; the program itself
// never is.
bool KeepThisModuleLoaded()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void *>(&KeepThisModuleLoaded), &info) == 0 ||
        info.dli_fname == nullptr)
        return false;
    char program[PATH_MAX];
    char module[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", program, sizeof program - 1);
    if (length > 0 && realpath(info.dli_fname, module) != nullptr) {
        program[length] = '\0';
        if (std::strcmp(program, module) == 0)
            return true;
    }
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
