#pragma once

#include "MenuPage.h"

class GammaCtl;
class Ui_GammaWidget;

// The display gamma: on or off, and the curve 2.2, 2.4 or 2.6. It shares the
// logic's tone-curve table with HDR; HDR switched on clears it.
class GammaWidget : public MenuPage
{
    Q_OBJECT

public:
    explicit GammaWidget(QWidget *parent = nullptr);
    ~GammaWidget() override;

    void configInit() override;
    void translateUi() override;

public slots:
    void slotFunctionClicked(int code) override;
    // HDR switched on took the tone-curve table (and let go of the gamma's).
    void slotHDREnable(bool on);

signals:
    void signalGammaEnable(bool on);

private slots:
    void slotIsEnable();
    void slotValueClicked(int value);

private:
    Ui_GammaWidget *ui;
    GammaCtl *gammaCtl;
    int gammaValue = 24;
};
