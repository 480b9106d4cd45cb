#include "McuLink.h"
#include "PageTest.h"
#include "TimeSettingWidget.h"

#include <QLabel>
#include <QPushButton>
#include <ctime>
#include <memory>

namespace {

constexpr uint8_t clockCommand = 0x0A;

const char *const fieldNames[] = {"Year", "Month", "Day", "Hour", "Minute", "Second"};

class TimeSettingWidgetTest : public OnePageTest<TimeSettingWidget>
{
protected:
    void build()
    {
        OnePageTest::build();
        QObject::connect(page.get(), &TimeSettingWidget::signalSetTimeOk, page.get(), [this] { ++oks; });
        QObject::connect(page.get(), &TimeSettingWidget::signalSetTimeCancel, page.get(), [this] { ++cancels; });
    }

    int value(TimeSettingWidget::Field field)
    {
        return child<QLabel>(*page, qPrintable(QStringLiteral("time%1Value").arg(fieldNames[field])))->text().toInt();
    }

    void press(TimeSettingWidget::Field field, bool up)
    {
        const QString name = QStringLiteral("time%1%2").arg(fieldNames[field], up ? "Up" : "Down");
        click(child<QPushButton>(*page, qPrintable(name)));
    }

    // Steps a field with its arrows towards the value until it shows it.
    void set(TimeSettingWidget::Field field, int target)
    {
        for (int i = 0; i < 100 && value(field) != target; ++i)
            press(field, value(field) < target);
        ASSERT_EQ(value(field), target) << fieldNames[field];
    }

    // The largest day February offers in a year.
    int lastDayOfFebruary(int year)
    {
        set(TimeSettingWidget::Year, year);
        set(TimeSettingWidget::Month, 2);
        set(TimeSettingWidget::Day, 1);
        press(TimeSettingWidget::Day, false);
        return value(TimeSettingWidget::Day);
    }

    static time_t localStamp(int year, int month, int day, int hour, int minute, int second)
    {
        struct tm local = {};
        local.tm_year = year - 1900;
        local.tm_mon = month - 1;
        local.tm_mday = day;
        local.tm_hour = hour;
        local.tm_min = minute;
        local.tm_sec = second;
        local.tm_isdst = -1;
        return mktime(&local);
    }

    int oks = 0;
    int cancels = 0;
};

} // namespace

TEST_F(TimeSettingWidgetTest, FebruaryHasItsLeapDayOnlyInLeapYearsAndFieldsRunRound)
{
    build();
    EXPECT_EQ(lastDayOfFebruary(2024), 29);
    EXPECT_EQ(lastDayOfFebruary(2023), 28);
    // Divisible by 100 but not by 400.
    EXPECT_EQ(lastDayOfFebruary(2100), 28);
    EXPECT_EQ(lastDayOfFebruary(2096), 29);

    // The 29th does not survive a move to a common year, nor the 31st one to
    // a 30-day month.
    set(TimeSettingWidget::Year, 2024);
    set(TimeSettingWidget::Day, 29);
    press(TimeSettingWidget::Year, true);
    EXPECT_EQ(value(TimeSettingWidget::Day), 28);
    set(TimeSettingWidget::Month, 3);
    set(TimeSettingWidget::Day, 31);
    press(TimeSettingWidget::Month, true);
    EXPECT_EQ(value(TimeSettingWidget::Month), 4);
    EXPECT_EQ(value(TimeSettingWidget::Day), 30);

    // Fields run round at their ends.
    set(TimeSettingWidget::Month, 12);
    press(TimeSettingWidget::Month, true);
    EXPECT_EQ(value(TimeSettingWidget::Month), 1);
    set(TimeSettingWidget::Hour, 0);
    press(TimeSettingWidget::Hour, false);
    EXPECT_EQ(value(TimeSettingWidget::Hour), 23);
    set(TimeSettingWidget::Second, 59);
    press(TimeSettingWidget::Second, true);
    EXPECT_EQ(value(TimeSettingWidget::Second), 0);
    set(TimeSettingWidget::Year, TimeSettingWidget::firstYear);
    press(TimeSettingWidget::Year, false);
    EXPECT_EQ(value(TimeSettingWidget::Year), TimeSettingWidget::lastYear);
}

TEST_F(TimeSettingWidgetTest, CancelSetsNothingConfirmingSetsTheSystemClockAndTheMcuClock)
{
    build();
    ASSERT_TRUE(startLink(board()));
    click(child<QPushButton>(*page, "timeSettingCancel"));
    EXPECT_EQ(cancels, 1);
    EXPECT_EQ(oks, 0);
    EXPECT_TRUE(board().system().clockSettings().empty());

    set(TimeSettingWidget::Year, 2030);
    set(TimeSettingWidget::Month, 3);
    set(TimeSettingWidget::Day, 4);
    set(TimeSettingWidget::Hour, 5);
    set(TimeSettingWidget::Minute, 6);
    set(TimeSettingWidget::Second, 7);
    click(child<QPushButton>(*page, "timeSettingOk"));
    EXPECT_EQ(oks, 1);

    const time_t stamp = localStamp(2030, 3, 4, 5, 6, 7);
    const std::vector<struct timeval> clocks = board().system().clockSettings();
    ASSERT_EQ(clocks.size(), 1u);
    EXPECT_EQ(clocks[0].tv_sec, stamp);
    ASSERT_TRUE(waitUntil([&] { return !mcuValues(clockCommand).empty(); }));
    const auto seconds = static_cast<uint32_t>(stamp);
    EXPECT_EQ(mcuValues(clockCommand)[0],
              (std::vector<uint8_t>{uint8_t(seconds >> 24), uint8_t(seconds >> 16), uint8_t(seconds >> 8),
                                    uint8_t(seconds)}));
}

TEST_F(TimeSettingWidgetTest, TheMcuClockReportSetsTheSystemClock)
{
    build();
    const time_t stamp = localStamp(2027, 8, 9, 10, 11, 12);
    board().mcu().setClock(static_cast<uint32_t>(stamp));
    ASSERT_TRUE(startLink(board()));
    ASSERT_TRUE(board().mcu().report(clockCommand, 100));
    ASSERT_TRUE(waitUntil([&] { return !board().system().clockSettings().empty(); }));
    board().mcu().report(clockCommand, 0);
    // The MCU clock runs on while it reports.
    EXPECT_NEAR(static_cast<double>(board().system().clockSettings()[0].tv_sec), static_cast<double>(stamp), 2.0);
}
