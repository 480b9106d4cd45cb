#include "McuCommands.h"

#include "HardwarePath.h"
#include "McuModel.h"
#include "ScenarioRunner.h"
#include "VirtualBoard.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <thread>

namespace sim {

namespace {

constexpr const char *firmwareFile = "/home/root/app/RX.bin";
constexpr auto expectPoll = std::chrono::milliseconds(20);

bool parseUnsigned(const std::string &text, unsigned long max, unsigned long &value)
{
    if (text.empty() || text[0] < '0' || text[0] > '9')
        return false;
    char *end = nullptr;
    errno = 0;
    value = std::strtoul(text.c_str(), &end, 0);
    return errno == 0 && *end == '\0' && value <= max;
}

bool parseByte(const std::string &text, uint8_t &byte)
{
    unsigned long value = 0;
    if (!parseUnsigned(text, 0xFF, value))
        return false;
    byte = static_cast<uint8_t>(value);
    return true;
}

bool parseBytes(std::vector<std::string>::const_iterator first, std::vector<std::string>::const_iterator last,
                std::vector<uint8_t> &bytes)
{
    bytes.clear();
    for (auto word = first; word != last; ++word) {
        uint8_t byte = 0;
        if (!parseByte(*word, byte))
            return false;
        bytes.push_back(byte);
    }
    return true;
}

bool parsePercent(const std::string &text, double &percent)
{
    char *end = nullptr;
    errno = 0;
    percent = std::strtod(text.c_str(), &end);
    return !text.empty() && errno == 0 && *end == '\0' && percent >= 0 && percent <= 100;
}

std::string hexBytes(uint8_t command, const std::vector<uint8_t> &data)
{
    std::string text;
    char word[8];
    std::snprintf(word, sizeof(word), "0x%02X", command);
    text = word;
    for (uint8_t byte : data) {
        std::snprintf(word, sizeof(word), " 0x%02X", byte);
        text += word;
    }
    return text;
}

std::string onOff(const std::vector<std::string> &a)
{
    return a.size() == 1 && (a[0] == "on" || a[0] == "off") ? std::string() : "needs on or off";
}

// "<cmd> [<byte> ...] [within <ms>]"
struct FrameCheck {
    uint8_t command = 0;
    bool anyData = true;
    std::vector<uint8_t> data;
    unsigned long withinMs = 0;
};

bool parseFrameCheck(const std::vector<std::string> &a, FrameCheck &check)
{
    if (a.empty() || !parseByte(a[0], check.command))
        return false;
    auto last = a.end();
    if (a.size() >= 3 && a[a.size() - 2] == "within") {
        if (!parseUnsigned(a.back(), 600000, check.withinMs))
            return false;
        last -= 2;
    }
    check.anyData = last == a.begin() + 1;
    return parseBytes(a.begin() + 1, last, check.data);
}

ScenarioCommand sendCommand()
{
    return {"mcu send", "mcu send <cmd> [<byte> ...]          # the MCU sends a frame",
            [](const std::vector<std::string> &a) {
                std::vector<uint8_t> bytes;
                return !a.empty() && a.size() <= 256 && parseBytes(a.begin(), a.end(), bytes)
                           ? std::string()
                           : "needs a command and data bytes (0..255, e.g. 0x01 0x05)";
            },
            [](ScenarioContext &context, const std::vector<std::string> &a) {
                std::vector<uint8_t> bytes;
                parseBytes(a.begin(), a.end(), bytes);
                context.board.mcu().send(bytes[0], std::vector<uint8_t>(bytes.begin() + 1, bytes.end()));
                return Outcome::passed();
            }};
}

ScenarioCommand rawCommand()
{
    return {"mcu raw", "mcu raw <byte> ...                   # raw bytes on the line",
            [](const std::vector<std::string> &a) {
                std::vector<uint8_t> bytes;
                return !a.empty() && parseBytes(a.begin(), a.end(), bytes) ? std::string()
                                                                           : "needs bytes (0..255)";
            },
            [](ScenarioContext &context, const std::vector<std::string> &a) {
                std::vector<uint8_t> bytes;
                parseBytes(a.begin(), a.end(), bytes);
                context.board.mcu().sendRaw(bytes);
                return Outcome::passed();
            }};
}

ScenarioCommand ackCommand()
{
    return {"mcu ack", "mcu ack on|off                       # acknowledge the application's frames, or not",
            onOff, [](ScenarioContext &context, const std::vector<std::string> &a) {
                context.board.mcu().setAcknowledge(a[0] == "on");
                return Outcome::passed();
            }};
}

ScenarioCommand silentCommand()
{
    return {"mcu silent", "mcu silent on|off                    # a dead MCU: it sends nothing at all",
            onOff, [](ScenarioContext &context, const std::vector<std::string> &a) {
                context.board.mcu().setSilent(a[0] == "on");
                return Outcome::passed();
            }};
}

ScenarioCommand noiseCommand()
{
    return {"mcu noise", "mcu noise <percent>                  # corrupt that share of bytes, both directions",
            [](const std::vector<std::string> &a) {
                double percent;
                return a.size() == 1 && parsePercent(a[0], percent) ? std::string() : "needs a percentage 0..100";
            },
            [](ScenarioContext &context, const std::vector<std::string> &a) {
                double percent = 0;
                parsePercent(a[0], percent);
                context.board.mcu().setNoise(percent);
                return Outcome::passed();
            }};
}

ScenarioCommand baudCommand()
{
    return {"mcu baud", "mcu baud <rate>|off                  # hold the line to that rate, or not",
            [](const std::vector<std::string> &a) {
                unsigned long rate;
                return a.size() == 1 && (a[0] == "off" || (parseUnsigned(a[0], 4000000, rate) && rate > 0))
                           ? std::string()
                           : "needs a baud rate or off";
            },
            [](ScenarioContext &context, const std::vector<std::string> &a) {
                unsigned long rate = 0;
                if (a[0] != "off")
                    parseUnsigned(a[0], 4000000, rate);
                context.board.mcu().setBaud(static_cast<int>(rate));
                return Outcome::passed();
            }};
}

ScenarioCommand reportCommand()
{
    return {"mcu report", "mcu report <cmd> <ms>|off            # a periodic report (0x04 strength, 0x0A clock, 0x12 power)",
            [](const std::vector<std::string> &a) {
                uint8_t command;
                unsigned long ms;
                if (a.size() != 2 || !parseByte(a[0], command))
                    return std::string("needs a command and a period in ms, or off");
                return a[1] == "off" || (parseUnsigned(a[1], 3600000, ms) && ms > 0) ? std::string()
                                                                                      : "bad period '" + a[1] + "'";
            },
            [](ScenarioContext &context, const std::vector<std::string> &a) {
                uint8_t command = 0;
                unsigned long ms = 0;
                parseByte(a[0], command);
                if (a[1] != "off")
                    parseUnsigned(a[1], 3600000, ms);
                if (!context.board.mcu().report(command, static_cast<int>(ms)))
                    return Outcome::failed("a command the MCU reports", hexBytes(command, {}));
                return Outcome::passed();
            }};
}

ScenarioCommand requestUpdateCommand()
{
    return {"mcu request-update", "mcu request-update                   # the MCU asks for a firmware update (0x31)",
            [](const std::vector<std::string> &a) { return a.empty() ? std::string() : "takes no arguments"; },
            [](ScenarioContext &context, const std::vector<std::string> &) {
                context.board.mcu().requestUpdate();
                return Outcome::passed();
            }};
}

ScenarioCommand firmwareCommand()
{
    return {"mcu firmware",
            "mcu firmware <file> | random <bytes>  # the image the boot loader expects; random also installs it "
            "as /home/root/app/RX.bin",
            [](const std::vector<std::string> &a) {
                unsigned long size;
                if (a.size() == 1)
                    return std::string();
                return a.size() == 2 && a[0] == "random" && parseUnsigned(a[1], 16u << 20, size)
                           ? std::string()
                           : "needs a file, or random and a size in bytes";
            },
            [](ScenarioContext &context, const std::vector<std::string> &a) {
                std::vector<uint8_t> image;
                if (a.size() == 2) {
                    unsigned long size = 0;
                    parseUnsigned(a[1], 16u << 20, size);
                    std::mt19937 random(static_cast<unsigned>(size));
                    for (unsigned long i = 0; i < size; ++i)
                        image.push_back(static_cast<uint8_t>(random()));
                    const std::string path = hw::path(firmwareFile);
                    std::error_code ignored;
                    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
                    std::ofstream out(path, std::ios::binary | std::ios::trunc);
                    out.write(reinterpret_cast<const char *>(image.data()), static_cast<std::streamsize>(size));
                    if (!out)
                        return Outcome::failed("the image installed as " + std::string(firmwareFile),
                                               "it could not be written");
                } else {
                    // Relative: the working directory; absolute: under the hardware root.
                    std::ifstream in(hw::path(a[0]), std::ios::binary);
                    if (!in)
                        return Outcome::failed("a firmware file " + a[0], "none");
                    image.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
                }
                context.board.mcu().setFirmware(image);
                return Outcome::passed();
            }};
}

ScenarioCommand expectFrameCommand()
{
    return {"expect mcu", "expect mcu <cmd> [<byte> ...] [within <ms>]  # the MCU received that frame",
            [](const std::vector<std::string> &a) {
                FrameCheck check;
                return parseFrameCheck(a, check) ? std::string()
                                                 : "needs a command, data bytes and optionally within <ms>";
            },
            [](ScenarioContext &context, const std::vector<std::string> &a) {
                FrameCheck check;
                parseFrameCheck(a, check);
                const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(check.withinMs);
                for (;;) {
                    for (const McuModel::Frame &frame : context.board.mcu().received()) {
                        if (frame.command == check.command && (check.anyData || frame.data == check.data))
                            return Outcome::passed();
                    }
                    if (std::chrono::steady_clock::now() >= deadline)
                        break;
                    std::this_thread::sleep_for(expectPoll);
                }
                std::string found;
                for (const McuModel::Frame &frame : context.board.mcu().received()) {
                    if (frame.command == check.command)
                        found += (found.empty() ? "" : ", ") + hexBytes(frame.command, frame.data);
                }
                return Outcome::failed("the MCU to receive " + hexBytes(check.command, check.data),
                                       found.empty() ? "no frame of that command" : found);
            }};
}

ScenarioCommand expectCountCommand()
{
    return {"expect mcu-count",
            "expect mcu-count <cmd> [<byte> ...] <n>  # frames of that command (and those data bytes) the MCU received",
            [](const std::vector<std::string> &a) {
                std::vector<uint8_t> bytes;
                unsigned long count;
                return a.size() >= 2 && parseBytes(a.begin(), a.end() - 1, bytes)
                               && parseUnsigned(a.back(), 1000000, count)
                           ? std::string()
                           : "needs a command, data bytes if any, and a count";
            },
            [](ScenarioContext &context, const std::vector<std::string> &a) {
                std::vector<uint8_t> bytes;
                unsigned long expected = 0;
                parseBytes(a.begin(), a.end() - 1, bytes);
                parseUnsigned(a.back(), 1000000, expected);
                const uint8_t command = bytes[0];
                const std::vector<uint8_t> data(bytes.begin() + 1, bytes.end());
                size_t found = 0;
                for (const McuModel::Frame &frame : context.board.mcu().received()) {
                    if (frame.command == command && (a.size() == 2 || frame.data == data))
                        ++found;
                }
                if (found == expected)
                    return Outcome::passed();
                return Outcome::failed(std::to_string(expected) + " frame(s) " + hexBytes(command, data),
                                       std::to_string(found));
            }};
}

ScenarioCommand expectImageCommand()
{
    return {"expect mcu-image", "expect mcu-image [within <ms>]        # the boot loader holds the whole expected image",
            [](const std::vector<std::string> &a) {
                unsigned long ms;
                return a.empty() || (a.size() == 2 && a[0] == "within" && parseUnsigned(a[1], 600000, ms))
                           ? std::string()
                           : "takes nothing or within <ms>";
            },
            [](ScenarioContext &context, const std::vector<std::string> &a) {
                unsigned long ms = 0;
                if (!a.empty())
                    parseUnsigned(a[1], 600000, ms);
                const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
                McuModel::BootLoaderStatus boot = context.board.mcu().bootLoader();
                while (!boot.complete && std::chrono::steady_clock::now() < deadline) {
                    std::this_thread::sleep_for(expectPoll);
                    boot = context.board.mcu().bootLoader();
                }
                if (boot.complete && boot.matches)
                    return Outcome::passed();
                return Outcome::failed("the whole expected image in the boot loader",
                                       std::to_string(boot.received) + " of " + std::to_string(boot.announcedSize)
                                           + " bytes" + (boot.complete ? ", not the expected ones" : ""));
            }};
}

} // namespace

void addMcuCommands(CommandTable &commands)
{
    for (const ScenarioCommand &command :
         {sendCommand(), rawCommand(), ackCommand(), silentCommand(), noiseCommand(), baudCommand(), reportCommand(),
          requestUpdateCommand(), firmwareCommand(), expectFrameCommand(), expectCountCommand(),
          expectImageCommand()})
        commands.add(command);
}

} // namespace sim
