#pragma once

#include "MenuPage.h"

class CalibrateCtl;
class Ui_SystemInfoMainWidget;

// The system page: language, the panel calibration (mode, file and the file
// operations), the favourite preset, factory reset, software upgrade, the
// clock and the about page. Buttons that raise a confirmation stay disabled
// until the confirmation is gone.
class SystemInfoMainWidget : public MenuPage
{
    Q_OBJECT

public:
    // What the calibration file picker is opened for.
    enum CalibrateFileOp { CalibrateSelect = 0, CalibrateImport = 1, CalibrateErase = 2 };

    explicit SystemInfoMainWidget(QWidget *parent = nullptr);
    ~SystemInfoMainWidget() override;

    void configInit() override;
    void translateUi() override;

    // The favourite or the reset confirmation is gone.
    void preConfigUse();
    void resetButtonUse();

    // The bare file name of a path ("/" and "\\" both separate).
    static QString fileNamePart(const std::string &path);

signals:
    // 0 save the favourite, 1 load it.
    void signalPreConfig(int type);
    void signalSystemReset();
    void signalSystemUpgrade();
    void signalTimeSetting();
    void signalSystemAbout();
    // The picker is to be opened, after signalCalibrateFileOp set it up; the
    // flag says whether a chosen file is used at once (calibration mode on).
    void signalCalibrateFile();
    void signalCalibrateFileOp(int op, bool load);

protected:
    void showEvent(QShowEvent *event) override;

private slots:
    void slotLanguage(int language);
    void slotCalibrateEnable();
    void slotPreConfig(int type);
    void slotReset();

private:
    void openCalibrateFile(CalibrateFileOp op);
    void showCalibration();
    void setHint(const char *text);

    Ui_SystemInfoMainWidget *ui;
    CalibrateCtl *calibrateCtl;
    // The untranslated hint shown, for a change of language.
    const char *hint = nullptr;
};
