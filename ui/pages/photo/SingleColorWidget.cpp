#include "SingleColorWidget.h"

#include "KeyCtl.h"
#include "PhotoChoices.h"
#include "SetUpForm.h"
#include "VideoOption.h"
#include "ui_SingleColorWidget.h"

namespace {

// The stored names by screen matrix, red 1 to grey 4.
const char *const colourNames[] = {"", "red", "green", "blue", "grey"};

CscCtl::ScreenMatrixType colourOf(const std::string &name)
{
    for (int type = CscCtl::ScreenRed; type <= CscCtl::ScreenGrey; ++type)
        if (name == colourNames[type])
            return static_cast<CscCtl::ScreenMatrixType>(type);
    return CscCtl::ScreenBlue;
}

} // namespace

SingleColorWidget::SingleColorWidget(QWidget *parent)
    : MenuPage(parent), ui(new Ui_SingleColorWidget), videoOption(VideoOption::getInstance())
{
    setUpForm(ui, this);
    photo::addChoices(colourGroup,
                      {ui->singleColorRed, ui->singleColorGreen, ui->singleColorBlue, ui->singleColorGrey},
                      CscCtl::ScreenRed);
    ui->singleColorRed->setIcon(photo::swatchIcon(Qt::red));
    ui->singleColorGreen->setIcon(photo::swatchIcon(Qt::green));
    ui->singleColorBlue->setIcon(photo::swatchIcon(Qt::blue));
    ui->singleColorGrey->setIcon(photo::swatchIcon(Qt::gray));
    translateUi();
    configInit();
    connect(ui->singleColorEnable, &QPushButton::clicked, this, &SingleColorWidget::slotIsEnable);
    connect(&colourGroup, qOverload<QAbstractButton *>(&QButtonGroup::buttonClicked), this,
            &SingleColorWidget::slotButtonGroup);
    connectFunctionKey();
}

SingleColorWidget::~SingleColorWidget()
{
    delete ui;
}

// The matrix itself is loaded with the screen's other colour settings.
void SingleColorWidget::configInit()
{
    const bool on = readBool("photoSingleColorEnable", false);
    const CscCtl::ScreenMatrixType type =
        colourOf(readChoice("photoSingleColorValue", "blue", {"red", "green", "blue", "grey"}));
    ui->singleColorEnable->setChecked(on);
    photo::checkChoice(colourGroup, type);
    videoOption->setSingleColorType(type);
    videoOption->setSingleOnly(on);
}

void SingleColorWidget::translateUi()
{
    ui->singleColorTitle->setText(tr("单色"));
    ui->singleColorTypeTitle->setText(tr("颜色"));
    ui->singleColorRed->setText(tr("红色"));
    ui->singleColorGreen->setText(tr("绿色"));
    ui->singleColorBlue->setText(tr("蓝色"));
    ui->singleColorGrey->setText(tr("灰色"));
}

void SingleColorWidget::slotFunctionClicked(int code)
{
    if (code != KeyCtl::FUNC_MONO)
        return;
    ui->singleColorEnable->toggle();
    slotIsEnable();
}

void SingleColorWidget::slotIsEnable()
{
    const bool on = ui->singleColorEnable->isChecked();
    videoOption->setSingleOnly(on);
    videoOption->loadCscMatrix();
    store("photoSingleColorEnable", on);
    emit signalSingleColorEnable();
}

void SingleColorWidget::slotButtonGroup(QAbstractButton *button)
{
    const int type = colourGroup.id(button);
    videoOption->setSingleColorType(static_cast<CscCtl::ScreenMatrixType>(type));
    videoOption->loadCscMatrix();
    store("photoSingleColorValue", std::string(colourNames[type]));
}
