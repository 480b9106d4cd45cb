#pragma once

#include "Config.h"

#include <QFrame>

class Ui_AntennaExternal;

// Message: a reminder to fit every antenna, shown when the external antennas are chosen.
class AntennaExternal : public QFrame, public Config
{
    Q_OBJECT

public:
    explicit AntennaExternal(QWidget *parent = nullptr);
    ~AntennaExternal() override;

    void translateUi() override;

private:
    Ui_AntennaExternal *ui;
};
