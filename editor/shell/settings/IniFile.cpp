#include "IniFile.h"

#include "editor/plugins/TextEncoding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace
{

// Settings and language files are a few kilobytes; anything this large is not one.
constexpr qint64 MaxFileSize = 64 * 1024 * 1024;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r';
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string Fold(std::string_view name)
{
    std::string folded(name);
    for (char &c : folded) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return folded;
}

bool IsQuote(char c)
{
    return c == '"' || c == '\'';
}

std::string_view Unquote(std::string_view value)
{
    if (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// The value as a line holds it, so that reading it back gives exactly the value.
std::string FormatValue(std::string_view value)
{
    std::string text(value);
    for (char &c : text) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    const bool needsQuotes =
        !text.empty() &&
        (IsBlank(text.front()) || IsBlank(text.back()) ||
         (text.size() >= 2 && IsQuote(text.front()) && text.back() == text.front()));
    if (needsQuotes)
        return '"' + text + '"';
    return text;
}

bool HasLineBreak(std::string_view text)
{
    return text.find_first_of("\r\n") != std::string_view::npos;
}

bool IsStorableSectionName(std::string_view name)
{
    return !name.empty() && Trim(name) == name && !HasLineBreak(name);
}

bool IsStorableKeyName(std::string_view name)
{
    return !name.empty() && Trim(name) == name && !HasLineBreak(name) &&
           name.find('=') == std::string_view::npos && name.front() != '[' && name.front() != ';' &&
           name.front() != '#';
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::optional<int32_t> ParseIniInteger(std::string_view text)
{
    text = Trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    bool hex = false;
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        hex = true;
        text.remove_prefix(2);
    } else if (!text.empty() && text.front() == '$') {
        hex = true;
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    if (hex) {
        // Up to eight digits: colours such as 0xFFFFFFFF wrap into the 32 bits.
        if (text.size() > 8)
            return std::nullopt;
        uint32_t value = 0;
        for (char c : text) {
            const int digit = HexDigit(c);
            if (digit < 0)
                return std::nullopt;
            value = (value << 4) | static_cast<uint32_t>(digit);
        }
        if (negative)
            value = 0u - value;
        return static_cast<int32_t>(value);
    }
    int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > int64_t{INT32_MAX} + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX || value < INT32_MIN)
        return std::nullopt;
    return static_cast<int32_t>(value);
}

TIniFile::TLine TIniFile::ParseLine(std::string_view text)
{
    TLine line;
    line.Text = std::string(text);
    const std::string_view trimmed = Trim(text);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#')
        return line;
    if (trimmed.front() == '[') {
        const size_t close = trimmed.rfind(']');
        if (close != std::string_view::npos && close > 0) {
            line.Kind = TLineKind::Section;
            line.Name = std::string(Trim(trimmed.substr(1, close - 1)));
            line.Folded = Fold(line.Name);
        }
        return line;
    }
    const size_t equals = trimmed.find('=');
    if (equals == std::string_view::npos)
        return line;
    const std::string_view key = Trim(trimmed.substr(0, equals));
    if (key.empty())
        return line;
    line.Kind = TLineKind::Key;
    line.Name = std::string(key);
    line.Folded = Fold(line.Name);
    line.Value = std::string(Unquote(Trim(trimmed.substr(equals + 1))));
    return line;
}

void TIniFile::Clear()
{
    lines.clear();
    lineBreak = "\n";
    byteOrderMark = false;
    endsWithLineBreak = true;
    indexValid = false;
}

void TIniFile::LoadFromBytes(std::string_view bytes)
{
    Clear();
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        byteOrderMark = true;
        bytes.remove_prefix(3);
    }
    const std::string text = SystemTextToUtf8(bytes);

    bool lineBreakSeen = false;
    size_t start = 0;
    const size_t n = text.size();
    while (start < n) {
        size_t end = start;
        while (end < n && text[end] != '\n' && text[end] != '\r')
            ++end;
        lines.push_back(ParseLine(std::string_view(text).substr(start, end - start)));
        if (end == n) {
            endsWithLineBreak = false;
            break;
        }
        const size_t breakLength =
            (text[end] == '\r' && end + 1 < n && text[end + 1] == '\n') ? 2 : 1;
        if (!lineBreakSeen) {
            lineBreak = text.substr(end, breakLength);
            lineBreakSeen = true;
        }
        start = end + breakLength;
    }
}

std::string TIniFile::SaveToBytes() const
{
    std::string bytes;
    if (byteOrderMark)
        bytes = "\xEF\xBB\xBF";
    for (size_t i = 0; i < lines.size(); ++i) {
        bytes += lines[i].Text;
        if (i + 1 < lines.size() || endsWithLineBreak)
            bytes += lineBreak;
    }
    return bytes;
}

TIniReadResult TIniFile::Load()
{
    Clear();
    const QString name = QString::fromStdString(fileName);
    const QFileInfo info(name);
    if (!info.exists())
        return TIniReadResult::Missing;
    if (!info.isFile() || info.size() > MaxFileSize)
        return TIniReadResult::Failed;
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        return TIniReadResult::Failed;
    const QByteArray bytes = file.read(MaxFileSize + 1);
    if (bytes.size() > MaxFileSize || file.error() != QFileDevice::NoError)
        return TIniReadResult::Failed;
    LoadFromBytes(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    return TIniReadResult::Read;
}

bool TIniFile::UpdateFile() const
{
    const QString name = QString::fromStdString(fileName);
    if (name.isEmpty())
        return false;
    const QFileInfo info(name);
    if (!QDir().mkpath(info.absolutePath()))
        return false;
    QSaveFile file(name);
    // A folder that takes no new files still lets an existing file be rewritten in place.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const std::string bytes = SaveToBytes();
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
        static_cast<qint64>(bytes.size())) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

void TIniFile::RebuildIndex() const
{
    index.clear();
    TSectionIndex *current = nullptr;
    for (size_t i = 0; i < lines.size(); ++i) {
        const TLine &line = lines[i];
        if (line.Kind == TLineKind::Section) {
            current = &index[line.Folded];
            current->Headers.push_back(i);
            current->LastKeyLine = i;
        } else if (line.Kind == TLineKind::Key && current != nullptr) {
            current->Keys.try_emplace(line.Folded, i);
            current->LastKeyLine = i;
        }
    }
    indexValid = true;
}

const TIniFile::TSectionIndex *TIniFile::FindSection(std::string_view section) const
{
    if (!indexValid)
        RebuildIndex();
    const auto found = index.find(Fold(section));
    return found == index.end() ? nullptr : &found->second;
}

std::optional<size_t> TIniFile::FindKey(std::string_view section, std::string_view key) const
{
    const TSectionIndex *found = FindSection(section);
    if (found == nullptr)
        return std::nullopt;
    const auto entry = found->Keys.find(Fold(key));
    if (entry == found->Keys.end())
        return std::nullopt;
    return entry->second;
}

bool TIniFile::SectionExists(std::string_view section) const
{
    return FindSection(section) != nullptr;
}

bool TIniFile::ValueExists(std::string_view section, std::string_view key) const
{
    return FindKey(section, key).has_value();
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const
{
    const std::optional<size_t> line = FindKey(section, key);
    if (!line)
        return std::string(defaultValue);
    return lines[*line].Value;
}

int32_t TIniFile::ReadInteger(std::string_view section, std::string_view key,
                              int32_t defaultValue) const
{
    const std::optional<size_t> line = FindKey(section, key);
    if (!line)
        return defaultValue;
    return ParseIniInteger(lines[*line].Value).value_or(defaultValue);
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool TIniFile::WriteString(std::string_view sectionText, std::string_view keyText,
                           std::string_view valueText)
{
    // The file stays UTF-8: text in the system code page is converted on the way in.
    const std::string section = SystemTextToUtf8(sectionText);
    const std::string key = SystemTextToUtf8(keyText);
    if (!IsStorableSectionName(section) || !IsStorableKeyName(key))
        return false;
    const std::string text = FormatValue(SystemTextToUtf8(valueText));
    if (const std::optional<size_t> existing = FindKey(section, key)) {
        TLine &line = lines[*existing];
        line = ParseLine(line.Name + "=" + text);
        return true;
    }
    TLine added = ParseLine(key + "=" + text);
    if (const TSectionIndex *found = FindSection(section)) {
        const size_t at = found->LastKeyLine + 1;
        if (at == lines.size())
            endsWithLineBreak = true;
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(added));
    } else {
        endsWithLineBreak = true;
        if (!lines.empty() && !Trim(lines.back().Text).empty())
            lines.push_back(ParseLine(""));
        lines.push_back(ParseLine("[" + section + "]"));
        lines.push_back(std::move(added));
    }
    indexValid = false;
    return true;
}

bool TIniFile::WriteInteger(std::string_view section, std::string_view key, int32_t value)
{
    return WriteString(section, key, std::to_string(value));
}

bool TIniFile::WriteBool(std::string_view section, std::string_view key, bool value)
{
    return WriteString(section, key, value ? "1" : "0");
}

void TIniFile::DeleteKey(std::string_view section, std::string_view key)
{
    // Every entry of that name goes, so that an older duplicate does not come back.
    const TSectionIndex *found = FindSection(section);
    if (found == nullptr)
        return;
    const std::string folded = Fold(key);
    const std::string foldedSection = Fold(section);
    std::vector<TLine> kept;
    kept.reserve(lines.size());
    bool inside = false;
    for (TLine &line : lines) {
        if (line.Kind == TLineKind::Section)
            inside = line.Folded == foldedSection;
        else if (inside && line.Kind == TLineKind::Key && line.Folded == folded)
            continue;
        kept.push_back(std::move(line));
    }
    lines = std::move(kept);
    indexValid = false;
}

void TIniFile::EraseSection(std::string_view section)
{
    if (FindSection(section) == nullptr)
        return;
    const std::string folded = Fold(section);
    std::vector<TLine> kept;
    kept.reserve(lines.size());
    bool inside = false;
    for (TLine &line : lines) {
        if (line.Kind == TLineKind::Section)
            inside = line.Folded == folded;
        if (!inside)
            kept.push_back(std::move(line));
    }
    lines = std::move(kept);
    indexValid = false;
}

std::vector<std::string> TIniFile::SectionNames() const
{
    std::vector<std::string> names;
    std::unordered_map<std::string, bool> seen;
    for (const TLine &line : lines) {
        if (line.Kind == TLineKind::Section && seen.try_emplace(line.Folded, true).second)
            names.push_back(line.Name);
    }
    return names;
}

std::vector<std::string> TIniFile::KeyNames(std::string_view section) const
{
    std::vector<std::string> names;
    if (FindSection(section) == nullptr)
        return names;
    const std::string folded = Fold(section);
    std::unordered_map<std::string, bool> seen;
    bool inside = false;
    for (const TLine &line : lines) {
        if (line.Kind == TLineKind::Section)
            inside = line.Folded == folded;
        else if (inside && line.Kind == TLineKind::Key &&
                 seen.try_emplace(line.Folded, true).second)
            names.push_back(line.Name);
    }
    return names;
}
