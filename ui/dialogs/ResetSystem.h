#pragma once

#include "Config.h"

#include <QFrame>

class Ui_ResetSystem;

// Confirmation of the factory reset: the MCU's wireless channel, the LUT list
// and every setting back to their first state.
class ResetSystem : public QFrame, public Config
{
    Q_OBJECT

public:
    explicit ResetSystem(QWidget *parent = nullptr);
    ~ResetSystem() override;

    void translateUi() override;

public slots:
    void slotMsgOk();
    void slotMsgCancel();

signals:
    void signalMsgOk();
    void signalMsgHide();

private:
    Ui_ResetSystem *ui;
};
