#include "ColourWidget.h"

#include "OutCtl.h"
#include "SetUpForm.h"
#include "VideoOption.h"
#include "ui_ColourWidget.h"

namespace {

// The setting's texts, indexed by colour type.
constexpr const char *typeTexts[] = {"REC-709", "DCI-P3", "BT-2020"};

} // namespace

ColourWidget::ColourWidget(QWidget *parent)
    : MenuPage(parent), ui(new Ui_ColourWidget), videoOption(VideoOption::getInstance()), outCtl(OutCtl::getInstance())
{
    setUpForm(ui, this);
    ui->colourTypeGroup->setId(ui->colourRec709, CscCtl::Rec709);
    ui->colourTypeGroup->setId(ui->colourDciP3, CscCtl::DCIP3);
    ui->colourTypeGroup->setId(ui->colourBt2020, CscCtl::BT2020);
    translateUi();
    configInit();
    started = true;
    connect(ui->colourTypeGroup, &QButtonGroup::idClicked, this, &ColourWidget::slotTypeClicked);
}

ColourWidget::~ColourWidget()
{
    delete ui;
}

void ColourWidget::configInit()
{
    const std::string text = readChoice("colorColourType", typeTexts[CscCtl::Rec709],
                                        {typeTexts[0], typeTexts[1], typeTexts[2]});
    colourType = CscCtl::Rec709;
    for (int type = CscCtl::Rec709; type <= CscCtl::BT2020; ++type) {
        if (text == typeTexts[type])
            colourType = static_cast<CscCtl::ColourType>(type);
    }
    ui->colourTypeGroup->button(colourType)->setChecked(true);
    videoOption->setColourType(colourType);
    if (started)
        applyMatrices();
}

void ColourWidget::translateUi()
{
    ui->colourTypeTitle->setText(tr("色域类型"));
}

void ColourWidget::slotHDREnable(bool)
{
    videoOption->setColourType(colourType);
    applyMatrices();
}

void ColourWidget::slotTypeClicked(int type)
{
    colourType = static_cast<CscCtl::ColourType>(type);
    videoOption->setColourType(colourType);
    applyMatrices();
    store("colorColourType", typeTexts[colourType]);
}

void ColourWidget::applyMatrices()
{
    videoOption->loadCscMatrix(VideoOption::MAIN_CHANNEL);
    outCtl->outputUpdateMatrix();
}
