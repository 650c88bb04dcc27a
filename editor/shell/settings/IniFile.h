// An INI text file in memory: section lines "[name]" followed by "key=value" lines.
//
// Section and key names compare case-insensitively (ASCII letters). Booleans are written
// "1"/"0"; on reading, any non-zero integer is true. Everything the file holds that is not
// asked for — comments, unknown sections and keys, blank lines, the spelling and spacing of
// untouched lines, the line-ending style and a byte-order mark — is written back unchanged.
//
// Reading is forgiving: a line that is neither a section, a key nor a comment is kept as it
// is and means nothing; a "[" line without "]" is not a section; keys before the first
// section belong to no section. A value enclosed in a pair of matching quotes is read
// without them, which is how a value keeps leading or trailing blanks.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

enum class TIniReadResult {
    Read,    // the file was read
    Missing, // there is no such file: the INI is empty, which is not an error
    Failed,  // the file exists but cannot be read (permissions, a folder, too large)
};

class TIniFile
{
public:
    TIniFile() = default;
    explicit TIniFile(std::string name) : fileName(std::move(name)) {}

    const std::string &FileName() const { return fileName; }
    void SetFileName(std::string name) { fileName = std::move(name); }

    // Reads FileName. Files that are not valid UTF-8 are taken as code page 932.
    TIniReadResult Load();
    // Writes the whole content to FileName, creating its folder when needed; the old file
    // is replaced only once the new one is complete.
    bool UpdateFile() const;

    // The same without a file: bytes as a file holds them, and the text a save would write.
    void LoadFromBytes(std::string_view bytes);
    std::string SaveToBytes() const;
    void Clear();

    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view key) const;

    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    // Decimal, or hexadecimal with "0x" or "$"; anything else yields the default.
    int32_t ReadInteger(std::string_view section, std::string_view key, int32_t defaultValue) const;
    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

    // Writes replace the first entry of that name, or add the key at the end of its section,
    // or add the section at the end of the file. Names that a file cannot hold (empty, with
    // line breaks, a key with "=" or one that would read as a section or a comment) are
    // refused: the write returns false and changes nothing. Line breaks inside a value
    // become blanks; text that is not UTF-8 is taken as code page 932, like a file's.
    bool WriteString(std::string_view section, std::string_view key, std::string_view value);
    bool WriteInteger(std::string_view section, std::string_view key, int32_t value);
    bool WriteBool(std::string_view section, std::string_view key, bool value);

    void DeleteKey(std::string_view section, std::string_view key);
    void EraseSection(std::string_view section);

    // Names as the file spells them, in file order, each name once.
    std::vector<std::string> SectionNames() const;
    std::vector<std::string> KeyNames(std::string_view section) const;

private:
    enum class TLineKind { Other, Section, Key };
    struct TLine {
        std::string Text; // the line as read or written, without its line break
        TLineKind Kind = TLineKind::Other;
        std::string Name;   // section or key name, trimmed, as spelled
        std::string Folded; // Name in lower case, for comparing
        std::string Value;  // key value as read (trimmed, quotes removed)
    };
    struct TSectionIndex {
        std::unordered_map<std::string, size_t> Keys; // folded key -> first line
        std::vector<size_t> Headers;                  // header lines, in file order
        size_t LastKeyLine = 0;                       // where a new key goes after
    };

    static TLine ParseLine(std::string_view text);
    const TSectionIndex *FindSection(std::string_view section) const;
    std::optional<size_t> FindKey(std::string_view section, std::string_view key) const;
    void RebuildIndex() const;

    std::string fileName;
    std::vector<TLine> lines;
    std::string lineBreak = "\n";
    bool byteOrderMark = false;
    bool endsWithLineBreak = true;

    mutable bool indexValid = false;
    mutable std::unordered_map<std::string, TSectionIndex> index;
};

// Integer text as the INI reads it.
std::optional<int32_t> ParseIniInteger(std::string_view text);
