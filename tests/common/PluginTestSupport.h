// Helpers shared by the file plug-in tests: temporary folders, byte-exact file building,
// loading the built plug-ins as the editor does, and acting as their host.
#pragma once

#include "common/ImportedRecord.h"
#include "common/TessellaPlugin.h"
#include "common/platform/DynamicLibrary.h"

#include <cstdint>
#include <deque>
#include <set>
#include <string>
#include <vector>

// A fresh folder under the system's temporary folder, removed with everything in it.
class TTempFolder
{
public:
    TTempFolder();
    ~TTempFolder();
    TTempFolder(const TTempFolder &) = delete;
    TTempFolder &operator=(const TTempFolder &) = delete;

    const std::string &Root() const { return RootPath; }
    std::string Path(const std::string &name) const { return RootPath + "/" + name; }
    // Names in the folder, sorted (hidden ones too).
    std::vector<std::string> Entries() const;

private:
    std::string RootPath;
};

std::vector<uint8_t> ReadFileBytes(const std::string &path);
void WriteFileBytes(const std::string &path, const std::vector<uint8_t> &bytes);
void WriteFileText(const std::string &path, const std::string &text);
std::string ReadFileText(const std::string &path);

// Little-endian bytes built field by field, for files written byte by byte.
class TBytes
{
public:
    TBytes &U8(uint8_t value);
    TBytes &U16(uint16_t value);
    TBytes &U32(uint32_t value);
    TBytes &Id(const char *fourcc);
    TBytes &Text(const std::string &text);  // without terminator
    TBytes &CText(const std::string &text); // with a NUL
    TBytes &Raw(const std::vector<uint8_t> &bytes);
    TBytes &Repeat(uint8_t value, size_t count);
    // A chunk: identifier, size of data, data, and a pad byte after an odd size when pad.
    TBytes &Chunk(const char *id, const TBytes &data, bool pad = true);
    // A "LIST" (or "RIFF") with its type and content.
    TBytes &List(const char *id, const char *type, const TBytes &content, bool pad = true);
    size_t Size() const { return Data.size(); }

    std::vector<uint8_t> Data;
};

// A project file: "RIFF", the size of what follows, "UMF_" and the chunks.
std::vector<uint8_t> ProjectFile(const TBytes &chunks);

std::string PluginPath(const char *fileName);

// A file plug-in loaded from build/Plugins through the platform wrapper, as the editor
// loads it.
struct TLoadedFilePlugin {
    explicit TLoadedFilePlugin(const char *fileName);

    TDynamicLibrary Library;
    FilePluginGetApiVersionProc GetApiVersion = nullptr;
    FilePluginGetInfoProc GetTessellaPluginInfo = nullptr;
    FilePluginIsSupportedProc IsSupported = nullptr;
    FilePluginImportProc Import = nullptr;
    FilePluginExportProc Export = nullptr;
};

// The names of a library's dynamic symbol table (defined symbols only).
std::set<std::string> ExportedSymbols(const std::string &libraryPath);

// The host's window handle, answering file questions from a queue (an empty queue
// cancels) and recording what was asked and every notice shown.
struct TTestWindow {
    TTestWindow();
    TTestWindow(const TTestWindow &) = delete;
    TTestWindow &operator=(const TTestWindow &) = delete;

    struct TQuestion {
        std::string Title;
        std::string Filter;
        std::string DefaultExt;
        uint32_t ResultSize;
    };

    TessellaWindow Window; // Host points back at this object
    std::deque<std::string> Answers;
    std::vector<TQuestion> Questions;
    std::vector<std::string> Notices;

    TessellaWindow *Handle() { return &Window; }
};

// Progress callbacks: one that always goes on, and one that says stop at a chosen call.
int32_t GoOn(int32_t position, int32_t total, const char *message);
struct TProgressLog {
    struct TCall {
        int32_t Position;
        int32_t Total;
        std::string Message;
    };
    // Calls seen since Reset; the callback answers 0 at call number StopAt (1-based).
    static std::vector<TCall> Calls;
    static size_t StopAt;
    static void Reset(size_t stopAt = 0);
    static int32_t Callback(int32_t position, int32_t total, const char *message);
};

// Whether a failed import left nothing behind that the host would have to free.
bool RecordOwnsNothing(const PluginMapRecord &record);

// A test map: its record points into the vectors it owns.
struct TTestMap {
    TTestMap(uint32_t width, uint32_t height, size_t layers);

    std::vector<std::string> Names;
    std::vector<std::string> Images; // empty: the layer has no parts image
    std::vector<std::vector<uint16_t>> Cells;
    std::vector<PluginLayerRecord> Layers;
    std::string Comment;
    std::vector<uint8_t> Hidden;
    PluginMapRecord Record{};

    // Points the record at the current names, images, cells, comment and hidden block.
    PluginMapRecord &Bind(bool withComment = true, bool withHidden = true);
};

// A 24-bit BMP file of the given pixel size.
std::vector<uint8_t> BmpFile(int32_t width, int32_t height);
