// A temporary file in the system temporary folder that holds layer cells while the
// map is resized, so that the old and the new cells of every layer never need to be in
// memory together. Created exclusively under a fresh name; removed by Remove or on
// destruction. Failures raise ETemporaryFolderFailure, naming the folder.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>

class TLayerParkingFile
{
public:
    TLayerParkingFile() = default;
    ~TLayerParkingFile();
    TLayerParkingFile(const TLayerParkingFile &) = delete;
    TLayerParkingFile &operator=(const TLayerParkingFile &) = delete;

    void Open(const std::string &Prefix);
    void Write(const uint16_t *Cells, size_t Count); // appends
    void Flush();
    void Read(uint64_t FirstCell, uint16_t *Cells, size_t Count);
    void Remove();
    const std::string &Path() const { return FPath; }

private:
    std::fstream FFile;
    std::string FPath;
    std::string FFolder;
};
