#include "LutWidget.h"

#include "Console.h"
#include "KeyCtl.h"
#include "LutConfig.h"
#include "LutCtl.h"
#include "SetUpForm.h"
#include "VideoOption.h"
#include "ui_LutWidget.h"

#include <QShowEvent>

LutWidget::LutWidget(QWidget *parent)
    : MenuPage(parent),
      ui(new Ui_LutWidget),
      lutCtl(LutCtl::getInstance()),
      lutConfig(LutConfig::getInstance()),
      videoOption(VideoOption::getInstance())
{
    setUpForm(ui, this);
    ui->lutSourceGroup->setId(ui->lutSourcePre, SourcePreset);
    ui->lutSourceGroup->setId(ui->lutSourceUser, SourceUser);
    translateUi();
    configInit();
    connect(ui->lutEnable, &QPushButton::clicked, this, &LutWidget::slotIsEnable);
    connect(ui->lutSourceGroup, &QButtonGroup::idClicked, this, &LutWidget::slotSourceClicked);
    connect(ui->lutPreSelect, &QPushButton::clicked, this,
            [this] { emit signalPreSelectLut(source == SourcePreset); });
    connect(ui->lutUserSelect, &QPushButton::clicked, this,
            [this] { emit signalUserLutOp(UserLutChoose, source == SourceUser); });
    connect(ui->lutUserImport, &QPushButton::clicked, this, [this] { emit signalUserLutOp(UserLutImport, false); });
    connect(ui->lutUserErase, &QPushButton::clicked, this, [this] { emit signalUserLutOp(UserLutErase, false); });
    connectFunctionKey();
}

LutWidget::~LutWidget()
{
    delete ui;
}

void LutWidget::configInit()
{
    const bool on = readBool("colorLutEnable", false);
    source = readInt("colorLutSelect", SourcePreset, SourcePreset, SourceUser);
    const bool loaded = on && loadSelected();
    lutCtl->lutEnable(loaded);
    videoOption->enableLutContrastMode(false, false);
    ui->lutEnable->setChecked(loaded);
    showSource();
    showFiles();
}

void LutWidget::translateUi()
{
    ui->lutEnableTitle->setText(tr("LUT开启"));
    ui->lutSourceTitle->setText(tr("LUT载入选择"));
    ui->lutSourcePre->setText(tr("预设"));
    ui->lutSourceUser->setText(tr("自定义"));
    ui->lutPreTitle->setText(tr("LUT预设选择"));
    ui->lutPreSelect->setText(tr("选择"));
    ui->lutUserTitle->setText(tr("LUT自定义"));
    ui->lutUserSelect->setText(tr("选择"));
    ui->lutUserImport->setText(tr("导入"));
    ui->lutUserErase->setText(tr("删除"));
}

void LutWidget::slotFunctionClicked(int code)
{
    if (code == KeyCtl::FUNC_LUT) {
        ui->lutEnable->toggle();
        slotIsEnable();
    } else if (code == KeyCtl::FUNC_LUT_COMPARE) {
        // The LUT is switched on only with a file loaded, so its enable says
        // both that it is on and that there is something to compare.
        if (!lutCtl->getLutEnable()) {
            emit signalMsgLutContrast();
            return;
        }
        videoOption->enableLutContrastMode(!videoOption->isLutContrast(), true);
    }
}

// The picker may have loaded and switched on a LUT while the page was away.
void LutWidget::showEvent(QShowEvent *event)
{
    const bool on = lutCtl->getLutEnable();
    if (ui->lutEnable->isChecked() != on) {
        ui->lutEnable->setChecked(on);
        store("colorLutEnable", on);
    }
    showFiles();
    MenuPage::showEvent(event);
}

void LutWidget::slotIsEnable()
{
    switchLut(ui->lutEnable->isChecked());
}

void LutWidget::slotSourceClicked(int id)
{
    if (id == source)
        return;
    source = id;
    store("colorLutSelect", source);
    if (!ui->lutEnable->isChecked())
        switchLut(true);
    else if (!loadSelected())
        switchLut(false);
}

bool LutWidget::loadSelected()
{
    const std::string path = lutConfig->getLutFile(source);
    if (path == LutConfig::invalid) {
        console::warning("No %s LUT file is chosen, the LUT stays off\n", source == SourceUser ? "user" : "preset");
        return false;
    }
    if (!lutCtl->loadFile(path)) {
        console::error("LUT file %s cannot be loaded, the LUT stays off\n", path.c_str());
        return false;
    }
    return true;
}

// Switching on shows the LUT split against the plain picture; the split
// needs the LUT enabled first. Switching off ends the split before the LUT.
void LutWidget::switchLut(bool on)
{
    const bool shown = on && loadSelected();
    ui->lutEnable->setChecked(shown);
    if (shown) {
        lutCtl->lutEnable(true);
        videoOption->enableLutContrastMode(true, true);
    } else {
        videoOption->enableLutContrastMode(false, true);
        lutCtl->lutEnable(false);
    }
    store("colorLutEnable", shown);
}

void LutWidget::showSource()
{
    (source == SourceUser ? ui->lutSourceUser : ui->lutSourcePre)->setChecked(true);
}

void LutWidget::showFiles()
{
    ui->lutPreFile->setText(fileName(lutConfig->getLutFile(SourcePreset)));
    ui->lutUserFile->setText(fileName(lutConfig->getLutFile(SourceUser)));
}

QString LutWidget::fileName(const std::string &path)
{
    if (path == LutConfig::invalid)
        return QString();
    return QString::fromStdString(path.substr(path.find_last_of('/') + 1));
}
