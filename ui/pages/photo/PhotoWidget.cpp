#include "PhotoWidget.h"

#include "SetUpForm.h"
#include "ui_PhotoWidget.h"

PhotoWidget::PhotoWidget(QWidget *parent)
    : MenuPage(parent),
      ui(setUpForm<Ui_PhotoWidget>(this)),
      markWidget(ui->photoStack),
      focusWidget(ui->photoStack),
      zebraWidget(ui->photoStack),
      pseudoWidget(ui->photoStack),
      singleColorWidget(ui->photoStack),
      zoomWidget(ui->photoStack),
      warpWidget(ui->photoStack),
      safeWidget(ui->photoStack)
{
    QWidget *const pages[] = {&markWidget,        &focusWidget, &zebraWidget, &pseudoWidget,
                              &singleColorWidget, &zoomWidget,  &warpWidget,  &safeWidget};
    QAbstractButton *const tabs[] = {ui->photoTabMark,        ui->photoTabFocus, ui->photoTabZebra, ui->photoTabPseudo,
                                     ui->photoTabSingleColor, ui->photoTabZoom,  ui->photoTabWarp,  ui->photoTabSafe};
    for (int i = 0; i < 8; ++i) {
        ui->photoStack->addWidget(pages[i]);
        tabGroup.addButton(tabs[i], i);
    }
    tabs[0]->setChecked(true);
    ui->photoStack->setCurrentIndex(0);
    translateUi();

    connect(&tabGroup, qOverload<QAbstractButton *>(&QButtonGroup::buttonClicked), this,
            &PhotoWidget::slotButtonGroup);
    connect(&markWidget, &MarkWidget::signalMarkEnable, this, &PhotoWidget::signalMarkEnable);
    connect(&markWidget, &MarkWidget::signalMarkColor, this, &PhotoWidget::signalMarkColor);
    connect(&markWidget, &MarkWidget::signalMarkLine, this, &PhotoWidget::signalMarkLine);
    connect(&markWidget, &MarkWidget::signalMarkRate, this, &PhotoWidget::signalMarkRate);
    connect(&markWidget, &MarkWidget::signalMarkUserRate, this, &PhotoWidget::signalMarkUserRate);
    connect(&safeWidget, &SafeWidget::signalSafeMarkEnable, this, &PhotoWidget::signalSafeMarkEnable);
    connect(&safeWidget, &SafeWidget::signalSafeColor, this, &PhotoWidget::signalSafeColor);
    connect(&safeWidget, &SafeWidget::signalSafeLine, this, &PhotoWidget::signalSafeLine);
    connect(&safeWidget, &SafeWidget::signalSafeMarkPercent, this, &PhotoWidget::signalSafeMarkPercent);
    connect(&pseudoWidget, &PseudoWidget::signalPseudoEnable, this, &PhotoWidget::signalPseudoEnable);
    connect(&singleColorWidget, &SingleColorWidget::signalSingleColorEnable, this,
            &PhotoWidget::signalSingleColorEnable);
}

PhotoWidget::~PhotoWidget()
{
    delete ui;
}

void PhotoWidget::translateUi()
{
    ui->photoTitle->setText(tr("摄影菜单"));
    ui->photoTabMark->setText(tr("标记"));
    ui->photoTabFocus->setText(tr("峰值对焦"));
    ui->photoTabZebra->setText(tr("斑马纹"));
    ui->photoTabPseudo->setText(tr("伪色"));
    ui->photoTabSingleColor->setText(tr("单色"));
    ui->photoTabZoom->setText(tr("放大"));
    ui->photoTabWarp->setText(tr("变形"));
    ui->photoTabSafe->setText(tr("安全框"));
}

void PhotoWidget::slotButtonGroup(QAbstractButton *button)
{
    ui->photoStack->setCurrentIndex(tabGroup.id(button));
}
