// A file's last modification time as the parts table keeps it: days (with fractions) since
// 1899-12-30, the date-time convention stored alongside parts images.
#pragma once

#include <optional>
#include <string>

// Nothing when the file does not exist (or cannot be examined).
std::optional<double> FileDateOf(const std::string &FileName);
