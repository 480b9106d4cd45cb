#include "HDRWidget.h"

#include "BackLightCtl.h"
#include "GammaCtl.h"
#include "SetUpForm.h"
#include "ui_HDRWidget.h"

namespace {

// The setting's texts, indexed by HDR type.
constexpr const char *typeTexts[] = {"PQ", "HLG"};
constexpr int fullBacklight = 100;

} // namespace

HDRWidget::HDRWidget(QWidget *parent)
    : MenuPage(parent),
      ui(new Ui_HDRWidget),
      hdrCtl(HDRCtl::getInstance()),
      backLightCtl(BackLightCtl::getInstance()),
      gammaCtl(GammaCtl::getInstance())
{
    setUpForm(ui, this);
    ui->hdrTypeGroup->setId(ui->hdrTypePQ, HDRCtl::HDRPQ);
    ui->hdrTypeGroup->setId(ui->hdrTypeHLG, HDRCtl::HDRHLG);
    translateUi();
    configInit();
    connect(ui->hdrEnable, &QPushButton::clicked, this, &HDRWidget::slotIsEnable);
    connect(ui->hdrTypeGroup, &QButtonGroup::idClicked, this, &HDRWidget::slotTypeClicked);
    connectFunctionKey();
}

HDRWidget::~HDRWidget()
{
    delete ui;
}

// With both stored on, the gamma wins: HDR shows off and pushes nothing.
void HDRWidget::configInit()
{
    const bool gammaOn = readBool("colorGammaEnable", false);
    const bool on = readBool("colorHDREnable", false) && !gammaOn;
    hdrType = readChoice("colorHDRType", typeTexts[HDRCtl::HDRPQ], {typeTexts[0], typeTexts[1]}) ==
                      typeTexts[HDRCtl::HDRHLG]
                  ? HDRCtl::HDRHLG
                  : HDRCtl::HDRPQ;
    rememberedBacklight = readInt("displayBacklight", 50, 0, fullBacklight);
    hdrCtl->type = hdrType;
    ui->hdrEnable->setChecked(on);
    ui->hdrTypeGroup->button(hdrType)->setChecked(true);
    if (gammaOn)
        return;
    if (on) {
        backLightCtl->setBackLightValue(fullBacklight);
        releaseGamma();
    }
    hdrCtl->HDREnable(on);
}

void HDRWidget::translateUi()
{
    ui->hdrEnableTitle->setText(tr("HDR开启"));
    ui->hdrTypeTitle->setText(tr("HDR类型"));
}

void HDRWidget::slotFunctionClicked(int code)
{
    if (code != functionCode)
        return;
    ui->hdrEnable->toggle();
    slotIsEnable();
}

void HDRWidget::slotGammaEnable(bool on)
{
    if (!on || !ui->hdrEnable->isChecked())
        return;
    ui->hdrEnable->setChecked(false);
    backLightCtl->setBackLightValue(rememberedBacklight);
    store("colorHDREnable", false);
    emit signalHDREnable(false);
}

void HDRWidget::slotIsEnable()
{
    const bool on = ui->hdrEnable->isChecked();
    if (on) {
        rememberedBacklight = backLightCtl->getBackLightValue();
        backLightCtl->setBackLightValue(fullBacklight);
        releaseGamma();
    } else {
        backLightCtl->setBackLightValue(rememberedBacklight);
    }
    hdrCtl->HDREnable(on);
    store("colorHDREnable", on);
    emit signalHDREnable(on);
}

void HDRWidget::slotTypeClicked(int type)
{
    hdrType = static_cast<HDRCtl::HDRType>(type);
    hdrCtl->type = hdrType;
    if (ui->hdrEnable->isChecked())
        hdrCtl->HDREnable(true);
    store("colorHDRType", typeTexts[hdrType]);
}

void HDRWidget::releaseGamma()
{
    if (gammaCtl->getGammaEnable())
        gammaCtl->gammaEnable(false);
}
