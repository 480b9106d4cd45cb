#include "TouchCommands.h"

#include "ScenarioRunner.h"
#include "ZqEventFilter.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QStackedWidget>
#include <QTest>
#include <QWindow>
#include <chrono>
#include <cmath>
#include <thread>

namespace sim {

namespace {

constexpr long screenLimit = 100000;
constexpr long defaultTapMs = 80;
// A finger reports its position about every 10 ms.
constexpr long moveIntervalMs = 10;
// The fingers of a pinch start this far apart, about the screen's centre.
constexpr double pinchStartDistance = 1000.0;
// The widest pinch the screen holds: the fingers' distance grows with the
// square root of the scale.
constexpr double pinchMaxScale = 3.6;

void sleepMs(long ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

bool parseCoordinates(std::vector<std::string>::const_iterator word, size_t count, std::vector<long> &values)
{
    values.assign(count, 0);
    for (size_t i = 0; i < count; ++i, ++word) {
        if (!parseInteger(*word, -screenLimit, screenLimit, values[i]))
            return false;
    }
    return true;
}

// The touches go in through the window's platform side, as the panel's do:
// the application's event filter sees them first.
enum class Touch { Press, Move, Release };

Outcome touch(ScenarioContext &context, Touch kind, long x, long y)
{
    const bool ran = context.onUi([&](QWidget &window) {
        QWindow *handle = window.windowHandle();
        if (handle == nullptr)
            return;
        const QPoint position(static_cast<int>(x), static_cast<int>(y));
        switch (kind) {
        case Touch::Press:
            QTest::mousePress(handle, Qt::LeftButton, Qt::NoModifier, position);
            break;
        case Touch::Move:
            QTest::mouseMove(handle, position);
            break;
        case Touch::Release:
            QTest::mouseRelease(handle, Qt::LeftButton, Qt::NoModifier, position);
            break;
        }
    });
    return ran ? Outcome::passed() : Outcome::failed("a running application", "it has ended");
}

Outcome tapAt(ScenarioContext &context, long x, long y, long ms)
{
    Outcome outcome = touch(context, Touch::Press, x, y);
    if (outcome.status != Outcome::Passed)
        return outcome;
    sleepMs(ms);
    return touch(context, Touch::Release, x, y);
}

ScenarioCommand tapCommand()
{
    return {"tap", "tap <x> <y> [<ms>]",
            [](const std::vector<std::string> &a) {
                std::vector<long> values;
                long ms = 0;
                if ((a.size() != 2 && a.size() != 3) || !parseCoordinates(a.begin(), 2, values))
                    return std::string("needs x, y and an optional time in ms");
                return a.size() == 2 || parseInteger(a[2], 0, 60000, ms) ? std::string() : "bad time '" + a[2] + "'";
            },
            [](ScenarioContext &context, const std::vector<std::string> &a) {
                std::vector<long> values;
                parseCoordinates(a.begin(), 2, values);
                long ms = defaultTapMs;
                if (a.size() == 3)
                    parseInteger(a[2], 0, 60000, ms);
                return tapAt(context, values[0], values[1], ms);
            }};
}

ScenarioCommand dragCommand()
{
    return {"drag", "drag <x1> <y1> <x2> <y2> <ms>",
            [](const std::vector<std::string> &a) {
                std::vector<long> values;
                long ms = 0;
                if (a.size() != 5 || !parseCoordinates(a.begin(), 4, values) || !parseInteger(a[4], 0, 60000, ms))
                    return std::string("needs x1 y1 x2 y2 and a time in ms");
                return std::string();
            },
            [](ScenarioContext &context, const std::vector<std::string> &a) {
                std::vector<long> p;
                parseCoordinates(a.begin(), 4, p);
                long ms = 0;
                parseInteger(a[4], 0, 60000, ms);
                Outcome outcome = touch(context, Touch::Press, p[0], p[1]);
                const long steps = std::max(1L, ms / moveIntervalMs);
                for (long step = 1; step <= steps && outcome.status == Outcome::Passed; ++step) {
                    sleepMs(ms / steps);
                    const long x = p[0] + (p[2] - p[0]) * step / steps;
                    const long y = p[1] + (p[3] - p[1]) * step / steps;
                    outcome = touch(context, Touch::Move, x, y);
                }
                return outcome.status == Outcome::Passed ? touch(context, Touch::Release, p[2], p[3]) : outcome;
            }};
}

// The fingers' distance for a total scale, rounded away from 1 so that a
// scale on a threshold of the application reaches it.
int pinchDistance(double scale)
{
    const double exact = pinchStartDistance * std::sqrt(scale);
    return static_cast<int>(scale >= 1.0 ? std::ceil(exact) : std::floor(exact));
}

bool parseScales(const std::vector<std::string> &a, std::vector<double> &scales)
{
    scales.clear();
    for (const std::string &word : a) {
        char *end = nullptr;
        const double scale = std::strtod(word.c_str(), &end);
        if (word.empty() || *end != '\0' || !(scale >= 0.05 && scale <= pinchMaxScale))
            return false;
        scales.push_back(scale);
    }
    return !scales.empty();
}

// Two fingers on the screen's centre, moved apart or together, then lifted:
// one pinch gesture whose total scale factor, as the widgets' gesture
// recogniser reports it, goes through the given ones in turn. That
// recogniser compounds every move of the fingers twice, so their distance
// follows the square root of each scale.
ScenarioCommand pinchCommand()
{
    return {"pinch", "pinch <scale> [<scale> ...]",
            [](const std::vector<std::string> &a) {
                std::vector<double> scales;
                return parseScales(a, scales) ? std::string() : std::string("needs scale factors from 0.05 to 3.6");
            },
            [](ScenarioContext &context, const std::vector<std::string> &a) {
                std::vector<double> scales;
                parseScales(a, scales);
                static QTouchDevice *device = nullptr;
                const auto fingers = [](double scale) {
                    const int distance = pinchDistance(scale);
                    const int left = 960 - distance / 2;
                    return std::make_pair(QPoint(left, 540), QPoint(left + distance, 540));
                };
                auto step = [&](int phase, double scale) {
                    return context.onUi([&](QWidget &window) {
                        QWindow *handle = window.windowHandle();
                        if (device == nullptr)
                            device = QTest::createTouchDevice();
                        const auto points = fingers(scale);
                        QTest::QTouchEventSequence sequence = QTest::touchEvent(handle, device);
                        if (phase == 0)
                            sequence.press(0, points.first, handle).press(1, points.second, handle);
                        else if (phase == 1)
                            sequence.move(0, points.first, handle).move(1, points.second, handle);
                        else
                            sequence.release(0, points.first, handle).release(1, points.second, handle);
                        sequence.commit();
                    });
                };
                bool ran = step(0, 1.0);
                // The first move starts the gesture at the start distance.
                ran = ran && step(1, 1.0);
                double last = 1.0;
                for (double scale : scales) {
                    sleepMs(moveIntervalMs);
                    ran = ran && step(1, scale);
                    last = scale;
                }
                ran = ran && step(2, last);
                return ran ? Outcome::passed() : Outcome::failed("a running application", "it has ended");
            }};
}

ScenarioCommand clickCommand()
{
    return {"click", "click <objectName>",
            [](const std::vector<std::string> &a) {
                return a.size() == 1 ? std::string() : std::string("needs an object name");
            },
            [](ScenarioContext &context, const std::vector<std::string> &a) {
                QPoint centre;
                bool visible = false;
                Outcome found = withWidget(context, a[0], [&](QWidget &widget) {
                    visible = widget.isVisible();
                    centre = widget.mapTo(widget.window(), widget.rect().center());
                    return Outcome::passed();
                });
                if (found.status != Outcome::Passed)
                    return found;
                if (!visible)
                    return Outcome::failed(a[0] + " visible to tap", "it is hidden");
                return tapAt(context, centre.x(), centre.y(), defaultTapMs);
            }};
}

ScenarioCommand expectCheckedCommand()
{
    return {"expect checked", "expect checked <objectName> true|false",
            [](const std::vector<std::string> &a) {
                return a.size() == 2 && (a[1] == "true" || a[1] == "false") ? std::string()
                                                                            : "needs a name and true or false";
            },
            [](ScenarioContext &context, const std::vector<std::string> &a) {
                return withWidget(context, a[0], [&](QWidget &widget) {
                    auto *button = qobject_cast<QAbstractButton *>(&widget);
                    if (button == nullptr)
                        return Outcome::failed(a[0] + " to be a button", "another kind of widget");
                    const bool expected = a[1] == "true";
                    return button->isChecked() == expected
                               ? Outcome::passed()
                               : Outcome::failed(a[0] + (expected ? " checked" : " unchecked"),
                                                 button->isChecked() ? "checked" : "unchecked");
                });
            }};
}

ScenarioCommand expectPageCommand()
{
    return {"expect page", "expect page <stackedWidgetName> <index>",
            [](const std::vector<std::string> &a) {
                long index = 0;
                return a.size() == 2 && parseInteger(a[1], 0, 1000, index) ? std::string()
                                                                           : "needs a name and a page index";
            },
            [](ScenarioContext &context, const std::vector<std::string> &a) {
                long expected = 0;
                parseInteger(a[1], 0, 1000, expected);
                return withWidget(context, a[0], [&](QWidget &widget) {
                    auto *stack = qobject_cast<QStackedWidget *>(&widget);
                    if (stack == nullptr)
                        return Outcome::failed(a[0] + " to be a stacked widget", "another kind of widget");
                    return stack->currentIndex() == expected
                               ? Outcome::passed()
                               : Outcome::failed(a[0] + " on page " + a[1], "page " + std::to_string(stack->currentIndex()));
                });
            }};
}

// A geometry value of the script: a number, or "-" for one not checked.
bool parseGeometryValue(const std::string &word, long &value, bool &checked)
{
    checked = word != "-";
    return !checked || parseInteger(word, -screenLimit, screenLimit, value);
}

ScenarioCommand expectGeometryCommand()
{
    return {"expect geometry", "expect geometry <objectName> <x> <y> [<w> <h>]",
            [](const std::vector<std::string> &a) {
                if (a.size() != 3 && a.size() != 5)
                    return std::string("needs a name, x and y, and optionally w and h");
                for (size_t i = 1; i < a.size(); ++i) {
                    long value = 0;
                    bool checked = false;
                    if (!parseGeometryValue(a[i], value, checked))
                        return "bad value '" + a[i] + "'";
                }
                return std::string();
            },
            [](ScenarioContext &context, const std::vector<std::string> &a) {
                return withWidget(context, a[0], [&](QWidget &widget) {
                    const QPoint origin = widget.mapTo(widget.window(), QPoint(0, 0));
                    const long found[4] = {origin.x(), origin.y(), widget.width(), widget.height()};
                    std::string expectedText;
                    std::string foundText;
                    bool same = true;
                    for (size_t i = 1; i < a.size(); ++i) {
                        long value = 0;
                        bool checked = false;
                        parseGeometryValue(a[i], value, checked);
                        same = same && (!checked || value == found[i - 1]);
                        expectedText += (i > 1 ? " " : "") + a[i];
                        foundText += (i > 1 ? " " : "") + std::to_string(found[i - 1]);
                    }
                    return same ? Outcome::passed() : Outcome::failed(a[0] + " at " + expectedText, foundText);
                });
            }};
}

ScenarioCommand expectTouchStateCommand()
{
    return {"expect touch-state", "expect touch-state <0-5>",
            [](const std::vector<std::string> &a) {
                long state = 0;
                return a.size() == 1 && parseInteger(a[0], 0, 5, state) ? std::string() : "needs a state 0 to 5";
            },
            [](ScenarioContext &context, const std::vector<std::string> &a) {
                int found = -1;
                const bool ran = context.onUi([&](QWidget &) {
                    if (auto *filter = QCoreApplication::instance()->findChild<ZqEventFilter *>())
                        found = filter->getTouchState();
                });
                if (!ran)
                    return Outcome::failed("a running application", "it has ended");
                if (found < 0)
                    return Outcome::failed("the application's touch filter", "none installed");
                return std::to_string(found) == a[0] ? Outcome::passed()
                                                     : Outcome::failed("touch state " + a[0], std::to_string(found));
            }};
}

bool parsePixel(const std::vector<std::string> &a, std::vector<long> &values)
{
    values.assign(6, 0);
    if (a.size() != 5 && a.size() != 6)
        return false;
    if (!parseInteger(a[0], 0, screenLimit, values[0]) || !parseInteger(a[1], 0, screenLimit, values[1]))
        return false;
    for (size_t i = 2; i < a.size(); ++i) {
        if (!parseInteger(a[i], 0, 255, values[i]))
            return false;
    }
    return true;
}

ScenarioCommand expectPixelCommand()
{
    return {"expect pixel", "expect pixel <x> <y> <r> <g> <b> [<tolerance>]",
            [](const std::vector<std::string> &a) {
                std::vector<long> values;
                return parsePixel(a, values) ? std::string() : std::string("needs x y r g b and an optional tolerance");
            },
            [](ScenarioContext &context, const std::vector<std::string> &a) {
                std::vector<long> v;
                parsePixel(a, v);
                QColor found;
                bool inside = false;
                const bool ran = context.onUi([&](QWidget &window) {
                    const QImage image = osdImage(window);
                    inside = image.valid(static_cast<int>(v[0]), static_cast<int>(v[1]));
                    if (inside)
                        found = image.pixelColor(static_cast<int>(v[0]), static_cast<int>(v[1]));
                });
                if (!ran)
                    return Outcome::failed("a running application", "it has ended");
                if (!inside)
                    return Outcome::failed("a pixel inside the window", "the point lies outside it");
                const long tolerance = v[5];
                const bool same = std::abs(found.red() - v[2]) <= tolerance && std::abs(found.green() - v[3]) <= tolerance
                                  && std::abs(found.blue() - v[4]) <= tolerance;
                const auto rgb = [](long r, long g, long b) {
                    return "(" + std::to_string(r) + ", " + std::to_string(g) + ", " + std::to_string(b) + ")";
                };
                return same ? Outcome::passed()
                            : Outcome::failed("pixel " + a[0] + "," + a[1] + " " + rgb(v[2], v[3], v[4]),
                                              rgb(found.red(), found.green(), found.blue()));
            }};
}

} // namespace

void addTouchCommands(CommandTable &commands)
{
    for (const ScenarioCommand &command :
         {tapCommand(), dragCommand(), pinchCommand(), clickCommand(), expectCheckedCommand(), expectPageCommand(),
          expectGeometryCommand(), expectTouchStateCommand(), expectPixelCommand()})
        commands.add(command);
}

} // namespace sim
