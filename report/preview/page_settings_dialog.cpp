#include "page_settings_dialog.h"

#include "dialog_buttons.h"
#include "printers.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QPageSize>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace zpreview {

namespace {

constexpr int kCustomPaper = 256;

QDoubleSpinBox *centimetres(const QString &name, double mm, QWidget *parent)
{
    auto *box = new QDoubleSpinBox(parent);
    box->setObjectName(name);
    box->setRange(0, 500);
    box->setDecimals(2);
    box->setSingleStep(0.1);
    box->setSuffix(QStringLiteral(" см"));
    box->setValue(mm / 10);
    return box;
}

} // namespace

PageSettingsDialog::PageSettingsDialog(const zreport::PageSettings &settings, QWidget *parent)
    : QDialog(parent), m_initial(settings)
{
    setObjectName(QStringLiteral("pageSettingsDialog"));
    setWindowTitle(QStringLiteral("Настройки страницы"));

    auto *paperBox = new QGroupBox(QStringLiteral("Размер"), this);
    m_paper = new QComboBox(paperBox);
    m_paper->setObjectName(QStringLiteral("paperCombo"));
    // Items carry the paper code of the templates (the Windows code of the size).
    m_sizes = paperSizesOf(Printers::instance().current());
    for (const QPageSize &size : m_sizes)
        m_paper->addItem(size.name(), size.windowsId());
    m_paper->addItem(QStringLiteral("Другой"), kCustomPaper);
    const int known = m_paper->findData(settings.paperSize);
    m_paper->setCurrentIndex(known >= 0 ? known : m_paper->count() - 1);
    m_width = centimetres(QStringLiteral("paperWidthSpin"), settings.paperWidth, paperBox);
    m_height = centimetres(QStringLiteral("paperHeightSpin"), settings.paperHeight, paperBox);
    m_width->setMinimum(1);
    m_height->setMinimum(1);
    auto *paperForm = new QFormLayout(paperBox);
    paperForm->addRow(m_paper);
    paperForm->addRow(QStringLiteral("Ширина"), m_width);
    paperForm->addRow(QStringLiteral("Высота"), m_height);

    auto *orientationBox = new QGroupBox(QStringLiteral("Ориентация"), this);
    m_orientation = new QComboBox(orientationBox);
    m_orientation->setObjectName(QStringLiteral("orientationCombo"));
    m_orientation->addItems({QStringLiteral("Портретная"), QStringLiteral("Альбомная")});
    m_orientation->setCurrentIndex(
        settings.orientation == zreport::PageOrientation::poLandscape ? 1 : 0);
    (new QVBoxLayout(orientationBox))->addWidget(m_orientation);

    auto *marginsBox = new QGroupBox(QStringLiteral("Поля"), this);
    m_left = centimetres(QStringLiteral("leftMarginSpin"), settings.leftMargin, marginsBox);
    m_top = centimetres(QStringLiteral("topMarginSpin"), settings.topMargin, marginsBox);
    m_right = centimetres(QStringLiteral("rightMarginSpin"), settings.rightMargin, marginsBox);
    m_bottom = centimetres(QStringLiteral("bottomMarginSpin"), settings.bottomMargin, marginsBox);
    auto *marginsForm = new QFormLayout(marginsBox);
    marginsForm->addRow(QStringLiteral("Левое"), m_left);
    marginsForm->addRow(QStringLiteral("Верхнее"), m_top);
    marginsForm->addRow(QStringLiteral("Правое"), m_right);
    marginsForm->addRow(QStringLiteral("Нижнее"), m_bottom);

    auto *otherBox = new QGroupBox(QStringLiteral("Прочее"), this);
    m_current = new QRadioButton(QStringLiteral("Применить к текущей странице"), otherBox);
    m_current->setObjectName(QStringLiteral("applyToCurrentRadio"));
    m_all = new QRadioButton(QStringLiteral("Применить ко всем страницам"), otherBox);
    m_all->setObjectName(QStringLiteral("applyToAllRadio"));
    m_all->setChecked(true);
    auto *otherLayout = new QVBoxLayout(otherBox);
    otherLayout->addWidget(m_current);
    otherLayout->addWidget(m_all);

    auto *buttons = okCancelButtons(this);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(paperBox);
    layout->addWidget(orientationBox);
    layout->addWidget(marginsBox);
    layout->addWidget(otherBox);
    layout->addWidget(buttons);

    connect(m_paper, &QComboBox::currentIndexChanged, this, &PageSettingsDialog::paperChosen);
    connect(m_orientation, &QComboBox::currentIndexChanged, this,
            &PageSettingsDialog::orientationChosen);
}

void PageSettingsDialog::paperChosen(int index)
{
    if (index < 0 || index >= m_sizes.size())
        return;
    QSizeF size = m_sizes[index].size(QPageSize::Millimeter);
    if (m_orientation->currentIndex() == 1)
        size.transpose();
    m_width->setValue(size.width() / 10);
    m_height->setValue(size.height() / 10);
}

void PageSettingsDialog::orientationChosen()
{
    // The sheet turns: width and height change places when they disagree with the choice.
    const bool landscape = m_orientation->currentIndex() == 1;
    if ((m_width->value() > m_height->value()) != landscape) {
        const double w = m_width->value();
        m_width->setValue(m_height->value());
        m_height->setValue(w);
    }
}

zreport::PageSettings PageSettingsDialog::settings() const
{
    zreport::PageSettings s = m_initial;
    s.paperSize = m_paper->currentData().toInt();
    s.paperWidth = m_width->value() * 10;
    s.paperHeight = m_height->value() * 10;
    s.orientation = m_orientation->currentIndex() == 1 ? zreport::PageOrientation::poLandscape
                                                       : zreport::PageOrientation::poPortrait;
    s.leftMargin = m_left->value() * 10;
    s.topMargin = m_top->value() * 10;
    s.rightMargin = m_right->value() * 10;
    s.bottomMargin = m_bottom->value() * 10;
    return s;
}

bool PageSettingsDialog::applyToAllPages() const
{
    return m_all->isChecked();
}

} // namespace zpreview
