// The editor's clipboard: one block of cells between copy and paste, also between two
// running editors, on the system clipboard under a private MIME type.
#pragma once

#include "DefineUnit.h"

#include <cstdint>

class TTessellaClipboard
{
public:
    TTessellaClipboard();

    // Replaces the clipboard's content with the request. Raises std::runtime_error with
    // "Tessella Clipboard Service Error." when the system clipboard cannot take it.
    void SetData(const TModified &Request, uint8_t BitCount);
    // Fills the request from the clipboard, converting to BitCount; leaves it unchanged
    // when the clipboard holds no block of ours.
    void GetData(TModified &Request, uint8_t BitCount) const;
    bool HasData() const;

    static const char *MimeType();
};
