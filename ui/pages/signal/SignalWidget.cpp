#include "SignalWidget.h"

#include "AssistInputWidget.h"
#include "MainInputWidget.h"
#include "SetUpForm.h"
#include "WirelessChannelWidget.h"
#include "WirelessPasswordWidget.h"
#include "ui_SignalWidget.h"

#include <QButtonGroup>

SignalWidget::SignalWidget(QWidget *parent)
    : MenuPage(parent), ui(setUpForm<Ui_SignalWidget>(this)), mainInputWidget(new MainInputWidget(ui->signalStack)),
      assistInputWidget(new AssistInputWidget(ui->signalStack)),
      wirelessChannelWidget(new WirelessChannelWidget(ui->signalStack)),
      wirelessPasswordWidget(new WirelessPasswordWidget(ui->signalStack)), tabGroup(new QButtonGroup(this))
{
    ui->signalStack->addWidget(mainInputWidget);
    ui->signalStack->addWidget(assistInputWidget);
    ui->signalStack->addWidget(wirelessChannelWidget);
    ui->signalStack->addWidget(wirelessPasswordWidget);
    tabGroup->addButton(ui->signalMainTab, 0);
    tabGroup->addButton(ui->signalAssistTab, 1);
    tabGroup->addButton(ui->signalWirelessTab, 2);
    tabGroup->addButton(ui->signalPasswordTab, 3);
    ui->signalMainTab->setChecked(true);
    ui->signalStack->setCurrentIndex(0);
    translateUi();
    configInit();
    connect(tabGroup, &QButtonGroup::idClicked, this, &SignalWidget::slotTabClicked);

    connect(mainInputWidget, &MainInputWidget::signalMainInput, this, &SignalWidget::signalMainInput);
    connect(mainInputWidget, &MainInputWidget::signalAssistInput, this, &SignalWidget::signalAssistInput);
    connect(assistInputWidget, &AssistInputWidget::signalAssistInput, this, &SignalWidget::signalAssistInput);
    connect(wirelessChannelWidget, &WirelessChannelWidget::signalChannel, this, &SignalWidget::signalChannel);
    connect(wirelessChannelWidget, &WirelessChannelWidget::signalScanPercent, this,
            &SignalWidget::signalScanPercent);
    connect(wirelessChannelWidget, &WirelessChannelWidget::signalUpdateScanResult, this,
            &SignalWidget::signalUpdateScanResult);
    connect(wirelessChannelWidget, &WirelessChannelWidget::signalAntennaExternal, this,
            &SignalWidget::signalAntennaExternal);
    connect(wirelessChannelWidget, &WirelessChannelWidget::signalScanMsgHide, this,
            &SignalWidget::signalScanMsgHide);
    connect(VideoOption::getInstance(), &VideoOption::signalUpdateMark, this, &SignalWidget::slotUpdateMark);
}

SignalWidget::~SignalWidget()
{
    delete ui;
}

void SignalWidget::configInit()
{
    showLayout(AssistChannelCtl::picInPicMode(
        readChoice("inputPicInPic", "rightTop",
                   {"leftTop", "leftBottom", "rightTop", "rightBottom", "leftHalf", "rightHalf"})));
}

void SignalWidget::translateUi()
{
    ui->signalTitle->setText(tr("信号源管理"));
    ui->signalMainTab->setText(tr("主画面信道"));
    ui->signalAssistTab->setText(tr("从画面信道"));
    ui->signalWirelessTab->setText(tr("无线信道"));
    ui->signalPasswordTab->setText(tr("无线密码"));
    showLayout(layout);
}

void SignalWidget::slotTabClicked(int index)
{
    ui->signalStack->setCurrentIndex(index);
}

void SignalWidget::slotUpdateMark(bool, bool, float, bool, AssistChannelCtl::PicInPicMode mode, VideoOption::ScanMode)
{
    showLayout(mode);
}

// Where the assist picture goes, beside the title row, as the assist page names it.
void SignalWidget::showLayout(AssistChannelCtl::PicInPicMode mode)
{
    static const char *const names[] = {
        QT_TR_NOOP("左上"), QT_TR_NOOP("左下"), QT_TR_NOOP("右上"), QT_TR_NOOP("右下"), QT_TR_NOOP("左半屏"),
        QT_TR_NOOP("右半屏"),
    };
    layout = mode >= AssistChannelCtl::PIP_LEFT_TOP && mode <= AssistChannelCtl::PIP_RIGHT_HALF
                 ? mode
                 : AssistChannelCtl::PIP_RIGHT_TOP;
    ui->signalPipHint->setText(tr("画面位置") + QStringLiteral(": ") + tr(names[layout]));
}
