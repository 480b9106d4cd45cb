#pragma once

#include "MenuPage.h"

class Ui_ColorTempWidget;
class VideoOption;

// The colour temperature of the panel picture (5600 K, 6500 K or 9300 K) and
// the way to the RGB gain and offset page.
class ColorTempWidget : public MenuPage
{
    Q_OBJECT

public:
    explicit ColorTempWidget(QWidget *parent = nullptr);
    ~ColorTempWidget() override;

    void configInit() override;
    void translateUi() override;

signals:
    // "RGB调整" was pressed: the RGB gain and offset page is wanted.
    void signalRGBadjust();

private slots:
    void slotIsEnable();
    void slotValueClicked(int kelvin);

private:
    void applyTemperature();

    Ui_ColorTempWidget *ui;
    VideoOption *videoOption;
    int kelvin = 6500;
};
