#include "PlatformCommands.h"

#include "HardwarePath.h"
#include "ScenarioRunner.h"
#include "VirtualBoard.h"

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/ioctl.h>
#include <thread>
#include <unistd.h>

namespace sim {

namespace {

namespace fs = std::filesystem;

constexpr const char *serviceFifo = "/tmp/control";
constexpr std::chrono::seconds fifoWriteTimeout(2);
constexpr uint8_t powerReport = 0x12;
constexpr double maxVolts = 1000.0;

bool parseDouble(const std::string &text, double &value)
{
    if (text.empty())
        return false;
    char *end = nullptr;
    errno = 0;
    value = std::strtod(text.c_str(), &end);
    return errno == 0 && *end == '\0' && std::isfinite(value);
}

bool parseCount(const std::string &text, long &value)
{
    if (text.empty() || text[0] < '0' || text[0] > '9')
        return false;
    char *end = nullptr;
    errno = 0;
    value = std::strtol(text.c_str(), &end, 10);
    return errno == 0 && *end == '\0';
}

bool isBoardLine(long line)
{
    for (int known : DeviceTree::gpioLines) {
        if (line == known)
            return true;
    }
    return false;
}

} // namespace

bool writeServiceFifo(const std::string &text, std::string &problem)
{
    const int fd = ::open(hw::path(serviceFifo).c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        problem = errno == ENXIO ? "no reader" : "no FIFO";
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + fifoWriteTimeout;
    size_t done = 0;
    while (done < text.size() && std::chrono::steady_clock::now() < deadline) {
        const ssize_t written = ::write(fd, text.data() + done, text.size() - done);
        if (written > 0)
            done += static_cast<size_t>(written);
        else if (written < 0 && errno != EAGAIN && errno != EINTR)
            break;
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    int waiting = 0;
    while (done == text.size() && ::ioctl(fd, FIONREAD, &waiting) == 0 && waiting > 0
           && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ::close(fd);
    if (done < text.size() || waiting > 0)
        problem = "the reader took " + std::to_string(done - static_cast<size_t>(waiting)) + " of " +
                  std::to_string(text.size()) + " bytes";
    return problem.empty();
}

namespace {

ScenarioCommand tempCommand()
{
    return {"temp", "temp <celsius>",
            [](const std::vector<std::string> &a) {
                double celsius;
                return a.size() == 1 && parseDouble(a[0], celsius) ? std::string() : "needs degrees Celsius";
            },
            [](ScenarioContext &context, const std::vector<std::string> &a) {
                double celsius = 0;
                parseDouble(a[0], celsius);
                return context.board.platform().setTemperature(celsius)
                           ? Outcome::passed()
                           : Outcome::failed("a writable temperature sensor file", "none");
            }};
}

ScenarioCommand powerButtonCommand()
{
    return {"power-button hold", "power-button hold <ms>",
            [](const std::vector<std::string> &a) {
                long ms;
                return a.size() == 1 && parseCount(a[0], ms) ? std::string() : "needs a time in ms";
            },
            [](ScenarioContext &context, const std::vector<std::string> &a) {
                long ms = 0;
                parseCount(a[0], ms);
                context.board.platform().holdButton(std::chrono::milliseconds(ms));
                return Outcome::passed();
            }};
}

ScenarioCommand fifoCommand()
{
    return {"fifo", "fifo \"<text>\"",
            [](const std::vector<std::string> &a) {
                return a.size() == 1 ? std::string() : "needs the text in one pair of quotes";
            },
            [](ScenarioContext &, const std::vector<std::string> &a) {
                std::string problem;
                return writeServiceFifo(a[0] + "\n", problem) ? Outcome::passed()
                                                       : Outcome::failed("the service FIFO to take the line", problem);
            }};
}

// The power readings the MCU reports (0x12): the supply and the two
// batteries, each a big-endian count of tenths of a volt.
ScenarioCommand mcuPowerCommand()
{
    return {"mcu power", "mcu power <dc volts> <battery A volts> <battery B volts>",
            [](const std::vector<std::string> &a) {
                double volts;
                for (const std::string &word : a) {
                    if (!parseDouble(word, volts) || std::fabs(volts) > maxVolts)
                        return std::string("needs three voltages");
                }
                return a.size() == 3 ? std::string() : std::string("needs three voltages");
            },
            [](ScenarioContext &context, const std::vector<std::string> &a) {
                int32_t tenths[3] = {0, 0, 0};
                std::vector<uint8_t> data;
                for (size_t i = 0; i < 3; ++i) {
                    double volts = 0;
                    parseDouble(a[i], volts);
                    tenths[i] = static_cast<int32_t>(std::lround(volts * 10));
                    const uint32_t word = static_cast<uint32_t>(tenths[i]);
                    for (int shift = 24; shift >= 0; shift -= 8)
                        data.push_back(static_cast<uint8_t>(word >> shift));
                }
                context.board.mcu().setPower(tenths[0], tenths[1], tenths[2]);
                context.board.mcu().send(powerReport, data);
                return Outcome::passed();
            }};
}

ScenarioCommand expectGpioCommand()
{
    return {"expect gpio", "expect gpio <line> <value>",
            [](const std::vector<std::string> &a) {
                long line;
                long value;
                if (a.size() != 2 || !parseCount(a[0], line) || !isBoardLine(line))
                    return std::string("needs a line of the board (12, 13, 17, 25, 26) and a value");
                return parseCount(a[1], value) ? std::string() : "bad value '" + a[1] + "'";
            },
            [](ScenarioContext &context, const std::vector<std::string> &a) {
                long line = 0;
                long expected = 0;
                parseCount(a[0], line);
                parseCount(a[1], expected);
                const int found = context.board.platform().gpioValue(static_cast<int>(line));
                if (found == expected)
                    return Outcome::passed();
                return Outcome::failed("line " + a[0] + " at " + a[1],
                                       found < 0 ? std::string("no value") : std::to_string(found));
            }};
}

ScenarioCommand expectRebootCommand()
{
    return {"expect reboot", "expect reboot",
            [](const std::vector<std::string> &a) {
                return a.empty() ? std::string() : "takes no arguments";
            },
            [](ScenarioContext &context, const std::vector<std::string> &) {
                return context.board.system().restartCount() > 0 ? Outcome::passed()
                                                                 : Outcome::failed("a restart", "none");
            }};
}

ScenarioCommand usbPutCommand()
{
    return {"usb put", "usb put <file> [<name>]",
            [](const std::vector<std::string> &a) {
                if (a.empty() || a.size() > 2 || fs::path(a[0]).filename().empty())
                    return std::string("needs a file and maybe the name on the stick");
                if (a.size() == 2 && (a[1].find('/') != std::string::npos || a[1] == "." || a[1] == ".."))
                    return std::string("the name on the stick is a plain file name");
                return std::string();
            },
            [](ScenarioContext &context, const std::vector<std::string> &a) {
                const char letter = context.board.tree().usbLetter();
                if (letter == 0)
                    return Outcome::failed("a stick in", "none");
                const fs::path source = fs::path(a[0]).is_absolute()
                                            ? fs::path(a[0])
                                            : fs::path(context.board.platform().hostDirectory()) / a[0];
                const std::string name = fs::path(a.size() == 2 ? a[1] : a[0]).filename().string();
                const fs::path target =
                    context.board.tree().path(std::string("/run/media/sd") + letter + "1/" + name);
                std::error_code error;
                fs::copy_file(source, target, fs::copy_options::overwrite_existing, error);
                if (error)
                    return Outcome::failed(source.string() + " copied onto the stick", error.message());
                return Outcome::passed();
            }};
}

} // namespace

void addPlatformCommands(CommandTable &commands)
{
    for (const ScenarioCommand &command :
         {tempCommand(), powerButtonCommand(), fifoCommand(), mcuPowerCommand(), expectGpioCommand(),
          expectRebootCommand(), usbPutCommand()})
        commands.add(command);
}

} // namespace sim
