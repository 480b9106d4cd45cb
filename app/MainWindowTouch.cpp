#include "MainWindow.h"

#include "GsensorCtl.h"
#include "ZqEventFilter.h"
#include "ui_mainwindow.h"

#include <QGestureEvent>
#include <QMouseEvent>
#include <QPinchGesture>
#include <algorithm>
#include <cmath>

namespace {

constexpr int displayWidth = 1920;
constexpr int displayHeight = 1080;
constexpr int lockIntervalMs = 5000;
// A touch on the probe shorter than this is a tap that moves it there.
constexpr qint64 probeTapMs = 300;
// Releases above or below these lines are on the bars, not the picture.
constexpr int pictureTop = 31;
constexpr int pictureBottom = 1079;
// Near the right edge a split handle goes to 99 % and, past 1890, to 100 %.
constexpr int splitEdgePercent = 97;
constexpr int splitLastX = 1890;
// A pinch steps the zoom every 0.02 of scale below 1 and every 0.1 above.
constexpr float pinchStepBelowOne = 0.02f;
constexpr float pinchStepAboveOne = 0.1f;

// The touch state kept while the screen is off.
int screenOffState = ZqEventFilter::TOUCH_NORMAL;

int stepToward(int from, int to)
{
    return from + (to > from ? 1 : to < from ? -1 : 0);
}

} // namespace

bool MainWindow::menuOpen() const
{
    return ui->FastWidget->isVisible() || ui->systemWidget->isVisible();
}

// --- lock and screen-off ----------------------------------------------------------

void MainWindow::slotScreenClicked(int x, int y)
{
    const int state = eventFilter != nullptr ? eventFilter->getTouchState() : ZqEventFilter::TOUCH_NORMAL;
    switch (state) {
    case ZqEventFilter::TOUCH_MESSAGE:
        msgWidgetHide();
        setTouchState(ZqEventFilter::TOUCH_NORMAL);
        break;
    case ZqEventFilter::TOUCH_LOCKED_HIDDEN:
        setTouchState(ZqEventFilter::TOUCH_LOCKED);
        showLockState(true);
        lockTimer.start(lockIntervalMs);
        break;
    case ZqEventFilter::TOUCH_LOCKED:
        if (lockTimer.isActive())
            lockTimer.start(lockIntervalMs);
        if (lockButtonHit(x, y)) {
            setTouchState(ZqEventFilter::TOUCH_NORMAL);
            lockTimer.stop();
            ui->lock->setChecked(false);
            showLockState(false);
        }
        break;
    default:
        break;
    }
}

bool MainWindow::lockButtonHit(int x, int y) const
{
    const QRect button(ui->bottomFrame->pos() + ui->lock->pos(), ui->lock->size());
    return button.contains(x, y);
}

void MainWindow::slotLock(bool locked)
{
    if (!locked) {
        showLockState(false);
        if (lockTimer.isActive())
            lockTimer.stop();
        setTouchState(ZqEventFilter::TOUCH_NORMAL);
        return;
    }
    ui->systemWidget->hide();
    closeFastWidget();
    showLockState(true);
    setTouchState(ZqEventFilter::TOUCH_LOCKED);
    lockTimer.start(lockIntervalMs);
}

void MainWindow::slotTimeoutLock()
{
    lockTimer.stop();
    ui->topFrame->hide();
    ui->bottomFrame->hide();
    setTouchState(ZqEventFilter::TOUCH_LOCKED_HIDDEN);
}

void MainWindow::showLockState(bool locked)
{
    for (QWidget *control :
         {static_cast<QWidget *>(ui->topFrame), static_cast<QWidget *>(ui->audioLabel),
          static_cast<QWidget *>(ui->audioLeftLabel), static_cast<QWidget *>(ui->audioRightLabel),
          static_cast<QWidget *>(ui->frameManager), static_cast<QWidget *>(ui->waveManager),
          static_cast<QWidget *>(ui->photoManager), static_cast<QWidget *>(ui->colorManager),
          static_cast<QWidget *>(ui->signalManager), static_cast<QWidget *>(ui->menu),
          static_cast<QWidget *>(ui->rotateButton)})
        control->setVisible(!locked);
    ui->bottomFrame->show();
}

void MainWindow::slotScreenOff(bool off)
{
    if (off) {
        screenOffState = eventFilter != nullptr ? eventFilter->getTouchState() : ZqEventFilter::TOUCH_NORMAL;
        setTouchState(ZqEventFilter::TOUCH_SCREEN_OFF);
    } else {
        setTouchState(screenOffState);
    }
}

// --- system menu ----------------------------------------------------------------------

void MainWindow::slotMenu()
{
    closeFastWidget();
    ui->systemWidget->setVisible(!ui->systemWidget->isVisible());
}

void MainWindow::showSystemWidget()
{
    closeFastWidget();
    ui->systemWidget->show();
    slotLock(false);
    ui->lock->setChecked(false);
}

void MainWindow::slotSystemWidgetBack()
{
    ui->systemWidget->hide();
}

