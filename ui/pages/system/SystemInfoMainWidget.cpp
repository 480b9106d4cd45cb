#include "SystemInfoMainWidget.h"

#include "CalibrateCtl.h"
#include "SetUpForm.h"
#include "ui_SystemInfoMainWidget.h"

#include <QButtonGroup>

namespace {

// The cube the panel was calibrated with at the factory.
constexpr const char *factoryCalibration = "calibrate.cube";

const char *const badCalibrationText =
    QT_TRANSLATE_NOOP("SystemInfoMainWidget", "校准文件无效，校色保持不变");

} // namespace

SystemInfoMainWidget::SystemInfoMainWidget(QWidget *parent)
    : MenuPage(parent), ui(new Ui_SystemInfoMainWidget), calibrateCtl(CalibrateCtl::getInstance())
{
    setUpForm(ui, this);
    auto *languageGroup = new QButtonGroup(this);
    languageGroup->addButton(ui->systemLanguageChinese, AppConfig::Chinese);
    languageGroup->addButton(ui->systemLanguageEnglish, AppConfig::English);
    translateUi();
    configInit();
    connect(languageGroup, &QButtonGroup::idClicked, this, &SystemInfoMainWidget::slotLanguage);
    connect(ui->systemCalibrateEnable, &QPushButton::clicked, this, &SystemInfoMainWidget::slotCalibrateEnable);
    connect(ui->systemCalibrateSelect, &QPushButton::clicked, this, [this] { openCalibrateFile(CalibrateSelect); });
    connect(ui->systemCalibrateImport, &QPushButton::clicked, this, [this] { openCalibrateFile(CalibrateImport); });
    connect(ui->systemCalibrateErase, &QPushButton::clicked, this, [this] { openCalibrateFile(CalibrateErase); });
    connect(ui->systemFavouriteSave, &QPushButton::clicked, this, [this] { slotPreConfig(0); });
    connect(ui->systemFavouriteLoad, &QPushButton::clicked, this, [this] { slotPreConfig(1); });
    connect(ui->systemReset, &QPushButton::clicked, this, &SystemInfoMainWidget::slotReset);
    connect(ui->systemUpgrade, &QPushButton::clicked, this, &SystemInfoMainWidget::signalSystemUpgrade);
    connect(ui->systemTimeSetting, &QPushButton::clicked, this, &SystemInfoMainWidget::signalTimeSetting);
    connect(ui->systemAbout, &QPushButton::clicked, this, &SystemInfoMainWidget::signalSystemAbout);
}

SystemInfoMainWidget::~SystemInfoMainWidget()
{
    delete ui;
}

QString SystemInfoMainWidget::fileNamePart(const std::string &path)
{
    const size_t separator = path.find_last_of("/\\");
    return QString::fromStdString(separator == std::string::npos ? path : path.substr(separator + 1));
}

void SystemInfoMainWidget::configInit()
{
    const std::string language = readChoice("language", "Chinese", {"Chinese", "English"});
    (language == "English" ? ui->systemLanguageEnglish : ui->systemLanguageChinese)->setChecked(true);
    setHint(nullptr);
    showCalibration();
}

void SystemInfoMainWidget::translateUi()
{
    ui->systemTitle->setText(tr("系统信息"));
    ui->systemLanguageTitle->setText(tr("语言选择"));
    ui->systemCalibrateTitle->setText(tr("校色模式"));
    ui->systemCalibrateSelect->setText(tr("选择校准文件"));
    ui->systemCalibrateImport->setText(tr("导入"));
    ui->systemCalibrateErase->setText(tr("删除"));
    ui->systemFavouriteSave->setText(tr("预设值保存"));
    ui->systemFavouriteLoad->setText(tr("预设值加载"));
    ui->systemTimeSetting->setText(tr("时间设置"));
    ui->systemAbout->setText(tr("关于"));
    ui->systemUpgrade->setText(tr("软件升级"));
    ui->systemReset->setText(tr("恢复出厂设置"));
    ui->systemCalibrateHint->setText(hint != nullptr ? tr(hint) : QString());
}

void SystemInfoMainWidget::preConfigUse()
{
    ui->systemFavouriteSave->setEnabled(true);
    ui->systemFavouriteLoad->setEnabled(true);
}

void SystemInfoMainWidget::resetButtonUse()
{
    ui->systemReset->setEnabled(true);
}

// Back from the file picker, the chosen file is shown.
void SystemInfoMainWidget::showEvent(QShowEvent *event)
{
    MenuPage::showEvent(event);
    showCalibration();
}

void SystemInfoMainWidget::slotLanguage(int language)
{
    const auto chosen = static_cast<AppConfig::Language>(language);
    languageUpdate(chosen);
    store("language", std::string(chosen == AppConfig::English ? "English" : "Chinese"));
}

// The same loading as at start: the user's file in calibration mode, else the
// factory cube. A user file that does not load leaves the mode off and the
// calibration as it was; without a usable factory cube the panel runs
// uncalibrated, as it would after a restart.
void SystemInfoMainWidget::slotCalibrateEnable()
{
    const bool on = ui->systemCalibrateEnable->isChecked();
    if (on) {
        std::string file;
        appConfig->findValue("colorLutCalibrateFile", file);
        if (!calibrateCtl->loadFile(file)) {
            ui->systemCalibrateEnable->setChecked(false);
            setHint(badCalibrationText);
            return;
        }
    } else if (!calibrateCtl->loadFile(factoryCalibration)) {
        calibrateCtl->enable(CalibrateCtl::CalibrateLut, false);
    }
    setHint(nullptr);
    store("colorLutCalibrateEnable", on);
}

void SystemInfoMainWidget::slotPreConfig(int type)
{
    ui->systemFavouriteSave->setEnabled(false);
    ui->systemFavouriteLoad->setEnabled(false);
    emit signalPreConfig(type);
}

void SystemInfoMainWidget::slotReset()
{
    ui->systemReset->setEnabled(false);
    emit signalSystemReset();
}

void SystemInfoMainWidget::openCalibrateFile(CalibrateFileOp op)
{
    emit signalCalibrateFileOp(op, ui->systemCalibrateEnable->isChecked());
    emit signalCalibrateFile();
}

void SystemInfoMainWidget::showCalibration()
{
    std::string file;
    appConfig->findValue("colorLutCalibrateFile", file);
    ui->systemCalibrateEnable->setChecked(readBool("colorLutCalibrateEnable", false));
    ui->systemCalibrateFile->setText(fileNamePart(file));
}

void SystemInfoMainWidget::setHint(const char *text)
{
    hint = text;
    ui->systemCalibrateHint->setText(text != nullptr ? tr(text) : QString());
}
