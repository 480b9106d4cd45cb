#pragma once

#include "MenuPage.h"

class CscCtl;
class QLabel;
class QSlider;
class Ui_RGBadjustWidget;
class VideoOption;

// Gain (0-200 %) and offset (-64 to +64 code values) of the red, green and
// blue panel channels, each group with its reset.
class RGBadjustWidget : public MenuPage
{
    Q_OBJECT

public:
    explicit RGBadjustWidget(QWidget *parent = nullptr);
    ~RGBadjustWidget() override;

    void configInit() override;
    void translateUi() override;

signals:
    // "返回": back to the colour menu.
    void signalBack();

private slots:
    void slotGainChanged(int channel, int percent);
    void slotOffsetChanged(int channel, int codeValues);
    void slotGainReset();
    void slotOffsetReset();

private:
    static constexpr int channels = 3;

    // The controls of one channel.
    struct Channel {
        QSlider *gainSlider;
        QLabel *gainLabel;
        QSlider *offsetSlider;
        QLabel *offsetLabel;
    };

    // All three channels to the colour matrix, the last call applying them,
    // then the panel matrix loaded.
    void pushGains();
    void pushOffsets();
    void showValues();

    Ui_RGBadjustWidget *ui;
    CscCtl *cscCtl;
    VideoOption *videoOption;
    Channel controls[channels] = {};
    int gains[channels] = {100, 100, 100};
    int offsets[channels] = {0, 0, 0};
};
