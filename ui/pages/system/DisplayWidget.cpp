#include "DisplayWidget.h"

#include "ui_DisplayWidget.h"

DisplayWidget::DisplayWidget(QWidget *parent) : QFrame(parent), ui(new Ui_DisplayWidget)
{
    ui->setupUi(this);
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
