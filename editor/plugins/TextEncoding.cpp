#include "TextEncoding.h"

#include "common/Utf8Validity.h"

#include <QStringDecoder>

bool IsValidUtf8(std::string_view bytes)
{
    return IsValidUtf8(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
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
