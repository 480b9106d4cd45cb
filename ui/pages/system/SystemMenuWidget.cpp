#include "SystemMenuWidget.h"

#include "KeyCtl.h"
#include "SetUpForm.h"
#include "ui_SystemMenuWidget.h"

#include <QButtonGroup>

SystemMenuWidget::SystemMenuWidget(QWidget *parent)
    : QFrame(parent),
      ui(setUpForm<Ui_SystemMenuWidget>(this)),
      videoFormatWidget(ui->systemMenuStack),
      sdiFormat(ui->systemMenuStack),
      displayWidget(ui->systemMenuStack),
      functionWidget(ui->systemMenuStack),
      controlWidget(ui->systemMenuStack),
      systemInfoMainWidget(ui->systemMenuStack),
      systemInfoAbout(ui->systemMenuStack),
      systemUpgrade(ui->systemMenuStack),
      timeSettingWidget(ui->systemMenuStack),
      functionMenuWidget(ui->systemMenuStack),
      colorCalibrateFile(ui->systemMenuStack)
{
    QWidget *const pages[] = {&videoFormatWidget, &displayWidget,   &functionMenuWidget, &functionWidget,
                              &controlWidget,     &systemInfoMainWidget, &systemInfoAbout, &systemUpgrade,
                              &sdiFormat,         &timeSettingWidget,    &colorCalibrateFile};
    for (QWidget *page : pages)
        ui->systemMenuStack->addWidget(page);
    auto *sideGroup = new QButtonGroup(this);
    for (int button = SideVideoFormat; button <= SideControl; ++button)
        sideGroup->addButton(sideButton(static_cast<SideButton>(button)), button);
    translateUi();
    setPage(VideoFormatPage);

    connect(sideGroup, &QButtonGroup::idClicked, this, &SystemMenuWidget::slotSideButton);
    connect(ui->systemMenuBack, &QPushButton::clicked, this, &SystemMenuWidget::back);

    connect(&videoFormatWidget, &VideoFormatWidget::signalSDIFormat, this, [this] { setPage(SDIFormatPage); });
    connect(&sdiFormat, &SDIFormat::signalSDIFormat, &videoFormatWidget, &VideoFormatWidget::slotSDIFormat);
    connect(&displayWidget, &DisplayWidget::signalScreenOff, this, &SystemMenuWidget::signalScreenOff);
    connect(&functionMenuWidget, &FunctionMenuWidget::signalFunctionWidget, this, [this](int key) {
        functionWidget.setKey(key);
        setPage(FunctionPage);
    });
    connect(&functionWidget, &FunctionWidget::signalFunctionSelect, &functionMenuWidget,
            &FunctionMenuWidget::slotFunctionSelect);

    connect(&systemInfoMainWidget, &SystemInfoMainWidget::signalPreConfig, this, &SystemMenuWidget::signalPreConfig);
    connect(&systemInfoMainWidget, &SystemInfoMainWidget::signalSystemReset, this, &SystemMenuWidget::signalReset);
    connect(&systemInfoMainWidget, &SystemInfoMainWidget::signalSystemUpgrade, this, [this] { setPage(UpgradePage); });
    connect(&systemInfoMainWidget, &SystemInfoMainWidget::signalTimeSetting, this,
            [this] { setPage(TimeSettingPage); });
    connect(&systemInfoMainWidget, &SystemInfoMainWidget::signalSystemAbout, this, [this] { setPage(AboutPage); });
    connect(&systemInfoMainWidget, &SystemInfoMainWidget::signalCalibrateFileOp, &colorCalibrateFile,
            &ColorCalibrateFile::setMode);
    connect(&systemInfoMainWidget, &SystemInfoMainWidget::signalCalibrateFile, this,
            [this] { setPage(CalibrateFilePage); });
    connect(&systemInfoAbout, &SystemInfoAbout::signalReset, this, &SystemMenuWidget::signalReset);
    connect(&systemUpgrade, &SystemUpgrade::signalUpgrade, this, &SystemMenuWidget::signalUpgrade);

    connect(&timeSettingWidget, &TimeSettingWidget::signalSetTimeOk, this, &SystemMenuWidget::signalSetTimeOk);
    connect(&timeSettingWidget, &TimeSettingWidget::signalSetTimeOk, this, &SystemMenuWidget::back);
    connect(&timeSettingWidget, &TimeSettingWidget::signalSetTimeCancel, this, &SystemMenuWidget::back);
    connect(&colorCalibrateFile, &ColorCalibrateFile::signalBack, this, &SystemMenuWidget::back);
    connect(&colorCalibrateFile, &ColorCalibrateFile::signalImportLutCalibrateSuccess, this,
            &SystemMenuWidget::signalImportLutCalibrateSuccess);
    connect(&colorCalibrateFile, &ColorCalibrateFile::signalImportLutCalibrateFailed, this,
            &SystemMenuWidget::signalImportLutCalibrateFailed);
    connect(&colorCalibrateFile, &ColorCalibrateFile::signalEraseLutCalibrateSuccess, this,
            &SystemMenuWidget::signalEraseLutCalibrateSuccess);

    connect(KeyCtl::getInstance(), &KeyCtl::longClicked, this, &SystemMenuWidget::slotKeyFunction);
}

