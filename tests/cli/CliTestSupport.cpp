#include "CliTestSupport.h"

#include <QColor>
#include <QImageReader>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>

namespace
{

std::string Quoted(const std::string &text)
{
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

} // namespace

TRun RunTessella(const std::vector<std::string> &Arguments, const std::string &Folder,
                 const std::vector<std::string> &Environment)
{
    const TTempFolder output;
    std::string command =
        "cd " + Quoted(Folder) + " && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM";
    for (const std::string &variable : Environment)
        command += " " + Quoted(variable);
    command += " " + Quoted(std::string(TESSELLA_BUILD_DIR) + "/Tessella");
    for (const std::string &argument : Arguments)
        command += " " + Quoted(argument);
    command += " >" + Quoted(output.Path("out")) + " 2>" + Quoted(output.Path("err"));
    TRun run;
    const int status = std::system(command.c_str());
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.Out = ReadFileText(output.Path("out"));
    run.Err = ReadFileText(output.Path("err"));
    return run;
}

void WriteProject(const std::string &Path, PluginMapRecord &Record)
{
    TLoadedFilePlugin plugin("tzp.so");
    TTestWindow window;
    ASSERT_EQ(plugin.Export(window.Handle(), Path.c_str(), &Record, GoOn), prSuccess);
}

int32_t ReadProject(const std::string &Path, PluginMapRecord &Record)
{
    TLoadedFilePlugin plugin("tzp.so");
    TTestWindow window;
    return plugin.Import(window.Handle(), Path.c_str(), &Record, GoOn);
}

QImage PartsImage(int Columns, int Rows, int Size, uint32_t Key)
{
    QImage image(Columns * Size, Rows * Size, QImage::Format_RGB32);
    for (int part = 0; part < Columns * Rows; ++part) {
        const int left = part % Columns * Size;
        const int top = part / Columns * Size;
        const QRgb colour = QColor::fromHsv(part * 37 % 360, 200, 120 + part * 13 % 130).rgb();
        for (int y = 0; y < Size; ++y)
            for (int x = 0; x < Size; ++x) {
                QRgb pixel = colour;
                if (x == y)
                    pixel = qRgb(part * 7 % 256, 255 - part * 5 % 256, 40);
                else if (part % 2 == 1 && x >= Size / 4 && x < Size * 3 / 4 && y >= Size / 4 &&
                         y < Size * 3 / 4)
                    pixel = 0xFF000000u | Key;
                image.setPixel(left + x, top + y, pixel);
            }
    }
    return image;
}

QImage ReadPicture(const std::string &Path)
{
    QImageReader reader(QString::fromStdString(Path));
    QImage image;
    if (!reader.read(&image))
        return QImage();
    return image.convertToFormat(QImage::Format_ARGB32);
}

int RunPeer(const std::string &Folder, const std::string &Arguments, const std::string &Program)
{
    const std::string runtime = Folder + "/runtime";
    std::filesystem::create_directories(runtime);
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
    const std::string command = "cd " + Quoted(Folder) +
                                " && QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=" + Quoted(runtime) +
                                " " + Program + " " + Arguments + " >peer.log 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TAgreement CompareOpaque(const QImage &Peer, const QImage &Ours, const QImage *Skip)
{
    TAgreement agreement;
    for (int y = 0; y < Peer.height(); ++y)
        for (int x = 0; x < Peer.width(); ++x) {
            const QRgb p = Peer.pixel(x, y);
            if (qAlpha(p) != 255 || (Skip != nullptr && Skip->pixel(x, y) != p))
                continue;
            ++agreement.Compared;
            agreement.Differing += (p & 0xFFFFFF) != (Ours.pixel(x, y) & 0xFFFFFF);
        }
    return agreement;
}
