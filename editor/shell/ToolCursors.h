// The map view's tool cursors by the numbers they are registered under: "CR_PEN" 1,
// "CR_TILEPEN" 2, "CR_HAND" 3, "CR_CLOSEHAND" 4, "CR_DROPPER" 5, "CR_PAINTCAN" 6,
// "CR_ERASER" 7. Other numbers give the arrow.
#pragma once

#include <QCursor>
#include <cstdint>

QCursor ToolCursor(int32_t number);
