#include "WirelessChannelWidget.h"

#include "SetUpForm.h"
#include "UartAPI.h"
#include "WHDICtl.h"
#include "ThreadName.h"
#include "ui_WirelessChannelWidget.h"

#include <QButtonGroup>
#include <QMetaObject>
#include <QSignalBlocker>
#include <climits>

namespace {

using namespace std::chrono_literals;

constexpr uint8_t commandChannel = 0x01;
constexpr uint8_t commandAntenna = 0x10;
constexpr int channelCount = ScanControl::channelCount;
constexpr int measurements = WirelessChannelWidget::passes * channelCount;

const char *const styleImages[] = {
    ":/png/FastWidget/wireless/channelNormal.png",
    ":/png/FastWidget/wireless/channelSelect.png",
    ":/png/FastWidget/wireless/scanGood.png",
};

} // namespace

WirelessChannelWidget::WirelessChannelWidget(QWidget *parent)
    : MenuPage(parent), ui(new Ui_WirelessChannelWidget), channelGroup(new QButtonGroup(this)),
      antennaGroup(new QButtonGroup(this)), whdiCtl(WHDICtl::getInstance())
{
    setUpForm(ui, this);
    for (int channel = 0; channel < channelCount; ++channel)
        channelGroup->addButton(findChild<QPushButton *>(QStringLiteral("wirelessChannel%1").arg(channel)), channel);
    channelGroup->setExclusive(false);
    antennaGroup->addButton(ui->wirelessAntennaIn, 0);
    antennaGroup->addButton(ui->wirelessAntennaExternal, 1);
    translateUi();
    configInit();
    connect(channelGroup, qOverload<QAbstractButton *>(&QButtonGroup::buttonClicked), this,
            &WirelessChannelWidget::slotButtonGroup);
    connect(antennaGroup, qOverload<QAbstractButton *>(&QButtonGroup::buttonClicked), this,
            &WirelessChannelWidget::slotAntennaButtonGroup);
    connect(ui->wirelessScan, &QPushButton::clicked, this, &WirelessChannelWidget::slotScan);
    connect(this, &WirelessChannelWidget::signalUpdateScanResult, this, &WirelessChannelWidget::slotRepaint,
            Qt::QueuedConnection);
    connect(whdiCtl, &WHDICtl::signalChannel, this, &WirelessChannelWidget::slotChannel);
    scanThread = std::thread(&WirelessChannelWidget::scanDetectLoop, this);
}

WirelessChannelWidget::~WirelessChannelWidget()
{
    {
        std::lock_guard<std::mutex> lock(scanMutex);
        quitting = true;
        scanning = false;
    }
    scanWake.notify_all();
    scanThread.join();
    scanControl.disable();
    delete ui;
}

void WirelessChannelWidget::configInit()
{
    int channel = readInt("inputChannel", 0, INT_MIN, INT_MAX);
    if (channel < 0 || channel >= channelCount) {
        channel = 0;
        // The status bar shows the same key: it must name a channel.
        appConfig->setValue("inputChannel", channel);
    }
    selectChannel(channel);
    whdiCtl->cleanPayload();

    const bool external = readChoice("inputAntenna", "in", {"in", "external"}) == "external";
    antennaGroup->button(external ? 1 : 0)->setChecked(true);
    const uint8_t antenna = external ? 1 : 0;
    UartSendValue(commandAntenna, &antenna, 1);
}

void WirelessChannelWidget::translateUi()
{
    ui->wirelessChannelTitle->setText(tr("信道"));
    ui->wirelessAntennaTitle->setText(tr("天线"));
    ui->wirelessAntennaIn->setText(tr("内置"));
    ui->wirelessAntennaExternal->setText(tr("外置"));
    ui->wirelessScan->setText(tr("扫频"));
}

void WirelessChannelWidget::rankEntries(ScanEntries &entries)
{
    for (size_t i = 0; i < entries.size(); ++i) {
        for (size_t j = i + 1; j < entries.size(); ++j) {
            if (entries[j].level < entries[i].level)
                std::swap(entries[i], entries[j]);
        }
    }
    int kept = 0;
    for (ScanEntry &entry : entries) {
        if (entry.style != STYLE_GOOD)
            continue;
        if (kept < recommendCount)
            ++kept;
        else
            entry.style = STYLE_NORMAL;
    }
}

void WirelessChannelWidget::slotChannel(int channel)
{
    if (channel < 0 || channel >= channelCount)
        return;
    selectChannel(channel);
    emit signalChannel(channel);
    store("inputChannel", channel);
}

void WirelessChannelWidget::slotButtonGroup(QAbstractButton *button)
{
    const int channel = channelGroup->id(button);
    if (channel < 0)
        return;
    selectChannel(channel);
    const uint8_t data = static_cast<uint8_t>(channel);
    UartSendValue(commandChannel, &data, 1);
    store("inputChannel", channel);
    whdiCtl->cleanPayload();
}

void WirelessChannelWidget::slotAntennaButtonGroup(QAbstractButton *button)
{
    const bool external = antennaGroup->id(button) == 1;
    const uint8_t data = external ? 1 : 0;
    UartSendValue(commandAntenna, &data, 1);
    if (external)
        emit signalAntennaExternal();
    store("inputAntenna", external ? "external" : "in");
}

