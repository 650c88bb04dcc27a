#include "CommandLine.h"
#include "editor/plugins/FileNameText.h"

#include "ConsoleDialogSeam.h"
#include "HeadlessMap.h"
#include "ImageRowWriter.h"
#include "MapImageComposer.h"
#include "MapInfo.h"
#include "editor/plugins/MapFileTransfer.h"

#include <QCoreApplication>
#include <cstdio>
#include <filesystem>
#include <iostream>

namespace
{

namespace fs = std::filesystem;

constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

// "The error occurred while writing x.png." and the reason, as the editor says it.
void ReportWriteFailure(const std::string &path, const std::string &reason)
{
    const std::string text = ReplacePlaceholder(
        Dialogs().GetLangMessage(7, "The error occurred while writing %s."), FileNameOnly(path));
    Dialogs().ShowMessageBox(mkError, text + "(" + reason + ")");
}

bool LoadFilePlugins(TFilePluginHost &plugins, const std::string &programFolder)
{
    if (plugins.LoadPlugins(programFolder, "Plugins"))
        return true;
    Dialogs().ShowMessageBox(mkError,
                             Dialogs().GetLangMessage(22, "File I/O plug-in was not found."));
    return false;
}

int RunInfo(const TFilePluginHost &plugins, const std::string &programFolder,
            const TCommandLineRequest &request)
{
    THeadlessMap map(programFolder, THeadlessUse::Describing);
    if (!map.Open(plugins, request.Files[0]))
        return kFailed;
    const std::string text =
        request.Json ? MapInfoJson(map, request.Files[0]) : MapInfoText(map, request.Files[0]);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return std::fflush(stdout) == 0 ? kDone : kFailed;
}

int RunConvert(const TFilePluginHost &plugins, const std::string &programFolder,
               const TCommandLineRequest &request)
{
    const std::string &source = request.Files[0];
    const std::string &target = request.Files[1];
    THeadlessMap map(programFolder, THeadlessUse::Converting);
    if (!map.Open(plugins, source))
        return kFailed;
    TessellaWindow window = HeadlessWindow();
    const TTransferContext context{plugins, &window, QuietProgress, {}};
    // Any plug-in that writes the target's extension will do, as in Save As and Export.
    const bool saved = SaveThroughPlugins(plugins, target, 0, [&](const TPluginList &entry) {
        return ExportMapFile(context, target, entry.FileName, map.Document(),
                             static_cast<uint8_t>(map.Map().LayerCount()));
    });
    return saved ? kDone : kFailed;
}

// The cell size the map view has at that zoom; 0 when a part would be under one pixel.
int32_t CellSizeAtZoom(int32_t partsSize, uint16_t zoom)
{
    const int64_t size = static_cast<int64_t>(partsSize) * zoom / 256;
    return size >= 1 ? static_cast<int32_t>(size) : 0;
}

int RunRender(const TFilePluginHost &plugins, const std::string &programFolder,
              const TCommandLineRequest &request)
{
    const std::string &source = request.Files[0];
    const std::string &image = request.Files[1];
    std::unique_ptr<TImageRowWriter> writer = MakeImageRowWriter(image);
    THeadlessMap map(programFolder, THeadlessUse::Drawing);
    if (!map.Open(plugins, source))
        return kFailed;
    TMap &document = map.Map();
    // A layer that would be drawn without its picture would make a wrong picture.
    for (int32_t i = 0; i < document.LayerCount(); ++i) {
        const THeadlessLayerImage &layerImage = map.LayerImages()[static_cast<size_t>(i)];
        const bool drawn = request.AllLayers || document.GetLayerVisible(i);
        if (drawn && !layerImage.Resolved.empty() && !layerImage.Loaded) {
            ReportWriteFailure(image, "the parts image of layer " + std::to_string(i) +
                                          " cannot be read: " + layerImage.Resolved);
            return kFailed;
        }
        if (request.AllLayers)
            document.SetLayerVisible(i, true);
    }
    const int32_t cellWidth = CellSizeAtZoom(document.PartsWidth(), request.Zoom);
    const int32_t cellHeight = CellSizeAtZoom(document.PartsHeight(), request.Zoom);
    if (cellWidth == 0 || cellHeight == 0) {
        char zoom[32];
        std::snprintf(zoom, sizeof zoom, "%g", request.ZoomPercent);
        ReportWriteFailure(image, std::string("at ") + zoom + " % a part of " +
                                      std::to_string(document.PartsWidth()) + " x " +
                                      std::to_string(document.PartsHeight()) +
                                      " pixels is smaller than one pixel");
        return kFailed;
    }
    TMapImageComposer composer(document, map.Parts(), map.Settings(), cellWidth, cellHeight);
    std::string error;
    if (!composer.CanCompose(error) ||
        !writer->Begin(image, composer.ImageWidth(), composer.ImageHeight(), error)) {
        ReportWriteFailure(image, error);
        return kFailed;
    }
    const bool composed = composer.Compose(
        [&](int32_t y, const uint32_t *pixels) { return writer->WriteRow(y, pixels); });
    if (!composed || !writer->Finish()) {
        ReportWriteFailure(image, "cannot write the file");
        return kFailed;
    }
    return kDone;
}

int RunRequest(const TCommandLineRequest &request, const std::string &programFolder)
{
    if (request.Command == TCommand::Help) {
        std::cout << UsageText() << std::flush;
        return kDone;
    }
    if (request.Command == TCommand::Version) {
        std::cout << "Tessella " << TESSELLA_VERSION << "\n" << std::flush;
        return kDone;
    }
    if (request.Command == TCommand::Render && !MakeImageRowWriter(request.Files[1])) {
        std::cerr << "Tessella: the picture must be a .png or .bmp file: " << request.Files[1]
                  << "\n\n"
                  << UsageText();
        return kUsage;
    }
    TFilePluginHost plugins;
    if (!LoadFilePlugins(plugins, programFolder))
        return kFailed;
    switch (request.Command) {
    case TCommand::Info:
        return RunInfo(plugins, programFolder, request);
    case TCommand::Convert:
        return RunConvert(plugins, programFolder, request);
    default:
        return RunRender(plugins, programFolder, request);
    }
}

} // namespace

int RunCommandLine(int argc, char **argv)
{
    std::vector<std::string> arguments(argv + 1, argv + argc);
    TCommandLineRequest request = ParseCommandLine(arguments);
    if (!request.Error.empty()) {
        std::cerr << "Tessella: " << request.Error << "\n\n" << UsageText();
        return kUsage;
    }
    // Relative paths are the shell's: they are fixed before anything changes the current
    // folder (the plug-ins are loaded from the program's folder).
    for (std::string &file : request.Files)
        file = fs::absolute(fs::path(file)).lexically_normal().string();

    QCoreApplication application(argc, argv);
    TConsoleDialogSeam seam;
    TDialogSeam *previous = InstallDialogSeam(&seam);
    const int status = RunRequest(request, QCoreApplication::applicationDirPath().toStdString());
    InstallDialogSeam(previous);
    return status;
}
