#pragma once

#include "MenuPage.h"

#include <string>

class LutConfig;
class LutCtl;
class QShowEvent;
class Ui_LutWidget;
class VideoOption;

// The display LUT: on or off, which list it comes from (the preset or the user
// list, each with the file chosen in its LUT-list slot), and the buttons that
// open the file picker for either list. The LUT is only ever on with a file
// loaded into it; a file that does not load leaves it off.
class LutWidget : public MenuPage
{
    Q_OBJECT

public:
    // The lists, numbered as the LUT-list slots and "colorLutSelect".
    enum Source : int { SourcePreset = 0, SourceUser = 1 };
    // What the picker is asked to do with the user list.
    enum UserLutOp : int { UserLutChoose = 0, UserLutImport = 1, UserLutErase = 2 };

    explicit LutWidget(QWidget *parent = nullptr);
    ~LutWidget() override;

    void configInit() override;
    void translateUi() override;

public slots:
    void slotFunctionClicked(int code) override;

signals:
    // Opens the picker on the preset list. apply: the list is the selected
    // source, so the chosen file is to be loaded and the LUT switched on at
    // once; otherwise the file is only remembered in its slot.
    void signalPreSelectLut(bool apply);
    // Opens the picker on the user list for op (UserLutOp); apply as above,
    // for choosing only.
    void signalUserLutOp(int op, bool apply);
    // LUT compare was asked for while there is no LUT to compare.
    void signalMsgLutContrast();

protected:
    void showEvent(QShowEvent *event) override;

private slots:
    void slotIsEnable();
    void slotSourceClicked(int source);

private:
    // Loads the file of the selected list's slot into the display LUT; says
    // on the console why when it cannot.
    bool loadSelected();
    void switchLut(bool on);
    void showSource();
    void showFiles();
    static QString fileName(const std::string &path);

    Ui_LutWidget *ui;
    LutCtl *lutCtl;
    LutConfig *lutConfig;
    VideoOption *videoOption;
    int source = SourcePreset;
};
