#include "FrameCommands.h"

#include "PanelPicture.h"
#include "PlatformCommands.h"
#include "ScenarioRunner.h"
#include "VirtualBoard.h"

#include <QWidget>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>

namespace sim {

namespace {

namespace fs = std::filesystem;

const char *const captureSuffixes[] = {"fm", "bmp", "tiff", "png"};

bool isCaptureSuffix(const std::string &word)
{
    return std::find(std::begin(captureSuffixes), std::end(captureSuffixes), word) != std::end(captureSuffixes);
}

bool parseUnsigned(const std::string &text, unsigned long max, unsigned long &value)
{
    if (text.empty() || text[0] < '0' || text[0] > '9')
        return false;
    char *end = nullptr;
    errno = 0;
    value = std::strtoul(text.c_str(), &end, 10);
    return errno == 0 && *end == '\0' && value <= max;
}

// The captures on the stick that is in: the files of the four formats in its
// "Image/" folder (temporary files are hidden and do not count).
bool captureFiles(ScenarioContext &context, const std::string &suffix, std::vector<fs::path> &files,
                  std::string &problem)
{
    const char letter = context.board.tree().usbLetter();
    if (letter == 0) {
        problem = "no stick in";
        return false;
    }
    const fs::path folder = context.board.tree().path(std::string("/run/media/sd") + letter + "1/Image");
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        const std::string extension = entry->path().extension().string();
        if (!entry->is_regular_file() || name.empty() || name[0] == '.' || extension.size() < 2)
            continue;
        const std::string found = extension.substr(1);
        if (suffix.empty() ? isCaptureSuffix(found) : found == suffix)
            files.push_back(entry->path());
    }
    return true;
}

ScenarioCommand captureFormatCommand()
{
    return {"capture format", "capture format fm|bmp|tiff|png",
            [](const std::vector<std::string> &a) {
                return a.size() == 1 && isCaptureSuffix(a[0]) ? std::string() : "needs fm, bmp, tiff or png";
            },
            [](ScenarioContext &, const std::vector<std::string> &a) {
                std::string problem;
                return writeServiceFifo("frame " + a[0] + "\n", problem)
                           ? Outcome::passed()
                           : Outcome::failed("the service FIFO to take the format", problem);
            }};
}

ScenarioCommand expectCaptureCommand()
{
    return {"expect capture", "expect capture <count> [fm|bmp|tiff|png]",
            [](const std::vector<std::string> &a) {
                unsigned long count;
                if (a.empty() || a.size() > 2 || !parseUnsigned(a[0], 100000, count))
                    return std::string("needs a count and maybe a format");
                return a.size() == 1 || isCaptureSuffix(a[1]) ? std::string() : "unknown format '" + a[1] + "'";
            },
            [](ScenarioContext &context, const std::vector<std::string> &a) {
                unsigned long expected = 0;
                parseUnsigned(a[0], 100000, expected);
                std::vector<fs::path> files;
                std::string problem;
                const std::string what = a[0] + (a.size() == 2 ? " ." + a[1] : std::string()) + " capture(s)";
                if (!captureFiles(context, a.size() == 2 ? a[1] : std::string(), files, problem))
                    return Outcome::failed(what, problem);
                return files.size() == expected ? Outcome::passed()
                                                : Outcome::failed(what, std::to_string(files.size()));
            }};
}

ScenarioCommand expectCaptureSizeCommand()
{
    return {"expect capture-size", "expect capture-size <bytes>",
            [](const std::vector<std::string> &a) {
                unsigned long bytes;
                return a.size() == 1 && parseUnsigned(a[0], 0xFFFFFFFFul, bytes) ? std::string()
                                                                                 : "needs a size in bytes";
            },
            [](ScenarioContext &context, const std::vector<std::string> &a) {
                std::vector<fs::path> files;
                std::string problem;
                if (!captureFiles(context, std::string(), files, problem) || files.empty())
                    return Outcome::failed("a capture of " + a[0] + " bytes", files.empty() ? "no capture" : problem);
                std::error_code error;
                const auto newest = std::max_element(files.begin(), files.end(), [&](const fs::path &x, const fs::path &y) {
                    const auto tx = fs::last_write_time(x, error);
                    const auto ty = fs::last_write_time(y, error);
                    return tx != ty ? tx < ty : x.filename() < y.filename();
                });
                const uintmax_t size = fs::file_size(*newest, error);
                if (std::to_string(size) == a[0])
                    return Outcome::passed();
                return Outcome::failed(newest->filename().string() + " of " + a[0] + " bytes", std::to_string(size));
            }};
}

ScenarioCommand expectPanelPixelCommand()
{
    return {"expect panel-pixel", "expect panel-pixel <x> <y> <r> <g> <b> [<tolerance>]",
            [](const std::vector<std::string> &a) {
                unsigned long value;
                if (a.size() != 5 && a.size() != 6)
                    return std::string("needs x, y, red, green, blue (0-255) and maybe a tolerance");
                if (!parseUnsigned(a[0], PanelPicture::width - 1, value)
                    || !parseUnsigned(a[1], PanelPicture::height - 1, value))
                    return std::string("x and y lie within 1920 x 1080");
                for (size_t i = 2; i < a.size(); ++i) {
                    if (!parseUnsigned(a[i], 255, value))
                        return "bad component '" + a[i] + "' (0-255)";
                }
                return std::string();
            },
            [](ScenarioContext &context, const std::vector<std::string> &a) {
                unsigned long v[6] = {0, 0, 0, 0, 0, 1};
                for (size_t i = 0; i < a.size(); ++i)
                    parseUnsigned(a[i], 0xFFFFFFFFul, v[i]);
                QImage panel;
                if (!grabPanel(context, panel))
                    return Outcome::failed("a running application", "it has ended");
                const QRgb pixel = panel.convertToFormat(QImage::Format_RGB32).pixel(static_cast<int>(v[0]),
                                                                                      static_cast<int>(v[1]));
                const long found[3] = {qRed(pixel), qGreen(pixel), qBlue(pixel)};
                bool near = true;
                for (int c = 0; c < 3; ++c)
                    near = near && std::labs(found[c] - static_cast<long>(v[2 + c])) <= static_cast<long>(v[5]);
                const auto text = [](long r, long g, long b) {
                    return "(" + std::to_string(r) + ", " + std::to_string(g) + ", " + std::to_string(b) + ")";
                };
                if (near)
                    return Outcome::passed();
                return Outcome::failed(text(static_cast<long>(v[2]), static_cast<long>(v[3]), static_cast<long>(v[4]))
                                           + " within " + std::to_string(v[5]),
                                       text(found[0], found[1], found[2]));
            }};
}

} // namespace

bool grabPanel(ScenarioContext &context, QImage &panel)
{
    QImage plane;
    if (!context.onUi([&](QWidget &window) { plane = window.grab().toImage(); }))
        return false;
    panel = PanelPicture::render(context.board.pl(), context.board.picture(), plane);
    return true;
}

void addFrameCommands(CommandTable &commands)
{
    for (const ScenarioCommand &command :
         {captureFormatCommand(), expectCaptureCommand(), expectCaptureSizeCommand(), expectPanelPixelCommand()})
        commands.add(command);
}

} // namespace sim
