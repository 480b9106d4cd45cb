#pragma once

#include "MenuPage.h"
#include "ScanControl.h"

#include <array>
#include <condition_variable>
#include <mutex>
#include <thread>

class QAbstractButton;
class QButtonGroup;
class QPushButton;
class Ui_WirelessChannelWidget;
class WHDICtl;

// The wireless link's channel and antenna, and the scan of the band that
// recommends the quietest channels. The scan runs on a thread of the page:
// it measures every channel ten times in turn, accumulating the levels, and
// the page marks the quietest channels that were ever quiet enough.
class WirelessChannelWidget : public MenuPage
{
    Q_OBJECT

public:
    enum ButtonStyle : int { STYLE_NORMAL = 0, STYLE_CURRENT = 1, STYLE_GOOD = 2 };

    // One channel's result: its style, the sum of its levels and its number.
    struct ScanEntry {
        ButtonStyle style = STYLE_NORMAL;
        int level = 0;
        int channel = 0;
    };
    using ScanEntries = std::array<ScanEntry, ScanControl::channelCount>;

    static constexpr int recommendCount = 5;
    // A single level below this marks its channel good.
    static constexpr int goodLevel = 401;
    static constexpr int passes = 10;
    static constexpr const char *scanThreadName = "channel-scan";

    explicit WirelessChannelWidget(QWidget *parent = nullptr);
    ~WirelessChannelWidget() override;

    void configInit() override;
    void translateUi() override;

    // Sorts the entries by accumulated level, lowest first (equal levels keep
    // their places), and leaves the good mark on at most recommendCount of
    // them, the quietest.
    static void rankEntries(ScanEntries &entries);

signals:
    void signalScanPercent(int percent);
    void signalUpdateScanResult();
    void signalChannel(int channel);
    void signalAntennaExternal();
    // A scan ended before its time (the page was left): its progress is void.
    void signalScanMsgHide();

public slots:
    void slotChannel(int channel);

private slots:
    void slotButtonGroup(QAbstractButton *button);
    void slotAntennaButtonGroup(QAbstractButton *button);
    void slotScan(bool checked);
    void slotRepaint();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void scanDetectLoop();
    // Waits with the scan lock released; false once the page goes away.
    // Scanning: it also ends early when the scan is stopped.
    bool pause(std::unique_lock<std::mutex> &lock, std::chrono::milliseconds time, bool scanning);
    void finishScan();
    void selectChannel(int channel);
    void applyStyles();
    void applyStyle(QPushButton *button, ButtonStyle style);

    Ui_WirelessChannelWidget *ui;
    QButtonGroup *channelGroup;
    QButtonGroup *antennaGroup;
    WHDICtl *whdiCtl;
    int currentChannel = 0;
    // The good marks of the last scan, by channel.
    std::array<bool, ScanControl::channelCount> good{};

    // Shared with the scan thread under the scan lock.
    std::mutex scanMutex;
    std::condition_variable scanWake;
    ScanEntries entries;
    bool scanning = false;
    int counter = 0;
    bool quitting = false;
    ScanControl scanControl;
    std::thread scanThread;
};
