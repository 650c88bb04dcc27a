#include "ConsoleDialogSeam.h"

void TConsoleDialogSeam::ShowMessageBox(int32_t Kind, const std::string &Text)
{
    const char *prefix = "";
    if (Kind == mkCaution)
        prefix = "caution: ";
    else if (Kind != mkError && Kind != mkInformation)
        return;
    std::fprintf(FOutput, "Tessella: %s%s\n", prefix, Text.c_str());
    std::fflush(FOutput);
}
