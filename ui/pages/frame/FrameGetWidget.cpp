#include "FrameGetWidget.h"

#include "DeviceUSB.h"
#include "FrameCtl.h"
#include "FrameOption.h"
#include "KeyCtl.h"
#include "SetUpForm.h"
#include "ui_FrameGetWidget.h"

#include <QStyle>

namespace {

constexpr int arm = 0;
constexpr int release = 1;

} // namespace

FrameGetWidget::FrameGetWidget(QWidget *parent)
    : MenuPage(parent), ui(new Ui_FrameGetWidget), frameCtl(FrameCtl::getInstance()),
      frameOption(FrameOption::getInstance())
{
    setUpForm(ui, this);
    translateUi();
    configInit();
    connect(ui->frameAdjustEnable, &QPushButton::clicked, this, &FrameGetWidget::slotIsEnable);
    connect(ui->frameCaptureButton, &QPushButton::clicked, this, &FrameGetWidget::slotCapture);
    connect(frameOption, &FrameOption::frameCompleted, this, &FrameGetWidget::slotFrameCompleted,
            Qt::QueuedConnection);
    connectFunctionKey();
}

FrameGetWidget::~FrameGetWidget()
{
    delete ui;
}

void FrameGetWidget::configInit()
{
    const bool on = readBool("frameAdjustEnable", false);
    ui->frameAdjustEnable->setChecked(on);
    // The setting chooses whether captures carry the colour adjustments; it
    // has nothing to do with the compare overlay.
    frameCtl->frameLutEnable(on);
}

void FrameGetWidget::translateUi()
{
    ui->frameAdjustTitle->setText(tr("开启机内调整"));
    ui->frameCaptureButton->setText(tr("截图"));
}

void FrameGetWidget::slotFunctionClicked(int code)
{
    if (code == KeyCtl::FUNC_SCREENSHOT)
        slotCapture();
}

void FrameGetWidget::slotIsEnable()
{
    const bool on = ui->frameAdjustEnable->isChecked();
    frameCtl->frameLutEnable(on);
    store("frameAdjustEnable", on);
}

void FrameGetWidget::setFrameGetUsed(bool used)
{
    frameGetUsed = used;
    ui->frameCaptureButton->setEnabled(used);
}

void FrameGetWidget::slotCapture()
{
    if (busy || !frameGetUsed)
        return;
    if (!DeviceUSB::isActive()) {
        emit signalFrameResult(false);
        return;
    }
    setBusy(true);
    frameOption->saveFrameOp(appConfig->videoWidth(0), appConfig->videoHeight(0),
                             static_cast<int *>(frameCtl->saveAddress()), FrameOption::memoryStride);
    frameCtl->frameSave(arm);
}

void FrameGetWidget::slotFrameCompleted(int code)
{
    // Loads report here too; only the end of this page's capture counts.
    if (code == FrameOption::LOAD_DONE || !busy)
        return;
    frameCtl->frameSave(release);
    setBusy(false);
    emit signalFrameResult(code == FrameOption::SAVE_DONE);
}

void FrameGetWidget::setBusy(bool on)
{
    busy = on;
    ui->frameCaptureButton->setProperty("busy", on);
    ui->frameCaptureButton->style()->unpolish(ui->frameCaptureButton);
    ui->frameCaptureButton->style()->polish(ui->frameCaptureButton);
}
