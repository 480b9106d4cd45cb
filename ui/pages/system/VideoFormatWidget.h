#pragma once

#include "MenuPage.h"

class AudioCtl;
class OutCtl;
class Ui_VideoFormatWidget;
class VideoOption;

// The signal side of the monitor: the range of the input, the SDI format (its
// own page), the embedded audio pair that is metered, and the SDI loop-through
// output with its 6G conversion and LUT.
class VideoFormatWidget : public MenuPage
{
    Q_OBJECT

public:
    explicit VideoFormatWidget(QWidget *parent = nullptr);
    ~VideoFormatWidget() override;

    void configInit() override;
    void translateUi() override;

signals:
    // The SDI format page is to be opened.
    void signalSDIFormat();

public slots:
    // The SDI format page chose another format.
    void slotSDIFormat(int index);

private slots:
    void slotRangeChanged(int data);
    void slotAudioChanged(int group);
    void slotOutEnable();
    void slotConversionEnable();
    void slotOutLutEnable();

private:
    void showOutputOptions(bool on);
    void showFormat();

    Ui_VideoFormatWidget *ui;
    VideoOption *videoOption;
    OutCtl *outCtl;
    AudioCtl *audioCtl;
};
