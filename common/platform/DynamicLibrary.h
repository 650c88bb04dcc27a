// A shared library loaded at run time: load by path, look up symbols by name, release.
// The plug-in hosts load a library for one operation and release it right after.
#pragma once

#include <string>

class TDynamicLibrary
{
public:
    TDynamicLibrary() = default;
    explicit TDynamicLibrary(const std::string &path) { Load(path); }
    ~TDynamicLibrary() { Release(); }

    TDynamicLibrary(const TDynamicLibrary &) = delete;
    TDynamicLibrary &operator=(const TDynamicLibrary &) = delete;
    TDynamicLibrary(TDynamicLibrary &&other) noexcept;
    TDynamicLibrary &operator=(TDynamicLibrary &&other) noexcept;

    // Releases what is loaded, then loads the library at path. On failure the object is
    // empty and LastError() says why.
    bool Load(const std::string &path);
    bool IsLoaded() const { return Handle != nullptr; }

    // The address of the exported symbol, or null when the library does not export it.
    void *Symbol(const char *name) const;

    // The exported function of that name as a function pointer of type F, or null.
    template <typename F> F Function(const char *name) const
    {
        return reinterpret_cast<F>(Symbol(name));
    }

    void Release();
    const std::string &LastError() const { return Error; }

private:
    void *Handle = nullptr;
    std::string Error;
};
