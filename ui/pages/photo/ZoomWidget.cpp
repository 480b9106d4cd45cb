#include "ZoomWidget.h"

#include "CustomLabel.h"
#include "KeyCtl.h"
#include "SetUpForm.h"
#include "VideoOption.h"
#include "ui_ZoomWidget.h"

#include <QRect>
#include <QShowEvent>
#include <algorithm>

namespace {

// One axis of the zoom window: the picture's length and the crop's in picture
// pixels, the area's and the rectangle's on the page, and how far the crop can
// move. The rectangle's travel across the area maps onto the crop's travel
// across the picture, so both ends are reached exactly.
struct Axis {
    int area;
    int rect;
    int travel;

    // margin: pixels the crop must leave free at the far end.
    Axis(int picture, int crop, int area, int margin) : area(area)
    {
        picture = std::max(picture, 1);
        if (crop <= 0 || crop > picture)
            crop = picture;
        rect = std::clamp(static_cast<int>(static_cast<double>(crop) * area / picture + 0.5), 1, std::max(area, 1));
        travel = std::max(0, picture - crop - margin);
    }

    int freeArea() const { return area - rect; }

    int toPicture(int position) const
    {
        if (freeArea() <= 0)
            return 0;
        position = std::clamp(position, 0, freeArea());
        return static_cast<int>(static_cast<double>(position) * travel / freeArea() + 0.5);
    }

    int toArea(int position) const
    {
        if (travel == 0)
            return 0;
        position = std::clamp(position, 0, travel);
        return static_cast<int>(static_cast<double>(position) * freeArea() / travel + 0.5);
    }
};

// The crop keeps its last line free, as the scaler's panning does.
constexpr int verticalMargin = 1;

struct ZoomWindow {
    Axis x;
    Axis y;
};

// The main picture's size as last measured, the crop's as zoomed, the area's
// as laid out.
ZoomWindow zoomWindow(const AppConfig &config, const VideoOption &video, const QSize &area)
{
    return {Axis(config.videoWidth(0), video.getZoomWidth(), area.width(), 0),
            Axis(config.videoHeight(0), video.getZoomHeight(), area.height(), verticalMargin)};
}

} // namespace

ZoomWidget::ZoomWidget(QWidget *parent) : MenuPage(parent), ui(new Ui_ZoomWidget), videoOption(VideoOption::getInstance())
{
    setUpForm(ui, this);
    ui->zoomArea->setCustomLabelType(CustomLabel::LABEL_RANGE);
    translateUi();
    configInit();
    connect(ui->zoomEnable, &QPushButton::clicked, this, &ZoomWidget::slotIsEnable);
    connect(ui->zoomArea, &CustomLabel::signalUpdateRange, this, &ZoomWidget::slotUpdateRange);
    connect(videoOption, &VideoOption::signalZoomEnable, this, &ZoomWidget::slotZoomFollow);
    connectFunctionKey();
}

ZoomWidget::~ZoomWidget()
{
    delete ui;
}

void ZoomWidget::configInit()
{
    const bool on = readBool("photoZoomEnable", false);
    ui->zoomEnable->setChecked(on);
    videoOption->enableZoomMode(on, false);
    showZoomWindow();
}

void ZoomWidget::translateUi()
{
    ui->zoomTitle->setText(tr("放大"));
    ui->zoomHint->setText(tr("拖动方框选择放大区域"));
}

void ZoomWidget::slotFunctionClicked(int code)
{
    if (code != KeyCtl::FUNC_ZOOM)
        return;
    ui->zoomEnable->toggle();
    slotIsEnable();
}

void ZoomWidget::showEvent(QShowEvent *event)
{
    showZoomWindow();
    MenuPage::showEvent(event);
}

void ZoomWidget::slotIsEnable()
{
    const bool on = ui->zoomEnable->isChecked();
    videoOption->enableZoomMode(on, true);
    store("photoZoomEnable", on);
    showZoomWindow();
}

void ZoomWidget::slotUpdateRange(QRect &rect)
{
    const ZoomWindow window = zoomWindow(*appConfig, *videoOption, ui->zoomArea->size());
    videoOption->resizeZoomPosition(static_cast<unsigned short>(window.x.toPicture(rect.left())),
                                    static_cast<unsigned short>(window.y.toPicture(rect.top())));
}

void ZoomWidget::slotZoomFollow(bool on)
{
    if (on != ui->zoomEnable->isChecked()) {
        ui->zoomEnable->setChecked(on);
        store("photoZoomEnable", on);
    }
    showZoomWindow();
}

// The rectangle stands for the crop at its current place; it moves only
// while zoom is on.
void ZoomWidget::showZoomWindow()
{
    const ZoomWindow window = zoomWindow(*appConfig, *videoOption, ui->zoomArea->size());
    ui->zoomArea->setCustomRect(QRect(window.x.toArea(videoOption->getPanX()), window.y.toArea(videoOption->getPanY()),
                                      window.x.rect, window.y.rect));
    ui->zoomArea->setEnabled(videoOption->isZoom());
}
