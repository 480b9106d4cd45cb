#pragma once

#include "MenuPage.h"

class Ui_ZoomWidget;
class VideoOption;
class QRect;
class QShowEvent;

// Zoom: a part of the picture fills the screen. The page shows the picture as
// a small area with the zoomed part as a rectangle the finger moves.
class ZoomWidget : public MenuPage
{
    Q_OBJECT

public:
    explicit ZoomWidget(QWidget *parent = nullptr);
    ~ZoomWidget() override;

    void configInit() override;
    void translateUi() override;

public slots:
    void slotFunctionClicked(int code) override;

protected:
    // The zoom may have been stepped on the main screen meanwhile.
    void showEvent(QShowEvent *event) override;

private slots:
    void slotIsEnable();
    // The rectangle was dragged to a new place in the area.
    void slotUpdateRange(QRect &rect);
    // Zoom went on or off in the video state, here or through a mode that
    // excludes it.
    void slotZoomFollow(bool on);

private:
    void showZoomWindow();

    Ui_ZoomWidget *ui;
    VideoOption *videoOption;
};
