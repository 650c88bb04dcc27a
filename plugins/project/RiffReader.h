// Reading RIFF chunks from a file without ever trusting a size: every chunk found lies
// inside its parent, and a chunk whose data would run past its parent's end is reported
// as broken instead of being read.
#pragma once

#include "common/platform/InputFile.h"

#include <cstddef>
#include <cstdint>

struct TRiffChunk {
    uint32_t Id = 0;
    uint32_t Size = 0;       // data bytes, without header and pad byte
    uint64_t DataOffset = 0; // file offset of the data
    uint32_t ListType = 0;   // for "RIFF" and "LIST": the first four data bytes

    uint64_t DataEnd() const { return DataOffset + Size; }
    uint64_t End() const { return DataEnd() + (Size & 1); } // next chunk (after the pad)
    // The sub-chunks of a list or form begin after its type.
    uint64_t ContentOffset() const { return DataOffset + 4; }
};

enum class TRiffStatus {
    Found,
    NotFound, // no (further) chunk header fits before the end
    Broken,   // a chunk's data runs past its parent's end
    ReadError,
};

class TRiffReader
{
public:
    explicit TRiffReader(TInputFile &file) : File(file) {}

    // The form at the start of the file when it is "RIFF" of the given type; its content
    // ends at the declared size or the end of the file, whichever comes first.
    TRiffStatus OpenForm(uint32_t formType, TRiffChunk &form);

    // The chunk whose header starts at offset, within [offset, end).
    TRiffStatus ReadChunk(uint64_t offset, uint64_t end, TRiffChunk &chunk);

    // The first chunk with this identifier in [begin, end), walking from begin.
    TRiffStatus FindChunk(uint32_t id, uint64_t begin, uint64_t end, TRiffChunk &chunk);
    // The first "LIST" of this type in [begin, end).
    TRiffStatus FindList(uint32_t listType, uint64_t begin, uint64_t end, TRiffChunk &list);
    // Walks every chunk in [begin, end): Found when all are whole, Broken when one overruns.
    TRiffStatus CheckChunks(uint64_t begin, uint64_t end);

    // Reads count bytes at offset; false when they cannot all be read.
    bool ReadAt(uint64_t offset, void *buffer, size_t count);

    // The end of the form's content as OpenForm found it.
    static uint64_t FormEnd(const TRiffChunk &form) { return form.DataEnd(); }

private:
    TInputFile &File;
};
