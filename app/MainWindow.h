#pragma once

#include "Config.h"

#include <QMainWindow>
#include <QTimer>
#include <string>

class Ui_MainWindow;

// The one top-level window, drawn full-screen over the picture the logic
// composes. It owns every page and dialog, watches the inputs and the USB stick
// once a second, and keeps the status and bottom bars.
class MainWindow : public QMainWindow, public Config
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    void translateUi() override;

private slots:
    void slotInputDetect();

private:
    void init();
    void PLinit();
    void topFrameInit();
    QString inputLabelText(const std::string &input) const;

    QTimer inputDetectTimer;
    std::string inputMain;
    std::string inputAssist;
    bool usbPresent = false;
    Ui_MainWindow *ui;
};
