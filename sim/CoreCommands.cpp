#include "Console.h"
#include "FrameCommands.h"
#include "HardwarePath.h"
#include "OutputCapture.h"
#include "ScenarioRunner.h"
#include "VirtualBoard.h"

#include <QAbstractButton>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QSettings>
#include <QTextCodec>
#include <chrono>
#include <cstdlib>
#include <sys/stat.h>
#include <thread>

namespace sim {

namespace {

// How long a line the application printed may take to reach the capture.
constexpr std::chrono::seconds logArrival(2);

bool parseNumber(const std::string &text, uint32_t &value)
{
    if (text.empty() || text[0] == '-')
        return false;
    char *end = nullptr;
    errno = 0;
    const unsigned long long parsed = std::strtoull(text.c_str(), &end, 0);
    if (errno != 0 || *end != '\0' || parsed > 0xFFFFFFFFull)
        return false;
    value = static_cast<uint32_t>(parsed);
    return true;
}

std::string hex(uint32_t value)
{
    char text[16];
    std::snprintf(text, sizeof(text), "0x%X", value);
    return text;
}

// "NAME" or "NAME[high:low]".
struct RegisterField {
    FunctionTypeIndex identifier = FPGA_VER_NUM;
    int high = 31;
    int low = 0;
};

bool parseRegister(const std::string &text, RegisterField &field)
{
    const size_t open = text.find('[');
    if (!PLModel::lookup(text.substr(0, open), field.identifier))
        return false;
    if (open == std::string::npos)
        return true;
    int high = 0;
    int low = 0;
    char close = 0;
    if (std::sscanf(text.c_str() + open, "[%d:%d%c", &high, &low, &close) != 3 || close != ']'
        || text.back() != ']' || low < 0 || high > 31 || low > high)
        return false;
    field.high = high;
    field.low = low;
    return true;
}

std::string checkCount(const std::vector<std::string> &arguments, size_t count)
{
    return arguments.size() == count ? std::string() : "expects " + std::to_string(count) + " argument(s)";
}

bool isBoolWord(const std::string &word)
{
    return word == "true" || word == "false";
}

// A file path of a check: relative to the working directory, or absolute
// under the hardware root.
std::string checkedPath(const std::string &path)
{
    return hw::path(path);
}

QString widgetText(QWidget &widget)
{
    if (auto *label = qobject_cast<QLabel *>(&widget))
        return label->text();
    if (auto *button = qobject_cast<QAbstractButton *>(&widget))
        return button->text();
    if (auto *edit = qobject_cast<QLineEdit *>(&widget))
        return edit->text();
    return widget.property("text").toString();
}

ScenarioCommand waitCommand()
{
    return {"wait", "wait <ms>",
            [](const std::vector<std::string> &a) {
                uint32_t ms;
                return a.size() == 1 && parseNumber(a[0], ms) ? std::string() : "needs a time in ms";
            },
            [](ScenarioContext &, const std::vector<std::string> &a) {
                uint32_t ms = 0;
                parseNumber(a[0], ms);
                std::this_thread::sleep_for(std::chrono::milliseconds(ms));
                return Outcome::passed();
            }};
}

ScenarioCommand regSetCommand()
{
    return {"reg set", "reg set <NAME> <value>",
            [](const std::vector<std::string> &a) {
                RegisterField field;
                uint32_t value;
                if (a.size() != 2 || !parseRegister(a[0], field) || a[0].find('[') != std::string::npos)
                    return std::string("needs a register name of the map and a value");
                return parseNumber(a[1], value) ? std::string() : "bad value '" + a[1] + "'";
            },
            [](ScenarioContext &context, const std::vector<std::string> &a) {
                RegisterField field;
                uint32_t value = 0;
                parseRegister(a[0], field);
                parseNumber(a[1], value);
                context.board.pl().set(field.identifier, value);
                return Outcome::passed();
            }};
}

ScenarioCommand expectRegCommand()
{
    return {"expect reg", "expect reg <NAME>[[<hi>:<lo>]] <value>",
            [](const std::vector<std::string> &a) {
                RegisterField field;
                uint32_t value;
                if (a.size() != 2 || !parseRegister(a[0], field))
                    return std::string("needs a register name (or NAME[hi:lo]) of the map and a value");
                return parseNumber(a[1], value) ? std::string() : "bad value '" + a[1] + "'";
            },
            [](ScenarioContext &context, const std::vector<std::string> &a) {
                RegisterField field;
                uint32_t expected = 0;
                parseRegister(a[0], field);
                parseNumber(a[1], expected);
                const uint32_t found = context.board.pl().field(field.identifier, field.high, field.low);
                if (found == expected)
                    return Outcome::passed();
                return Outcome::failed(a[0] + " = " + hex(expected), hex(found));
            }};
}

ScenarioCommand expectTextCommand()
{
    return {"expect text", "expect text <objectName> \"<text>\"",
            [](const std::vector<std::string> &a) { return checkCount(a, 2); },
            [](ScenarioContext &context, const std::vector<std::string> &a) {
                return withWidget(context, a[0], [&](QWidget &widget) {
                    const std::string found = widgetText(widget).toStdString();
                    return found == a[1] ? Outcome::passed()
                                         : Outcome::failed(a[0] + " reading \"" + a[1] + "\"", "\"" + found + "\"");
                });
            }};
}

ScenarioCommand expectVisibleCommand()
{
    return {"expect visible", "expect visible <objectName> true|false",
            [](const std::vector<std::string> &a) {
                return a.size() == 2 && isBoolWord(a[1]) ? std::string() : "needs a name and true or false";
            },
            [](ScenarioContext &context, const std::vector<std::string> &a) {
                return withWidget(context, a[0], [&](QWidget &widget) {
                    const bool expected = a[1] == "true";
                    const bool found = widget.isVisible();
                    return found == expected ? Outcome::passed()
                                             : Outcome::failed(a[0] + (expected ? " visible" : " hidden"),
                                                               found ? "visible" : "hidden");
                });
            }};
}

ScenarioCommand expectFileCommand()
{
    return {"expect file", "expect file <path> exists|absent",
            [](const std::vector<std::string> &a) {
                return a.size() == 2 && (a[1] == "exists" || a[1] == "absent") ? std::string()
                                                                                 : "needs a path and exists or absent";
            },
            [](ScenarioContext &, const std::vector<std::string> &a) {
                struct stat info;
                const bool exists = stat(checkedPath(a[0]).c_str(), &info) == 0;
                if (exists == (a[1] == "exists"))
                    return Outcome::passed();
                return Outcome::failed(a[0] + (exists ? " absent" : " present"), exists ? "it exists" : "no file");
            }};
}

ScenarioCommand expectIniCommand()
{
    return {"expect ini", "expect ini <file> <key> \"<value>\"",
            [](const std::vector<std::string> &a) { return checkCount(a, 3); },
            [](ScenarioContext &, const std::vector<std::string> &a) {
                QSettings settings(QString::fromStdString(checkedPath(a[0])), QSettings::IniFormat);
                settings.setIniCodec(QTextCodec::codecForName("UTF-8"));
                settings.beginGroup(QStringLiteral("AppConfig"));
                const QString key = QString::fromStdString(a[1]);
                if (!settings.contains(key))
                    return Outcome::failed(a[1] + " = \"" + a[2] + "\"", "no such key in " + a[0]);
                const std::string found = settings.value(key).toString().toStdString();
                return found == a[2] ? Outcome::passed()
                                     : Outcome::failed(a[1] + " = \"" + a[2] + "\"", "\"" + found + "\"");
            }};
}

ScenarioCommand expectLogCommand()
{
    return {"expect log", "expect log \"<substring>\"",
            [](const std::vector<std::string> &a) { return checkCount(a, 1); },
            [](ScenarioContext &context, const std::vector<std::string> &a) {
                // The capture reads the output on its own thread: a line just
                // printed may take a moment to arrive.
                const auto deadline = std::chrono::steady_clock::now() + logArrival;
                while (!context.output.contains(a[0])) {
                    if (std::chrono::steady_clock::now() > deadline)
                        return Outcome::failed("a line containing \"" + a[0] + "\"", "none");
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
                }
                return Outcome::passed();
            }};
}

ScenarioCommand usbCommand()
{
    return {"usb", "usb insert [a-j] | usb remove",
            [](const std::vector<std::string> &a) {
                if (a.size() == 1 && (a[0] == "insert" || a[0] == "remove"))
                    return std::string();
                if (a.size() == 2 && a[0] == "insert" && a[1].size() == 1 && a[1][0] >= 'a' && a[1][0] <= 'j')
                    return std::string();
                return std::string("needs insert [a-j] or remove");
            },
            [](ScenarioContext &context, const std::vector<std::string> &a) {
                DeviceTree &tree = context.board.tree();
                if (a[0] == "remove")
                    return tree.removeUsb() ? Outcome::passed() : Outcome::failed("a stick to pull", "none in");
                const char letter = a.size() == 2 ? a[1][0] : 'a';
                return tree.insertUsb(letter) ? Outcome::passed()
                                              : Outcome::failed("a free USB port", "a stick already in");
            }};
}

ScenarioCommand screenshotCommand()
{
    return {"screenshot", "screenshot [panel] <file.png>",
            [](const std::vector<std::string> &a) {
                return a.size() == 1 || (a.size() == 2 && a[0] == "panel") ? std::string()
                                                                            : "needs a file, or panel and a file";
            },
            [](ScenarioContext &context, const std::vector<std::string> &a) {
                const std::string &name = a.back();
                const std::string file = name.front() == '/' ? name : context.shotsDir + "/" + name;
                bool saved = false;
                if (a.size() == 2) {
                    // The picture the logic composes, with the interface over it.
                    QImage panel;
                    if (!grabPanel(context, panel))
                        return Outcome::failed("a running application", "it has ended");
                    saved = panel.convertToFormat(QImage::Format_RGB32).save(QString::fromStdString(file), "PNG");
                } else {
                    const bool ran = context.onUi(
                        [&](QWidget &window) { saved = osdImage(window).save(QString::fromStdString(file), "PNG"); });
                    if (!ran)
                        return Outcome::failed("a running application", "it has ended");
                }
                if (!saved)
                    return Outcome::failed("a screenshot saved as " + file, "the file could not be written");
                console::print("[scenario] screenshot %s\n", file.c_str());
                return Outcome::passed();
            }};
}

ScenarioCommand quitCommand()
{
    return {"quit", "quit", [](const std::vector<std::string> &a) { return checkCount(a, 0); },
            [](ScenarioContext &, const std::vector<std::string> &) { return Outcome::quit(); }};
}

} // namespace

Outcome withWidget(ScenarioContext &context, const std::string &name,
                   const std::function<Outcome(QWidget &widget)> &inspect)
{
    Outcome outcome = Outcome::failed("a widget named " + name, "none");
    const bool ran = context.onUi([&](QWidget &window) {
        // "Page/child" names a child inside a named page, where several
        // pages have children of the same name.
        QWidget *widget = &window;
        for (const QString &part : QString::fromStdString(name).split(QLatin1Char('/'))) {
            if (widget->objectName() != part)
                widget = widget->findChild<QWidget *>(part);
            if (widget == nullptr)
                return;
        }
        outcome = inspect(*widget);
    });
    if (!ran)
        return Outcome::failed("a running application", "it has ended");
    return outcome;
}

bool parseInteger(const std::string &text, long min, long max, long &value)
{
    if (text.empty())
        return false;
    char *end = nullptr;
    errno = 0;
    const long parsed = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || parsed < min || parsed > max)
        return false;
    value = parsed;
    return true;
}

QImage osdImage(QWidget &window)
{
    QImage panel(window.size(), QImage::Format_RGB32);
    panel.fill(Qt::black);
    QPainter painter(&panel);
    painter.drawPixmap(0, 0, window.grab());
    painter.end();
    return panel;
}

void addCoreCommands(CommandTable &commands)
{
    for (const ScenarioCommand &command :
         {waitCommand(), regSetCommand(), expectRegCommand(), expectTextCommand(), expectVisibleCommand(),
          expectFileCommand(), expectIniCommand(), expectLogCommand(), usbCommand(), screenshotCommand(),
          quitCommand()})
        commands.add(command);
}

} // namespace sim
