#include "ColorWidget.h"

#include "ColorTempWidget.h"
#include "ColourWidget.h"
#include "GammaWidget.h"
#include "HDRWidget.h"
#include "LightMeterWidget.h"
#include "LutWidget.h"
#include "SetUpForm.h"
#include "ui_ColorWidget.h"

#include <iterator>

ColorWidget::ColorWidget(QWidget *parent)
    : MenuPage(parent),
      ui(setUpForm<Ui_ColorWidget>(this)),
      lutWidget(new LutWidget(ui->colorStack)),
      colourWidget(new ColourWidget(ui->colorStack)),
      hdrWidget(new HDRWidget(ui->colorStack)),
      colorTempWidget(new ColorTempWidget(ui->colorStack)),
      gammaWidget(new GammaWidget(ui->colorStack)),
      lightMeterWidget(new LightMeterWidget(ui->colorStack))
{
    QWidget *const pages[] = {lutWidget, colourWidget, hdrWidget, colorTempWidget, gammaWidget, lightMeterWidget};
    QPushButton *const tabs[] = {ui->colorTabLut,   ui->colorTabColour, ui->colorTabHDR,
                                 ui->colorTabTemp,  ui->colorTabGamma,  ui->colorTabLightMeter};
    for (int index = 0; index < static_cast<int>(std::size(pages)); ++index) {
        ui->colorStack->addWidget(pages[index]);
        ui->colorTabGroup->setId(tabs[index], index);
    }
    ui->colorStack->setCurrentIndex(0);
    ui->colorTabLut->setChecked(true);
    translateUi();
    connect(ui->colorTabGroup, &QButtonGroup::idClicked, ui->colorStack, &QStackedWidget::setCurrentIndex);

    connect(lutWidget, &LutWidget::signalPreSelectLut, this, &ColorWidget::signalPreSelectLut);
    connect(lutWidget, &LutWidget::signalUserLutOp, this, &ColorWidget::signalUserLutOp);
    connect(lutWidget, &LutWidget::signalMsgLutContrast, this, &ColorWidget::signalMsgLutContrast);
    connect(colorTempWidget, &ColorTempWidget::signalRGBadjust, this, &ColorWidget::signalRGBadjust);
    connect(gammaWidget, &GammaWidget::signalGammaEnable, hdrWidget, &HDRWidget::slotGammaEnable);
    connect(gammaWidget, &GammaWidget::signalGammaEnable, this, &ColorWidget::signalGammaEnable);
    connect(hdrWidget, &HDRWidget::signalHDREnable, gammaWidget, &GammaWidget::slotHDREnable);
    connect(hdrWidget, &HDRWidget::signalHDREnable, colourWidget, &ColourWidget::slotHDREnable);
    connect(hdrWidget, &HDRWidget::signalHDREnable, this, &ColorWidget::signalHDREnable);
}

ColorWidget::~ColorWidget()
{
    delete ui;
}

void ColorWidget::translateUi()
{
    ui->colorTitle->setText(tr("色彩管理"));
    ui->colorTabLut->setText(tr("LUT"));
    ui->colorTabColour->setText(tr("色域"));
    ui->colorTabHDR->setText(tr("HDR"));
    ui->colorTabTemp->setText(tr("色温"));
    ui->colorTabGamma->setText(tr("伽马曲线"));
    ui->colorTabLightMeter->setText(tr("测光表"));
}
