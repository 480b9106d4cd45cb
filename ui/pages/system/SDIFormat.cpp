#include "SDIFormat.h"

#include "AppConfig.h"
#include "SetUpForm.h"
#include "VideoOption.h"
#include "ui_SDIFormat.h"

#include <QButtonGroup>

const char *const SDIFormat::formatTexts[formatCount] = {
    "Auto",       "3GA-422-10", "3GA-422-12", "3GA-444-10", "3GA-444-12",
    "3GB-422-10", "3GB-422-12", "3GB-444-10", "3GB-444-12",
};

SDIFormat::SDIFormat(QWidget *parent)
    : MenuPage(parent), ui(new Ui_SDIFormat), videoOption(VideoOption::getInstance())
{
    setUpForm(ui, this);
    auto *group = new QButtonGroup(this);
    for (int index = 0; index < formatCount; ++index) {
        formatButton(index)->setText(QString::fromLatin1(formatTexts[index]));
        group->addButton(formatButton(index), index);
    }
    translateUi();
    configInit();
    connect(group, &QButtonGroup::idClicked, this, &SDIFormat::slotButtonGroup);
}

SDIFormat::~SDIFormat()
{
    delete ui;
}

std::string SDIFormat::storedFormat()
{
    std::string format;
    AppConfig::getInstance()->findValue("videoFormat", format);
    for (const char *text : formatTexts)
        if (format == text)
            return format;
    return formatTexts[0];
}

void SDIFormat::configInit()
{
    const std::string format = storedFormat();
    videoOption->setFormat(format);
    for (int index = 0; index < formatCount; ++index)
        if (format == formatTexts[index])
            formatButton(index)->setChecked(true);
}

void SDIFormat::translateUi()
{
    ui->sdiFormatTitle->setText(tr("3G SDI格式"));
}

void SDIFormat::slotButtonGroup(int index)
{
    videoOption->setFormat(formatTexts[index]);
    videoOption->setStlye();
    store("videoFormat", std::string(formatTexts[index]));
    emit signalSDIFormat(index);
}

QAbstractButton *SDIFormat::formatButton(int index) const
{
    QAbstractButton *const buttons[formatCount] = {
        ui->sdiFormatAuto,      ui->sdiFormat3GA42210, ui->sdiFormat3GA42212, ui->sdiFormat3GA44410,
        ui->sdiFormat3GA44412,  ui->sdiFormat3GB42210, ui->sdiFormat3GB42212, ui->sdiFormat3GB44410,
        ui->sdiFormat3GB44412,
    };
    return buttons[index];
}
