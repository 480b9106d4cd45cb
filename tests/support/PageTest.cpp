#include "PageTest.h"

#include "AppConfig.h"

#include <QAbstractSlider>
#include <QSettings>
#include <QTest>
#include <QTextCodec>
#include <filesystem>
#include <fstream>

void PageTest::startStore(const std::string &settings)
{
    std::filesystem::copy(FIELDMON_SEED_DIR, workDir(), std::filesystem::copy_options::recursive);
    if (!settings.empty())
        std::ofstream(workFile("config.ini")) << settings;
    AppConfig::getInstance()->init("config.ini");
}

void PageTest::restartStore(const std::string &settings)
{
    AppConfig::getInstance()->restoreDefaults();
    if (settings.empty())
        return;
    std::ofstream(workFile("config.ini")) << settings;
    EXPECT_TRUE(AppConfig::getInstance()->read());
}

QString PageTest::savedValue(const char *key) const
{
    QSettings settings(QString::fromStdString(workFile("config.ini")), QSettings::IniFormat);
    settings.setIniCodec(QTextCodec::codecForName("UTF-8"));
    settings.beginGroup(QStringLiteral("AppConfig"));
    return settings.value(QString::fromLatin1(key)).toString();
}

void PageTest::expectSavedOnHide(QWidget &page,
                                 std::initializer_list<std::pair<const char *, const char *>> values) const
{
    page.hide();
    for (const auto &[key, value] : values)
        EXPECT_EQ(savedValue(key), value) << key;
}

void PageTest::showPage(QWidget &page)
{
    page.show();
    if (!QTest::qWaitForWindowExposed(page.window()))
        ADD_FAILURE() << "the page never came on screen";
}

void PageTest::click(QWidget *widget)
{
    ASSERT_NE(widget, nullptr);
    ASSERT_TRUE(widget->isVisible()) << widget->objectName().toStdString() << " is not visible";
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
}

void PageTest::clickKey(int key)
{
    const int line = 3 + key;
    ASSERT_TRUE(QTest::qWaitFor([&] { return board().interrupts().isArmed(line); }, 10000));
    const uint32_t before = board().interrupts().count(line);
    board().interrupts().click(static_cast<sim::InterruptModel::Key>(key));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return board().interrupts().count(line) > before && board().interrupts().isArmed(line); }, 10000));
}

std::vector<std::vector<uint8_t>> PageTest::mcuValues(uint8_t command)
{
    std::vector<std::vector<uint8_t>> values;
    for (const sim::McuModel::Frame &frame : board().mcu().received()) {
        if (frame.command == command)
            values.push_back(frame.data);
    }
    return values;
}

void PageTest::slide(QAbstractSlider *slider, int value)
{
    ASSERT_NE(slider, nullptr);
    slider->setSliderDown(true);
    slider->setSliderPosition(value);
    slider->setSliderDown(false);
}
