#pragma once

#include "MenuPage.h"

#include <string>
#include <vector>

class CalibrateCtl;
class Lut3D;
class QListWidgetItem;
class Ui_ColorCalibrateFile;

// The file picker for panel calibration cubes. It chooses the calibration file
// among those in the local calibration folder, imports cubes from the stick's
// calibration folder into it, or erases cubes from it.
class ColorCalibrateFile : public MenuPage
{
    Q_OBJECT

public:
    enum CalibrateFileMode { SelectFile = 0, ImportFile = 1, EraseFile = 2 };

    explicit ColorCalibrateFile(QWidget *parent = nullptr);
    ~ColorCalibrateFile() override;

    void translateUi() override;

    // What the picker is for; load: a chosen file goes into the calibration at
    // once (else it is only checked and remembered). Unknown modes choose.
    void setMode(int mode, bool load);
    CalibrateFileMode mode() const { return fileMode; }

signals:
    void signalBack();
    void signalImportLutCalibrateSuccess();
    void signalImportLutCalibrateFailed();
    void signalEraseLutCalibrateSuccess();

protected:
    // The folders may have changed (a stick came or went): listed anew.
    void showEvent(QShowEvent *event) override;

private slots:
    void slotItemClicked(QListWidgetItem *item);
    void slotAction();

private:
    void listFiles();
    void chooseFile(const std::string &name);
    void importFiles(const std::vector<std::string> &names);
    void eraseFiles(const std::vector<std::string> &names);
    void setHint(const char *text);

    Ui_ColorCalibrateFile *ui;
    CalibrateCtl *calibrateCtl;
    Lut3D *lut3D;
    CalibrateFileMode fileMode = SelectFile;
    bool loadChosen = true;
    // The untranslated hint shown, for a change of language.
    const char *hint = nullptr;
};
