#include "common/platform/CurrentDirectory.h"

#include <cerrno>
#include <unistd.h>
#include <vector>

std::string GetCurrentDirectoryPath()
{
    std::vector<char> buffer(4096);
    while (getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE || buffer.size() > (1u << 20))
            return {};
        buffer.resize(buffer.size() * 2);
    }
    return std::string(buffer.data());
}

bool SetCurrentDirectoryPath(const std::string &path)
{
    return chdir(path.c_str()) == 0;
}
