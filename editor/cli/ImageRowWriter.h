// Writing a picture row by row, top row first, as the rows are composed: PNG (through
// libpng) or uncompressed 24-bit BMP. The picture goes to a temporary file beside the
// target, which replaces the target only once every row is written: after any failure
// the previous file is still there and no partial file is left. Knows nothing of maps.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class TImageRowWriter
{
public:
    virtual ~TImageRowWriter() = default;
    // Creates the temporary file and writes the header. False with the reason in Error.
    virtual bool Begin(const std::string &Path, int64_t Width, int64_t Height,
                       std::string &Error) = 0;
    // Row Y of Width pixels 0x00RRGGBB; rows come in order from 0.
    virtual bool WriteRow(int32_t Y, const uint32_t *Pixels) = 0;
    // Finishes the file and puts it in the target's place. False when anything failed.
    virtual bool Finish() = 0;
};

// The writer for a file name ending in ".png" or ".bmp" (in any case); null for others.
std::unique_ptr<TImageRowWriter> MakeImageRowWriter(const std::string &Path);
