#include "AppConfig.h"
#include "Application.h"
#include "Battery.h"
#include "KeyCtl.h"
#include "LightMeterCtl.h"
#include "MainWindow.h"
#include "PageTest.h"
#include "VideoModel.h"
#include "VideoOption.h"
#include "ZqEventFilter.h"

#include <QAbstractButton>
#include <QLabel>
#include <QSettings>
#include <QStackedWidget>
#include <QTest>
#include <QTextCodec>
#include <cmath>
#include <QTimer>
#include <algorithm>
#include <memory>
#include <random>
#include <set>

namespace {

// The window as the application builds it, with the touch filter installed
// on the application; touches go in through the window's platform side.
class MainWindowTest : public PageTest
{
protected:
    void TearDown() override
    {
        window.reset();
        if (filter != nullptr)
            qApp->removeEventFilter(filter.get());
        PageTest::TearDown();
    }

    void start(const std::string &settings = std::string())
    {
        startStore(settings);
        filter = std::make_unique<ZqEventFilter>();
        qApp->installEventFilter(filter.get());
        window = std::make_unique<MainWindow>();
        window->setEventFilterHandle(filter.get());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    // An SDI picture on the main channel, seen by the window's poll.
    void sdiPicture(const char *rate = "50i")
    {
        sim::VideoModel::Format format;
        std::string error;
        ASSERT_TRUE(sim::VideoModel::parseFormat("1920x1080", rate, format, error)) << error;
        ASSERT_TRUE(board().video().sdi(format, error)) << error;
        window->slotUpdateMainInput("SDI");
        ASSERT_TRUE(QTest::qWaitFor([&] { return text("videoLabel").startsWith("1920x1080"); }, 5000));
        // The receiver settles on the format a moment later and reports it.
        QTest::qWait(1500);
    }

    QWidget *widget(const char *name) const { return child<QWidget>(*window, name); }
    QString text(const char *name) const { return child<QLabel>(*window, name)->text(); }
    bool visible(const char *name) const { return widget(name)->isVisible(); }
    int pageOf(const char *stack) const { return child<QStackedWidget>(*window, stack)->currentIndex(); }
    QPoint origin(const char *name) const { return widget(name)->mapTo(window.get(), QPoint(0, 0)); }
    int touchState() const { return filter->getTouchState(); }

    void press(const QPoint &at) { QTest::mousePress(window->windowHandle(), Qt::LeftButton, Qt::NoModifier, at); }
    void move(const QPoint &at) { QTest::mouseMove(window->windowHandle(), at); }
    void release(const QPoint &at)
    {
        QTest::mouseRelease(window->windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
    }
    void tap(const QPoint &at, int ms = 40)
    {
        press(at);
        QTest::qWait(ms);
        release(at);
    }
    void tapOn(const char *name) { tap(widget(name)->mapTo(window.get(), widget(name)->rect().center())); }
    // Two fingers pressed (phase 0), moved (1) or lifted (2) together.
    void fingers(QTouchDevice *device, int phase, const QPoint &first, const QPoint &second)
    {
        QWindow *handle = window->windowHandle();
        QTest::QTouchEventSequence sequence = QTest::touchEvent(handle, device);
        if (phase == 0)
            sequence.press(0, first, handle).press(1, second, handle);
        else if (phase == 1)
            sequence.move(0, first, handle).move(1, second, handle);
        else
            sequence.release(0, first, handle).release(1, second, handle);
        sequence.commit();
    }

    std::unique_ptr<ZqEventFilter> filter;
    std::unique_ptr<MainWindow> window;
};

const char *const batteryControls[] = {"Battery0Label", "Battery0Value", "Battery1Label", "Battery1Value", "DCLabel"};

} // namespace

// The status bar's texts at a first start are the start-up scenario's.
TEST_F(MainWindowTest, FirstStartShowsAFramelessWindowInChineseWithTheExtrasHidden)
{
    start();
    EXPECT_EQ(window->size(), QSize(1920, 1080));
    EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(window->testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_TRUE(window->testAttribute(Qt::WA_AcceptTouchEvents));
    EXPECT_EQ(text("poweroffLabel"), QString::fromUtf8("温度过高，系统即将关机！"));
    for (const char *hidden : {"USBLabel", "USBIcon", "Battery0Label", "Battery0Value", "Battery1Label",
                               "Battery1Value", "DCLabel", "poweroffLabel", "McustackedWidget", "FastWidget",
                               "systemWidget", "msgStackedWidget", "lutIcon", "temperatureLabel"})
        EXPECT_FALSE(visible(hidden)) << hidden;
    EXPECT_TRUE(visible("bottomFrame"));
}

TEST_F(MainWindowTest, StoredSettingsReachTheStatusBarAndEnglishIsTranslated)
{
    start("[AppConfig]\nlanguage=English\ninputMain=SDI\ninputChannel=7\n");
    EXPECT_EQ(text("inputLabel"), "SDI IN");
    EXPECT_EQ(text("signalLabel"), "CH.07");
    EXPECT_EQ(text("poweroffLabel"), "Temperature too high, the system is shutting down!");
}

TEST_F(MainWindowTest, TheLongestVideoDescriptionFitsBeforeTheInputIcon)
{
    applyStyleSheet(*qApp);
    ASSERT_FALSE(qApp->styleSheet().isEmpty());
    start();
    sim::VideoModel::Format format;
    std::string error;
    ASSERT_TRUE(sim::VideoModel::parseFormat("1920x1080", "29.97psf", format, error)) << error;
    format.sampling = sim::VideoModel::Sampling::YCbCr444;
    format.bits = 12;
    ASSERT_TRUE(board().video().sdi(format, error)) << error;
    window->slotUpdateMainInput("SDI");
    ASSERT_TRUE(QTest::qWaitFor([&] { return text("videoLabel") == "1920x1080 29.97psf 444 12bit"; }, 5000))
        << text("videoLabel").toStdString();
    auto *label = child<QLabel>(*window, "videoLabel");
    EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->contentsRect().width());
    EXPECT_LE(origin("videoLabel").x() + label->width(), origin("inputIcon").x());
    EXPECT_LE(origin("inputLabel").x() + widget("inputLabel")->width(), origin("signaIcon").x());
}

TEST_F(MainWindowTest, EveryAreaHoldsItsPagesInOrder)
{
    start();
    const auto classes = [&](const char *stack) {
        QStringList names;
        auto *pages = child<QStackedWidget>(*window, stack);
        for (int i = 0; i < pages->count(); ++i)
            names << QString::fromLatin1(pages->widget(i)->metaObject()->className());
        return names;
    };
    EXPECT_EQ(classes("msgStackedWidget"),
              QStringList({"ScreenFrameSuccess", "ScreenFrameFail", "PreConfig", "ResetSystem", "AntennaExternal",
                           "TimeSetting", "ImportLutSuccess", "ImportLutFailed", "EraseLutSuccess", "LutContrast",
                           "ScanProgress"}));
    EXPECT_EQ(classes("FastWidget"), QStringList({"FrameWidget", "WavesWidget", "PhotoWidget", "ColorWidget",
                                                  "SignalWidget", "SelectWidget", "RGBadjustWidget"}));
    EXPECT_EQ(classes("systemWidget"), QStringList({"SystemMenuWidget"}));
    EXPECT_EQ(classes("McustackedWidget"), QStringList({"McuUpdateWidget"}));
}

TEST_F(MainWindowTest, StoredSettingsArePushedPageByPageInTheStartUpOrder)
{
    startStore("[AppConfig]\nphotoFocusEnable=true\nphotoZebraEnable=true\nphotoPseudoEnable=true\n"
               "colorGammaEnable=true\nwavesLightEnable=true\ndisplaySharpen=30\nopacity=80\n");
    board().pl().startWriteLog();
    window = std::make_unique<MainWindow>();
    board().pl().stopWriteLog();
    const std::vector<sim::PLModel::Write> log = board().pl().writeLog();
    const auto first = [&](const char *name) {
        const auto at = std::find_if(log.begin(), log.end(), [&](const auto &write) { return write.name == name; });
        return at == log.end() ? -1L : static_cast<long>(at - log.begin());
    };
    // A register the page first writes, for pages in the order they are
    // built: capture, scopes, focus, zebra, false colour, gamma, link
    // password, video format, display.
    const char *const order[] = {"FRAME_CAP_CTL",   "VID_SCOPE_CTL",  "FOCUS_ASSIST_CTL",
                                 "ZEBRA_LINE_CTL",  "FALSE_COLOR_CTL", "CALI_GAMMA_CTL",
                                 "WHDI_ENCRYP_CTRL", "SDI_OUT_CTRL",   "OSD_CTL"};
    long previous = -1;
    for (const char *name : order) {
        const long at = first(name);
        EXPECT_GT(at, previous) << name << " is written out of order (or not at all)";
        previous = std::max(previous, at);
    }
}

// The places a battery and the supply take are the batteries scenario's;
// here, what they give back when they go.
TEST_F(MainWindowTest, BatteriesAndExternalPowerGiveTheirPlacesBack)
{
    start();
    Battery *battery = Battery::getInstance();
    battery->setBatteryVoltage(true, 7.4f, 8.1f);
    battery->setBatteryVoltage(true, 7.4f, 0.0f);
    EXPECT_FALSE(visible("Battery1Label"));
    EXPECT_EQ(origin("Battery0Label").x(), 1771);
    EXPECT_EQ(origin("DCLabel").x(), 1726);
    battery->setBatteryVoltage(false, 0.0f, 0.0f);
    for (const char *control : batteryControls)
        EXPECT_FALSE(visible(control)) << control;
    battery->setBatteryVoltage(true, 7.9f, 8.1f);
    // Exactly 5 V neither adds nor removes a battery.
    battery->setBatteryVoltage(true, 5.0f, 8.1f);
    EXPECT_TRUE(visible("Battery0Label"));
}

TEST_F(MainWindowTest, ScopeCaptionsFillTheSlotsOfTheShownScopesInOrder)
{
    start();
    sdiPicture();
    window->slotShowHistogram(true);
    window->slotShowVectorgraph(true);
    EXPECT_FALSE(visible("luminanceWavesLabel"));
    EXPECT_FALSE(visible("RGBWavesLabel"));
    EXPECT_EQ(origin("histogramWavesLabel"), QPoint(-6, 840));
    EXPECT_EQ(origin("vectorgraphWavesLabel"), QPoint(480, 840));
    window->slotShowWaves(true);
    window->slotShowRGBWaves(true);
    EXPECT_EQ(origin("luminanceWavesLabel"), QPoint(0, 840));
    EXPECT_EQ(origin("RGBWavesLabel"), QPoint(480, 840));
    EXPECT_EQ(origin("histogramWavesLabel"), QPoint(954, 840));
    EXPECT_EQ(origin("vectorgraphWavesLabel"), QPoint(1440, 840));
    // Without a picture no caption shows; they come back with it.
    board().video().sdiCable(false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !visible("vectorgraphWavesLabel"); }, 5000));
    EXPECT_FALSE(visible("luminanceWavesLabel"));
    board().video().sdiCable(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return visible("vectorgraphWavesLabel"); }, 5000));
}

