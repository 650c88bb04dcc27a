#include "PluginNotice.h"

#include "TextEncoding.h"

#include "editor/map/DialogSeam.h"

void ShowPluginNotice(TessellaWindow *, const char *Text)
{
    if (Text == nullptr || *Text == '\0')
        return;
    Dialogs().ShowMessageBox(mkInformation, SystemTextToUtf8(Text));
}
