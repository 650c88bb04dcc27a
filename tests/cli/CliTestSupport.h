// Running the built program's command line as a user does, with no display variables
// (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM unset), and building the maps and parts
// images the tests feed it.
#pragma once

#include "common/TessellaPlugin.h"
#include "tests/common/PluginTestSupport.h"

#include <QImage>
#include <string>
#include <vector>

struct TRun {
    int Status = -1;
    std::string Out;
    std::string Err;
};

// build/Tessella with Arguments, run in Folder. Environment: extra "NAME=value" entries
// set after the display variables are removed.
TRun RunTessella(const std::vector<std::string> &Arguments, const std::string &Folder,
                 const std::vector<std::string> &Environment = {});

// Writes the record as a project file through the built tzp plug-in.
void WriteProject(const std::string &Path, PluginMapRecord &Record);
// Reads a project file through the built tzp plug-in; the caller frees it with
// FreeImportedRecord.
int32_t ReadProject(const std::string &Path, PluginMapRecord &Record);

// A parts image of Columns × Rows parts of Size pixels: each part its own colour, with a
// square of the transparent colour Key (0xRRGGBB) in every odd part and a diagonal line.
QImage PartsImage(int Columns, int Rows, int Size, uint32_t Key);

// The pixels of a picture file as 0xAARRGGBB; empty when unreadable.
QImage ReadPicture(const std::string &Path);

// Runs a program of Debian's tiled package ("tmxrasterizer --no-smoothing" or "tiled") in
// Folder with the offscreen platform; its output goes to peer.log there. The exit status.
int RunPeer(const std::string &Folder, const std::string &Arguments,
            const std::string &Program = "tmxrasterizer --no-smoothing");

// How many of the pixels Peer draws fully opaque have the same colour in Ours; pixels that
// differ between Peer and Skip (when given) are not counted.
struct TAgreement {
    int64_t Compared = 0;
    int64_t Differing = 0;
    double Percent() const
    {
        return Compared == 0 ? 0
                             : 100.0 * static_cast<double>(Compared - Differing) /
                                   static_cast<double>(Compared);
    }
};
TAgreement CompareOpaque(const QImage &Peer, const QImage &Ours, const QImage *Skip = nullptr);
