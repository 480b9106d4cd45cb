#include "LightMeterWidget.h"

#include "KeyCtl.h"
#include "SetUpForm.h"
#include "VideoOption.h"
#include "ui_LightMeterWidget.h"

LightMeterWidget::LightMeterWidget(QWidget *parent)
    : MenuPage(parent), ui(new Ui_LightMeterWidget), videoOption(VideoOption::getInstance())
{
    setUpForm(ui, this);
    translateUi();
    configInit();
    connect(ui->lightMeterEnable, &QPushButton::clicked, this, &LightMeterWidget::slotIsEnable);
    connect(videoOption, &VideoOption::signalLightMeterEnable, this, &LightMeterWidget::slotLightMeterMode);
    connectFunctionKey();
}

LightMeterWidget::~LightMeterWidget()
{
    delete ui;
}

void LightMeterWidget::configInit()
{
    const bool on = readBool("colorLightMeterEnable", false);
    ui->lightMeterEnable->setChecked(on);
    videoOption->enableLightMeterMode(on, true);
}

void LightMeterWidget::translateUi()
{
    ui->lightMeterEnableTitle->setText(tr("测光表开启"));
}

void LightMeterWidget::slotFunctionClicked(int code)
{
    if (code != KeyCtl::FUNC_LIGHT_METER)
        return;
    ui->lightMeterEnable->toggle();
    slotIsEnable();
}

void LightMeterWidget::slotIsEnable()
{
    const bool on = ui->lightMeterEnable->isChecked();
    store("colorLightMeterEnable", on);
    videoOption->enableLightMeterMode(on, true);
}

void LightMeterWidget::slotLightMeterMode(bool on)
{
    if (ui->lightMeterEnable->isChecked() == on)
        return;
    ui->lightMeterEnable->setChecked(on);
    store("colorLightMeterEnable", on);
}
