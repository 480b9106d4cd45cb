#pragma once

#include "FocusWidget.h"
#include "MarkWidget.h"
#include "MenuPage.h"
#include "PseudoWidget.h"
#include "SafeWidget.h"
#include "SingleColorWidget.h"
#include "WarpWidget.h"
#include "ZebraWidget.h"
#include "ZoomWidget.h"

#include <QButtonGroup>
#include <string>

class Ui_PhotoWidget;
class QAbstractButton;

// The photo tools menu: one tab per tool page. It only switches between its
// pages and passes on what they tell the window.
class PhotoWidget : public MenuPage
{
    Q_OBJECT

public:
    explicit PhotoWidget(QWidget *parent = nullptr);
    ~PhotoWidget() override;

    void translateUi() override;

signals:
    void signalMarkEnable(bool on);
    void signalMarkColor(int colour);
    void signalMarkLine(const std::string &line);
    void signalMarkRate(const std::string &ratio, bool on);
    void signalMarkUserRate(float width, float height);
    void signalSafeMarkEnable(bool on);
    void signalSafeColor(int colour);
    void signalSafeLine(const std::string &line);
    void signalSafeMarkPercent(int percent);
    void signalPseudoEnable();
    void signalSingleColorEnable();

private slots:
    void slotButtonGroup(QAbstractButton *button);

private:
    Ui_PhotoWidget *ui;
    // Built in this order, which is the order their settings reach the logic.
    MarkWidget markWidget;
    FocusWidget focusWidget;
    ZebraWidget zebraWidget;
    PseudoWidget pseudoWidget;
    SingleColorWidget singleColorWidget;
    ZoomWidget zoomWidget;
    WarpWidget warpWidget;
    SafeWidget safeWidget;
    QButtonGroup tabGroup;
};
