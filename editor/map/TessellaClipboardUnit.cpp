#include "TessellaClipboardUnit.h"

#include "ClipboardBlock.h"

#include <QByteArray>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <stdexcept>

TTessellaClipboard::TTessellaClipboard() = default;

const char *TTessellaClipboard::MimeType()
{
    return "application/x-tessella-clipboard";
}

void TTessellaClipboard::SetData(const TModified &Request, uint8_t BitCount)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr)
        throw std::runtime_error("Tessella Clipboard Service Error.");
    const std::vector<uint8_t> block = EncodeClipboardBlock(Request, BitCount);
    auto *mime = new QMimeData;
    mime->setData(MimeType(), QByteArray(reinterpret_cast<const char *>(block.data()),
                                         static_cast<qsizetype>(block.size())));
    clipboard->setMimeData(mime); // the clipboard takes ownership
}

void TTessellaClipboard::GetData(TModified &Request, uint8_t BitCount) const
{
    const QClipboard *clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr)
        return;
    const QMimeData *mime = clipboard->mimeData();
    if (mime == nullptr || !mime->hasFormat(MimeType()))
        return;
    const QByteArray block = mime->data(MimeType());
    DecodeClipboardBlock(reinterpret_cast<const uint8_t *>(block.constData()),
                         static_cast<size_t>(block.size()), Request, BitCount);
}

bool TTessellaClipboard::HasData() const
{
    const QClipboard *clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr)
        return false;
    const QMimeData *mime = clipboard->mimeData();
    return mime != nullptr && mime->hasFormat(MimeType());
}
