#include "plugins/tmx/TiledImport.h"

#include "common/ImportedRecord.h"
#include "common/platform/InputFile.h"
#include "plugins/tmx/DerivedFiles.h"
#include "plugins/tmx/TiledConversion.h"
#include "plugins/tmx/TiledError.h"
#include "plugins/tmx/TiledNotes.h"
#include "plugins/tmx/Utf8Text.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <nlohmann/json.hpp>

namespace fs = std::filesystem;

namespace
{

void Notify(TessellaWindow *window, const std::string &text)
{
    if (!text.empty() && TessellaCanShowNotice(window))
        window->ShowNotice(window, ValidUtf8(text).c_str());
}

std::string LowerExtension(const char *path)
{
    std::string extension = fs::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

// The start of a file: an XML document whose first element is <map>, or a JSON object
// naming an orientation.
bool LooksLikeTiledMap(const std::string &head)
{
    const char first = FirstSignificantCharacter(head.data(), head.size());
    if (first == '{')
        return head.find("\"orientation\"") != std::string::npos &&
               head.find("\"tilesets\"") != std::string::npos;
    if (first != '<')
        return false;
    for (size_t at = head.find('<'); at != std::string::npos; at = head.find('<', at + 1)) {
        if (head.compare(at, 2, "<?") == 0 || head.compare(at, 2, "<!") == 0)
            continue;
        return head.compare(at, 4, "<map") == 0 &&
               (at + 4 == head.size() || std::isspace(static_cast<unsigned char>(head[at + 4])) ||
                head[at + 4] == '>');
    }
    return false;
}

// A reference as the record stores it: relative to the map's folder, folders separated by
// "\". The editor reads it as UTF-8, so a name that is not cannot be handed over.
std::string Reference(const TTiledMap &map, const std::string &path)
{
    const fs::path relative = fs::path(path).lexically_relative(map.Folder);
    std::string text = relative.empty() ? path : relative.generic_string();
    if (ValidUtf8(text) != text)
        ThrowNotSupported(map.FileName, "the image name " + ValidUtf8(text) +
                                            " is not UTF-8 text, which the editor cannot name");
    std::replace(text.begin(), text.end(), '/', '\\');
    return text;
}

int32_t Fill(const TConvertedMap &map, const std::vector<std::string> &references,
             PluginMapRecord &record, TImportedRecord &owned, ProgressProc progress)
{
    const size_t count = std::max<size_t>(map.Layers.size(), 1);
    if (!owned.AllocateLayers(count))
        return prNoMemory;
    const size_t cells = static_cast<size_t>(map.Width) * static_cast<size_t>(map.Height);
    record.LayerCount = static_cast<uint8_t>(count);
    for (size_t i = 0; i < count; ++i) {
        PluginLayerRecord &layer = owned.Layer(i);
        auto *buffer = static_cast<uint16_t *>(TessellaAlloc(cells * sizeof(uint16_t)));
        layer.Cells = buffer;
        if (buffer == nullptr)
            return prNoMemory;
        if (map.Layers.empty()) {
            // A map of objects alone still opens, with one empty layer.
            std::fill_n(buffer, cells, map.InvisiblePart);
            layer.Visible = 1;
        } else {
            const TConvertedLayer &source = map.Layers[i];
            std::memcpy(buffer, source.Cells.data(), cells * sizeof(uint16_t));
            layer.Name = TImportedRecord::CopyText(source.Name.data(), source.Name.size());
            if (layer.Name == nullptr)
                return prNoMemory;
            layer.Visible = source.Visible ? 1 : 0;
            if (source.Image >= 0) {
                const std::string &reference = references[static_cast<size_t>(source.Image)];
                layer.PartsImage = TImportedRecord::CopyText(reference.data(), reference.size());
                if (layer.PartsImage == nullptr)
                    return prNoMemory;
            }
        }
        if (progress(static_cast<int32_t>(i), static_cast<int32_t>(count), "Importing...") == 0)
            return prCancelled;
    }
    return prSuccess;
}

int32_t Import(TessellaWindow *window, const char *path, PluginMapRecord &record,
               ProgressProc progress, const TReadLimits &limits)
{
    const std::string fullPath = fs::absolute(path).lexically_normal().string();
    const TTiledMap tiled = ReadTiledMap(fullPath, limits);
    const TConvertedMap map = ConvertTiledMap(tiled);

    TDerivedFiles files(tiled.Folder, tiled.FileName);
    const std::vector<std::string> derivedNames = files.ChooseNames(map.Derived);
    std::vector<std::string> references;
    for (const TConvertedImage &image : map.Images)
        references.push_back(image.Derived >= 0 ? derivedNames[static_cast<size_t>(image.Derived)]
                                                : Reference(tiled, image.Path));

    TImportedRecord owned(&record);
    record.Width = static_cast<uint32_t>(map.Width);
    record.Height = static_cast<uint32_t>(map.Height);
    record.PartsWidth = static_cast<uint32_t>(map.PartsWidth);
    record.PartsHeight = static_cast<uint32_t>(map.PartsHeight);
    record.BitCount = map.BitCount;
    record.PathMode = 1;
    record.AlignFlags = 1;
    record.TransEnabled = map.TransEnabled ? 1 : 0;
    // The record holds colours as 0x00BBGGRR.
    record.TransColor = (map.TransColour & 0xFF) << 16 | (map.TransColour & 0xFF00) |
                        (map.TransColour >> 16 & 0xFF);
    record.UseInvisiblePart = 1;
    record.InvisiblePart = map.InvisiblePart;
    record.HiddenSize = 0;
    record.HiddenData = nullptr;
    record.Comment = nullptr;
    if (map.Comment) {
        char *comment = TImportedRecord::CopyText(map.Comment->data(), map.Comment->size());
        if (comment == nullptr)
            return prNoMemory;
        owned.AdoptComment(comment);
    }
    const int32_t result = Fill(map, references, record, owned, progress);
    if (result != prSuccess) {
        record.LayerCount = 0;
        return result;
    }
    files.Write(map.Derived);
    Notify(window, NoticeText(tiled.FileName, map.LeftOut, files.FileNames()));
    files.Keep();
    owned.Commit();
    return prSuccess;
}

} // namespace

int32_t IsTiledFileSupported(const char *Path)
{
    if (Path == nullptr)
        return prBadParameter;
    try {
        TInputFile file;
        if (!file.Open(Path))
            return prNotSupported;
        const std::string extension = LowerExtension(Path);
        if (extension == ".tmx" || extension == ".tmj")
            return prSuccess;
        std::string head(static_cast<size_t>(std::min<uint64_t>(file.Size(), 65536)), '\0');
        if (!file.ReadExact(head.data(), head.size()))
            return prNotSupported;
        return LooksLikeTiledMap(head) ? prSuccess : prNotSupported;
    } catch (const std::bad_alloc &) {
        return prNoMemory;
    } catch (...) {
        return prInternalError;
    }
}

int32_t ImportTiledFile(TessellaWindow *Window, const char *Path, PluginMapRecord *Record,
                        ProgressProc Progress, const TReadLimits &Limits)
{
    if (Window == nullptr || Path == nullptr || Record == nullptr || Progress == nullptr)
        return prBadParameter;
    try {
        return Import(Window, Path, *Record, Progress, Limits);
    } catch (const ETiledError &error) {
        Notify(Window, error.what());
        return error.Code;
    } catch (const std::bad_alloc &) {
        Notify(Window, fs::path(Path).filename().string() + ": not enough memory to open it");
        return prNoMemory;
    } catch (const nlohmann::json::exception &error) {
        Notify(Window,
               fs::path(Path).filename().string() + ": the JSON is broken (" + error.what() + ")");
        return prBrokenFile;
    } catch (const std::exception &error) {
        Notify(Window, fs::path(Path).filename().string() + ": " + error.what());
        return prInternalError;
    }
}
