#pragma once

#include "Config.h"

#include <QFrame>

class Ui_TimeSetting;

// Message: the clock was set.
class TimeSetting : public QFrame, public Config
{
    Q_OBJECT

public:
    explicit TimeSetting(QWidget *parent = nullptr);
    ~TimeSetting() override;

    void translateUi() override;

private:
    Ui_TimeSetting *ui;
};
