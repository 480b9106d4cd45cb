#include "SafeWidget.h"

#include "KeyCtl.h"
#include "PhotoChoices.h"
#include "SetUpForm.h"
#include "ui_SafeWidget.h"

namespace {

// The shares offered, in percent of the picture; the buttons' ids.
constexpr int safeRates[] = {80, 85, 88, 90, 93};

} // namespace

SafeWidget::SafeWidget(QWidget *parent) : MenuPage(parent), ui(new Ui_SafeWidget)
{
    setUpForm(ui, this);
    photo::addChoices(colourGroup,
                      {ui->safeColor1, ui->safeColor2, ui->safeColor3, ui->safeColor4, ui->safeColor5, ui->safeColor6,
                       ui->safeColor7},
                      photo::firstColour);
    for (int i = photo::firstColour; i <= photo::lastColour; ++i)
        colourGroup.button(i)->setIcon(photo::swatchIcon(photo::overlayColour(i)));
    photo::addChoices(lineGroup, {ui->safeLineSmall, ui->safeLineMiddle, ui->safeLineLarge}, 0);
    for (int id = 0; id < 3; ++id)
        lineGroup.button(id)->setIcon(photo::lineIcon(id));
    QAbstractButton *const rateButtons[] = {ui->safeRate80, ui->safeRate85, ui->safeRate88, ui->safeRate90,
                                            ui->safeRate93};
    for (int i = 0; i < 5; ++i)
        rateGroup.addButton(rateButtons[i], safeRates[i]);
    translateUi();
    configInit();
    connect(ui->safeEnable, &QPushButton::clicked, this, &SafeWidget::slotIsEnable);
    connect(&colourGroup, qOverload<QAbstractButton *>(&QButtonGroup::buttonClicked), this,
            &SafeWidget::slotColorGroup);
    connect(&lineGroup, qOverload<QAbstractButton *>(&QButtonGroup::buttonClicked), this,
            &SafeWidget::slotLineGroup);
    connect(&rateGroup, qOverload<QAbstractButton *>(&QButtonGroup::buttonClicked), this,
            &SafeWidget::slotRateGroup);
    connectFunctionKey();
}

SafeWidget::~SafeWidget()
{
    delete ui;
}

// The overlay reads the same keys itself; the page only shows them.
void SafeWidget::configInit()
{
    ui->safeEnable->setChecked(readBool("photoSafeEnable", false));
    photo::checkChoice(colourGroup,
                       photo::colourIndex(readInt("photoSafeColor", photo::firstColour, 0, photo::lastColour + 1)));
    photo::checkChoice(lineGroup, photo::lineId(readChoice("photoSafeLine", "middle", {"small", "middle", "large"})));
    photo::checkChoice(rateGroup, std::stoi(readChoice("photoSafeRate", "88", {"80", "85", "88", "90", "93"})));
}

void SafeWidget::translateUi()
{
    ui->safeTitle->setText(tr("安全框"));
    ui->safeColorTitle->setText(tr("安全框颜色"));
    ui->safeLineTitle->setText(tr("安全框线宽"));
    ui->safeRateTitle->setText(tr("安全框比例"));
}

void SafeWidget::slotFunctionClicked(int code)
{
    if (code != KeyCtl::FUNC_SAFE_FRAME)
        return;
    ui->safeEnable->toggle();
    slotIsEnable();
}

void SafeWidget::slotIsEnable()
{
    const bool on = ui->safeEnable->isChecked();
    store("photoSafeEnable", on);
    emit signalSafeMarkEnable(on);
}

void SafeWidget::slotColorGroup(QAbstractButton *button)
{
    const int colour = colourGroup.id(button);
    store("photoSafeColor", colour);
    emit signalSafeColor(colour);
}

void SafeWidget::slotLineGroup(QAbstractButton *button)
{
    const std::string line = photo::lineNames[lineGroup.id(button)];
    store("photoSafeLine", line);
    emit signalSafeLine(line);
}

void SafeWidget::slotRateGroup(QAbstractButton *button)
{
    const int percent = rateGroup.id(button);
    store("photoSafeRate", std::to_string(percent));
    emit signalSafeMarkPercent(percent);
}
