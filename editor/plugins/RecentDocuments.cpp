#include "RecentDocuments.h"

#include <algorithm>
#include <filesystem>

namespace
{
// "a/./b.tzp" and "a/b.tzp" are one document.
std::string Normal(const std::string &Path)
{
    return std::filesystem::path(Path).lexically_normal().string();
}
} // namespace

void TRecentDocuments::Assign(const std::vector<std::string> &Paths)
{
    FPaths.clear();
    for (const std::string &path : Paths) {
        if (path.empty() || FPaths.size() == kMaxCount)
            continue;
        const std::string normal = Normal(path);
        if (std::find(FPaths.begin(), FPaths.end(), normal) == FPaths.end())
            FPaths.push_back(normal);
    }
}

bool TRecentDocuments::Add(const std::string &Path)
{
    if (Path.empty())
        return false;
    const std::string normal = Normal(Path);
    if (!FPaths.empty() && FPaths.front() == normal)
        return false;
    FPaths.erase(std::remove(FPaths.begin(), FPaths.end(), normal), FPaths.end());
    FPaths.insert(FPaths.begin(), normal);
    if (FPaths.size() > kMaxCount)
        FPaths.resize(kMaxCount);
    return true;
}

std::string TRecentDocuments::Newest(const std::string &OpenPath,
                                     const std::function<bool(const std::string &)> &Usable) const
{
    const std::string open = OpenPath.empty() ? std::string() : Normal(OpenPath);
    for (const std::string &path : FPaths)
        if (path != open && Usable(path))
            return path;
    return {};
}
