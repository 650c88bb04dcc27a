#include "plugins/project/PartsImageLocator.h"

#include "common/platform/CurrentDirectory.h"
#include "plugins/project/BmpWidth.h"

#include <algorithm>
#include <cstddef>

namespace
{

bool CanAsk(const TessellaWindow *window)
{
    constexpr size_t needed =
        offsetof(TessellaWindow, AskOpenFileName) + sizeof window->AskOpenFileName;
    return window != nullptr && window->StructSize >= needed && window->AskOpenFileName != nullptr;
}

} // namespace

int32_t LocatePartsImage(TessellaWindow *window, std::string &reference, uint32_t &width)
{
    std::string relative = reference;
    std::replace(relative.begin(), relative.end(), '\\', '/');
    std::string folder = GetCurrentDirectoryPath();
    if (folder == "/")
        folder.clear();
    const std::string path = folder + "/" + relative;
    if (ReadBmpWidth(path.c_str(), width))
        return prSuccess;

    if (!CanAsk(window))
        return prCancelled;
    const std::string title = "Where is " + reference + "?";
    char chosen[ChosenImagePathSize] = {};
    if (window->AskOpenFileName(window, title.c_str(), "Bitmap File (*.bmp)|*.bmp", "bmp", chosen,
                                ChosenImagePathSize) == 0)
        return prCancelled;
    chosen[ChosenImagePathSize - 1] = '\0';
    if (!ReadBmpWidth(chosen, width))
        return prCancelled;
    reference = chosen;
    return prSuccess;
}
