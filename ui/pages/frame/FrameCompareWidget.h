#pragma once

#include "MenuPage.h"

class Ui_FrameCompareWidget;
class FrameCtl;
class VideoOption;

// Frame compare: a stored capture over the live picture, at a chosen opacity,
// left of a movable split.
class FrameCompareWidget : public MenuPage
{
    Q_OBJECT

public:
    explicit FrameCompareWidget(QWidget *parent = nullptr);
    ~FrameCompareWidget() override;

    void configInit() override;
    void translateUi() override;
    // The split was dragged on the screen to this percentage.
    void setFrameComparePosition(int percent);

public slots:
    void slotFunctionClicked(int code) override;

signals:
    void signalShowFrameCompare(bool on);
    void signalFramePosition(int percent);
    void signalSelectFrame();

private slots:
    void slotIsEnable();
    void slotOpacityChanged(int value);
    void slotPositionChanged(int value);
    // Another display mode took the screen, or gave it back.
    void slotCompareModeChanged(bool on);

private:
    void showValues();

    Ui_FrameCompareWidget *ui;
    FrameCtl *frameCtl;
    VideoOption *videoOption;
    int opacity = 50;
    int position = 50;
};
