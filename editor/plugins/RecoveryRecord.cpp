#include "RecoveryRecord.h"

#include "common/platform/InputFile.h"
#include "common/platform/ReplacingFile.h"

#include <charconv>
#include <vector>

namespace
{

constexpr std::string_view Header = "Tessella recovery 1";
// The last line: a record without it was cut short.
constexpr std::string_view EndLine = "end";

std::string Escaped(const std::string &value)
{
    std::string text;
    for (const char c : value) {
        if (c == '\\')
            text += "\\\\";
        else if (c == '\n')
            text += "\\n";
        else
            text += c;
    }
    return text;
}

std::optional<std::string> Unescaped(std::string_view value)
{
    std::string text;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\') {
            text += value[i];
            continue;
        }
        if (++i == value.size())
            return std::nullopt;
        if (value[i] == '\\')
            text += '\\';
        else if (value[i] == 'n')
            text += '\n';
        else
            return std::nullopt;
    }
    return text;
}

std::optional<int64_t> Number(std::string_view value, int64_t lowest, int64_t highest)
{
    int64_t number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (error != std::errc() || end != value.data() + value.size() || number < lowest ||
        number > highest)
        return std::nullopt;
    return number;
}

} // namespace

std::string FormatRecoveryRecord(const TRecoveryRecord &Record)
{
    std::string text(Header);
    text += "\nname=" + Escaped(Record.DocumentName);
    text += "\npath=" + Escaped(Record.DocumentPath);
    text += "\nplugin=" + Escaped(Record.DocumentPlugin);
    text += "\nfilter=" + std::to_string(Record.ProjectPlugin);
    text += "\npathmode=" + std::to_string(Record.PathMode);
    return text + "\n" + std::string(EndLine) + "\n";
}

std::optional<TRecoveryRecord> ParseRecoveryRecord(std::string_view Text)
{
    if (Text.size() > MaxRecoveryRecordSize)
        return std::nullopt;
    TRecoveryRecord record;
    bool named = false;
    bool first = true;
    while (!Text.empty()) {
        const size_t end = Text.find('\n');
        if (end == std::string_view::npos)
            return std::nullopt; // a record that was cut short
        const std::string_view line = Text.substr(0, end);
        Text.remove_prefix(end + 1);
        if (first) {
            if (line != Header)
                return std::nullopt;
            first = false;
            continue;
        }
        if (line == EndLine) {
            if (!Text.empty() || !named)
                return std::nullopt;
            return record;
        }
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            return std::nullopt;
        const std::string_view key = line.substr(0, equals);
        const std::optional<std::string> value = Unescaped(line.substr(equals + 1));
        if (!value)
            return std::nullopt;
        if (key == "name") {
            record.DocumentName = *value;
            named = !value->empty();
        } else if (key == "path") {
            if (!value->empty() && value->front() != '/')
                return std::nullopt;
            record.DocumentPath = *value;
        } else if (key == "plugin") {
            record.DocumentPlugin = *value;
        } else if (key == "filter") {
            const std::optional<int64_t> number = Number(*value, 0, 255);
            if (!number)
                return std::nullopt;
            record.ProjectPlugin = static_cast<int32_t>(*number);
        } else if (key == "pathmode") {
            const std::optional<int64_t> number = Number(*value, 0, 1);
            if (!number)
                return std::nullopt;
            record.PathMode = static_cast<uint8_t>(*number);
        }
    }
    return std::nullopt; // no end line
}

std::optional<TRecoveryRecord> ReadRecoveryRecord(const std::string &Path)
{
    TInputFile file;
    if (!file.Open(Path.c_str()) || file.Size() > MaxRecoveryRecordSize)
        return std::nullopt;
    std::vector<char> text(static_cast<size_t>(file.Size()));
    if (!file.ReadExact(text.data(), text.size()))
        return std::nullopt;
    return ParseRecoveryRecord(std::string_view(text.data(), text.size()));
}

bool WriteRecoveryRecord(const std::string &Path, const TRecoveryRecord &Record)
{
    const std::string text = FormatRecoveryRecord(Record);
    TReplacingFile file;
    return file.Open(Path) && file.Write(text.data(), text.size()) && file.Commit();
}
