#pragma once

#include "MenuPage.h"

class QAbstractButton;
class QLabel;
class Ui_TimeSettingWidget;

// Date and time of the monitor: six fields stepped up and down, months with
// their lengths and February with its leap day. Confirming sets the system
// clock and the MCU's battery-backed clock; the MCU's report at start sets the
// system clock.
class TimeSettingWidget : public MenuPage
{
    Q_OBJECT

public:
    enum Field { Year = 0, Month, Day, Hour, Minute, Second, FieldCount };

    // The years the MCU clock holds: it takes earlier ones as unset and counts
    // unsigned 32-bit seconds.
    static constexpr int firstYear = 2020;
    static constexpr int lastYear = 2105;

    explicit TimeSettingWidget(QWidget *parent = nullptr);
    ~TimeSettingWidget() override;

    void translateUi() override;

    static bool isLeapYear(int year);
    static int daysInMonth(int year, int month);

signals:
    void signalSetTimeOk();
    void signalSetTimeCancel();

public slots:
    // The MCU's clock as reported: the system clock follows it.
    void slotUpdateTime(int year, int month, int day, int hour, int minute, int second);

protected:
    // Every showing starts from the present time.
    void showEvent(QShowEvent *event) override;

private slots:
    void slotOk();
    void slotCancel();

private:
    void step(Field field, int delta);
    void showFields();
    void setHint(const char *text);
    QLabel *valueLabel(Field field) const;
    static bool setSystemClock(const int (&fields)[FieldCount]);

    Ui_TimeSettingWidget *ui;
    int values[FieldCount] = {firstYear, 1, 1, 0, 0, 0};
    // The untranslated hint shown, for a change of language.
    const char *hint = nullptr;
};
