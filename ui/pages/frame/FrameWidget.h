#pragma once

#include "MenuPage.h"

class QAbstractButton;
class QButtonGroup;
class Ui_FrameWidget;
class FrameCompareWidget;
class FrameGetWidget;

// The frame menu: capture and compare, one tab each; the pages' signals go
// on to the main window under the same names.
class FrameWidget : public MenuPage
{
    Q_OBJECT

public:
    explicit FrameWidget(QWidget *parent = nullptr);
    ~FrameWidget() override;

    void translateUi() override;
    // The compare split was dragged on the screen to this percentage.
    void setFrameComparePosition(int percent);
    // Capture is offered only while the main channel has a picture.
    void setFrameGetUsed(bool used);

    FrameGetWidget &getWidget() { return *frameGet; }
    FrameCompareWidget &compareWidget() { return *frameCompare; }

signals:
    void signalFrameResult(bool ok);
    void signalShowFrameCompare(bool on);
    void signalFramePosition(int percent);
    void signalSelectFrame();

private slots:
    void slotButtonGroup(QAbstractButton *button);

private:
    Ui_FrameWidget *ui;
    FrameGetWidget *frameGet;
    FrameCompareWidget *frameCompare;
    QButtonGroup *tabs;
};
