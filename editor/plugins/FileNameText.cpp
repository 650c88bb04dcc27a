#include "FileNameText.h"

#include <filesystem>

namespace fs = std::filesystem;

std::string FileNameOnly(const std::string &path)
{
    return fs::path(path).filename().string();
}

std::string FolderOf(const std::string &path)
{
    return fs::absolute(fs::path(path)).parent_path().string();
}

std::string ReplacePlaceholder(std::string text, const std::string &name)
{
    for (size_t at = 0; (at = text.find('%', at)) != std::string::npos;) {
        if (at + 1 < text.size() && (text[at + 1] == 's' || text[at + 1] == 'S')) {
            text.replace(at, 2, name);
            at += name.size();
        } else {
            ++at;
        }
    }
    return text;
}

std::string PatternPart(const std::string &filter)
{
    const size_t bar = filter.find('|');
    return bar == std::string::npos ? std::string() : filter.substr(bar + 1);
}
