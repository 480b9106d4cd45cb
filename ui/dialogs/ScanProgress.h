#pragma once

#include "Config.h"

#include <QFrame>

class Ui_ScanProgress;

// The wireless channel scan under way: a bar from 0 to 100, and "done" once
// the scan has reached 100.
class ScanProgress : public QFrame, public Config
{
    Q_OBJECT

public:
    explicit ScanProgress(QWidget *parent = nullptr);
    ~ScanProgress() override;

    void translateUi() override;

    // Percent; numbers outside 0 to 100 are taken as the nearest end.
    void setProgress(int percent);

private:
    Ui_ScanProgress *ui;
};
