#include "DialogSeam.h"

namespace
{
TQuietDialogSeam quietSeam;
TDialogSeam *installedSeam = &quietSeam;
} // namespace

TDialogSeam &Dialogs()
{
    return *installedSeam;
}

TDialogSeam *InstallDialogSeam(TDialogSeam *seam)
{
    TDialogSeam *previous = installedSeam;
    installedSeam = seam != nullptr ? seam : &quietSeam;
    return previous;
}
