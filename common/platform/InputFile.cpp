#include "common/platform/InputFile.h"

#include <sys/stat.h>

bool TInputFile::Open(const char *path)
{
    Close();
    Stream = std::fopen(path, "rb");
    if (Stream == nullptr)
        return false;
    struct stat info {
    };
    if (fstat(fileno(Stream), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0) {
        Close();
        return false;
    }
    FileSize = static_cast<uint64_t>(info.st_size);
    Offset = 0;
    return true;
}

void TInputFile::Close()
{
    if (Stream != nullptr) {
        std::fclose(Stream);
        Stream = nullptr;
    }
    FileSize = 0;
    Offset = 0;
}

bool TInputFile::Seek(uint64_t offset)
{
    if (Stream == nullptr || offset > FileSize)
        return false;
    if (offset == Offset)
        return true;
    if (fseeko(Stream, static_cast<off_t>(offset), SEEK_SET) != 0)
        return false;
    Offset = offset;
    return true;
}

size_t TInputFile::Read(void *buffer, size_t count)
{
    if (Stream == nullptr)
        return 0;
    if (count > Remaining())
        count = static_cast<size_t>(Remaining());
    const size_t got = std::fread(buffer, 1, count, Stream);
    Offset += got;
    return got;
}

int TInputFile::ReadByte()
{
    if (Stream == nullptr || Offset >= FileSize)
        return -1;
    const int c = getc_unlocked(Stream);
    if (c != EOF)
        ++Offset;
    return c == EOF ? -1 : c;
}
