#pragma once

#include "HDRCtl.h"
#include "MenuPage.h"

class BackLightCtl;
class GammaCtl;
class Ui_HDRWidget;

// The HDR display curve (PQ or HLG). HDR shows at full backlight: switching it
// on remembers the backlight level and raises it to 100 %, switching it off
// restores the level. HDR and the display gamma share the logic's tone-curve
// table, so they exclude each other.
class HDRWidget : public MenuPage
{
    Q_OBJECT

public:
    // Its front-key function; not offered in the function list.
    static constexpr int functionCode = 17;

    explicit HDRWidget(QWidget *parent = nullptr);
    ~HDRWidget() override;

    void configInit() override;
    void translateUi() override;

public slots:
    void slotFunctionClicked(int code) override;
    // The gamma switched on took the tone-curve table: HDR is off.
    void slotGammaEnable(bool on);

signals:
    void signalHDREnable(bool on);

private slots:
    void slotIsEnable();
    void slotTypeClicked(int type);

private:
    // A gamma still enabled in the logic lets go of the table, so that it
    // does not upload its curve over the HDR curve later.
    void releaseGamma();

    Ui_HDRWidget *ui;
    HDRCtl *hdrCtl;
    BackLightCtl *backLightCtl;
    GammaCtl *gammaCtl;
    HDRCtl::HDRType hdrType = HDRCtl::HDRPQ;
    int rememberedBacklight = 50;
};
