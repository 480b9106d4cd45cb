#include "ScanProgress.h"

#include "SetUpForm.h"
#include "ui_ScanProgress.h"

#include <QtGlobal>

namespace {

constexpr int scanStart = 0;
constexpr int scanDone = 100;

} // namespace

ScanProgress::ScanProgress(QWidget *parent) : QFrame(parent), ui(new Ui_ScanProgress)
{
    setUpForm(ui, this);
    ui->scanProgressDone->hide();
    translateUi();
}

ScanProgress::~ScanProgress()
{
    delete ui;
}

void ScanProgress::translateUi()
{
    ui->labelText->setText(tr("正在扫频"));
    ui->scanProgressDone->setText(tr("完成"));
}

void ScanProgress::setProgress(int percent)
{
    percent = qBound(scanStart, percent, scanDone);
    if (percent == scanStart)
        ui->scanProgressDone->hide();
    else if (percent == scanDone)
        ui->scanProgressDone->show();
    ui->scanProgressBar->setValue(percent);
}
