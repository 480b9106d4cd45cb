#include "RfCommands.h"

#include "ScenarioRunner.h"
#include "VirtualBoard.h"

#include <array>
#include <cerrno>
#include <cstdlib>

namespace sim {

namespace {

// A whole decimal number within [0, max]; false for anything else.
bool parseBounded(const std::string &text, int max, int &value)
{
    if (text.empty() || text[0] < '0' || text[0] > '9')
        return false;
    char *end = nullptr;
    errno = 0;
    const long number = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || number > max)
        return false;
    value = static_cast<int>(number);
    return true;
}

bool parseLevels(const std::vector<std::string> &words, std::array<int, ScanReceiverModel::channelCount> &levels)
{
    if (words.size() != levels.size())
        return false;
    for (size_t i = 0; i < levels.size(); ++i) {
        if (!parseBounded(words[i], ScanReceiverModel::maxLevel, levels[i]))
            return false;
    }
    return true;
}

ScenarioCommand levelsCommand()
{
    return {"rf levels", "rf levels <c0> ... <c19>  (the scan receiver's level on each channel, 0-4095)",
            [](const std::vector<std::string> &a) {
                std::array<int, ScanReceiverModel::channelCount> levels{};
                return parseLevels(a, levels) ? std::string() : "needs twenty levels from 0 to 4095";
            },
            [](ScenarioContext &context, const std::vector<std::string> &a) {
                std::array<int, ScanReceiverModel::channelCount> levels{};
                parseLevels(a, levels);
                context.board.scanReceiver().setLevels(levels);
                return Outcome::passed();
            }};
}

ScenarioCommand levelCommand()
{
    return {"rf level", "rf level <channel 0-19> <level 0-4095>",
            [](const std::vector<std::string> &a) {
                int channel = 0;
                int level = 0;
                if (a.size() != 2 || !parseBounded(a[0], ScanReceiverModel::channelCount - 1, channel))
                    return std::string("needs a channel from 0 to 19 and a level");
                return parseBounded(a[1], ScanReceiverModel::maxLevel, level) ? std::string()
                                                                              : "needs a level from 0 to 4095";
            },
            [](ScenarioContext &context, const std::vector<std::string> &a) {
                int channel = 0;
                int level = 0;
                parseBounded(a[0], ScanReceiverModel::channelCount - 1, channel);
                parseBounded(a[1], ScanReceiverModel::maxLevel, level);
                context.board.scanReceiver().setLevel(channel, level);
                return Outcome::passed();
            }};
}

} // namespace

void addRfCommands(CommandTable &commands)
{
    commands.add(levelsCommand());
    commands.add(levelCommand());
}

} // namespace sim
