#include "plugins/project/FieldReader.h"

#include "plugins/project/RiffFormat.h"

bool TFieldReader::ReadU8(uint8_t &value)
{
    return ReadBytes(&value, 1);
}

bool TFieldReader::ReadU32(uint32_t &value)
{
    uint8_t bytes[4];
    if (!ReadBytes(bytes, sizeof bytes))
        return false;
    value = LoadU32(bytes);
    return true;
}

bool TFieldReader::ReadBytes(void *buffer, uint64_t count)
{
    return count <= Remaining() && File.ReadExact(buffer, static_cast<size_t>(count));
}

bool TFieldReader::ReadString(std::string &text, size_t keep)
{
    text.clear();
    while (Remaining() > 0) {
        const int c = File.ReadByte();
        if (c < 0)
            return false;
        if (c == 0)
            return true;
        if (text.size() < keep)
            text.push_back(static_cast<char>(c));
    }
    return false;
}
