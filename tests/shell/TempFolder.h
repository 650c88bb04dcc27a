// A fresh folder for one test, removed afterwards, with helpers to write files into it.
#pragma once

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <string>

class TTempFolder
{
public:
    std::string Path() const { return dir.path().toStdString(); }
    std::string File(const std::string &relative) const
    {
        return (std::filesystem::path(Path()) / relative).string();
    }
    std::string Write(const std::string &relative, const std::string &bytes) const
    {
        const std::filesystem::path path = File(relative);
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }
    static std::string Read(const std::string &path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

private:
    QTemporaryDir dir;
};
