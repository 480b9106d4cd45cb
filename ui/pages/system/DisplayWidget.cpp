#include "DisplayWidget.h"

#include "SetUpForm.h"
#include "ui_DisplayWidget.h"

DisplayWidget::DisplayWidget(QWidget *parent)
    : QFrame(parent), ui(setUpForm<Ui_DisplayWidget>(this)), displayMainWidget(ui->displayStack)
{
    ui->displayStack->addWidget(&displayMainWidget);
    translateUi();
    connect(&displayMainWidget, &DisplayMainWidget::signalScreenOff, this, &DisplayWidget::signalScreenOff);
}

DisplayWidget::~DisplayWidget()
{
    delete ui;
}

void DisplayWidget::translateUi()
{
    ui->displayTitle->setText(tr("显示"));
}
