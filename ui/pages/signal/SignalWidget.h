#pragma once

#include "AssistChannelCtl.h"
#include "MenuPage.h"
#include "VideoOption.h"

#include <string>

class QButtonGroup;
class Ui_SignalWidget;
class MainInputWidget;
class AssistInputWidget;
class WirelessChannelWidget;
class WirelessPasswordWidget;

// The signal quick menu: the main and assist inputs, the wireless channel and
// the link password, one tab each. It passes its pages' signals on to the
// main window under the same names, and shows where the assist picture sits.
class SignalWidget : public MenuPage
{
    Q_OBJECT

public:
    explicit SignalWidget(QWidget *parent = nullptr);
    ~SignalWidget() override;

    void configInit() override;
    void translateUi() override;

    MainInputWidget *mainInput() const { return mainInputWidget; }
    AssistInputWidget *assistInput() const { return assistInputWidget; }
    WirelessChannelWidget *wirelessChannel() const { return wirelessChannelWidget; }
    WirelessPasswordWidget *wirelessPassword() const { return wirelessPasswordWidget; }

signals:
    void signalMainInput(const std::string &name);
    void signalAssistInput(const std::string &name);
    void signalChannel(int channel);
    void signalScanPercent(int percent);
    void signalUpdateScanResult();
    void signalAntennaExternal();
    void signalScanMsgHide();

private slots:
    void slotTabClicked(int index);
    void slotUpdateMark(bool zoom, bool warp, float warpRate, bool picInPic, AssistChannelCtl::PicInPicMode mode,
                        VideoOption::ScanMode scanMode);

private:
    void showLayout(AssistChannelCtl::PicInPicMode mode);

    Ui_SignalWidget *ui;
    MainInputWidget *mainInputWidget;
    AssistInputWidget *assistInputWidget;
    WirelessChannelWidget *wirelessChannelWidget;
    WirelessPasswordWidget *wirelessPasswordWidget;
    QButtonGroup *tabGroup;
    AssistChannelCtl::PicInPicMode layout = AssistChannelCtl::PIP_RIGHT_TOP;
};
