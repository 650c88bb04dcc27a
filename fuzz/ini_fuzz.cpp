// libFuzzer target for the INI reader and writer: any bytes load without a crash, what a
// save writes loads back to the same content, and edits keep everything else in place.
#include "editor/plugins/TextEncoding.h"
#include "editor/shell/language/LanguageCatalogue.h"
#include "editor/shell/settings/IniFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace
{
std::string Fold(std::string text)
{
    for (char &c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

void Check(bool condition)
{
    if (!condition)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    TIniFile ini;
    ini.LoadFromBytes(bytes);

    // The text a save writes reads back to itself.
    const std::string saved = ini.SaveToBytes();
    TIniFile reread;
    reread.LoadFromBytes(saved);
    Check(reread.SaveToBytes() == saved);

    // Every key reads the same after the round trip.
    for (const std::string &section : ini.SectionNames()) {
        for (const std::string &key : ini.KeyNames(section)) {
            Check(reread.ReadString(section, key, "\x01") == ini.ReadString(section, key, "\x01"));
            (void)ini.ReadInteger(section, key, 0);
            (void)ini.ReadBool(section, key, false);
        }
    }
    (void)LoadLangList(ini, "Strings");
    (void)LoadLangList(ini, "Messages");

    // A write reads back as written, and other keys keep their values.
    const std::string value = size > 4 ? bytes.substr(size / 2, 8) : std::string(" padded ");
    if (reread.WriteString("General", "Language", value)) {
        std::string expected = SystemTextToUtf8(value);
        for (char &c : expected) {
            if (c == '\r' || c == '\n')
                c = ' ';
        }
        TIniFile edited;
        edited.LoadFromBytes(reread.SaveToBytes());
        Check(edited.ReadString("General", "Language", "\x01") == expected);
        // The rest of a UTF-8 file stays exactly as it was (a code page 932 file is
        // written back as UTF-8 and so reads the same anyway).
        for (const std::string &section : ini.SectionNames()) {
            for (const std::string &key : ini.KeyNames(section)) {
                if (Fold(section) == "general" && Fold(key) == "language")
                    continue;
                Check(edited.ReadString(section, key, "\x01") ==
                      ini.ReadString(section, key, "\x01"));
            }
        }
    }
    reread.EraseSection("General");
    Check(!reread.SectionExists("general"));
    return 0;
}
