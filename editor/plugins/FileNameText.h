// The small path and text helpers of the file commands and their messages: a file's name and
// folder, the "%s" of a message, and the pattern half of a file-dialog filter.
#pragma once

#include <string>

// The file's name without its folder.
std::string FileNameOnly(const std::string &path);
// The full path of the folder the file is in.
std::string FolderOf(const std::string &path);
// Every "%s" of the text, whatever its case, becomes the name.
std::string ReplacePlaceholder(std::string text, const std::string &name);
// The pattern part of a filter "Label|pattern": the text after its first "|".
std::string PatternPart(const std::string &filter);
