#pragma once

#include "MenuPage.h"

class Ui_FrameGetWidget;
class FrameCtl;
class FrameOption;

// Frame capture: grabs the main picture to the USB stick, with or without the
// colour adjustments applied. One capture at a time; a second request while
// one is pending is ignored.
class FrameGetWidget : public MenuPage
{
    Q_OBJECT

public:
    explicit FrameGetWidget(QWidget *parent = nullptr);
    ~FrameGetWidget() override;

    void configInit() override;
    void translateUi() override;
    // A capture is on its way.
    bool isBusy() const { return busy; }
    // Capture is offered only while the main channel has a picture.
    void setFrameGetUsed(bool used);

public slots:
    void slotFunctionClicked(int code) override;

signals:
    // The outcome of a capture: saved, or not.
    void signalFrameResult(bool ok);

private slots:
    void slotIsEnable();
    void slotCapture();
    void slotFrameCompleted(int code);

private:
    void setBusy(bool on);

    Ui_FrameGetWidget *ui;
    FrameCtl *frameCtl;
    FrameOption *frameOption;
    bool busy = false;
    bool frameGetUsed = true;
};
