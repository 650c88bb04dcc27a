#include "FileDate.h"

#include <chrono>
#include <filesystem>

std::optional<double> FileDateOf(const std::string &FileName)
{
    std::error_code error;
    const auto written = std::filesystem::last_write_time(FileName, error);
    if (error)
        return std::nullopt;
    const auto system = std::chrono::file_clock::to_sys(written);
    const double seconds = std::chrono::duration<double>(system.time_since_epoch()).count();
    constexpr double kDaysFrom1899ToUnixEpoch = 25569.0;
    return kDaysFrom1899ToUnixEpoch + seconds / 86400.0;
}
