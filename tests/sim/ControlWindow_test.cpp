#include "AppConfig.h"
#include "BoardTest.h"
#include "CommandLine.h"
#include "Console.h"
#include "ControlWindow.h"
#include "MainWindow.h"
#include "OutputCapture.h"
#include "ScenarioLanguage.h"
#include "Wait.h"

#include <QComboBox>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <memory>

namespace {

// The interrupt line of the F2 key.
constexpr int f2Line = 4;

// The panel (the real main window on a seeded working directory) and the
// control window beside it, wired as the simulator wires them.
class ControlWindowTest : public BoardTest
{
protected:
    void SetUp() override
    {
        BoardTest::SetUp();
        sim::addScenarioLanguage(commands);
        std::filesystem::copy(FIELDMON_SEED_DIR, workDir(), std::filesystem::copy_options::recursive);
        AppConfig::getInstance()->init("config.ini");
        panel = std::make_unique<MainWindow>();
        panel->show();
        ASSERT_TRUE(output.start());
        runner = std::make_unique<sim::ScenarioRunner>(commands, board(), output, workDir());
        runner->attach(*panel);
        commandLine = std::make_unique<sim::CommandLine>(commands, runner->context());
        control = std::make_unique<sim::ControlWindow>(board(), *commandLine, output, runner->context(), *panel);
        control->show();
    }

    void TearDown() override
    {
        control.reset();
        commandLine.reset();
        runner->applicationEnded();
        runner.reset();
        output.stop();
        // The panel's threads use the board's devices: it goes before the board.
        panel.reset();
        BoardTest::TearDown();
    }