TEST_F(MainWindowTest, TheLightMeterReadsInVideoRangeAndItsProbeFollowsTaps)
{
    start("[AppConfig]\ncolorLightMeterEnable=true\n");
    sdiPicture();
    EXPECT_TRUE(visible("lightMeterFrame"));
    // Y in bits 10 to 19, Cb and Cr at their middle.
    board().pl().set(LIGHT_METER_INFO, (512u << 20) | (940u << 10) | 512u);
    ASSERT_TRUE(QTest::qWaitFor([&] { return text("YValue") == "100%"; }, 5000)) << text("YValue").toStdString();
    board().pl().set(LIGHT_METER_INFO, (512u << 20) | (64u << 10) | 512u);
    ASSERT_TRUE(QTest::qWaitFor([&] { return text("YValue") == "0%"; }, 5000)) << text("YValue").toStdString();

    // A short tap puts the probe there: source pixels, half height for an
    // interlaced source.
    tap({480, 270}, 50);
    EXPECT_EQ(field(LIGHT_METER_CTL, 15, 4), 480u);
    EXPECT_EQ(field(LIGHT_METER_CTL, 27, 16), 135u);
    // A slow drag moves it one pixel per finger move, whatever the distance.
    press({480, 270});
    for (int x = 500; x <= 600; x += 50)
        move({x, 270});
    QTest::qWait(350);
    release({600, 270});
    EXPECT_EQ(field(LIGHT_METER_CTL, 15, 4), 483u);
}

