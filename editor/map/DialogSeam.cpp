#include "DialogSeam.h"

#include <new>
#include <stdexcept>

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

std::string FailureText(const std::exception &failure)
{
    if (dynamic_cast<const std::bad_alloc *>(&failure) != nullptr ||
        dynamic_cast<const std::length_error *>(&failure) != nullptr)
        return Dialogs().GetLangMessage(4, "Not enough memory.");
    return failure.what();
}
