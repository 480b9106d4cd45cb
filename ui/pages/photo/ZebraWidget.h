#pragma once

#include "MenuPage.h"

class Ui_ZebraWidget;
class ZebraCtl;

// Zebra stripes over the picture where its level lies between a minimum and a
// maximum percentage of the video range.
class ZebraWidget : public MenuPage
{
    Q_OBJECT

public:
    explicit ZebraWidget(QWidget *parent = nullptr);
    ~ZebraWidget() override;

    void configInit() override;
    void translateUi() override;

public slots:
    void slotFunctionClicked(int code) override;

private slots:
    void slotIsEnable();
    void slotMinValueChanged(int value);
    void slotMaxValueChanged(int value);

private:
    void showValues();
    void sendThresholds();

    Ui_ZebraWidget *ui;
    ZebraCtl *zebraCtl;
    int minValue = 85;
    int maxValue = 100;
};
