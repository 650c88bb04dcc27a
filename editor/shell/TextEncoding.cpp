#include "TextEncoding.h"

#include <QStringDecoder>

bool IsValidUtf8(std::string_view bytes)
{
    size_t i = 0;
    const size_t n = bytes.size();
    while (i < n) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        size_t length = 0;
        uint32_t minimum = 0;
        uint32_t code = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            minimum = 0x80;
            code = lead & 0x1Fu;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            minimum = 0x800;
            code = lead & 0x0Fu;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            minimum = 0x10000;
            code = lead & 0x07u;
        } else {
            return false;
        }
        if (n - i < length)
            return false;
        for (size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0u) != 0x80u)
                return false;
            code = (code << 6) | (next & 0x3Fu);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
        if (code < minimum || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
            return false;
        i += length;
    }
    return true;
}

std::string DecodeCodePage932(std::string_view bytes)
{
    // ICU knows the Windows variant as "windows-31j"; plain "Shift_JIS" is the fallback.
    QStringDecoder decoder("windows-31j");
    if (!decoder.isValid())
        decoder = QStringDecoder("Shift_JIS");
    if (!decoder.isValid())
        return std::string(bytes); // no converter: keep the bytes rather than lose them
    const QString text =
        decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return text.toStdString();
}

std::string SystemTextToUtf8(std::string_view bytes)
{
    if (IsValidUtf8(bytes))
        return std::string(bytes);
    return DecodeCodePage932(bytes);
}
