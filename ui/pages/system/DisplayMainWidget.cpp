#include "DisplayMainWidget.h"

#include "BackLightCtl.h"
#include "FocusCtl.h"
#include "KeyCtl.h"
#include "OsdCtl.h"
#include "SetUpForm.h"
#include "ui_DisplayMainWidget.h"

#include <QButtonGroup>
#include <QSignalBlocker>

namespace {

constexpr int centre = 50;
// The menus never become fainter than a tenth.
constexpr int lowestOpacity = 10;
constexpr int fullLevel = 100;
constexpr int scanModeCount = 3;

} // namespace

DisplayMainWidget::DisplayMainWidget(QWidget *parent)
    : MenuPage(parent), ui(new Ui_DisplayMainWidget), videoOption(VideoOption::getInstance()),
      backLightCtl(BackLightCtl::getInstance()), focusCtl(FocusCtl::getInstance()), osdCtl(OsdCtl::getInstance())
{
    setUpForm(ui, this);
    for (QSlider *slider : {ui->displayLightSlider, ui->displayContrastSlider, ui->displayChromaSlider,
                            ui->displayBacklightSlider, ui->displaySharpenSlider})
        slider->setRange(0, 100);
    ui->displayOpacitySlider->setRange(lowestOpacity, 100);
    auto *scanGroup = new QButtonGroup(this);
    scanGroup->addButton(ui->displayScanNormal, VideoOption::SCAN_NORMAL);
    scanGroup->addButton(ui->displayScanPix, VideoOption::SCAN_PIX);
    scanGroup->addButton(ui->displayScanPixToPix, VideoOption::SCAN_PIX_TO_PIX);
    translateUi();
    configInit();
    connect(ui->displayLightSlider, &QSlider::valueChanged, this, &DisplayMainWidget::slotLightChanged);
    connect(ui->displayContrastSlider, &QSlider::valueChanged, this, &DisplayMainWidget::slotContrastChanged);
    connect(ui->displayChromaSlider, &QSlider::valueChanged, this, &DisplayMainWidget::slotChromaChanged);
    connect(ui->displayBacklightSlider, &QSlider::valueChanged, this, &DisplayMainWidget::slotBacklightChanged);
    connect(ui->displaySharpenSlider, &QSlider::valueChanged, this, &DisplayMainWidget::slotSharpenChanged);
    connect(ui->displayOpacitySlider, &QSlider::valueChanged, this, &DisplayMainWidget::slotOpacityChanged);
    connect(scanGroup, &QButtonGroup::idClicked, this, &DisplayMainWidget::slotButtonGroup);
    connectFunctionKey();
}

DisplayMainWidget::~DisplayMainWidget()
{
    delete ui;
}

void DisplayMainWidget::configInit()
{
    const int light = readInt("displayLight", centre, 0, 100);
    const int contrast = readInt("displayContrast", centre, 0, 100);
    const int chroma = readInt("displayChroma", centre, 0, 100);
    const int backlight = readInt("displayBacklight", centre, 0, 100);
    const int sharpen = readInt("displaySharpen", centre, 0, 100);
    const int opacity = readInt("opacity", 100, lowestOpacity, 100);
    VideoOption::ScanMode mode = VideoOption::SCAN_NORMAL;
    VideoOption::scanModeFromText(readChoice("scanMode", "normal", {"normal", "pix", "pixTopix"}), mode);
    hdrOn = readBool("colorHDREnable", false);
    scanMode = mode;
    fullBacklight = false;

    applyLight(light);
    applyContrast(contrast);
    applyChroma(chroma);
    applySharpen(sharpen);
    applyOpacity(opacity);
    videoOption->setScanMode(scanMode, false);
    if (!hdrOn)
        backLightCtl->setBackLightValue(backlight);

    showSlider(ui->displayLightSlider, ui->displayLightValue, light);
    showSlider(ui->displayContrastSlider, ui->displayContrastValue, contrast);
    showSlider(ui->displayChromaSlider, ui->displayChromaValue, chroma);
    showSlider(ui->displayBacklightSlider, ui->displayBacklightValue, backlight);
    showSlider(ui->displaySharpenSlider, ui->displaySharpenValue, sharpen);
    showSlider(ui->displayOpacitySlider, ui->displayOpacityValue, opacity);
    ui->displayBacklightSlider->setEnabled(!hdrOn);
    showScanMode();
}

