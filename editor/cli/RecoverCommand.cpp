#include "RecoverCommand.h"

#include "HeadlessMap.h"
#include "editor/map/DialogSeam.h"
#include "editor/plugins/MapFileTransfer.h"
#include "editor/plugins/RecoveryFolder.h"

#include <ctime>
#include <vector>

namespace
{

std::string LocalTime(int64_t seconds)
{
    const std::time_t time = static_cast<std::time_t>(seconds);
    std::tm parts{};
    char text[32] = "";
    if (localtime_r(&time, &parts) != nullptr)
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &parts);
    return text;
}

} // namespace

int PrintRecoveryCopies(std::ostream &Out, const std::string &Folder)
{
    const std::vector<TRecoveryCopy> copies = ListRecoveryCopies(Folder);
    if (copies.empty()) {
        Out << "No recovery copies in " << Folder << "\n" << std::flush;
        return 0;
    }
    int number = 0;
    for (const TRecoveryCopy &copy : copies) {
        const std::string name = copy.Record ? copy.Record->DocumentName : "(no name)";
        const std::string path = copy.Record && !copy.Record->DocumentPath.empty()
                                     ? copy.Record->DocumentPath
                                     : "(never saved)";
        Out << ++number << "\t" << name << "\t" << path << "\t" << LocalTime(copy.WrittenTime)
            << "\t" << copy.Size << " bytes" << (copy.InUse ? "\t(its editor is running)" : "")
            << "\n";
    }
    Out << std::flush;
    return Out ? 0 : 1;
}

int RecoverCopy(const TFilePluginHost &Plugins, const std::string &ProgramFolder,
                const std::string &Folder, int32_t Number, const std::string &Target)
{
    const std::vector<TRecoveryCopy> copies = ListRecoveryCopies(Folder);
    if (Number < 1 || static_cast<size_t>(Number) > copies.size()) {
        Dialogs().ShowMessageBox(mkError, "There is no recovery copy " + std::to_string(Number) +
                                              " (" + std::to_string(copies.size()) +
                                              " listed by --recover).");
        return 1;
    }
    const TRecoveryCopy &copy = copies[static_cast<size_t>(Number - 1)];
    THeadlessMap map(ProgramFolder, THeadlessUse::Converting);
    if (!map.Open(Plugins, copy.Files.CopyPath()))
        return 1;
    if (copy.Record)
        map.Document().SetRelativePaths(copy.Record->PathMode != 0);
    TessellaWindow window = HeadlessWindow();
    const TTransferContext context{Plugins, &window, QuietProgress, {}};
    const bool saved = SaveThroughPlugins(Plugins, Target, 0, [&](const TPluginList &entry) {
        return ExportMapFile(context, Target, entry.FileName, map.Document(),
                             static_cast<uint8_t>(map.Map().LayerCount()));
    });
    return saved ? 0 : 1;
}
