#include "SystemInfoAbout.h"

#include "SetUpForm.h"
#include "Version.h"
#include "ui_SystemInfoAbout.h"

#include <string>

SystemInfoAbout::SystemInfoAbout(QWidget *parent)
    : MenuPage(parent), ui(new Ui_SystemInfoAbout), version(Version::getInstance())
{
    setUpForm(ui, this);
    translateUi();
    showVersions();
    connect(ui->aboutReset, &QPushButton::clicked, this, &SystemInfoAbout::slotReset);
}

SystemInfoAbout::~SystemInfoAbout()
{
    delete ui;
}

void SystemInfoAbout::translateUi()
{
    ui->aboutTitle->setText(tr("关于"));
    ui->aboutProductTitle->setText(tr("产品"));
    ui->aboutProductValue->setText(tr("便携监视器"));
    ui->aboutModelTitle->setText(tr("型号"));
    ui->aboutSoftTitle->setText(tr("软件版本"));
    ui->aboutFpgaTitle->setText(tr("FPGA版本"));
    ui->aboutMcuTitle->setText(tr("MCU版本"));
    ui->aboutWebsiteTitle->setText(tr("网址"));
    ui->aboutWebsiteValue->setText(tr("见维修手册"));
    ui->aboutPhoneTitle->setText(tr("电话"));
    ui->aboutPhoneValue->setText(tr("见维修手册"));
    ui->aboutReset->setText(tr("恢复出厂设置"));
}

void SystemInfoAbout::resetButtonUse()
{
    ui->aboutReset->setEnabled(true);
}

void SystemInfoAbout::showEvent(QShowEvent *event)
{
    MenuPage::showEvent(event);
    showVersions();
}

void SystemInfoAbout::slotReset()
{
    ui->aboutReset->setEnabled(false);
    emit signalReset();
}

void SystemInfoAbout::showVersions()
{
    std::string text;
    version->getSoftVersion(text);
    ui->aboutSoftValue->setText(QString::fromStdString(text));
    text.clear();
    version->getFPGAVersion(text);
    ui->aboutFpgaValue->setText(QString::fromStdString(text));
    text.clear();
    version->getMcuVersion(text);
    ui->aboutMcuValue->setText(QString::fromStdString(text));
}
