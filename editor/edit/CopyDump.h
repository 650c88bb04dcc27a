// The debug dump "copy.txt" of the clipboard's block: text with CR LF line ends and a
// Shift-JIS heading, as the tools that read the dumps expect. No file or window access here.
#pragma once

#include "editor/map/DefineUnit.h"

#include <string>

std::string FormatCopyDump(const TModified &Request);
