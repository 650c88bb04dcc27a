// The main window's window-message interface: numbered messages through which command
// plug-ins (in-process, through the window handle's SendMessage) and other programs (through
// the local socket, only the messages without addresses) query and change the open map.
//
// Records are little-endian; fields are 32-bit signed integers unless stated; offsets in
// bytes. The interface never reads or writes outside the bytes a record describes.
//
//   Name request (wParam of wmLayerName, wmLayerImageName), 8 bytes:
//     0 layer index; 4 buffer size in bytes (in; the needed size on a size query).
//   Selection record (lParam of wmGetSelection, wmSetSelection), 24 bytes:
//     0 active (8 bits, then 3 bytes of padding); 4 X; 8 Y; 12 width; 16 height;
//     20 index (Y × map width + X).
//   Read request (wParam of wmReadCells), 28 bytes:
//     0 not read; 4 layer index; 8 X; 12 Y; 16 width (negative: the map width);
//     20 height (negative: the map height); 24 size of the cell buffer in bytes.
//   Image record (lParam of wmLayerImage), 20 bytes and a name field of
//   ImageRecordNameSize bytes:
//     0 not read; 4 layer index (in); 8 image width (out); 12 image height (out);
//     16 platform handle (out, always 0 here); 20 file name, zero-terminated (out).
//   New-map record (wParam of wmNewMap), 27 bytes:
//     0 not read; 4 layer count (low 8 bits); 8 map width; 12 map height; 16 parts width;
//     20 parts height; 24 bit count (8 bits); 26 bit 0: fixed parts alignment.
#pragma once

#include "WindowMessageHost.h"

#include <cstddef>
#include <cstdint>

enum TWindowMessage : uint32_t {
    wmFirstMessage = 0x8000,
    wmMapWidth = 0x8000,          // map width in cells
    wmMapHeight = 0x8001,         // map height in cells
    wmPartsWidth = 0x8002,        // parts width in pixels
    wmPartsHeight = 0x8003,       // parts height in pixels
    wmBitCount = 0x8004,          // 8 or 16
    wmLayerCount = 0x8005,        // number of layers (low 8 bits)
    wmReserved = 0x8006,          // always 0
    wmAlignmentNotFixed = 0x8007, // 1 when the parts alignment is not fixed
    wmLayerName = 0x8008,         // wParam name request, lParam text buffer; result 0
    wmLayerImageName = 0x8009,    // wParam name request, lParam text buffer
    wmLayerVisible = 0x800A,      // wParam layer index; 1 when visible
    wmGetSelection = 0x8064,      // lParam selection record; result 0
    wmSetSelection = 0x8065,      // lParam selection record; result 0
    wmReadCells = 0x8066,         // wParam read request, lParam cell buffer; 0 or 1
    wmWriteCells = 0x8067,        // wParam byte count, lParam cells; result 0
    wmLayerImage = 0x80C8,        // lParam image record; 0, or 1 when the layer has none
    wmNewMap = 0x812C,            // wParam new-map record; 0 on success, else 1
    wmLastMessage = 0x8320,
};

inline constexpr size_t NameRequestSize = 8;
inline constexpr size_t SelectionRecordSize = 24;
inline constexpr size_t ReadRequestSize = 28;
inline constexpr size_t ImageRecordHeaderSize = 20;
// The room a caller reserves for the image record's file name (the platform's classic path
// limit, terminator included); longer names are cut.
inline constexpr size_t ImageRecordNameSize = 260;
inline constexpr size_t NewMapRecordSize = 27;

// True for the messages this interface owns (0x8000 to 0x8320); the others belong to the
// window's normal handling.
constexpr bool IsTessellaWindowMessage(uint32_t message)
{
    return message >= wmFirstMessage && message <= wmLastMessage;
}

// True for the messages whose parameters carry no addresses: the only ones another
// program may send.
constexpr bool IsAddressFreeMessage(uint32_t message)
{
    return (message >= wmMapWidth && message <= wmAlignmentNotFixed) || message == wmLayerVisible;
}

// Answers one message. Messages of the range that are not listed above return 0 and do
// nothing; messages outside the range also return 0 and do nothing (check
// IsTessellaWindowMessage first to hand those to the normal handling). wParam and lParam
// carry addresses as the table says; null addresses are refused.
intptr_t TessellaWindowMessage(TWindowMessageHost &host, uint32_t message, uintptr_t wParam,
                               intptr_t lParam);