TEST_F(MainWindowTest, TheScreenGoingOffKeepsTheLockAndGivesItBack)
{
    start();
    click(child<QAbstractButton>(*window, "lock"));
    window->slotScreenOff(true);
    EXPECT_EQ(touchState(), ZqEventFilter::TOUCH_SCREEN_OFF);
    window->slotScreenOff(false);
    EXPECT_EQ(touchState(), ZqEventFilter::TOUCH_LOCKED);
}

TEST_F(MainWindowTest, TapsOnThePictureToggleTheBarsButNotOnTheStatusBar)
{
    start();
    tap({960, 20});
    EXPECT_TRUE(visible("topFrame"));
}

TEST_F(MainWindowTest, TheFrameCompareHandleFollowsTheFingerToTheEdge)
{
    start("[AppConfig]\nframeCompareEnable=true\nframeComparePosition=50\n");
    sdiPicture();
    ASSERT_TRUE(visible("frameComparePosition"));
    const auto stored = [] {
        int position = -1;
        AppConfig::getInstance()->findValue("frameComparePosition", position);
        return position;
    };
    press({960, 500});
    move({1885, 500});
    EXPECT_EQ(stored(), 99);
    EXPECT_EQ(origin("frameComparePosition").x() + widget("frameComparePosition")->width() / 2, 1900);
    move({1900, 500});
    release({1900, 500});
    EXPECT_EQ(stored(), 100);
    move({10, 500});
    EXPECT_EQ(stored(), 100); // the finger left the handle
    // The drag never toggled the bars.
    EXPECT_TRUE(visible("topFrame"));
}

