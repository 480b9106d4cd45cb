#include "WirelessPasswordWidget.h"

#include "SetUpForm.h"
#include "UartAPI.h"
#include "WHDICtl.h"
#include "WHDIPassword.h"
#include "ui_WirelessPasswordWidget.h"

#include <QSignalBlocker>
#include <algorithm>
#include <cctype>

namespace {

constexpr uint8_t commandEncryption = 0x15;

// Six digits from the start of a stored password; empty when it has none.
std::string digitsOf(const std::string &text)
{
    const std::string digits = text.substr(0, WirelessPasswordWidget::digitCount);
    const bool valid = digits.size() == WirelessPasswordWidget::digitCount
                       && std::all_of(digits.begin(), digits.end(),
                                      [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; });
    return valid ? digits : std::string();
}

} // namespace

WirelessPasswordWidget::WirelessPasswordWidget(QWidget *parent)
    : MenuPage(parent), ui(new Ui_WirelessPasswordWidget), password(WHDIPassword::getInstance())
{
    setUpForm(ui, this);
    QLabel *const labels[digitCount] = {ui->passwordDigit0, ui->passwordDigit1, ui->passwordDigit2,
                                        ui->passwordDigit3, ui->passwordDigit4, ui->passwordDigit5};
    std::copy(labels, labels + digitCount, digitLabels);
    translateUi();
    configInit();
    connect(ui->passwordKey0, &QPushButton::clicked, this, &WirelessPasswordWidget::slotButton0);
    connect(ui->passwordKey1, &QPushButton::clicked, this, &WirelessPasswordWidget::slotButton1);
    connect(ui->passwordKey2, &QPushButton::clicked, this, &WirelessPasswordWidget::slotButton2);
    connect(ui->passwordKey3, &QPushButton::clicked, this, &WirelessPasswordWidget::slotButton3);
    connect(ui->passwordKey4, &QPushButton::clicked, this, &WirelessPasswordWidget::slotButton4);
    connect(ui->passwordKey5, &QPushButton::clicked, this, &WirelessPasswordWidget::slotButton5);
    connect(ui->passwordKey6, &QPushButton::clicked, this, &WirelessPasswordWidget::slotButton6);
    connect(ui->passwordKey7, &QPushButton::clicked, this, &WirelessPasswordWidget::slotButton7);
    connect(ui->passwordKey8, &QPushButton::clicked, this, &WirelessPasswordWidget::slotButton8);
    connect(ui->passwordKey9, &QPushButton::clicked, this, &WirelessPasswordWidget::slotButton9);
    connect(ui->passwordKeyBack, &QPushButton::clicked, this, &WirelessPasswordWidget::slotButtonBack);
    connect(ui->passwordKeyConfirm, &QPushButton::clicked, this, &WirelessPasswordWidget::slotButtonX);
    connect(ui->passwordView, &QPushButton::clicked, this, &WirelessPasswordWidget::slotisView);
    connect(ui->passwordEncryption, &QPushButton::clicked, this, &WirelessPasswordWidget::slotEncryptionEnable);
    connect(WHDICtl::getInstance(), &WHDICtl::signalMode, this, &WirelessPasswordWidget::slotEncryption);
}

WirelessPasswordWidget::~WirelessPasswordWidget()
{
    delete ui;
}

void WirelessPasswordWidget::configInit()
{
    std::string stored;
    appConfig->findValue("inputPassword", stored);
    saved = digitsOf(stored);
    entered = saved;
    view = readBool("inputPassView", false);
    ui->passwordView->setChecked(view);
    slotEncryption(false);
    sendPassword();
}

void WirelessPasswordWidget::translateUi()
{
    ui->passwordEncryptionTitle->setText(tr("无线加密"));
    ui->passwordViewTitle->setText(tr("显示密码"));
    ui->passwordKeyBack->setText(tr("删除"));
    ui->passwordKeyConfirm->setText(tr("确定"));
}

void WirelessPasswordWidget::appendDigit(char digit)
{
    if (entered.size() >= digitCount)
        return;
    entered.push_back(digit);
    showPassword();
}

void WirelessPasswordWidget::slotButtonBack()
{
    if (!entered.empty())
        entered.pop_back();
    showPassword();
}

void WirelessPasswordWidget::slotButtonX()
{
    if (entered.size() != digitCount)
        return;
    saved = entered;
    store("inputPassword", saved);
    sendPassword();
}

void WirelessPasswordWidget::slotisView(bool on)
{
    view = on;
    showPassword();
    store("inputPassView", on);
}

void WirelessPasswordWidget::slotEncryptionEnable(bool on)
{
    slotEncryption(on);
    const uint8_t data = on ? 1 : 0;
    UartSendValue(commandEncryption, &data, 1);
    if (on && saved.size() == digitCount)
        sendPassword();
}

void WirelessPasswordWidget::slotEncryption(bool on)
{
    restoreDigits();
    encryption = on;
    setShown({ui->passwordDigits, ui->passwordViewTitle, ui->passwordView, ui->passwordKeypad}, on);
    {
        const QSignalBlocker blocker(ui->passwordEncryption);
        ui->passwordEncryption->setChecked(on);
    }
    showPassword();
    password->passwordEnable(on);
}

void WirelessPasswordWidget::showEvent(QShowEvent *event)
{
    slotEncryption(encryption);
    MenuPage::showEvent(event);
}

// Digits typed but not confirmed are dropped.
void WirelessPasswordWidget::restoreDigits()
{
    entered = saved;
}

void WirelessPasswordWidget::showPassword()
{
    for (int i = 0; i < digitCount; ++i) {
        const size_t index = static_cast<size_t>(i);
        const QString digit = index < entered.size() ? QString(QChar(entered[index])) : QString();
        digitLabels[i]->setText(view || digit.isEmpty() ? digit : QStringLiteral("*"));
    }
    ui->passwordKeyConfirm->setEnabled(entered.size() == digitCount);
}

void WirelessPasswordWidget::sendPassword()
{
    int digits[digitCount] = {0, 0, 0, 0, 0, 0};
    if (saved.size() == digitCount) {
        for (int i = 0; i < digitCount; ++i)
            digits[i] = saved[static_cast<size_t>(i)] - '0';
    }
    password->setPassword(digits);
}
