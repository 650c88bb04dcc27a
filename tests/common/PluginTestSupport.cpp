#include "tests/common/PluginTestSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <ftw.h>
#include <iterator>
#include <stdexcept>
#include <unistd.h>

TTempFolder::TTempFolder()
{
    const char *base = std::getenv("TMPDIR");
    std::string pattern =
        std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/tessella-test-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary folder");
    RootPath = buffer.data();
}

TTempFolder::~TTempFolder()
{
    nftw(
        RootPath.c_str(),
        [](const char *path, const struct stat *, int, struct FTW *) { return remove(path); }, 16,
        FTW_DEPTH | FTW_PHYS);
}

std::vector<std::string> TTempFolder::Entries() const
{
    std::vector<std::string> names;
    if (DIR *dir = opendir(RootPath.c_str())) {
        while (const dirent *entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..")
                names.push_back(name);
        }
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<uint8_t> ReadFileBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteFileBytes(const std::string &path, const std::vector<uint8_t> &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

void WriteFileText(const std::string &path, const std::string &text)
{
    WriteFileBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

std::string ReadFileText(const std::string &path)
{
    const std::vector<uint8_t> bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

TBytes &TBytes::U8(uint8_t value)
{
    Data.push_back(value);
    return *this;
}

TBytes &TBytes::U16(uint16_t value)
{
    return U8(static_cast<uint8_t>(value)).U8(static_cast<uint8_t>(value >> 8));
}

TBytes &TBytes::U32(uint32_t value)
{
    return U16(static_cast<uint16_t>(value)).U16(static_cast<uint16_t>(value >> 16));
}

TBytes &TBytes::Id(const char *fourcc)
{
    Data.insert(Data.end(), fourcc, fourcc + 4);
    return *this;
}

TBytes &TBytes::Text(const std::string &text)
{
    Data.insert(Data.end(), text.begin(), text.end());
    return *this;
}

TBytes &TBytes::CText(const std::string &text)
{
    return Text(text).U8(0);
}

TBytes &TBytes::Raw(const std::vector<uint8_t> &bytes)
{
    Data.insert(Data.end(), bytes.begin(), bytes.end());
    return *this;
}

TBytes &TBytes::Repeat(uint8_t value, size_t count)
{
    Data.insert(Data.end(), count, value);
    return *this;
}

TBytes &TBytes::Chunk(const char *id, const TBytes &data, bool pad)
{
    Id(id).U32(static_cast<uint32_t>(data.Size())).Raw(data.Data);
    if (pad && (data.Size() & 1))
        U8(0);
    return *this;
}

TBytes &TBytes::List(const char *id, const char *type, const TBytes &content, bool pad)
{
    TBytes data;
    data.Id(type).Raw(content.Data);
    return Chunk(id, data, pad);
}

std::vector<uint8_t> ProjectFile(const TBytes &chunks)
{
    TBytes file;
    file.Id("RIFF").U32(static_cast<uint32_t>(4 + chunks.Size())).Id("UMF_").Raw(chunks.Data);
    return file.Data;
}

std::string PluginPath(const char *fileName)
{
    return std::string(TESSELLA_BUILD_DIR) + "/Plugins/" + fileName;
}

TLoadedFilePlugin::TLoadedFilePlugin(const char *fileName) : Library(PluginPath(fileName))
{
    GetApiVersion = Library.Function<FilePluginGetApiVersionProc>("GetApiVersion");
    GetTessellaPluginInfo = Library.Function<FilePluginGetInfoProc>("GetTessellaPluginInfo");
    IsSupported = Library.Function<FilePluginIsSupportedProc>("IsSupported");
    Import = Library.Function<FilePluginImportProc>("Import");
    Export = Library.Function<FilePluginExportProc>("Export");
}

std::set<std::string> ExportedSymbols(const std::string &libraryPath)
{
    std::set<std::string> names;
    const std::string command = "nm -D --defined-only '" + libraryPath + "' 2>/dev/null";
    FILE *pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return names;
    char line[1024];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        // "address type name", the name being the last field.
        std::string text(line);
        while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
            text.pop_back();
        const size_t space = text.find_last_of(' ');
        names.insert(space == std::string::npos ? text : text.substr(space + 1));
    }
    pclose(pipe);
    return names;
}

namespace
{

int32_t AnswerFromQueue(TessellaWindow *window, const char *title, const char *filter,
                        const char *defaultExt, char *result, uint32_t resultSize)
{
    auto *self = static_cast<TTestWindow *>(window->Host);
    self->Questions.push_back({title, filter, defaultExt, resultSize});
    if (self->Answers.empty())
        return 0;
    const std::string answer = self->Answers.front();
    self->Answers.pop_front();
    std::snprintf(result, resultSize, "%s", answer.c_str());
    return 1;
}

void RecordNotice(TessellaWindow *window, const char *text)
{
    static_cast<TTestWindow *>(window->Host)->Notices.emplace_back(text);
}

} // namespace

TTestWindow::TTestWindow() : Window{}
{
    Window.StructSize = sizeof(TessellaWindow);
    Window.Host = this;
    Window.AskOpenFileName = AnswerFromQueue;
    Window.ShowNotice = RecordNotice;
}

int32_t GoOn(int32_t, int32_t, const char *)
{
    return 1;
}

std::vector<TProgressLog::TCall> TProgressLog::Calls;
size_t TProgressLog::StopAt = 0;

void TProgressLog::Reset(size_t stopAt)
{
    Calls.clear();
    StopAt = stopAt;
}

int32_t TProgressLog::Callback(int32_t position, int32_t total, const char *message)
{
    Calls.push_back({position, total, message != nullptr ? message : ""});
    return Calls.size() == StopAt ? 0 : 1;
}

bool RecordOwnsNothing(const PluginMapRecord &record)
{
    return record.Layers == nullptr && record.Comment == nullptr && record.HiddenData == nullptr;
}

TTestMap::TTestMap(uint32_t width, uint32_t height, size_t layers)
    : Names(layers), Images(layers), Cells(layers), Layers(layers)
{
    Record.Width = width;
    Record.Height = height;
    Record.PartsWidth = 32;
    Record.PartsHeight = 32;
    Record.LayerCount = static_cast<uint8_t>(layers);
    Record.BitCount = 16;
    Record.Zoom = 256;
    Record.TransReserved = 255;
    Record.InvisibleReserved = 255;
    for (size_t i = 0; i < layers; ++i) {
        Names[i] = "Layer " + std::to_string(i + 1);
        Cells[i].resize(size_t{width} * height);
        for (size_t k = 0; k < Cells[i].size(); ++k)
            Cells[i][k] = static_cast<uint16_t>(k * 7 + i * 1000);
    }
}

PluginMapRecord &TTestMap::Bind(bool withComment, bool withHidden)
{
    for (size_t i = 0; i < Layers.size(); ++i) {
        Layers[i].Name = Names[i].data();
        Layers[i].PartsImage = Images[i].empty() ? nullptr : Images[i].data();
        Layers[i].Cells = Cells[i].data();
    }
    Record.LayerCount = static_cast<uint8_t>(Layers.size());
    Record.Layers = Layers.empty() ? nullptr : Layers.data();
    Record.Comment = withComment && !Comment.empty() ? Comment.data() : nullptr;
    Record.HiddenSize = withHidden ? static_cast<uint32_t>(Hidden.size()) : 0;
    Record.HiddenData = withHidden && !Hidden.empty() ? Hidden.data() : nullptr;
    return Record;
}

std::vector<uint8_t> BmpFile(int32_t width, int32_t height)
{
    const uint32_t rowSize = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
    const uint32_t pixels = rowSize * static_cast<uint32_t>(height);
    TBytes bmp;
    bmp.Text("BM").U32(54 + pixels).U32(0).U32(54);
    bmp.U32(40).U32(static_cast<uint32_t>(width)).U32(static_cast<uint32_t>(height));
    bmp.U16(1).U16(24).U32(0).U32(pixels).U32(2835).U32(2835).U32(0).U32(0);
    bmp.Repeat(0x80, pixels);
    return bmp.Data;
}