TEST_F(MainWindowTest, APinchStepsTheZoomOnlyPastItsThresholdAndNotWhileAMenuIsOpen)
{
    start("[AppConfig]\nphotoZoomEnable=true\n");
    sdiPicture("50p");
    VideoOption *video = VideoOption::getInstance();
    ASSERT_TRUE(QTest::qWaitFor([&] { return video->isZoom(); }, 3000));
    QTest::qWait(100); // the zoom state reaches the window queued
    const unsigned short before = video->getZoomWidth();
    QTouchDevice *device = QTest::createTouchDevice();
    // The fingers move by the square root of each scale: the recogniser,
    // as widgets receive it, compounds every move twice.
    const auto pinch = [&](int phase, double scale) {
        const double exact = 1000 * std::sqrt(scale);
        const int distance = static_cast<int>(scale >= 1.0 ? std::ceil(exact) : std::floor(exact));
        fingers(device, phase, QPoint(960 - distance / 2, 540), QPoint(960 - distance / 2 + distance, 540));
    };
    pinch(0, 1.0);
    pinch(1, 1.0);
    pinch(1, 1.05);
    EXPECT_EQ(video->getZoomWidth(), before);
    pinch(1, 1.1);
    pinch(2, 1.1);
    EXPECT_LT(video->getZoomWidth(), before);

    const unsigned short zoomed = video->getZoomWidth();
    click(child<QAbstractButton>(*window, "menu"));
    pinch(0, 1.0);
    pinch(1, 1.0);
    pinch(1, 1.5);
    pinch(2, 1.5);
    EXPECT_EQ(video->getZoomWidth(), zoomed);
}

TEST_F(MainWindowTest, FrontKeyFreezeHoldsThePicture)
{
    start();
    const uint32_t before = field(FRAME_CAP_CTL, 31, 0);
    window->slotFunctionClicked(KeyCtl::FUNC_FREEZE);
    EXPECT_NE(field(FRAME_CAP_CTL, 31, 0), before);
    window->slotFunctionClicked(KeyCtl::FUNC_ZEBRA);
    window->slotFunctionClicked(KeyCtl::FUNC_FREEZE);
    EXPECT_EQ(field(FRAME_CAP_CTL, 31, 0), before);
}

TEST_F(MainWindowTest, TheIdlePollTouchesNoWidget)
{
    start();
    sdiPicture();
    QTest::qWait(1200);
    // Counts what a widget change leaves behind: repaints asked for, shows,
    // hides and moves.
    struct Watch : QObject {
        int events = 0;
        bool eventFilter(QObject *watched, QEvent *event) override
        {
            static const std::set<QEvent::Type> changes = {QEvent::UpdateRequest, QEvent::Show, QEvent::Hide,
                                                           QEvent::Move, QEvent::Resize};
            events += watched->isWidgetType() && changes.count(event->type()) > 0;
            return false;
        }
    } watch;
    qApp->installEventFilter(&watch);
    for (int i = 0; i < 5; ++i)
        QMetaObject::invokeMethod(window.get(), "slotInputDetect");
    QCoreApplication::processEvents();
    qApp->removeEventFilter(&watch);
    EXPECT_EQ(watch.events, 0);
}

// The confirmation itself and the touch it holds are the reset scenario's.
TEST_F(MainWindowTest, AFactoryResetRestoresTheScreenAndTheStore)
{
    start("[AppConfig]\ninputMain=HDMI\nframeCompareEnable=true\n");
    EXPECT_EQ(text("inputLabel"), "HDMI IN");
    window->slotMsgResetSystem();
    click(child<QAbstractButton>(*child<QWidget>(*window, "ResetSystem"), "msgOk"));
    EXPECT_EQ(text("inputLabel"), "WIRELESS");
    EXPECT_FALSE(visible("frameComparePosition"));
    EXPECT_EQ(savedValue("inputMain"), "WHDI");
}

