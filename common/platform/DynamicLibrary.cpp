#include "common/platform/DynamicLibrary.h"

#include <dlfcn.h>
#include <utility>

TDynamicLibrary::TDynamicLibrary(TDynamicLibrary &&other) noexcept
    : Handle(std::exchange(other.Handle, nullptr)), Error(std::move(other.Error))
{
}

TDynamicLibrary &TDynamicLibrary::operator=(TDynamicLibrary &&other) noexcept
{
    if (this != &other) {
        Release();
        Handle = std::exchange(other.Handle, nullptr);
        Error = std::move(other.Error);
    }
    return *this;
}

bool TDynamicLibrary::Load(const std::string &path)
{
    Release();
    Error.clear();
    // RTLD_LOCAL keeps one plug-in's entry points from satisfying another's lookups.
    Handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (Handle == nullptr) {
        const char *reason = dlerror();
        Error = reason != nullptr ? reason : "cannot load " + path;
        return false;
    }
    return true;
}

void *TDynamicLibrary::Symbol(const char *name) const
{
    if (Handle == nullptr || name == nullptr)
        return nullptr;
    return dlsym(Handle, name);
}

void TDynamicLibrary::Release()
{
    if (Handle != nullptr) {
        dlclose(Handle);
        Handle = nullptr;
    }
}
