#pragma once

#include "MenuPage.h"

#include <string>
#include <vector>

class QListWidgetItem;
class Ui_SelectWidget;
class FrameCtl;
class FrameOption;
class LutConfig;
class LutCtl;

// The file picker of the LUT and frame menus. Modes: 0 choose a preset LUT, 1
// choose a user LUT, 2 import LUTs from the USB stick, 3 erase user LUTs, 4
// choose a captured frame to compare with. Import and erase take several
// files and a confirmation; the other modes act on the file tapped.
class SelectWidget : public MenuPage
{
    Q_OBJECT

public:
    enum SelectMode : int {
        SELECT_PRESET = 0,
        SELECT_USER = 1,
        SELECT_IMPORT = 2,
        SELECT_ERASE = 3,
        SELECT_FRAME = 4,
    };

    explicit SelectWidget(QWidget *parent = nullptr);
    ~SelectWidget() override;

    void translateUi() override;
    // Opens the picker in a mode; enableLut switches the LUT on with a load
    // (modes 0 and 1). An unknown mode lists nothing.
    void setMode(int mode, bool enableLut = false);
    int mode() const { return selectMode; }

signals:
    void signalBack(int mode);
    void signalImportLutSuccess();
    void signalImportLutFailed();
    void signalEraseLutSuccess();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private slots:
    void slotItemClicked(QListWidgetItem *item);
    void slotConfirm();
    void slotBack();
    void slotFrameCompleted(int code);

private:
    // The folder the mode lists, and its files; false without a stick where
    // the mode needs one.
    bool folder(std::string &dir) const;
    void refresh();
    void loadLut(const std::string &name);
    void loadFrame(const std::string &name);
    void importSelected();
    void eraseSelected();
    std::vector<std::string> selectedNames() const;
    void showHint(const QString &text);

    Ui_SelectWidget *ui;
    LutConfig *lutConfig;
    LutCtl *lutCtl;
    FrameCtl *frameCtl;
    FrameOption *frameOption;
    int selectMode = SELECT_PRESET;
    bool enableOnLoad = false;
    bool lutChosen = false;
    bool framePending = false;
};
