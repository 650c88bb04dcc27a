// Saving without ever destroying the previous file: the data goes to a temporary file in
// the target's folder, which replaces the target in one rename once everything is
// written. Until then, and after any failure, the old file is untouched; a discarded or
// failed save leaves no temporary file behind.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

class TReplacingFile
{
public:
    TReplacingFile() = default;
    ~TReplacingFile() { Discard(); }
    TReplacingFile(const TReplacingFile &) = delete;
    TReplacingFile &operator=(const TReplacingFile &) = delete;

    // Creates the temporary file beside targetPath; false when it cannot be created.
    bool Open(const std::string &targetPath);
    bool IsOpen() const { return Stream != nullptr; }

    // The stream to write to; use it only between Open and Commit or Discard.
    std::FILE *Output() const { return Stream; }
    bool Write(const void *data, size_t count);

    // Writes out, closes and renames the temporary file over the target. Returns false
    // (and discards the temporary file) when any of that fails or a write failed before.
    bool Commit();
    // Closes and removes the temporary file; the target stays as it was.
    void Discard();

    const std::string &TemporaryPath() const { return TempPath; }

private:
    std::FILE *Stream = nullptr;
    std::string TargetPath;
    std::string TempPath;
    bool Failed = false;
};
