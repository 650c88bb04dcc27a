#include "plugins/csv/CsvFilePlugin.h"

#include "common/platform/InputFile.h"
#include "plugins/csv/CsvReader.h"
#include "plugins/csv/CsvTokenizer.h"
#include "plugins/csv/CsvWriter.h"
#include "plugins/csv/TextEncoding.h"

#include <cstring>
#include <new>
#include <vector>

const char CsvPluginDescription[] = "CSV Project File Plugin 2012 (comma-separated map text)";
const char CsvPluginFilter[] = "CSV Project File(*.csv)|*.csv";

namespace
{

constexpr size_t FirstReadSize = 64 * 1024;

// Counts the integers of the first line, reading more of the file only while the line
// has not ended.
int32_t CheckHeaderLine(TInputFile &file)
{
    std::vector<char> text;
    for (size_t wanted = FirstReadSize;; wanted *= 2) {
        const uint64_t size = file.Size() < wanted ? file.Size() : wanted;
        const size_t have = text.size();
        text.resize(static_cast<size_t>(size));
        if (!file.ReadExact(text.data() + have, text.size() - have))
            return prFileError;
        const bool whole = text.size() == file.Size();
        const bool doubleByte =
            !IsValidUtf8(reinterpret_cast<const uint8_t *>(text.data()), text.size(), !whole);
        TCsvTokenizer tokenizer(text.data(), text.size(), doubleByte);
        std::vector<int64_t> integers;
        if (ReadHeaderIntegers(tokenizer, integers) || whole)
            return integers.size() == 12 ? prSuccess : prNotSupported;
    }
}

} // namespace

void FillCsvPluginInfo(FilePluginInfo *info)
{
    if (info == nullptr)
        return;
    TessellaCopyInfoText(info->Description, CsvPluginDescription);
    TessellaCopyInfoText(info->Filter, CsvPluginFilter);
    info->Flags = pfProject;
}

// Nothing may be thrown across the library boundary; the reader frees what it owns while
// the exception unwinds.
int32_t IsCsvFileSupported(const char *path)
{
    if (path == nullptr)
        return prBadParameter;
    const size_t length = std::strlen(path);
    if (length <= 2 || std::strcmp(path + length - 3, "csv") != 0)
        return prNotSupported;
    try {
        TInputFile file;
        if (!file.Open(path))
            return prFileError;
        return CheckHeaderLine(file);
    } catch (const std::bad_alloc &) {
        return prNoMemory;
    } catch (...) {
        return prInternalError;
    }
}

int32_t ImportCsvFile(TessellaWindow *window, const char *path, PluginMapRecord *record,
                      ProgressProc progress)
{
    if (window == nullptr || path == nullptr || record == nullptr || progress == nullptr)
        return prBadParameter;
    try {
        return ReadCsvFile(path, *record, progress);
    } catch (const std::bad_alloc &) {
        return prNoMemory;
    } catch (...) {
        return prInternalError;
    }
}

int32_t ExportCsvFile(TessellaWindow *window, const char *path, PluginMapRecord *record,
                      ProgressProc progress)
{
    if (window == nullptr || path == nullptr || record == nullptr || progress == nullptr)
        return prBadParameter;
    try {
        return WriteCsvFile(path, *record, progress);
    } catch (const std::bad_alloc &) {
        return prNoMemory;
    } catch (...) {
        return prInternalError;
    }
}
