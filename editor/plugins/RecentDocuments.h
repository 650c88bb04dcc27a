// The documents opened or saved last, newest first, each once and at most ten: the entries
// of File > Recent Files, the file Reopen Closed File opens and the folder a new map's file
// dialogs start in. The list holds full paths and knows nothing of settings or the disk.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

class TRecentDocuments
{
public:
    static constexpr size_t kMaxCount = 10;

    const std::vector<std::string> &Paths() const { return FPaths; }
    // A list as stored: empty entries and repeats are dropped, the oldest beyond ten too.
    void Assign(const std::vector<std::string> &Paths);
    // Path becomes the newest entry; false when it already was.
    bool Add(const std::string &Path);
    // The newest entry other than OpenPath for which Usable holds; empty when none.
    std::string Newest(const std::string &OpenPath,
                       const std::function<bool(const std::string &)> &Usable) const;

private:
    std::vector<std::string> FPaths;
};
