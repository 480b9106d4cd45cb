#pragma once

#include "MenuPage.h"
#include "VideoOption.h"

class BackLightCtl;
class FocusCtl;
class OsdCtl;
class QSlider;
class QLabel;
class Ui_DisplayMainWidget;

// The panel picture: brightness, contrast and chroma of the panel matrix, the
// scan mode, the backlight, sharpening and the opacity of the menus. Carries
// out the front-key functions screen off, scan mode and full backlight.
class DisplayMainWidget : public MenuPage
{
    Q_OBJECT

public:
    explicit DisplayMainWidget(QWidget *parent = nullptr);
    ~DisplayMainWidget() override;

    void configInit() override;
    void translateUi() override;

signals:
    // The backlight went off (true) or on again.
    void signalScreenOff(bool off);

public slots:
    void slotFunctionClicked(int code) override;
    // While HDR drives the backlight the level cannot be changed here.
    void slotHDREnable(bool on);

private slots:
    void slotLightChanged(int value);
    void slotContrastChanged(int value);
    void slotChromaChanged(int value);
    void slotBacklightChanged(int value);
    void slotSharpenChanged(int value);
    void slotOpacityChanged(int value);
    void slotButtonGroup(int mode);

private:
    void applyLight(int value);
    void applyContrast(int value);
    void applyChroma(int value);
    void applySharpen(int value);
    void applyOpacity(int value);
    void showScanMode();
    static void showSlider(QSlider *slider, QLabel *label, int value);

    Ui_DisplayMainWidget *ui;
    VideoOption *videoOption;
    BackLightCtl *backLightCtl;
    FocusCtl *focusCtl;
    OsdCtl *osdCtl;
    VideoOption::ScanMode scanMode = VideoOption::SCAN_NORMAL;
    bool hdrOn = false;
    bool screenOff = false;
    // Full backlight from the front key, and the level it replaced.
    bool fullBacklight = false;
    int levelBeforeFull = 0;
};
