#include "ColorTempWidget.h"

#include "SetUpForm.h"
#include "VideoOption.h"
#include "ui_ColorTempWidget.h"

#include <limits>

namespace {

constexpr int warm = 5600;
constexpr int neutral = 6500;
constexpr int cool = 9300;

} // namespace

ColorTempWidget::ColorTempWidget(QWidget *parent)
    : MenuPage(parent), ui(new Ui_ColorTempWidget), videoOption(VideoOption::getInstance())
{
    setUpForm(ui, this);
    ui->tempValueGroup->setId(ui->temp5600, warm);
    ui->tempValueGroup->setId(ui->temp6500, neutral);
    ui->tempValueGroup->setId(ui->temp9300, cool);
    translateUi();
    configInit();
    connect(ui->tempEnable, &QPushButton::clicked, this, &ColorTempWidget::slotIsEnable);
    connect(ui->tempValueGroup, &QButtonGroup::idClicked, this, &ColorTempWidget::slotValueClicked);
    connect(ui->tempRGBadjust, &QPushButton::clicked, this, &ColorTempWidget::signalRGBadjust);
}

ColorTempWidget::~ColorTempWidget()
{
    delete ui;
}

// The matrix itself is loaded with the RGB gains, whose page comes later at
// start-up.
void ColorTempWidget::configInit()
{
    const bool on = readBool("colorTempEnable", false);
    const int stored =
        readInt("colorTempValue", neutral, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    kelvin = stored == warm || stored == cool ? stored : neutral;
    ui->tempEnable->setChecked(on);
    ui->tempValueGroup->button(kelvin)->setChecked(true);
    videoOption->setTemperture(on, kelvin);
}

void ColorTempWidget::translateUi()
{
    ui->tempEnableTitle->setText(tr("色温调整"));
    ui->tempValueTitle->setText(tr("色温"));
    ui->tempRGBadjust->setText(tr("RGB调整"));
}

void ColorTempWidget::slotIsEnable()
{
    applyTemperature();
    store("colorTempEnable", ui->tempEnable->isChecked());
}

void ColorTempWidget::slotValueClicked(int value)
{
    kelvin = value;
    applyTemperature();
    store("colorTempValue", kelvin);
}

void ColorTempWidget::applyTemperature()
{
    videoOption->setTemperture(ui->tempEnable->isChecked(), kelvin);
    videoOption->loadCscMatrix();
}
