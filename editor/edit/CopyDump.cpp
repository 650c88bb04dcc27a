#include "CopyDump.h"

namespace
{

// "コピーデータの出力結果" and "変更範囲" in Shift-JIS.
const char *const kCopyHeading =
    "\x83\x52\x83\x73\x81\x5B\x83\x66\x81\x5B\x83\x5E\x82\xCC\x8F\x6F\x97\xCD\x8C\x8B\x89\xCA";
const char *const kRange = "\x95\xCF\x8D\x58\x94\xCD\x88\xCD";
const char *const kLineEnd = "\r\n";

std::string RangeLine(const char *prefix, const TSelection &block)
{
    return std::string(prefix) + kRange + "(" + std::to_string(block.X) + ", " +
           std::to_string(block.Y) + ")-(" + std::to_string(block.X + block.DX) + ", " +
           std::to_string(block.Y + block.DY) + ")" + kLineEnd;
}

} // namespace

std::string FormatCopyDump(const TModified &Request)
{
    std::string text = kLineEnd;
    text += std::string(kCopyHeading) + kLineEnd;
    text += "copy layer=" + std::to_string(Request.Layer) + kLineEnd;
    text += kLineEnd;
    text += RangeLine("Src", Request.Source);
    text += RangeLine("Dst", Request.Target);
    text += "srcPitch:" + std::to_string(Request.SrcPitch) + kLineEnd;
    for (uint16_t value : Request.Data)
        text += std::to_string(value) + ",";
    text += kLineEnd;
    text += "[EOF]";
    text += kLineEnd;
    return text;
}
