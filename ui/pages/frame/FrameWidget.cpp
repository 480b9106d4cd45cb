#include "FrameWidget.h"

#include "FrameCompareWidget.h"
#include "FrameGetWidget.h"
#include "SetUpForm.h"
#include "ui_FrameWidget.h"

#include <QButtonGroup>

FrameWidget::FrameWidget(QWidget *parent)
    : MenuPage(parent), ui(setUpForm<Ui_FrameWidget>(this)), frameGet(new FrameGetWidget(ui->frameStack)),
      frameCompare(new FrameCompareWidget(ui->frameStack)), tabs(new QButtonGroup(this))
{
    ui->frameStack->addWidget(frameGet);
    ui->frameStack->addWidget(frameCompare);
    tabs->addButton(ui->frameGetTab, 0);
    tabs->addButton(ui->frameCompareTab, 1);
    ui->frameGetTab->setChecked(true);
    ui->frameStack->setCurrentIndex(0);
    translateUi();
    configInit();
    connect(tabs, QOverload<QAbstractButton *>::of(&QButtonGroup::buttonClicked), this,
            &FrameWidget::slotButtonGroup);
    connect(frameGet, &FrameGetWidget::signalFrameResult, this, &FrameWidget::signalFrameResult);
    connect(frameCompare, &FrameCompareWidget::signalShowFrameCompare, this, &FrameWidget::signalShowFrameCompare);
    connect(frameCompare, &FrameCompareWidget::signalFramePosition, this, &FrameWidget::signalFramePosition);
    connect(frameCompare, &FrameCompareWidget::signalSelectFrame, this, &FrameWidget::signalSelectFrame);
}

FrameWidget::~FrameWidget()
{
    delete ui;
}

void FrameWidget::translateUi()
{
    ui->frameMenuTitle->setText(tr("截图管理"));
    ui->frameGetTab->setText(tr("截图"));
    ui->frameCompareTab->setText(tr("截图对比"));
}

void FrameWidget::setFrameGetUsed(bool used)
{
    frameGet->setFrameGetUsed(used);
}

void FrameWidget::setFrameComparePosition(int percent)
{
    frameCompare->setFrameComparePosition(percent);
}

void FrameWidget::slotButtonGroup(QAbstractButton *button)
{
    ui->frameStack->setCurrentIndex(tabs->id(button));
}
