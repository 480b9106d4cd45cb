#pragma once

#include "MenuPage.h"

#include <QButtonGroup>

class Ui_PseudoWidget;
class PseudoCtl;
class QAbstractButton;

// False colour: the picture's levels shown as colour bands, each of the
// twelve bands switched on its own.
class PseudoWidget : public MenuPage
{
    Q_OBJECT

public:
    static constexpr int bandCount = 12;

    explicit PseudoWidget(QWidget *parent = nullptr);
    ~PseudoWidget() override;

    void configInit() override;
    void translateUi() override;

signals:
    void signalPseudoEnable();

public slots:
    void slotFunctionClicked(int code) override;

private slots:
    void slotIsEnable();
    void slotButtonGroup(QAbstractButton *button);

private:
    Ui_PseudoWidget *ui;
    PseudoCtl *pseudoCtl;
    // Not exclusive: any set of bands may be on.
    QButtonGroup bandGroup;
};
