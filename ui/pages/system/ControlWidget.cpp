#include "ControlWidget.h"

#include "FanCtrl.h"
#include "SetUpForm.h"
#include "UartAPI.h"
#include "ui_ControlWidget.h"

#include <QButtonGroup>
#include <QSignalBlocker>
#include <cstdint>

namespace {

// The MCU's value id of the volume, and its full scale.
constexpr uint8_t volumeCommand = 6;
constexpr int volumeSteps = 63;

// The settings texts of the fan states, in state order.
const char *const fanTexts[] = {"Auto", "on", "off"};

} // namespace

ControlWidget::ControlWidget(QWidget *parent)
    : MenuPage(parent), ui(new Ui_ControlWidget), fanCtrl(FanCtrl::getInstance())
{
    setUpForm(ui, this);
    ui->controlVolumeSlider->setRange(0, 100);
    auto *fanGroup = new QButtonGroup(this);
    fanGroup->addButton(ui->controlFanAuto, FanCtrl::FAN_AUTO);
    fanGroup->addButton(ui->controlFanOn, FanCtrl::FAN_ON);
    fanGroup->addButton(ui->controlFanOff, FanCtrl::FAN_CLOSE);
    translateUi();
    configInit();
    connect(ui->controlVolumeSlider, &QSlider::valueChanged, this, &ControlWidget::slotVolumeChanged);
    connect(fanGroup, &QButtonGroup::idClicked, this, &ControlWidget::slotFanChanged);
}

ControlWidget::~ControlWidget()
{
    delete ui;
}

void ControlWidget::configInit()
{
    const int volume = readInt("audioValue", 50, 0, 100);
    // A choice the page does not know leaves the fan to the temperature.
    const std::string fan = readChoice("fanControl", fanTexts[FanCtrl::FAN_AUTO], {"Auto", "on", "off"});
    const auto state = static_cast<FanCtrl::FanState>(fan == "on" ? FanCtrl::FAN_ON
                                                      : fan == "off" ? FanCtrl::FAN_CLOSE
                                                                     : FanCtrl::FAN_AUTO);
    sendVolume(volume);
    fanCtrl->setState(state);
    const QSignalBlocker blocker(ui->controlVolumeSlider);
    ui->controlVolumeSlider->setValue(volume);
    ui->controlVolumeValue->setText(percentText(volume));
    QAbstractButton *const fanButtons[] = {ui->controlFanAuto, ui->controlFanOn, ui->controlFanOff};
    fanButtons[state]->setChecked(true);
}

void ControlWidget::translateUi()
{
    ui->controlTitle->setText(tr("控制"));
    ui->controlVolumeTitle->setText(tr("音量"));
    ui->controlFanTitle->setText(tr("风扇控制"));
    ui->controlFanAuto->setText(tr("自动"));
    ui->controlFanOn->setText(tr("打开"));
    ui->controlFanOff->setText(tr("关闭"));
}

void ControlWidget::slotVolumeChanged(int value)
{
    ui->controlVolumeValue->setText(percentText(value));
    sendVolume(value);
    store("audioValue", value);
}

void ControlWidget::slotFanChanged(int state)
{
    fanCtrl->setState(static_cast<FanCtrl::FanState>(state));
    store("fanControl", std::string(fanTexts[state]));
}

void ControlWidget::sendVolume(int percent)
{
    const auto level = static_cast<uint8_t>(percent * volumeSteps / 100);
    UartSendValue(volumeCommand, &level, 1);
}
