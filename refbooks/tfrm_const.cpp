#include "tfrm_const.h"

#include "command.h"
#include "dataset_commands.h"
#include "db_grid.h"
#include "field_links.h"
#include "prompt_service.h"
#include "radio_group.h"
#include "tdm.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const QString kCloseHint = QStringLiteral("Закрыть окно параметров");

struct Box {
    const char *field;
    const char *label;
};

} // namespace

TfrmConst::TfrmConst(TDM &dm, PromptService &prompts, QWidget *parent)
    : QDialog(parent), m_dm(dm), m_prompts(prompts),
      m_links(new FieldLinks(dm.DSetRekvizity, prompts, this))
{
    setObjectName(QStringLiteral("frmConst"));
    setWindowTitle(QStringLiteral("Реквизиты компании"));
    resize(762, 466);
    setMinimumSize(762, 466);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(createRequisites(), 1);

    auto *bottom = new QWidget(this);
    bottom->setObjectName(QStringLiteral("pnlBottom"));
    auto *bottomLayout = new QHBoxLayout(bottom);
    bottomLayout->setContentsMargins(8, 4, 8, 4);
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
    order.push_back(ok);
    order.push_back(cancel);
    for (size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

QWidget *TfrmConst::createRequisites()
{
    auto *group = new QGroupBox(QStringLiteral("Реквизиты компании:"), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    auto *columns = new QHBoxLayout(group);
    columns->setContentsMargins(8, 4, 8, 8);
    columns->setSpacing(12);

    auto addBoxes = [this, group](QFormLayout *form, std::initializer_list<Box> boxes) {
        for (const Box &b : boxes) {
            auto *box = new QLineEdit(group);
            box->setObjectName(QStringLiteral("ed") + QLatin1String(b.field));
            auto *label = new QLabel(QString::fromUtf8(b.label), group);
            label->setBuddy(box);
            // The one long label takes two lines rather than the width of the boxes.
            if (label->sizeHint().width() > 160) {
                label->setWordWrap(true);
                label->setMinimumWidth(130);
                label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            form->addRow(label, box);
            m_links->bind(box, QString::fromLatin1(b.field));
        }
    };
    auto makeForm = [] {
        auto *form = new QFormLayout;
        form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
        form->setVerticalSpacing(4);
        return form;
    };

    auto *left = makeForm();
    addBoxes(left, {{"NAMEORG", "Наименование:"},
                    {"NAMEPODR", "Подразделение:"},
                    {"NAMESKLAD", "Склад:"},
                    {"BINIIN", "БИН (ИИН):"},
                    {"RNN", "Свидет-во НДС:"},
                    {"KBE", "КБЕ:"},
                    {"NUMSTART", "Номер с которого вести отсчет:"},
                    {"TEL", "Телефоны:"},
                    {"ADRES", "Адрес:"},
                    {"RUK", "Руководитель:"},
                    {"GLBUX", "Главный бухгалтер:"}});
    columns->addLayout(left, 1);

    auto *right = new QVBoxLayout;
    right->setSpacing(4);
    auto *rate = makeForm();
    addBoxes(rate, {{"STNDS", "Ставка НДС:"}});
    right->addLayout(rate);
    auto *variant = new RadioGroup(
        QStringLiteral("Вариант расчета"),
        {QStringLiteral("НДС в сумме"), QStringLiteral("НДС сверху"), QStringLiteral("без НДС")}, 2,
        group);
    variant->setObjectName(QStringLiteral("rgrVarRaschet"));
    m_links->bind(variant, QStringLiteral("VARRASCHET"));
    right->addWidget(variant);
    auto *bank = makeForm();
    addBoxes(bank, {{"BANK", "Банк:"}, {"BIK", "БИК:"}, {"IIK", "ИИК (№ расчетного счета):"}});
    right->addLayout(bank);
    right->addWidget(createAccounts(), 1);
    columns->addLayout(right, 1);
    return group;
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
        button->setFixedSize(100, 25);
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
    if (m_dm.DSetRekvizity->isEditing())
        m_dm.DSetRekvizity->post();
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
    Dataset *requisites = m_dm.DSetRekvizity;
    const Dataset *accounts = m_dm.DSetSchetORG;
    ensureEditing(*requisites);
    for (const char *field : {"IIK", "BANK", "BIK"}) {
        const QString name = QString::fromLatin1(field);
        requisites->setValue(name, accounts->value(name));
    }
}

void TfrmConst::BitBtn3Click()
{
    Dataset *accounts = m_dm.DSetSchetORG;
    accounts->insert();
    accounts->post();
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