void DisplayMainWidget::translateUi()
{
    ui->displayLightTitle->setText(tr("亮度"));
    ui->displayContrastTitle->setText(tr("对比度"));
    ui->displayChromaTitle->setText(tr("色度"));
    ui->displayScanTitle->setText(tr("扫描模式"));
    ui->displayScanNormal->setText(tr("正常"));
    ui->displayScanPix->setText(tr("过像素"));
    ui->displayScanPixToPix->setText(tr("像素到像素"));
    ui->displayBacklightTitle->setText(tr("背光"));
    ui->displaySharpenTitle->setText(tr("锐化"));
    ui->displayOpacityTitle->setText(tr("菜单透明度"));
}

void DisplayMainWidget::slotFunctionClicked(int code)
{
    switch (code) {
    case KeyCtl::FUNC_WIRELESS_MODE:
        screenOff = !screenOff;
        backLightCtl->setBackLightOff(screenOff);
        emit signalScreenOff(screenOff);
        break;
    case KeyCtl::FUNC_SCAN_MODE:
        slotButtonGroup((scanMode + 1) % scanModeCount);
        showScanMode();
        break;
    case KeyCtl::FUNC_MAX_BRIGHTNESS:
        // HDR holds the backlight at full already; restoring would undercut it.
        if (hdrOn)
            break;
        fullBacklight = !fullBacklight;
        if (fullBacklight) {
            levelBeforeFull = backLightCtl->getBackLightValue();
            backLightCtl->setBackLightValue(fullLevel);
        } else {
            backLightCtl->setBackLightValue(levelBeforeFull);
        }
        break;
    default:
        break;
    }
}

void DisplayMainWidget::slotHDREnable(bool on)
{
    hdrOn = on;
    ui->displayBacklightSlider->setEnabled(!on);
}

void DisplayMainWidget::slotLightChanged(int value)
{
    ui->displayLightValue->setText(percentText(value));
    applyLight(value);
    store("displayLight", value);
}

void DisplayMainWidget::slotContrastChanged(int value)
{
    ui->displayContrastValue->setText(percentText(value));
    applyContrast(value);
    store("displayContrast", value);
}

void DisplayMainWidget::slotChromaChanged(int value)
{
    ui->displayChromaValue->setText(percentText(value));
    applyChroma(value);
    store("displayChroma", value);
}

void DisplayMainWidget::slotBacklightChanged(int value)
{
    ui->displayBacklightValue->setText(percentText(value));
    if (hdrOn)
        return;
    // The user's level ends a full-backlight boost.
    fullBacklight = false;
    backLightCtl->setBackLightValue(value);
    store("displayBacklight", value);
}

void DisplayMainWidget::slotSharpenChanged(int value)
{
    ui->displaySharpenValue->setText(percentText(value));
    applySharpen(value);
    store("displaySharpen", value);
}

void DisplayMainWidget::slotOpacityChanged(int value)
{
    ui->displayOpacityValue->setText(percentText(value));
    applyOpacity(value);
    store("opacity", value);
}

void DisplayMainWidget::slotButtonGroup(int mode)
{
    scanMode = static_cast<VideoOption::ScanMode>(mode);
    videoOption->setScanMode(scanMode, true);
    store("scanMode", VideoOption::scanModeText(scanMode));
}

void DisplayMainWidget::applyLight(int value)
{
    videoOption->setLuminanceGain((value - centre) / 100.0f * 1000);
    videoOption->loadCscMatrix();
}

void DisplayMainWidget::applyContrast(int value)
{
    videoOption->setContranstGain((value - centre) / 50.0f + 1);
    videoOption->loadCscMatrix();
}

void DisplayMainWidget::applyChroma(int value)
{
    videoOption->setChromaGain((value - centre) / 50.0f * 0.66f);
    videoOption->loadCscMatrix();
}

void DisplayMainWidget::applySharpen(int value)
{
    focusCtl->sharpEnable(value != 0);
    focusCtl->sharpSetValue(value);
}

void DisplayMainWidget::applyOpacity(int value)
{
    osdCtl->setOpactiy(value / 100.0f);
}

void DisplayMainWidget::showScanMode()
{
    QAbstractButton *const buttons[scanModeCount] = {ui->displayScanNormal, ui->displayScanPix,
                                                     ui->displayScanPixToPix};
    buttons[scanMode]->setChecked(true);
}

void DisplayMainWidget::showSlider(QSlider *slider, QLabel *label, int value)
{
    const QSignalBlocker blocker(slider);
    slider->setValue(value);
    label->setText(percentText(value));
}
