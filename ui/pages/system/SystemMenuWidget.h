#pragma once

#include "ColorCalibrateFile.h"
#include "Config.h"
#include "ControlWidget.h"
#include "DisplayWidget.h"
#include "FunctionMenuWidget.h"
#include "FunctionWidget.h"
#include "SDIFormat.h"
#include "SystemInfoAbout.h"
#include "SystemInfoMainWidget.h"
#include "SystemUpgrade.h"
#include "TimeSettingWidget.h"
#include "VideoFormatWidget.h"

#include <QFrame>

class QAbstractButton;
class Ui_SystemMenuWidget;

// The system menu: a column of side buttons (video format, display, function
// keys, system, control, back) beside the stack of its pages. Sub-pages go
// back to the page they were opened from; back on a main page closes the menu.
// A long press of a front key opens that key's function list.
class SystemMenuWidget : public QFrame, public Config
{
    Q_OBJECT

public:
    // The pages in stack order.
    enum Page {
        VideoFormatPage = 0,
        DisplayPage = 1,
        FunctionMenuPage = 2,
        FunctionPage = 3,
        ControlPage = 4,
        SystemInfoPage = 5,
        AboutPage = 6,
        UpgradePage = 7,
        SDIFormatPage = 8,
        TimeSettingPage = 9,
        CalibrateFilePage = 10,
    };

    explicit SystemMenuWidget(QWidget *parent = nullptr);
    ~SystemMenuWidget() override;

    void translateUi() override;

    int currentPage() const;
    // The favourite or the reset confirmation is gone: its buttons work again.
    void preConfigUse();
    void resetButtonUse();

signals:
    void signalBack();
    void signalReset();
    void signalUpgrade();
    void signalScreenOff(bool off);
    void signalShowSystemWidget();
    void signalPreConfig(int type);
    void signalSetTimeOk();
    void signalImportLutCalibrateSuccess();
    void signalImportLutCalibrateFailed();
    void signalEraseLutCalibrateSuccess();

public slots:
    // A long press of a front key (1 F1, 2 F2, 3 F3).
    void slotKeyFunction(int key);
    void slotHDREnable(bool on);

private slots:
    void slotSideButton(int button);

private:
    enum SideButton { SideVideoFormat = 0, SideDisplay, SideFunction, SideSystem, SideControl };

    void setPage(Page page);
    void back();
    QAbstractButton *sideButton(SideButton button) const;

    Ui_SystemMenuWidget *ui;
    // Built in this order, into the form's stack.
    VideoFormatWidget videoFormatWidget;
    SDIFormat sdiFormat;
    DisplayWidget displayWidget;
    FunctionWidget functionWidget;
    ControlWidget controlWidget;
    SystemInfoMainWidget systemInfoMainWidget;
    SystemInfoAbout systemInfoAbout;
    SystemUpgrade systemUpgrade;
    TimeSettingWidget timeSettingWidget;
    FunctionMenuWidget functionMenuWidget;
    ColorCalibrateFile colorCalibrateFile;
};
