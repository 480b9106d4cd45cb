#pragma once

#include "Config.h"

#include <QFrame>

class Ui_ImportLutFailed;

// Message: an import of user LUT files was refused: it would pass the limit of 50.
class ImportLutFailed : public QFrame, public Config
{
    Q_OBJECT

public:
    explicit ImportLutFailed(QWidget *parent = nullptr);
    ~ImportLutFailed() override;

    void translateUi() override;

private:
    Ui_ImportLutFailed *ui;
};