// The button reads checked while the page is ready; a click that unchecks it
// starts a scan.
void WirelessChannelWidget::slotScan(bool checked)
{
    if (checked)
        return;
    {
        std::lock_guard<std::mutex> lock(scanMutex);
        if (scanning)
            return;
        for (int channel = 0; channel < channelCount; ++channel)
            entries[static_cast<size_t>(channel)] = {STYLE_NORMAL, 0, channel};
        scanning = true;
    }
    scanWake.notify_all();
    good.fill(false);
    applyStyles();
    ui->wirelessScan->setEnabled(false);
    update();
}

void WirelessChannelWidget::slotRepaint()
{
    ScanEntries ranked;
    {
        std::lock_guard<std::mutex> lock(scanMutex);
        // A newer scan owns the entries now.
        if (scanning)
            return;
        ranked = entries;
    }
    rankEntries(ranked);
    for (const ScanEntry &entry : ranked)
        good[static_cast<size_t>(entry.channel)] = entry.style == STYLE_GOOD;
    applyStyles();
    update();
    ui->wirelessScan->setEnabled(true);
    ui->wirelessScan->setChecked(true);
}

void WirelessChannelWidget::showEvent(QShowEvent *event)
{
    ui->wirelessScan->setEnabled(true);
    ui->wirelessScan->setChecked(true);
    MenuPage::showEvent(event);
}

void WirelessChannelWidget::hideEvent(QHideEvent *event)
{
    bool stopped = false;
    {
        std::lock_guard<std::mutex> lock(scanMutex);
        if (scanning) {
            scanning = false;
            scanControl.disable();
            counter = 0;
            stopped = true;
        }
    }
    scanWake.notify_all();
    // Queued behind the progress the scan thread has already reported, so
    // that none of it shows the progress again.
    if (stopped)
        QMetaObject::invokeMethod(this, &WirelessChannelWidget::signalScanMsgHide, Qt::QueuedConnection);
    MenuPage::hideEvent(event);
}

bool WirelessChannelWidget::pause(std::unique_lock<std::mutex> &lock, std::chrono::milliseconds time, bool scan)
{
    scanWake.wait_for(lock, time, [&] { return quitting || (scan && !scanning); });
    return !quitting;
}

void WirelessChannelWidget::finishScan()
{
    scanning = false;
    scanControl.disable();
    counter = 0;
    emit signalUpdateScanResult();
}

void WirelessChannelWidget::scanDetectLoop()
{
    nameThread("channel-scan");
    std::unique_lock<std::mutex> lock(scanMutex);
    // Once: the synthesizer is parked on the first channel, then powered down.
    scanControl.enable();
    if (!pause(lock, 300ms, false))
        return;
    scanControl.setChannel(0);
    if (!pause(lock, 300ms, false))
        return;
    scanControl.disable();

    for (;;) {
        scanWake.wait(lock, [this] { return scanning || quitting; });
        if (quitting)
            return;
        counter = 0;
        emit signalScanPercent(0);
        if (!scanControl.open()) {
            // No receiver: the scan ends at once and recommends nothing.
            emit signalScanPercent(100);
            finishScan();
            continue;
        }
        scanControl.enable();
        if (!pause(lock, 200ms, true))
            return;
        for (int channel = 0; scanning; channel = (channel + 1) % channelCount) {
            const bool tuned = scanControl.setChannel(channel);
            if (!pause(lock, 100ms, true))
                return;
            if (!scanning)
                break;
            // A channel that was not tuned, or a level that could not be read,
            // counts for nothing rather than for a quiet channel.
            const int level = tuned ? scanControl.getADCValue() : -1;
            ScanEntry &entry = entries[static_cast<size_t>(channel)];
            if (level >= 0) {
                entry.level += level;
                if (level < goodLevel)
                    entry.style = STYLE_GOOD;
            }
            ++counter;
            if (counter % 2 == 0)
                emit signalScanPercent(counter / 2);
            if (counter == measurements)
                finishScan();
        }
    }
}

void WirelessChannelWidget::selectChannel(int channel)
{
    currentChannel = channel;
    ui->wirelessChannelLabel->setText(QString::asprintf("CH.%02d", channel));
    applyStyles();
}

void WirelessChannelWidget::applyStyles()
{
    for (int channel = 0; channel < channelCount; ++channel) {
        const ButtonStyle style = channel == currentChannel ? STYLE_CURRENT
                                  : good[static_cast<size_t>(channel)] ? STYLE_GOOD
                                                                       : STYLE_NORMAL;
        applyStyle(static_cast<QPushButton *>(channelGroup->button(channel)), style);
    }
}

void WirelessChannelWidget::applyStyle(QPushButton *button, ButtonStyle style)
{
    const QVariant shown = button->property("scanStyle");
    if (shown.isValid() && shown.toInt() == style)
        return;
    button->setProperty("scanStyle", style);
    button->setStyleSheet(QStringLiteral("QPushButton { background-image: url(%1); background-color: transparent; "
                                         "border: none; padding: 0; color: rgb(242,206,219); font-size: 36px; }")
                              .arg(QLatin1String(styleImages[style])));
}
