#include "ToolCursors.h"

QCursor ToolCursor(int32_t number)
{
    switch (number) {
    case 1:
    case 2:
    case 5:
    case 6:
    case 7:
        return QCursor(Qt::CrossCursor);
    case 3:
        return QCursor(Qt::OpenHandCursor);
    case 4:
        return QCursor(Qt::ClosedHandCursor);
    default:
        return QCursor(Qt::ArrowCursor);
    }
}
