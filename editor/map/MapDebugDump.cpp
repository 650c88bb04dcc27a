// The debug dumps "map.txt" and "modify.txt": plain text with CR LF line ends and
// Shift-JIS headings, as the tools that read them expect.
#include "MapDataUnit.h"

#include <filesystem>
#include <fstream>
#include <string>

namespace
{

// "マップデータの出力結果", "参照なし", "変更履歴データの出力結果", "サイズ：" in Shift-JIS.
const char *const kMapHeading =
    "\x83\x7D\x83\x62\x83\x76\x83\x66\x81\x5B\x83\x5E\x82\xCC\x8F\x6F\x97\xCD\x8C\x8B\x89\xCA";
const char *const kNoReference = "\x8E\x51\x8F\xC6\x82\xC8\x82\xB5";
const char *const kModifyHeading = "\x95\xCF\x8D\x58\x97\x9A\x97\xF0\x83\x66\x81\x5B\x83\x5E"
                                   "\x82\xCC\x8F\x6F\x97\xCD\x8C\x8B\x89\xCA";
const char *const kSize = "\x83\x54\x83\x43\x83\x59\x81\x46";
const char *const kLineEnd = "\r\n";

std::string DumpPath(const std::string &folder, const char *name)
{
    if (folder.empty())
        return name;
    return (std::filesystem::path(folder) / name).string();
}

const char *KindName(TModifyType kind)
{
    switch (kind) {
    case mtEmpty:
        return "mtEmpty";
    case mtData:
        return "mtData";
    case mtBegin:
        return "mtBegin";
    case mtEnd:
        return "mtEnd";
    }
    return "";
}

} // namespace

bool TMap::DebugOut_Map(const std::string &Folder) const
{
    std::ofstream out(DumpPath(Folder, "map.txt"), std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    out << kLineEnd << kMapHeading << kLineEnd;
    out << "Width=" << FWidth << ":Height=" << FHeight << kLineEnd;
    for (const TMapLayer &layer : FLayers) {
        out << kLineEnd;
        out << "name:" << layer.Name << kLineEnd;
        out << "chip:" << (layer.Chip != nullptr ? layer.Chip->FileName : kNoReference) << kLineEnd;
        int64_t column = 0;
        for (uint16_t cell : layer.Data) {
            out << cell << ',';
            if (++column == FWidth) {
                out << kLineEnd;
                column = 0;
            }
        }
    }
    out << "[EOF]" << kLineEnd;
    return static_cast<bool>(out);
}

bool TMap::DebugOut_Modify(const std::string &Folder) const
{
    std::ofstream out(DumpPath(Folder, "modify.txt"), std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    out << kLineEnd << kModifyHeading << kLineEnd;
    out << "index=" << FModifyRecords.size() << kLineEnd;
    out << "modifyCursor=" << FModifyCursor << kLineEnd;
    for (size_t i = 0; i < FModifyRecords.size(); ++i) {
        const TModifyRecord &record = FModifyRecords[i];
        out << kLineEnd;
        out << "index:" << i << kLineEnd;
        out << KindName(record.Kind) << kLineEnd;
        out << "layer:" << record.Layer << kLineEnd;
        out << kSize << record.Width << ", " << record.Height << kLineEnd;
        out << "startIndex:" << record.StartIndex << kLineEnd;
        int64_t column = 0;
        for (size_t k = 0; k < record.Before.size(); ++k) {
            const uint16_t after = k < record.After.size() ? record.After[k] : 0;
            out << record.Before[k] << '(' << after << "),";
            if (++column == record.Width) {
                out << kLineEnd;
                column = 0;
            }
        }
        out << kLineEnd;
    }
    out << "[EOF]" << kLineEnd;
    return static_cast<bool>(out);
}
