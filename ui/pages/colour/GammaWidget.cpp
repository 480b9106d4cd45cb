#include "GammaWidget.h"

#include "GammaCtl.h"
#include "KeyCtl.h"
#include "SetUpForm.h"
#include "ui_GammaWidget.h"

#include <limits>

namespace {

// "colorGammaValue": gamma 2.2, 2.4 and 2.6; any other value is 2.4.
constexpr int gamma22 = 22;
constexpr int gamma24 = 24;
constexpr int gamma26 = 26;

} // namespace

GammaWidget::GammaWidget(QWidget *parent)
    : MenuPage(parent), ui(new Ui_GammaWidget), gammaCtl(GammaCtl::getInstance())
{
    setUpForm(ui, this);
    ui->gammaValueGroup->setId(ui->gamma22, gamma22);
    ui->gammaValueGroup->setId(ui->gamma24, gamma24);
    ui->gammaValueGroup->setId(ui->gamma26, gamma26);
    translateUi();
    configInit();
    connect(ui->gammaEnable, &QPushButton::clicked, this, &GammaWidget::slotIsEnable);
    connect(ui->gammaValueGroup, &QButtonGroup::idClicked, this, &GammaWidget::slotValueClicked);
    connectFunctionKey();
}

GammaWidget::~GammaWidget()
{
    delete ui;
}

// The gamma is enabled or disabled only while HDR is off; with both stored
// on, the gamma wins (the HDR page stands back the same way).
void GammaWidget::configInit()
{
    const bool hdrOn = readBool("colorHDREnable", false);
    const bool on = readBool("colorGammaEnable", false);
    const int stored =
        readInt("colorGammaValue", gamma24, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    gammaValue = stored == gamma22 || stored == gamma26 ? stored : gamma24;
    ui->gammaEnable->setChecked(on);
    ui->gammaValueGroup->button(gammaValue)->setChecked(true);
    gammaCtl->setGammaValue(gammaValue);
    if (on || !hdrOn)
        gammaCtl->gammaEnable(on);
}

void GammaWidget::translateUi()
{
    ui->gammaEnableTitle->setText(tr("伽马曲线"));
    ui->gammaValueTitle->setText(tr("伽马值"));
}

void GammaWidget::slotFunctionClicked(int code)
{
    if (code != KeyCtl::FUNC_GAMMA)
        return;
    ui->gammaEnable->toggle();
    slotIsEnable();
}

void GammaWidget::slotHDREnable(bool on)
{
    if (!on || !ui->gammaEnable->isChecked())
        return;
    ui->gammaEnable->setChecked(false);
    store("colorGammaEnable", false);
    emit signalGammaEnable(false);
}

void GammaWidget::slotIsEnable()
{
    const bool on = ui->gammaEnable->isChecked();
    gammaCtl->gammaEnable(on);
    store("colorGammaEnable", on);
    emit signalGammaEnable(on);
}

void GammaWidget::slotValueClicked(int value)
{
    gammaValue = value;
    gammaCtl->setGammaValue(gammaValue);
    store("colorGammaValue", gammaValue);
}