    template <typename T>
    T *find(const char *name)
    {
        T *widget = control->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    QString history() { return find<QPlainTextEdit>("commandHistory")->toPlainText(); }

    // The line and its outcome reached the history.
    bool ran(const QString &line, const QString &outcome = QStringLiteral("  ok"))
    {
        return waitUntil([&] {
            const QString text = history();
            const int at = text.indexOf(QStringLiteral("> ") + line + QLatin1Char('\n'));
            return at >= 0 && text.indexOf(outcome, at) > at;
        });
    }

    void type(const QString &text)
    {
        QLineEdit *line = find<QLineEdit>("commandLine");
        line->setText(text);
        QTest::keyClick(line, Qt::Key_Return);
    }

    uint32_t keyLevel(int key) { return board().pl().field(SDI_IN_INFO, 25 + key, 25 + key); }

    sim::CommandTable commands;
    sim::OutputCapture output;
    std::unique_ptr<MainWindow> panel;
    std::unique_ptr<sim::ScenarioRunner> runner;
    std::unique_ptr<sim::CommandLine> commandLine;
    std::unique_ptr<sim::ControlWindow> control;
};

} // namespace

TEST_F(ControlWindowTest, KeysAndPowerButtonAreHeldAsLongAsTheUserHoldsThem)
{
    QPushButton *f1 = find<QPushButton>("keyF1");
    QTest::mousePress(f1, Qt::LeftButton);
    EXPECT_EQ(keyLevel(0), 1u);
    QTest::qWait(100);
    EXPECT_EQ(keyLevel(0), 1u) << "still held";
    QTest::mouseRelease(f1, Qt::LeftButton);
    EXPECT_EQ(keyLevel(0), 0u);

    // The keyboard's F2 on the panel window; its repeats while held change nothing.
    QTest::keyPress(panel.get(), Qt::Key_F2);
    EXPECT_EQ(keyLevel(1), 1u);
    const uint32_t presses = board().interrupts().count(f2Line);
    QKeyEvent repeatRelease(QEvent::KeyRelease, Qt::Key_F2, Qt::NoModifier, QString(), true);
    QKeyEvent repeatPress(QEvent::KeyPress, Qt::Key_F2, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(panel.get(), &repeatRelease);
    EXPECT_EQ(keyLevel(1), 1u) << "a repeat is no release";
    QApplication::sendEvent(panel.get(), &repeatPress);
    EXPECT_EQ(board().interrupts().count(f2Line), presses) << "nor a new press";
    QTest::keyRelease(panel.get(), Qt::Key_F2);
    EXPECT_EQ(keyLevel(1), 0u);
    // Typed into the control window, F3 is no front key.
    QTest::keyPress(find<QLineEdit>("commandLine"), Qt::Key_F3);
    EXPECT_EQ(keyLevel(2), 0u);
    QTest::keyRelease(find<QLineEdit>("commandLine"), Qt::Key_F3);

    QPushButton *power = find<QPushButton>("powerButton");
    QTest::mousePress(power, Qt::LeftButton);
    EXPECT_EQ(board().platform().gpioValue(sim::PlatformModel::powerButtonLine), 0);
    QTest::mouseRelease(power, Qt::LeftButton);
    EXPECT_EQ(board().platform().gpioValue(sim::PlatformModel::powerButtonLine), 1);

    // A key still down when the window goes is let go.
    QTest::mousePress(find<QPushButton>("keyF3"), Qt::LeftButton);
    EXPECT_EQ(keyLevel(2), 1u);
    control.reset();
    EXPECT_EQ(keyLevel(2), 0u);
}

TEST_F(ControlWindowTest, ControlsDriveTheBoardAndTheLogShowsWhatTheApplicationPrints)
{
    QTest::mouseClick(find<QPushButton>("usbInsert"), Qt::LeftButton);
    ASSERT_TRUE(ran("usb insert")) << history().toStdString();
    EXPECT_NE(board().tree().usbLetter(), 0);
    QTest::mouseClick(find<QPushButton>("usbRemove"), Qt::LeftButton);
    ASSERT_TRUE(ran("usb remove"));
    EXPECT_EQ(board().tree().usbLetter(), 0);

    // The main channel on SDI: the picture, then the signal lost, the cable out.
    QComboBox *source = find<QComboBox>("mainSource");
    QComboBox *format = find<QComboBox>("mainFormat");
    source->setCurrentText(QStringLiteral("SDI"));
    ASSERT_TRUE(ran("input main SDI"));
    find<QCheckBox>("mainSignal")->setChecked(true);
    ASSERT_TRUE(ran("sdi 1920x1080 50i"));
    EXPECT_EQ(board().pl().field(SDI_IN_INFO, 3, 3), 1u) << "locked";
    format->setCurrentText(QStringLiteral("1280x720 59.94p"));
    ASSERT_TRUE(ran("sdi 1280x720 59.94p"));
    find<QCheckBox>("mainSignal")->setChecked(false);
    ASSERT_TRUE(ran("sdi off"));
    EXPECT_EQ(board().pl().field(SDI_IN_INFO, 3, 3), 0u) << "unlocked";
    find<QCheckBox>("sdiCable")->setChecked(false);
    ASSERT_TRUE(ran("sdi cable out"));
    EXPECT_EQ(board().pl().field(SDI_IN_INFO, 28, 28), 1u) << "carrier lost";

    // The assist channel on HDMI: its list is HDMI's, its timing channel 1.
    QComboBox *assist = find<QComboBox>("assistSource");
    assist->setCurrentText(QStringLiteral("HDMI"));
    ASSERT_TRUE(ran("input assist HDMI"));
    EXPECT_EQ(find<QComboBox>("assistFormat")->itemText(0), sim::ControlWindow::formats("HDMI").front());
    find<QCheckBox>("assistSignal")->setChecked(true);
    ASSERT_TRUE(ran("hdmi 1 1920x1080 60p"));
    EXPECT_NE(board().pl().get(ASSIST_VID_INFO0), 0u);
    find<QCheckBox>("assistSignal")->setChecked(false);
    ASSERT_TRUE(ran("hdmi 1 off"));
    EXPECT_EQ(board().pl().get(ASSIST_VID_INFO0), 0u);

    find<QSpinBox>("dieTemperature")->setValue(91);
    QTest::mouseClick(find<QPushButton>("temperatureSet"), Qt::LeftButton);
    ASSERT_TRUE(ran("temp 91"));
    std::ifstream sensor(board().tree().path("/sys/bus/iio/devices/iio:device0/in_temp0_raw"));
    long raw = 0;
    sensor >> raw;
    EXPECT_EQ(raw, sim::PlatformModel::temperatureRaw(91));

    find<QCheckBox>("mcuSilent")->setChecked(true);
    ASSERT_TRUE(ran("mcu silent on"));
    find<QSpinBox>("mcuNoise")->setValue(5);
    QTest::mouseClick(find<QPushButton>("noiseSet"), Qt::LeftButton);
    ASSERT_TRUE(ran("mcu noise 5"));
    QTest::mouseClick(find<QPushButton>("powerReport"), Qt::LeftButton);
    ASSERT_TRUE(ran("mcu power 12.0 7.4 7.4"));

    console::print("hello from the application\n");
    console::warning("watch the battery\n");
    QPlainTextEdit *log = find<QPlainTextEdit>("applicationLog");
    EXPECT_TRUE(waitUntil([&] { return log->toPlainText().contains(QStringLiteral("hello from the application")); }));
    EXPECT_TRUE(waitUntil([&] { return log->toPlainText().contains(QStringLiteral("[ WARNING ]: watch the battery")); }))
        << "without its colour codes: " << log->toPlainText().toStdString();
}

TEST_F(ControlWindowTest, TheCommandLineAndTheFormatListsTakeExactlyTheScenarioLanguage)
{
    QLabel *error = find<QLabel>("commandError");
    QLineEdit *line = find<QLineEdit>("commandLine");
    // Each malformed line gives the script loader's own error text and runs nothing.
    for (const char *bad : {"frobnicate", "usb insert k", "wait soon", "expect text a \"open", "sdi 1280x720 50i",
                            "key F4 click"}) {
        std::ofstream(workFile("one.scn")) << bad << "\n";
        sim::ScenarioRunner loader(commands, board(), output, workDir());
        std::string loaded;
        ASSERT_FALSE(loader.load(workFile("one.scn"), loaded)) << bad;
        const std::string prefix = workFile("one.scn") + " line 1: ";
        ASSERT_EQ(loaded.rfind(prefix, 0), 0u) << loaded;

        const QString before = history();
        type(QString::fromUtf8(bad));
        EXPECT_TRUE(error->isVisibleTo(control.get())) << bad;
        EXPECT_EQ(error->text().toStdString(), loaded.substr(prefix.size()));
        EXPECT_EQ(line->text(), QString::fromUtf8(bad)) << "kept for mending";
        EXPECT_EQ(history(), before) << bad;
    }
    EXPECT_EQ(board().tree().usbLetter(), 0);

    type(QStringLiteral("usb insert c"));
    EXPECT_FALSE(error->isVisibleTo(control.get()));
    EXPECT_TRUE(line->text().isEmpty());
    ASSERT_TRUE(ran("usb insert c"));
    EXPECT_EQ(board().tree().usbLetter(), 'c');

    // Typed lines for which there are controls show in them.
    type(QStringLiteral("input assist HDMI"));
    ASSERT_TRUE(ran("input assist HDMI"));
    EXPECT_EQ(find<QComboBox>("assistSource")->currentText(), QStringLiteral("HDMI"));
    EXPECT_EQ(find<QComboBox>("assistFormat")->itemText(0), sim::ControlWindow::formats("HDMI").front());
    type(QStringLiteral("sdi cable out"));
    ASSERT_TRUE(ran("sdi cable out"));
    EXPECT_FALSE(find<QCheckBox>("sdiCable")->isChecked());
    EXPECT_EQ(history().count(QStringLiteral("> ")), 3) << "each typed once, no control issued its own";

    // A check that does not hold says what it found; a blank line is no command.
    type(QStringLiteral("expect visible noSuchWidget true"));
    ASSERT_TRUE(ran("expect visible noSuchWidget true", QStringLiteral("  failed: expected")));
    type(QStringLiteral("   # only a comment"));
    EXPECT_TRUE(error->isVisibleTo(control.get()));

    // Every format the controls list is one the language takes.
    for (const char *source : {"SDI", "HDMI", "WHDI"}) {
        const QStringList formats = sim::ControlWindow::formats(QString::fromLatin1(source));
        EXPECT_GE(formats.size(), 8) << source;
        for (const QString &format : formats) {
            const std::string given = std::string(source) == "SDI"    ? "sdi " + format.toStdString()
                                      : std::string(source) == "HDMI" ? "hdmi 1 " + format.toStdString()
                                                                      : "whdi 0 " + format.toStdString();
            const sim::ScenarioCommand *command = nullptr;
            std::vector<std::string> arguments;
            EXPECT_EQ(commands.check(given, command, arguments), "") << given;
        }
    }
}

TEST_F(ControlWindowTest, AScriptRunsVisiblyLineByLine)
{
    std::ofstream(workFile("visible.scn")) << "# a stick, then a check that fails\n"
                                              "usb insert b\n"
                                              "expect visible noSuchWidget true\n"
                                              "usb remove\n";
    sim::ScenarioRunner script(commands, board(), output, workDir());
    std::string error;
    ASSERT_TRUE(script.load(workFile("visible.scn"), error)) << error;
    control->followScript(script);
    QListWidget *lines = find<QListWidget>("scriptLines");
    ASSERT_EQ(lines->count(), 3);
    EXPECT_EQ(lines->item(0)->text(), QStringLiteral("2: usb insert b"));
    script.start(*panel);
    // The script's checks look at widgets on this thread: keep it serving them.
    ASSERT_TRUE(waitUntil([&] { return lines->item(1)->text().contains(QStringLiteral("<- expected")); }));
    EXPECT_EQ(script.join(), 1);
    EXPECT_EQ(lines->item(0)->foreground().color(), QColor(0x2e, 0x8b, 0x57)) << "passed";
    EXPECT_EQ(lines->item(1)->foreground().color(), QColor(0xc0, 0x39, 0x2b)) << "failed";
    EXPECT_EQ(lines->item(2)->text(), QStringLiteral("4: usb remove")) << "never ran";
    EXPECT_EQ(board().tree().usbLetter(), 'b');
    script.applicationEnded();
}