SystemMenuWidget::~SystemMenuWidget()
{
    delete ui;
}

void SystemMenuWidget::translateUi()
{
    ui->systemMenuVideoFormat->setText(tr("视频格式"));
    ui->systemMenuDisplay->setText(tr("显示"));
    ui->systemMenuFunction->setText(tr("功能"));
    ui->systemMenuSystem->setText(tr("系统"));
    ui->systemMenuControl->setText(tr("控制"));
    ui->systemMenuBack->setText(tr("返回"));
}

int SystemMenuWidget::currentPage() const
{
    return ui->systemMenuStack->currentIndex();
}

void SystemMenuWidget::preConfigUse()
{
    systemInfoMainWidget.preConfigUse();
}

void SystemMenuWidget::resetButtonUse()
{
    systemInfoMainWidget.resetButtonUse();
    systemInfoAbout.resetButtonUse();
}

void SystemMenuWidget::slotKeyFunction(int key)
{
    if (key < 1 || key > FunctionWidget::keyCount)
        return;
    functionWidget.setKey(key - 1);
    setPage(FunctionPage);
    emit signalShowSystemWidget();
}

void SystemMenuWidget::slotHDREnable(bool on)
{
    displayWidget.displayMain().slotHDREnable(on);
}

// A side button leaves a sub-page of its own menu alone, except the about and
// calibration file pages of the system menu.
void SystemMenuWidget::slotSideButton(int button)
{
    const int page = currentPage();
    switch (button) {
    case SideVideoFormat:
        if (page != SDIFormatPage)
            setPage(VideoFormatPage);
        break;
    case SideDisplay:
        setPage(DisplayPage);
        break;
    case SideFunction:
        if (page != FunctionPage)
            setPage(FunctionMenuPage);
        break;
    case SideSystem:
        if (page != UpgradePage && page != TimeSettingPage)
            setPage(SystemInfoPage);
        break;
    case SideControl:
        setPage(ControlPage);
        break;
    default:
        break;
    }
}

void SystemMenuWidget::back()
{
    switch (currentPage()) {
    case SDIFormatPage:
        setPage(VideoFormatPage);
        break;
    case FunctionPage:
        setPage(FunctionMenuPage);
        break;
    case AboutPage:
    case UpgradePage:
    case TimeSettingPage:
    case CalibrateFilePage:
        setPage(SystemInfoPage);
        break;
    default:
        emit signalBack();
        break;
    }
}

// The side button of the menu a page belongs to is the checked one.
void SystemMenuWidget::setPage(Page page)
{
    ui->systemMenuStack->setCurrentIndex(page);
    SideButton button = SideSystem;
    switch (page) {
    case VideoFormatPage:
    case SDIFormatPage:
        button = SideVideoFormat;
        break;
    case DisplayPage:
        button = SideDisplay;
        break;
    case FunctionMenuPage:
    case FunctionPage:
        button = SideFunction;
        break;
    case ControlPage:
        button = SideControl;
        break;
    default:
        break;
    }
    sideButton(button)->setChecked(true);
}

QAbstractButton *SystemMenuWidget::sideButton(SideButton button) const
{
    QAbstractButton *const buttons[] = {ui->systemMenuVideoFormat, ui->systemMenuDisplay, ui->systemMenuFunction,
                                        ui->systemMenuSystem, ui->systemMenuControl};
    return buttons[button];
}
