#pragma once

#include "CscCtl.h"
#include "MenuPage.h"

class OutCtl;
class Ui_ColourWidget;
class VideoOption;

// The colour standard of the input and output matrices: REC-709, DCI-P3 or
// BT-2020.
class ColourWidget : public MenuPage
{
    Q_OBJECT

public:
    explicit ColourWidget(QWidget *parent = nullptr);
    ~ColourWidget() override;

    void configInit() override;
    void translateUi() override;

public slots:
    // Switching HDR reloads the matrices of the standard in force.
    void slotHDREnable(bool on);

private slots:
    void slotTypeClicked(int type);

private:
    void applyMatrices();

    Ui_ColourWidget *ui;
    VideoOption *videoOption;
    OutCtl *outCtl;
    CscCtl::ColourType colourType = CscCtl::Rec709;
    // Set once the start-up push is done: settings replaced later (favourite,
    // factory reset) take effect at once, not with the next input change.
    bool started = false;
};
