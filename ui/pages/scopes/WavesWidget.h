#pragma once

#include "MenuPage.h"

#include <QButtonGroup>

class Ui_WavesWidget;
class WavesCtl;
class QAbstractButton;

// The scopes the logic draws over the picture: histogram, luminance
// waveform, RGB parade and vectorscope, with their opacity and trace
// brightness, and the corner they are shown in.
class WavesWidget : public MenuPage
{
    Q_OBJECT

public:
    explicit WavesWidget(QWidget *parent = nullptr);
    ~WavesWidget() override;

    void configInit() override;
    void translateUi() override;

signals:
    void signalHistogram(bool on);
    void signalWaves(bool on);
    void signalRGBWaves(bool on);
    void signalVectorgraph(bool on);

public slots:
    void slotFunctionClicked(int code) override;

private slots:
    void slotHistogramEnable();
    void slotWavesEnable();
    void slotRGBWavesEnable();
    void slotVectorgraphEnable();
    void slotOpacityChanged(int value);
    void slotLightChanged(int value);
    void slotButtonGroup(QAbstractButton *button);

private:
    void showValues();

    Ui_WavesWidget *ui;
    WavesCtl *wavesCtl;
    QButtonGroup positionGroup;
    int opacity = 50;
    int light = 50;
};
