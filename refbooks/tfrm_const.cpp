#include "tfrm_const.h"

#include "business_images_group.h"
#include "data/email_addresses.h"
#include "data/payments.h"
#include "data/tdm.h"
#include "ui/command.h"
#include "ui/dataset_commands.h"
#include "ui/db_grid.h"
#include "ui/email_box.h"
#include "ui/field_links.h"
#include "ui/id_marks.h"
#include "ui/prompt_service.h"
#include "ui/radio_group.h"
#include "ui/role_limits.h"

#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

const QString kCloseHint = QStringLiteral("Закрыть окно параметров");

} // namespace

TfrmConst::TfrmConst(TDM &dm, PromptService &prompts, QWidget *parent)
    : QDialog(parent), m_dm(dm), m_prompts(prompts),
      m_links(new FieldLinks(dm.DSetRekvizity, prompts, this))
{
    setObjectName(QStringLiteral("frmConst"));
    setWindowTitle(QStringLiteral("Реквизиты компании"));
    // The face and size the window's pixel sizes were laid out for.
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    resize(762, 630);
    setMinimumSize(762, 630);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    QWidget *requisites = createRequisites();
    layout->addWidget(requisites, 1);
    m_images = new BusinessImagesGroup(dm.ZNDB, prompts, this);
    layout->addWidget(m_images);
    markRequisiteBoxes(this);
    markIdColumns(m_DBGrid1, kAccountIds);

    auto *bottom = new QWidget(this);
    bottom->setObjectName(QStringLiteral("pnlBottom"));
    auto *bottomLayout = new QHBoxLayout(bottom);
    bottomLayout->setContentsMargins(8, 2, 8, 2);
    auto *ok = new QPushButton(QStringLiteral("ОК"), bottom);
    ok->setObjectName(QStringLiteral("btnClose"));
    ok->setToolTip(kCloseHint);
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Отмена"), bottom);
    cancel->setObjectName(QStringLiteral("BitBtn1"));
    cancel->setToolTip(kCloseHint);
    for (QPushButton *b : {ok, cancel})
        b->setFixedSize(100, 27);
    bottomLayout->addWidget(ok);
    bottomLayout->addStretch();
    bottomLayout->addWidget(cancel);
    layout->addWidget(bottom);

    const QString refusal = roleRefusal(dm.role(), RoleWork::ChangeRequisites);
    for (QWidget *control :
         {requisites, static_cast<QWidget *>(m_images), static_cast<QWidget *>(ok)})
        setRoleLimit(control, refusal);

    connectCommand(ok, this, m_prompts, [this] { btnCloseClick(); });
    connect(cancel, &QPushButton::clicked, this, &TfrmConst::reject);

    // The keyboard runs through the requisites in the order the user fills them in.
    std::vector<QWidget *> order;
    for (const char *name : {"NAMEORG", "NAMEPODR", "NAMESKLAD", "BINIIN", "KBE", "NUMSTART",
                             "ADRES", "RUK", "GLBUX", "STNDS"})
        order.push_back(findChild<QLineEdit *>(QStringLiteral("ed") + QLatin1String(name)));
    auto *variant = findChild<RadioGroup *>(QStringLiteral("rgrVarRaschet"));
    for (int i = 0; i < variant->count(); ++i)
        order.push_back(variant->button(i));
    for (const char *name : {"BANK", "BIK", "IIK"})
        order.push_back(findChild<QLineEdit *>(QStringLiteral("ed") + QLatin1String(name)));
    order.push_back(m_DBGrid1);
    for (const char *name : {"TEL", "RNN"})
        order.push_back(findChild<QLineEdit *>(QStringLiteral("ed") + QLatin1String(name)));
    for (const char *name : {"Button1", "BitBtn3", "BitBtn2"})
        order.push_back(findChild<QPushButton *>(QLatin1String(name)));
    for (QWidget *control : m_images->keyboardOrder())
        order.push_back(control);
    order.push_back(ok);
    order.push_back(cancel);
    for (size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

QWidget *TfrmConst::createRequisites()
{
    auto *group = new QGroupBox(QStringLiteral("Реквизиты компании:"), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    // Two columns of label and box; the long texts (name, phones, address) run across
    // both, and the own accounts take the full width and whatever height is left.
    auto *grid = new QGridLayout(group);
    grid->setContentsMargins(8, 4, 8, 8);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    auto addBox = [this, group, grid](int row, int column, int span, const char *field,
                                      const char *caption) {
        auto *box = new QLineEdit(group);
        box->setObjectName(QStringLiteral("ed") + QLatin1String(field));
        auto *label = new QLabel(QString::fromUtf8(caption), group);
        label->setBuddy(box);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        // The one long label takes two lines rather than the width of the boxes.
        if (label->sizeHint().width() > 160) {
            label->setWordWrap(true);
            label->setMinimumWidth(130);
        }
        grid->addWidget(label, row, column);
        grid->addWidget(box, row, column + 1, 1, span);
        m_links->bind(box, QString::fromLatin1(field));
    };
    const int across = 3; // the box runs to the right edge
    addBox(0, 0, across, "NAMEORG", "Наименование:");
    addBox(1, 0, 1, "NAMEPODR", "Подразделение:");
    addBox(1, 2, 1, "NAMESKLAD", "Склад:");
    addBox(2, 0, 1, "BINIIN", "БИН (ИИН):");
    addBox(2, 2, 1, "RNN", "Свидет-во НДС:");
    addBox(3, 0, 1, "KBE", "КБЕ:");
    addBox(3, 2, 1, "NUMSTART", "Номер с которого вести отсчет:");
    addBox(4, 0, across, "TEL", "Телефоны:");
    addBox(5, 0, across, "ADRES", "Адрес:");
    // The address is not a column of the requisites' row: it has a box of its own, in the
    // free half of the VAT rate's row.
    m_email = new EmailBox(email_addresses::ownOwner(), group);
    addBox(6, 0, 1, "RUK", "Руководитель:");
    addBox(6, 2, 1, "GLBUX", "Главный бухгалтер:");
    addBox(7, 0, 1, "STNDS", "Ставка НДС:");
    addBox(8, 0, 1, "BIK", "БИК:");
    addBox(9, 0, 1, "BANK", "Банк:");
    addBox(9, 2, 1, "IIK", "ИИК (№ расчетного счета):");

    auto *variant = new RadioGroup(
        QStringLiteral("Вариант расчета"),
        {QStringLiteral("НДС в сумме"), QStringLiteral("НДС сверху"), QStringLiteral("без НДС")}, 2,
        group);
    variant->setObjectName(QStringLiteral("rgrVarRaschet"));
    // The calculations read an empty variant as "НДС в сумме": show that one selected.
    m_links->bind(variant, QStringLiteral("VARRASCHET"), 0);
    grid->addWidget(variant, 7, 2, 2, 2);

    grid->addWidget(createTermDays(group), 10, 0, 1, 2);
    auto *emailLabel = new QLabel(QStringLiteral("E-mail:"), group);
    emailLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    emailLabel->setBuddy(m_email);
    grid->addWidget(emailLabel, 10, 2);
    grid->addWidget(m_email, 10, 3);
    if (!m_dm.TsnRW.isActive())
        m_dm.TsnRW.start();
    m_email->load(m_dm.TsnRW);
    grid->addWidget(createAccounts(), 11, 0, 1, 4);
    grid->setRowStretch(11, 1);
    return group;
}

QWidget *TfrmConst::createTermDays(QWidget *group)
{
    auto *row = new QWidget(group);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    m_termDays = new QSpinBox(row);
    m_termDays->setObjectName(QStringLiteral("edSrokOplaty"));
    m_termDays->setRange(0, 3650);
    if (!m_dm.TsnRW.isActive())
        m_dm.TsnRW.start();
    m_storedTermDays = payments::termDays(m_dm.TsnRW);
    m_termDays->setValue(m_storedTermDays);
    auto *label = new QLabel(QStringLiteral("Срок оплаты, дней:"), row);
    label->setBuddy(m_termDays);
    layout->addStretch();
    layout->addWidget(label);
    layout->addWidget(m_termDays);
    return row;
}

QWidget *TfrmConst::createAccounts()
{
    auto *group = new QGroupBox(QStringLiteral("Список расчетных счетов организации"), this);
    group->setObjectName(QStringLiteral("GroupBox2"));
    auto *layout = new QHBoxLayout(group);
    layout->setContentsMargins(4, 2, 4, 4);
    m_DBGrid1 = new DbGrid(group);
    m_DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    m_DBGrid1->setEditable(true);
    m_DBGrid1->setPrompts(m_prompts);
    m_DBGrid1->setDataset(m_dm.DSetSchetORG);
    // The bank's name takes the width the account number and the bank code leave, so the
    // three columns fit the window and a wider window widens the names.
    m_DBGrid1->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    layout->addWidget(m_DBGrid1, 1);

    auto *buttons = new QVBoxLayout;
    buttons->setSpacing(4);
    const struct {
        const char *name;
        const char *caption;
    } captions[] = {{"Button1", "По умолчанию"}, {"BitBtn3", "Добавить"}, {"BitBtn2", "Удалить"}};
    for (const auto &c : captions) {
        auto *button = new QPushButton(QString::fromUtf8(c.caption), group);
        button->setObjectName(QString::fromLatin1(c.name));
        button->setMinimumSize(100, 25);
        buttons->addWidget(button);
    }
    buttons->addStretch();
    layout->addLayout(buttons);

    connectCommand(group->findChild<QPushButton *>(QStringLiteral("Button1")), this, m_prompts,
                   [this] { Button1Click(); });
    connectCommand(group->findChild<QPushButton *>(QStringLiteral("BitBtn3")), this, m_prompts,
                   [this] { BitBtn3Click(); });
    connectCommand(group->findChild<QPushButton *>(QStringLiteral("BitBtn2")), this, m_prompts,
                   [this] { BitBtn2Click(); });
    connectCommand(m_DBGrid1, &DbGrid::titleClicked, this, m_prompts,
                   [this](int column) { DBGrid1TitleClick(column); });
    return group;
}

void TfrmConst::btnCloseClick()
{
    if (m_dm.DSetSchetORG->isEditing())
        m_dm.DSetSchetORG->post();
    m_links->updateRecord();
    if (!confirmCardIds(m_prompts, this, *m_dm.DSetRekvizity, *m_DBGrid1))
        return;
    if (m_dm.DSetRekvizity->isEditing())
        m_dm.DSetRekvizity->post();
    // Written only when changed: a user who may not write the program's tables still closes.
    if (m_termDays->value() != m_storedTermDays) {
        payments::setTermDays(m_dm.TsnRW, m_termDays->value());
        m_storedTermDays = m_termDays->value();
    }
    m_email->save(m_dm.TsnRW);
    m_images->save();
    accept();
}

void TfrmConst::reject()
{
    runCommand(m_prompts, this, [this] {
        m_dm.DSetSchetORG->cancel();
        m_dm.DSetRekvizity->cancel();
    });
    QDialog::reject();
}

void TfrmConst::Button1Click()
{
    m_links->updateRecord();
    copyFields(*m_dm.DSetSchetORG, *m_dm.DSetRekvizity, {"IIK", "BANK", "BIK"});
}

void TfrmConst::BitBtn3Click()
{
    addEmptyRow(*m_dm.DSetSchetORG);
    m_DBGrid1->setFocus();
}

void TfrmConst::BitBtn2Click()
{
    confirmDelete(m_prompts, this, *m_dm.DSetSchetORG);
}

void TfrmConst::DBGrid1TitleClick(int column)
{
    reopenAtSameRow(*m_dm.DSetSchetORG,
                    QStringLiteral("select * from RASSCHET where KODORG=0 order by ") +
                        m_DBGrid1->fieldName(column));
}
