#pragma once

#include "MenuPage.h"

class Ui_LightMeterWidget;
class VideoOption;

// The light meter on or off. It is one of the display modes that exclude each
// other, so the switch also follows the video state when another mode ends it.
class LightMeterWidget : public MenuPage
{
    Q_OBJECT

public:
    explicit LightMeterWidget(QWidget *parent = nullptr);
    ~LightMeterWidget() override;

    void configInit() override;
    void translateUi() override;

public slots:
    void slotFunctionClicked(int code) override;

private slots:
    void slotIsEnable();
    void slotLightMeterMode(bool on);

private:
    Ui_LightMeterWidget *ui;
    VideoOption *videoOption;
};
