#pragma once

#include "Config.h"

#include <QFrame>

class Ui_PreConfig;

// Confirmation: save the current settings as the favourite, or load the
// favourite over them.
class PreConfig : public QFrame, public Config
{
    Q_OBJECT

public:
    enum PreConfigType : int { PRE_CONFIG_SAVE = 0, PRE_CONFIG_LOAD = 1 };

    explicit PreConfig(QWidget *parent = nullptr);
    ~PreConfig() override;

    void translateUi() override;

    // Before the page is shown; an unknown type keeps the question asked before.
    void setPreConfigType(PreConfig::PreConfigType type);
    PreConfigType preConfigType() const { return type; }

public slots:
    void slotMsgOk();
    void slotMsgCancel();

signals:
    void signalMsgHide();

private:
    Ui_PreConfig *ui;
    PreConfigType type = PRE_CONFIG_SAVE;
};
