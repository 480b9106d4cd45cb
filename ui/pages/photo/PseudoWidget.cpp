#include "PseudoWidget.h"

#include "AssistCtls.h"
#include "KeyCtl.h"
#include "SetUpForm.h"
#include "ui_PseudoWidget.h"

#include <QString>

namespace {

QByteArray bandKey(int band)
{
    return QByteArray("photoPseudoIndex") + QByteArray::number(band);
}

} // namespace

PseudoWidget::PseudoWidget(QWidget *parent) : MenuPage(parent), ui(new Ui_PseudoWidget), pseudoCtl(PseudoCtl::getInstance())
{
    setUpForm(ui, this);
    bandGroup.setExclusive(false);
    for (int band = 0; band < bandCount; ++band)
        bandGroup.addButton(findChild<QAbstractButton *>(QStringLiteral("pseudoBand%1").arg(band)), band);
    translateUi();
    configInit();
    connect(ui->pseudoEnable, &QPushButton::clicked, this, &PseudoWidget::slotIsEnable);
    connect(&bandGroup, qOverload<QAbstractButton *>(&QButtonGroup::buttonClicked), this,
            &PseudoWidget::slotButtonGroup);
    connectFunctionKey();
}

PseudoWidget::~PseudoWidget()
{
    delete ui;
}

void PseudoWidget::configInit()
{
    const bool on = readBool("photoPseudoEnable", false);
    unsigned short mask = 0;
    for (int band = 0; band < bandCount; ++band) {
        const bool bandOn = readBool(bandKey(band).constData(), false);
        bandGroup.button(band)->setChecked(bandOn);
        if (bandOn)
            mask |= static_cast<unsigned short>(1u << band);
    }
    ui->pseudoEnable->setChecked(on);
    pseudoCtl->PseudoEnable(on);
    pseudoCtl->PseudoEnableIndex(mask);
}

void PseudoWidget::translateUi()
{
    ui->pseudoTitle->setText(tr("伪色"));
    ui->pseudoBandTitle->setText(tr("伪色区间"));
}

void PseudoWidget::slotFunctionClicked(int code)
{
    if (code != KeyCtl::FUNC_FALSE_COLOR)
        return;
    ui->pseudoEnable->toggle();
    slotIsEnable();
}

void PseudoWidget::slotIsEnable()
{
    const bool on = ui->pseudoEnable->isChecked();
    pseudoCtl->PseudoEnable(on);
    store("photoPseudoEnable", on);
    emit signalPseudoEnable();
}

void PseudoWidget::slotButtonGroup(QAbstractButton *button)
{
    const int band = bandGroup.id(button);
    const bool on = button->isChecked();
    pseudoCtl->PseudoEnableIndex(band, on);
    store(bandKey(band).constData(), on);
}
