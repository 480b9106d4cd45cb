#include "TimeSettingWidget.h"

#include "Console.h"
#include "CustomIcon.h"
#include "RtcCtl.h"
#include "SetUpForm.h"
#include "System.h"
#include "ui_TimeSettingWidget.h"

#include <QDateTime>
#include <QIcon>
#include <ctime>
#include <sys/time.h>

namespace {

const char *const failedText = QT_TRANSLATE_NOOP("TimeSettingWidget", "时间设置失败");

// The smallest and largest value of each field; the day's largest depends on
// the month.
constexpr int lowest[TimeSettingWidget::FieldCount] = {TimeSettingWidget::firstYear, 1, 1, 0, 0, 0};
constexpr int highest[TimeSettingWidget::FieldCount] = {TimeSettingWidget::lastYear, 12, 31, 23, 59, 59};

} // namespace

TimeSettingWidget::TimeSettingWidget(QWidget *parent) : MenuPage(parent), ui(new Ui_TimeSettingWidget)
{
    setUpForm(ui, this);
    QAbstractButton *const ups[FieldCount] = {ui->timeYearUp,   ui->timeMonthUp,  ui->timeDayUp,
                                              ui->timeHourUp,   ui->timeMinuteUp, ui->timeSecondUp};
    QAbstractButton *const downs[FieldCount] = {ui->timeYearDown, ui->timeMonthDown,  ui->timeDayDown,
                                                ui->timeHourDown, ui->timeMinuteDown, ui->timeSecondDown};
    const QIcon up(CustomIcon::read(QStringLiteral(":/png/system/arrowUp.png")));
    const QIcon down(CustomIcon::read(QStringLiteral(":/png/system/arrowDown.png")));
    for (int field = 0; field < FieldCount; ++field) {
        ups[field]->setIcon(up);
        downs[field]->setIcon(down);
        connect(ups[field], &QAbstractButton::clicked, this, [this, field] { step(static_cast<Field>(field), 1); });
        connect(downs[field], &QAbstractButton::clicked, this,
                [this, field] { step(static_cast<Field>(field), -1); });
    }
    translateUi();
    showFields();
    connect(ui->timeSettingOk, &QPushButton::clicked, this, &TimeSettingWidget::slotOk);
    connect(ui->timeSettingCancel, &QPushButton::clicked, this, &TimeSettingWidget::slotCancel);
    connect(RtcCtl::getInstance(), &RtcCtl::signalUpdateTime, this, &TimeSettingWidget::slotUpdateTime);
}

TimeSettingWidget::~TimeSettingWidget()
{
    delete ui;
}

void TimeSettingWidget::translateUi()
{
    ui->timeSettingTitle->setText(tr("时间设置"));
    ui->timeSettingSubtitle->setText(tr("时间和日期"));
    ui->timeDateTitle->setText(tr("年、月、日"));
    ui->timeClockTitle->setText(tr("时、分、秒"));
    ui->timeSettingOk->setText(tr("确定"));
    ui->timeSettingCancel->setText(tr("取消"));
    ui->timeSettingHint->setText(hint != nullptr ? tr(hint) : QString());
}

bool TimeSettingWidget::isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int TimeSettingWidget::daysInMonth(int year, int month)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 31;
    return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

void TimeSettingWidget::slotUpdateTime(int year, int month, int day, int hour, int minute, int second)
{
    const int fields[FieldCount] = {year, month, day, hour, minute, second};
    if (!setSystemClock(fields))
        console::error("set system time %04d-%02d-%02d %02d:%02d:%02d failed\n", year, month, day, hour, minute,
                       second);
}

void TimeSettingWidget::showEvent(QShowEvent *event)
{
    MenuPage::showEvent(event);
    const QDateTime now = QDateTime::currentDateTime();
    const QDate date = now.date();
    const QTime time = now.time();
    values[Year] = qBound(firstYear, date.year(), lastYear);
    values[Month] = date.month();
    values[Day] = qMin(date.day(), daysInMonth(values[Year], values[Month]));
    values[Hour] = time.hour();
    values[Minute] = time.minute();
    values[Second] = time.second();
    setHint(nullptr);
    showFields();
}

void TimeSettingWidget::slotOk()
{
    if (!setSystemClock(values) ||
        RtcCtl::getInstance()->setTime(values[Year], values[Month], values[Day], values[Hour], values[Minute],
                                       values[Second]) < 0) {
        setHint(failedText);
        return;
    }
    setHint(nullptr);
    emit signalSetTimeOk();
}

void TimeSettingWidget::slotCancel()
{
    setHint(nullptr);
    emit signalSetTimeCancel();
}

// Each field runs round from its last value to its first and back; the day
// keeps within the month whenever the year or the month changes.
void TimeSettingWidget::step(Field field, int delta)
{
    const int top = field == Day ? daysInMonth(values[Year], values[Month]) : highest[field];
    const int span = top - lowest[field] + 1;
    values[field] = lowest[field] + ((values[field] - lowest[field] + delta) % span + span) % span;
    values[Day] = qMin(values[Day], daysInMonth(values[Year], values[Month]));
    showFields();
}

void TimeSettingWidget::showFields()
{
    static const char *const formats[FieldCount] = {"%04d", "%02d", "%02d", "%02d", "%02d", "%02d"};
    for (int field = 0; field < FieldCount; ++field)
        valueLabel(static_cast<Field>(field))->setText(QString::asprintf(formats[field], values[field]));
}

void TimeSettingWidget::setHint(const char *text)
{
    hint = text;
    ui->timeSettingHint->setText(text != nullptr ? tr(text) : QString());
}

QLabel *TimeSettingWidget::valueLabel(Field field) const
{
    QLabel *const labels[FieldCount] = {ui->timeYearValue, ui->timeMonthValue,  ui->timeDayValue,
                                        ui->timeHourValue, ui->timeMinuteValue, ui->timeSecondValue};
    return labels[field];
}

// The fields are local time.
bool TimeSettingWidget::setSystemClock(const int (&fields)[FieldCount])
{
    struct tm local = {};
    local.tm_year = fields[Year] - 1900;
    local.tm_mon = fields[Month] - 1;
    local.tm_mday = fields[Day];
    local.tm_hour = fields[Hour];
    local.tm_min = fields[Minute];
    local.tm_sec = fields[Second];
    local.tm_isdst = -1;
    const time_t stamp = mktime(&local);
    if (stamp == static_cast<time_t>(-1))
        return false;
    struct timeval clock = {};
    clock.tv_sec = stamp;
    return hw::system().setClock(clock);
}
