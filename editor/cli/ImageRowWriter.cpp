#include "ImageRowWriter.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

std::unique_ptr<TImageRowWriter> MakePngRowWriter();
std::unique_ptr<TImageRowWriter> MakeBmpRowWriter();

std::unique_ptr<TImageRowWriter> MakeImageRowWriter(const std::string &Path)
{
    std::string extension = std::filesystem::path(Path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".png")
        return MakePngRowWriter();
    if (extension == ".bmp")
        return MakeBmpRowWriter();
    return nullptr;
}
