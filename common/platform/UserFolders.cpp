#include "common/platform/UserFolders.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

std::string UserStateFolder()
{
    const char *state = std::getenv("XDG_STATE_HOME");
    if (state != nullptr && state[0] == '/')
        return state;
    const char *home = std::getenv("HOME");
    std::string homeFolder = home != nullptr ? home : "";
    if (homeFolder.empty()) {
        if (const passwd *user = getpwuid(getuid()); user != nullptr && user->pw_dir != nullptr)
            homeFolder = user->pw_dir;
    }
    if (homeFolder.empty())
        return std::string();
    return homeFolder + "/.local/state";
}

bool MakePrivateFolder(const std::string &path)
{
    if (path.empty())
        return false;
    for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (!part.empty() && mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            break;
    }
    struct stat info {
    };
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

int64_t CurrentProcessId()
{
    return static_cast<int64_t>(getpid());
}
