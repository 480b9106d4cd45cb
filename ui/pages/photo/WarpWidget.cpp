#include "WarpWidget.h"

#include "KeyCtl.h"
#include "PhotoChoices.h"
#include "SetUpForm.h"
#include "VideoOption.h"
#include "ui_WarpWidget.h"

namespace {

struct WarpRate {
    const char *name;
    float factor;
};

const WarpRate rates[] = {{"2x", 2.0f}, {"1.8x", 1.8f}, {"1.65x", 1.65f}, {"1.5x", 1.5f}, {"1.33x", 1.33f}};
constexpr int rateCount = sizeof(rates) / sizeof(rates[0]);

int rateId(const std::string &name)
{
    for (int id = 0; id < rateCount; ++id)
        if (name == rates[id].name)
            return id;
    return 0;
}

} // namespace

WarpWidget::WarpWidget(QWidget *parent) : MenuPage(parent), ui(new Ui_WarpWidget), videoOption(VideoOption::getInstance())
{
    setUpForm(ui, this);
    photo::addChoices(rateGroup,
                      {ui->warpRate200, ui->warpRate180, ui->warpRate165, ui->warpRate150, ui->warpRate133}, 0);
    translateUi();
    configInit();
    connect(ui->warpEnable, &QPushButton::clicked, this, &WarpWidget::slotIsEnable);
    connect(&rateGroup, qOverload<QAbstractButton *>(&QButtonGroup::buttonClicked), this,
            &WarpWidget::slotButtonGroup);
    connect(videoOption, &VideoOption::signalWrapEnable, this, &WarpWidget::slotWarpFollow);
    connectFunctionKey();
}

WarpWidget::~WarpWidget()
{
    delete ui;
}

void WarpWidget::configInit()
{
    pushing = true;
    const bool on = readBool("photoWarpEnable", false);
    const int id = rateId(readChoice("photoWarpRate", "2x", {"2x", "1.8x", "1.65x", "1.5x", "1.33x"}));
    ui->warpEnable->setChecked(on);
    photo::checkChoice(rateGroup, id);
    videoOption->resizeWarpRate(rates[id].factor);
    videoOption->enableWarpMode(on, false);
    pushing = false;
}

void WarpWidget::translateUi()
{
    ui->warpTitle->setText(tr("变形"));
    ui->warpRateTitle->setText(tr("变形比例"));
}

void WarpWidget::slotFunctionClicked(int code)
{
    if (code != KeyCtl::FUNC_ANAMORPHIC)
        return;
    ui->warpEnable->toggle();
    slotIsEnable();
}

void WarpWidget::slotIsEnable()
{
    const bool on = ui->warpEnable->isChecked();
    videoOption->enableWarpMode(on, true);
    store("photoWarpEnable", on);
}

void WarpWidget::slotButtonGroup(QAbstractButton *button)
{
    const int id = rateGroup.id(button);
    videoOption->resizeWarpRate(rates[id].factor);
    store("photoWarpRate", std::string(rates[id].name));
}

void WarpWidget::slotWarpFollow(bool on)
{
    if (pushing || on == ui->warpEnable->isChecked())
        return;
    ui->warpEnable->setChecked(on);
    store("photoWarpEnable", on);
}