void MainWindow::slotRotateEnable(bool on)
{
    gsensorCtl->setFlipEnable(on);
}

// --- the picture under the finger --------------------------------------------------------

void MainWindow::mousePressEvent(QMouseEvent *event)
{
    if (mainNoVideo || menuOpen())
        return;
    const QPoint position = ZqEventFilter::windowPosition(this, event->localPos());
    pressPosition = position;
    movePosition = position;
    pressTime.start();
    if (ui->frameComparePosition->isVisible() && ui->frameComparePosition->geometry().contains(position)) {
        draggingSplit = true;
        draggingFrameCompare = true;
    } else if (ui->lutContrastPosition->isVisible() && ui->lutContrastPosition->geometry().contains(position)) {
        draggingSplit = true;
        draggingFrameCompare = false;
    } else if (lightMeterShown && position.y() <= displayHeight) {
        probeDragging = true;
    }
    if (zoomActive || scanMode != VideoOption::SCAN_NORMAL) {
        panLastX = position.x();
        panLastY = position.y();
        pinching = false;
    }
}

void MainWindow::mouseMoveEvent(QMouseEvent *event)
{
    if (mainNoVideo || menuOpen())
        return;
    const QPoint position = ZqEventFilter::windowPosition(this, event->localPos());
    if (draggingSplit) {
        int percent = std::clamp(static_cast<int>(position.x() * 100.0 / displayWidth), 0, 100);
        if (percent > splitEdgePercent)
            percent = position.x() <= splitLastX ? 99 : 100;
        if (draggingFrameCompare) {
            slotMoveFrameComparePosition(percent);
            frameWidget.setFrameComparePosition(percent);
        } else {
            slotMoveLutContrastPosition(percent);
        }
        return;
    }
    if (probeDragging) {
        const int probeX = stepToward(lightMeterX, lightMeterX + (position.x() - movePosition.x()));
        const int probeY = stepToward(lightMeterY, lightMeterY + (position.y() - movePosition.y()));
        movePosition = position;
        probeMoved = true;
        lightMeterSetPosition(probeX, probeY);
        return;
    }
    if ((zoomActive || scanMode != VideoOption::SCAN_NORMAL) && !pinching) {
        const int dx = panLastX - position.x();
        const int dy = panLastY - position.y();
        panLastX = position.x();
        panLastY = position.y();
        panned = true;
        if (zoomActive && scanMode == VideoOption::SCAN_NORMAL)
            videoOption->setScaleOffset(dx, dy);
        else
            videoOption->setScanModeOffset(dx, dy);
    }
}

void MainWindow::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint position = ZqEventFilter::windowPosition(this, event->localPos());
    if (draggingSplit) {
        draggingSplit = false;
        return;
    }
    if (probeDragging && position.y() <= displayHeight) {
        probeDragging = false;
        const bool drag = pressTime.isValid() && pressTime.elapsed() >= probeTapMs && probeMoved;
        probeMoved = false;
        if (!drag)
            lightMeterSetPosition(position.x(), position.y());
        return;
    }
    const int state = eventFilter != nullptr ? eventFilter->getTouchState() : ZqEventFilter::TOUCH_NORMAL;
    if (position.y() < pictureTop || position.y() > pictureBottom || state == ZqEventFilter::TOUCH_LOCKED
        || state == ZqEventFilter::TOUCH_MESSAGE)
        return;
    if (ui->FastWidget->isVisible()) {
        if (!ui->FastWidget->geometry().contains(position)) {
            ui->systemWidget->hide();
            closeFastWidget();
        }
        return;
    }
    if (ui->systemWidget->isVisible()) {
        if (!ui->systemWidget->geometry().contains(position))
            ui->systemWidget->hide();
        return;
    }
    if (pinching || panned) {
        pinching = false;
        panned = false;
        return;
    }
    const bool barsShown = ui->topFrame->isVisible() && ui->bottomFrame->isVisible();
    ui->topFrame->setVisible(!barsShown);
    ui->bottomFrame->setVisible(!barsShown);
    pinching = false;
    panned = false;
}

// --- pinch ---------------------------------------------------------------------------------

void MainWindow::gestureEvent(QGestureEvent *event)
{
    if (!zoomActive)
        return;
    auto *pinch = static_cast<QPinchGesture *>(event->gesture(Qt::PinchGesture));
    if (pinch == nullptr)
        return;
    if (pinch->state() == Qt::GestureStarted)
        lastPinchScale = 1.0f;
    if (!(pinch->changeFlags() & QPinchGesture::ScaleFactorChanged))
        return;
    pinching = true;
    const float scale = static_cast<float>(pinch->totalScaleFactor());
    pinchScale = scale;
    const float change = std::fabs(scale - lastPinchScale);
    if ((lastPinchScale > 1.000001f || change >= pinchStepBelowOne)
        && (lastPinchScale < 0.999999f || change >= pinchStepAboveOne)) {
        videoOption->setScaleFactor(scale < lastPinchScale ? VideoOption::SCALE_ZOOM_OUT : VideoOption::SCALE_ZOOM_IN);
        lastPinchScale = scale;
    }
}
