#include "ReadFifo.h"

#include "Console.h"
#include "FanCtrl.h"
#include "FrameOption.h"
#include "HardwarePath.h"
#include "PowerCtl.h"
#include "UartAPI.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <utility>

namespace {

constexpr const char *controlFifo = "/tmp/control";

struct Choice {
    const char *word;
    uint8_t value;
};

// Sends the MCU the value of the argument's word; an unlisted word sends nothing.
bool sendChoice(uint8_t command, const char *argument, std::initializer_list<Choice> choices)
{
    for (const Choice &choice : choices) {
        if (std::strcmp(argument, choice.word) == 0) {
            UartSendValue(command, &choice.value, 1);
            return true;
        }
    }
    return false;
}

bool sendZero(uint8_t command)
{
    const uint8_t zero = 0;
    UartSendValue(command, &zero, 1);
    return true;
}

bool mcuVersion(const char *)
{
    const uint8_t zeros[3] = {0, 0, 0};
    UartSendValue(0x80, zeros, sizeof(zeros));
    return true;
}

bool mipiReset(const char *)
{
    return sendZero(0x07);
}

bool fan(const char *argument)
{
    const struct {
        const char *word;
        FanCtrl::FanMode mode;
        uint8_t running;
    } speeds[] = {{"low", FanCtrl::FAN_LOW, 1}, {"high", FanCtrl::FAN_HIGH, 1}, {"off", FanCtrl::FAN_OFF, 0}};
    for (const auto &speed : speeds) {
        if (std::strcmp(argument, speed.word) == 0) {
            FanCtrl::getInstance()->setFanMode(speed.mode);
            UartSendValue(0x08, &speed.running, 1);
            return true;
        }
    }
    return false;
}

bool flip(const char *argument)
{
    return sendChoice(0x0B, argument, {{"on", 1}, {"off", 0}});
}

bool hdmi(const char *)
{
    return sendZero(0x82);
}

bool strength(const char *)
{
    return sendZero(0x84);
}

bool channel(const char *)
{
    return sendZero(0x81);
}

bool whdi(const char *)
{
    return sendZero(0x83);
}

bool snr(const char *argument)
{
    return sendChoice(0x05, argument, {{"on", 1}, {"off", 0}});
}

bool antenna(const char *argument)
{
    return sendChoice(0x10, argument, {{"in", 0}, {"external", 1}});
}

bool shutdown(const char *)
{
    PowerCtl::getInstance()->powerOff();
    return true;
}

bool frame(const char *argument)
{
    return FrameOption::setFrameSuffix(argument);
}

struct FifoCommand {
    char name[50];
    char help[102];
    bool (*handler)(const char *argument);
};

// Looked up by exact name, first match first.
const FifoCommand commandTable[] = {
    {"mcu_version", "show mcu version", mcuVersion},
    {"mipi_reset", "reset mipi display", mipiReset},
    {"fan", "use \"fan low/high/off\" low/high/close fan", fan},
    {"flip", "use \"flip on/off\" open/close flip", flip},
    {"hdmi", "show HDMI info", hdmi},
    {"strength", "show WHDI signal strength", strength},
    {"channel", "show WHDI current channel", channel},
    {"whdi", "show WHDI info", whdi},
    {"snr", "use \"snr on/off\" open/close WHDI snr menu", snr},
    {"antenna", "use \"antenna in/external\" set WHDI antenna in or external", antenna},
    {"shutdown", "poweroff", shutdown},
    {"frame", "use \"frame fm/bmp/tiff/png\"", frame},
};

} // namespace

ReadFifo::ReadFifo(const std::string &path) : Fifo(path, FIFO_READ)
{
    start();
}

ReadFifo::~ReadFifo()
{
    stop();
}

void ReadFifo::help()
{
    console::print("\n\t******FIFO command control******\n");
    for (const FifoCommand &command : commandTable)
        console::print("\t%20s\t\t%s\n", command.name, command.help);
}

bool ReadFifo::readAction(char *text, int length)
{
    if (text == nullptr || length < 1)
        return false;
    const char *start = text;
    if (lineOpen) {
        const char *lineEnd = static_cast<const char *>(std::memchr(text, '\n', static_cast<size_t>(length)));
        if (lineEnd == nullptr)
            return true;
        start = lineEnd + 1;
    }
    lineOpen = static_cast<size_t>(length) >= readSize && text[length - 1] != '\n';
    return parseCmd(start);
}

bool ReadFifo::parseCmd(const char *text)
{
    static_assert(readSize == 256, "the word widths below follow the read size");
    char name[readSize + 1] = "";
    char argument[readSize + 1] = "";
    if (std::sscanf(text, "%256s%256s", name, argument) < 1)
        return true;
    if (std::strcmp(name, "help") == 0)
        return false;
    actionCmd(name, argument);
    return true;
}

void ReadFifo::actionCmd(const char *name, const char *argument)
{
    for (const FifoCommand &command : commandTable) {
        if (std::strcmp(name, command.name) == 0) {
            command.handler(argument);
            return;
        }
    }
}

void FifoInit()
{
    static ReadFifo *const fifo = new ReadFifo(hw::path(controlFifo));
    static_cast<void>(fifo);
}