// Thousands of touches at any coordinates, drags, pinches, front keys, signal
// and stick changes from a fixed seed, in whatever state they leave the
// screen: the application keeps answering, the filter stays in a listed
// state, the settings file stays whole and the lock still works.
TEST_F(MainWindowTest, ALongRandomSessionLeavesTheMonitorWorking)
{
    start("[AppConfig]\nfunctionF1=9\nfunctionF2=24\nfunctionF3=12\ninputMain=SDI\n");
    sdiPicture("60p");
    std::mt19937 random(20261206);
    const auto any = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    const auto anywhere = [&] { return QPoint(any(-50, 1970), any(-50, 1130)); };
    QTouchDevice *device = QTest::createTouchDevice();
    // Buttons the session pressed: it must reach the menus, not only the picture.
    struct Presses : QObject {
        std::set<QString> buttons;
        bool eventFilter(QObject *watched, QEvent *event) override
        {
            if (event->type() == QEvent::MouseButtonRelease && qobject_cast<QAbstractButton *>(watched))
                buttons.insert(watched->objectName());
            return false;
        }
    } presses;
    qApp->installEventFilter(&presses);
    bool cableIn = true;
    bool stickIn = false;
    for (int step = 0; step < 2500; ++step) {
        const int action = any(0, 99);
        if (action < 25) {
            tap(anywhere(), 0);
        } else if (action < 55) {
            // A control the user can see, as a finger aiming at it would.
            QList<QAbstractButton *> shown = window->findChildren<QAbstractButton *>();
            const auto hidden = [](QWidget *button) { return !button->isVisible(); };
            shown.erase(std::remove_if(shown.begin(), shown.end(), hidden), shown.end());
            if (!shown.isEmpty()) {
                QAbstractButton *button = shown[any(0, shown.size() - 1)];
                tap(button->mapTo(window.get(), button->rect().center()), 0);
            }
        } else if (action < 75) {
            const QPoint from = anywhere();
            press(from);
            for (int i = 0; i < any(1, 6); ++i)
                move(anywhere());
            release(anywhere());
        } else if (action < 80) {
            for (int phase = 0; phase < 3; ++phase) {
                const QPoint first = anywhere();
                fingers(device, phase, first, anywhere());
            }
        } else if (action < 90) {
            board().interrupts().click(static_cast<sim::InterruptModel::Key>(any(0, 2)));
        } else if (action < 95) {
            cableIn = !cableIn;
            board().video().sdiCable(cableIn);
        } else {
            stickIn = stickIn ? !board().tree().removeUsb() : board().tree().insertUsb('a');
        }
        QCoreApplication::processEvents();
        ASSERT_GE(touchState(), ZqEventFilter::TOUCH_NORMAL);
        ASSERT_LE(touchState(), ZqEventFilter::TOUCH_MESSAGE);
    }

    qApp->removeEventFilter(&presses);
    EXPECT_GT(presses.buttons.size(), 40u);

    // Still answering: a timer fires on time.
    bool fired = false;
    QTimer::singleShot(10, [&] { fired = true; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return fired; }, 2000));

    // Back to the normal state the way a user gets there, then lock and unlock.
    if (touchState() == ZqEventFilter::TOUCH_SCANNING) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return touchState() != ZqEventFilter::TOUCH_SCANNING; }, 30000));
    }
    if (touchState() == ZqEventFilter::TOUCH_SCREEN_OFF)
        window->slotScreenOff(false);
    if (touchState() == ZqEventFilter::TOUCH_MESSAGE)
        tap({100, 600});
    for (int i = 0; i < 2 && touchState() != ZqEventFilter::TOUCH_NORMAL; ++i)
        tapOn("lock");
    ASSERT_EQ(touchState(), ZqEventFilter::TOUCH_NORMAL);
    if (!visible("bottomFrame"))
        tap({960, 540});
    if (visible("FastWidget") || visible("systemWidget"))
        tap({960, 200});
    if (!visible("bottomFrame"))
        tap({960, 540});
    ASSERT_TRUE(visible("lock"));
    tapOn("lock");
    EXPECT_EQ(touchState(), ZqEventFilter::TOUCH_LOCKED);
    tapOn("lock");
    EXPECT_EQ(touchState(), ZqEventFilter::TOUCH_NORMAL);

    // The settings file holds every key and reads back cleanly.
    window->configSave(true);
    QSettings settings(QString::fromStdString(workFile("config.ini")), QSettings::IniFormat);
    EXPECT_EQ(settings.status(), QSettings::NoError);
    settings.beginGroup(QStringLiteral("AppConfig"));
    EXPECT_EQ(settings.childKeys().size(), 102);
}
