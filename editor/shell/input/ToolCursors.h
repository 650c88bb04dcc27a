// The map view's tool cursors by the numbers they are registered under: "CR_PEN" 1,
// "CR_TILEPEN" 2, "CR_HAND" 3, "CR_CLOSEHAND" 4, "CR_DROPPER" 5, "CR_PAINTCAN" 6,
// "CR_ERASER" 7. Each is our own SVG image (":/cursors/<name>.svg", from resources/cursors),
// 32 x 32 on its design grid, rendered at the screen's device pixel ratio. Other numbers give
// the arrow. Knows nothing of tools or views: callers choose the number.
#pragma once

#include <QCursor>
#include <QPoint>
#include <cstdint>

QCursor ToolCursor(int32_t number);

// Where the cursor acts, on the 32 x 32 design grid; (-1, -1) for numbers without an image.
QPoint ToolCursorHotSpot(int32_t number);
