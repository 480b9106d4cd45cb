#pragma once

#include "MenuPage.h"

class ColorTempWidget;
class ColourWidget;
class GammaWidget;
class HDRWidget;
class LightMeterWidget;
class LutWidget;
class Ui_ColorWidget;

// The colour menu: a tab per page (LUT, colour standard, HDR, colour
// temperature, gamma, light meter) over the stack of those pages. It passes
// the pages' requests on under the same names, and ties together the pages
// whose settings depend on each other: HDR and gamma exclude each other, and
// switching HDR reloads the colour standard's matrices.
class ColorWidget : public MenuPage
{
    Q_OBJECT

public:
    explicit ColorWidget(QWidget *parent = nullptr);
    ~ColorWidget() override;

    void translateUi() override;

signals:
    void signalPreSelectLut(bool apply);
    void signalUserLutOp(int op, bool apply);
    void signalMsgLutContrast();
    void signalRGBadjust();
    void signalGammaEnable(bool on);
    void signalHDREnable(bool on);

private:
    Ui_ColorWidget *ui;
    LutWidget *lutWidget;
    ColourWidget *colourWidget;
    HDRWidget *hdrWidget;
    ColorTempWidget *colorTempWidget;
    GammaWidget *gammaWidget;
    LightMeterWidget *lightMeterWidget;
};
