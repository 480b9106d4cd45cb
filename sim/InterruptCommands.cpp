#include "InterruptCommands.h"

#include "InterruptModel.h"
#include "ScenarioRunner.h"
#include "VirtualBoard.h"

#include <cerrno>
#include <cstdlib>

namespace sim {

namespace {

bool parseKey(const std::string &word, InterruptModel::Key &key)
{
    if (word == "F1")
        key = InterruptModel::F1;
    else if (word == "F2")
        key = InterruptModel::F2;
    else if (word == "F3")
        key = InterruptModel::F3;
    else
        return false;
    return true;
}

// "F1+F3" or "F1+F2+F3": two or three different keys.
bool parseKeys(const std::string &text, std::vector<InterruptModel::Key> &keys)
{
    keys.clear();
    size_t start = 0;
    for (;;) {
        const size_t plus = text.find('+', start);
        InterruptModel::Key key;
        if (!parseKey(text.substr(start, plus - start), key))
            return false;
        for (InterruptModel::Key seen : keys) {
            if (seen == key)
                return false;
        }
        keys.push_back(key);
        if (plus == std::string::npos)
            break;
        start = plus + 1;
    }
    return keys.size() >= 2;
}

bool parseMs(const std::string &text, long &ms)
{
    if (text.empty() || text[0] < '0' || text[0] > '9')
        return false;
    char *end = nullptr;
    errno = 0;
    ms = std::strtol(text.c_str(), &end, 10);
    return errno == 0 && *end == '\0';
}

bool parseLine(const std::string &text, int &line)
{
    if (text.size() != 1 || text[0] < '0' || text[0] >= '0' + InterruptModel::lineCount)
        return false;
    line = text[0] - '0';
    return true;
}

// "click" or "hold <ms>" after the key words.
std::string checkAction(const std::vector<std::string> &a, bool clickAllowed)
{
    long ms;
    if (clickAllowed && a.size() == 2 && a[1] == "click")
        return std::string();
    if (a.size() == 3 && a[1] == "hold" && parseMs(a[2], ms))
        return std::string();
    return clickAllowed ? "needs click or hold <ms>" : "needs hold <ms>";
}

ScenarioCommand keyCommand()
{
    return {"key", "key F1|F2|F3 click | key F1|F2|F3 hold <ms>",
            [](const std::vector<std::string> &a) {
                InterruptModel::Key key;
                if (a.empty() || !parseKey(a[0], key))
                    return std::string("needs a key F1, F2 or F3");
                return checkAction(a, true);
            },
            [](ScenarioContext &context, const std::vector<std::string> &a) {
                InterruptModel::Key key = InterruptModel::F1;
                parseKey(a[0], key);
                if (a[1] == "click") {
                    context.board.interrupts().click(key);
                } else {
                    long ms = 0;
                    parseMs(a[2], ms);
                    context.board.interrupts().hold({key}, std::chrono::milliseconds(ms));
                }
                return Outcome::passed();
            }};
}

ScenarioCommand keysCommand()
{
    return {"keys", "keys <K1>+<K2>[+<K3>] hold <ms>",
            [](const std::vector<std::string> &a) {
                std::vector<InterruptModel::Key> keys;
                if (a.empty() || !parseKeys(a[0], keys))
                    return std::string("needs two or three different keys, e.g. F2+F3");
                return checkAction(a, false);
            },
            [](ScenarioContext &context, const std::vector<std::string> &a) {
                std::vector<InterruptModel::Key> keys;
                long ms = 0;
                parseKeys(a[0], keys);
                parseMs(a[2], ms);
                context.board.interrupts().hold(keys, std::chrono::milliseconds(ms));
                return Outcome::passed();
            }};
}

ScenarioCommand irqCommand()
{
    return {"irq", "irq <0-5>",
            [](const std::vector<std::string> &a) {
                int line;
                return a.size() == 1 && parseLine(a[0], line) ? std::string() : "needs a line 0 to 5";
            },
            [](ScenarioContext &context, const std::vector<std::string> &a) {
                int line = 0;
                parseLine(a[0], line);
                context.board.interrupts().raise(line);
                return Outcome::passed();
            }};
}

ScenarioCommand expectArmedCommand()
{
    return {"expect irq-armed", "expect irq-armed <0-5> true|false",
            [](const std::vector<std::string> &a) {
                int line;
                return a.size() == 2 && parseLine(a[0], line) && (a[1] == "true" || a[1] == "false")
                           ? std::string()
                           : "needs a line 0 to 5 and true or false";
            },
            [](ScenarioContext &context, const std::vector<std::string> &a) {
                int line = 0;
                parseLine(a[0], line);
                const bool expected = a[1] == "true";
                const bool found = context.board.interrupts().isArmed(line);
                if (found == expected)
                    return Outcome::passed();
                return Outcome::failed("line " + a[0] + (expected ? " armed" : " not armed"),
                                       found ? "armed" : "not armed");
            }};
}

} // namespace

void addInterruptCommands(CommandTable &commands)
{
    for (const ScenarioCommand &command : {keyCommand(), keysCommand(), irqCommand(), expectArmedCommand()})
        commands.add(command);
}

} // namespace sim
