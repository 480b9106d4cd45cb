#include "VideoCommands.h"

#include "MainWindow.h"
#include "ScenarioRunner.h"
#include "VideoModel.h"
#include "VirtualBoard.h"

#include <cerrno>
#include <cstdlib>

namespace sim {

namespace {

bool parseValue(const std::string &text, unsigned long max, uint32_t &value)
{
    if (text.empty() || text[0] == '-')
        return false;
    char *end = nullptr;
    errno = 0;
    const unsigned long parsed = std::strtoul(text.c_str(), &end, 0);
    if (errno != 0 || *end != '\0' || parsed > max)
        return false;
    value = static_cast<uint32_t>(parsed);
    return true;
}

bool parseChannel(const std::string &text, int &channel)
{
    if (text != "0" && text != "1")
        return false;
    channel = text == "0" ? 0 : 1;
    return true;
}

// "sdi <W>x<H> <rate> [422|444|rgb] [10|12] [A|B]": the format and its link.
std::string parseSdi(const std::vector<std::string> &a, VideoModel::Format &format)
{
    if (a.size() < 2 || a.size() > 5)
        return "needs <W>x<H> <rate><p|i|psf> [422|444|rgb] [10|12] [A|B], off or cable in|out";
    std::string error;
    if (!VideoModel::parseFormat(a[0], a[1], format, error))
        return error;
    for (size_t i = 2; i < a.size(); ++i) {
        const std::string &word = a[i];
        if (word == "422")
            format.sampling = VideoModel::Sampling::YCbCr422;
        else if (word == "444")
            format.sampling = VideoModel::Sampling::YCbCr444;
        else if (word == "rgb")
            format.sampling = VideoModel::Sampling::RGB444;
        else if (word == "10" || word == "12")
            format.bits = word == "10" ? 10 : 12;
        else if (word == "A" || word == "B")
            format.levelB = word == "B";
        else
            return "unknown option '" + word + "'";
    }
    VideoModel::SdiLink link;
    return VideoModel::sdiLink(format, link, error) ? std::string() : error;
}

ScenarioCommand sdiCommand()
{
    return {"sdi",
            "sdi <W>x<H> <rate><p|i|psf> [422|444|rgb] [10|12] [A|B] | sdi off | sdi cable out|in",
            [](const std::vector<std::string> &a) {
                if (a.size() == 1 && a[0] == "off")
                    return std::string();
                if (a.size() == 2 && a[0] == "cable")
                    return a[1] == "in" || a[1] == "out" ? std::string() : "needs cable in or cable out";
                VideoModel::Format format;
                return parseSdi(a, format);
            },
            [](ScenarioContext &context, const std::vector<std::string> &a) {
                VideoModel &video = context.board.video();
                if (a[0] == "off") {
                    video.sdiOff();
                } else if (a[0] == "cable") {
                    video.sdiCable(a[1] == "in");
                } else {
                    VideoModel::Format format;
                    parseSdi(a, format);
                    std::string error;
                    if (!video.sdi(format, error))
                        return Outcome::error(error);
                }
                return Outcome::passed();
            }};
}

// "<channel> <W>x<H> <rate>" of the hdmi and whdi commands.
std::string parseChannelFormat(const std::vector<std::string> &a, bool segmented, int &channel,
                               VideoModel::Format &format)
{
    if (a.size() != 3 || !parseChannel(a[0], channel))
        return "needs a channel (0 main, 1 assist), <W>x<H> and a rate";
    std::string error;
    if (!VideoModel::parseFormat(a[1], a[2], format, error))
        return error;
    if (!segmented && format.scan == VideoModel::Scan::Segmented)
        return "HDMI carries p or i";
    VideoModel::Timing timing;
    return VideoModel::timing(format, timing) ? std::string() : "no standard timing for " + a[1];
}

ScenarioCommand hdmiCommand()
{
    return {"hdmi", "hdmi <channel> <W>x<H> <rate><p|i> | hdmi <channel> off   # measured timing",
            [](const std::vector<std::string> &a) {
                int channel = 0;
                if (a.size() == 2 && a[1] == "off")
                    return parseChannel(a[0], channel) ? std::string() : "needs a channel (0 main, 1 assist)";
                VideoModel::Format format;
                return parseChannelFormat(a, false, channel, format);
            },
            [](ScenarioContext &context, const std::vector<std::string> &a) {
                int channel = 0;
                if (a.size() == 2) {
                    parseChannel(a[0], channel);
                    context.board.video().hdmiOff(channel);
                    return Outcome::passed();
                }
                VideoModel::Format format;
                parseChannelFormat(a, false, channel, format);
                std::string error;
                return context.board.video().hdmi(channel, format, error) ? Outcome::passed() : Outcome::error(error);
            }};
}

ScenarioCommand whdiCommand()
{
    return {"whdi", "whdi <channel> <W>x<H> <rate><p|i|psf> | whdi lost | whdi back",
            [](const std::vector<std::string> &a) {
                if (a.size() == 1 && (a[0] == "lost" || a[0] == "back"))
                    return std::string();
                int channel = 0;
                VideoModel::Format format;
                std::string error = parseChannelFormat(a, true, channel, format);
                if (error.empty() && VideoModel::rateCode(format.frameRate()) == 0)
                    error = "no ST 352 rate code for this frame rate";
                return error;
            },
            [](ScenarioContext &context, const std::vector<std::string> &a) {
                if (a.size() == 1) {
                    context.board.video().whdiLost(a[0] == "lost");
                    return Outcome::passed();
                }
                int channel = 0;
                VideoModel::Format format;
                parseChannelFormat(a, true, channel, format);
                std::string error;
                return context.board.video().whdi(channel, format, error) ? Outcome::passed() : Outcome::error(error);
            }};
}

ScenarioCommand audioCommand()
{
    return {"audio", "audio <left peak> <right peak> [<samples>]   # peaks 0..65535, samples 0..4095",
            [](const std::vector<std::string> &a) {
                uint32_t value = 0;
                if (a.size() < 2 || a.size() > 3 || !parseValue(a[0], 0xFFFF, value) || !parseValue(a[1], 0xFFFF, value)
                    || (a.size() == 3 && !parseValue(a[2], 0xFFF, value)))
                    return std::string("needs two peaks (0..65535) and optionally a sample count (0..4095)");
                return std::string();
            },
            [](ScenarioContext &context, const std::vector<std::string> &a) {
                uint32_t left = 0;
                uint32_t right = 0;
                uint32_t samples = 800; // 48 kHz at 60 frames a second
                parseValue(a[0], 0xFFFF, left);
                parseValue(a[1], 0xFFFF, right);
                if (a.size() == 3)
                    parseValue(a[2], 0xFFF, samples);
                context.board.video().audio(left, right, samples);
                return Outcome::passed();
            }};
}

ScenarioCommand timecodeCommand()
{
    return {"timecode", "timecode <HH:MM:SS:FF>                 # runs with the frames",
            [](const std::vector<std::string> &a) {
                int parts[4];
                std::string error;
                if (a.size() != 1)
                    return std::string("needs HH:MM:SS:FF");
                return VideoModel::parseTimecode(a[0], parts, error) ? std::string() : error;
            },
            [](ScenarioContext &context, const std::vector<std::string> &a) {
                std::string error;
                return context.board.video().timecode(a[0], error) ? Outcome::passed() : Outcome::error(error);
            }};
}

// The user picks a channel's input on the input pages.
ScenarioCommand inputCommand()
{
    return {"input", "input main|assist SDI|HDMI|WHDI           # the user picks a channel's input",
            [](const std::vector<std::string> &a) {
                const bool channel = a.size() == 2 && (a[0] == "main" || a[0] == "assist");
                return channel && (a[1] == "SDI" || a[1] == "HDMI" || a[1] == "WHDI")
                           ? std::string()
                           : "needs main or assist and SDI, HDMI or WHDI";
            },
            [](ScenarioContext &context, const std::vector<std::string> &a) {
                Outcome outcome = Outcome::failed("the main window", "none");
                context.onUi([&](QWidget &window) {
                    auto *main = qobject_cast<MainWindow *>(&window);
                    if (main == nullptr)
                        return;
                    if (a[0] == "main")
                        main->slotUpdateMainInput(a[1]);
                    else
                        main->slotUpdateAssistInput(a[1]);
                    outcome = Outcome::passed();
                });
                return outcome;
            }};
}

} // namespace

void addVideoCommands(CommandTable &commands)
{
    for (const ScenarioCommand &command :
         {sdiCommand(), hdmiCommand(), whdiCommand(), audioCommand(), timecodeCommand(), inputCommand()})
        commands.add(command);
}

} // namespace sim
