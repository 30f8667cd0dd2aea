#include "tfrm_add_client.h"

#include "command.h"
#include "dataset.h"
#include "dataset_commands.h"
#include "db_grid.h"
#include "field_links.h"
#include "prompt_service.h"
#include "tdm.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kCloseHint = QStringLiteral("Закрыть окно параметров");

} // namespace

TfrmAddClient::TfrmAddClient(TDM &dm, PromptService &prompts, QWidget *parent)
    : QDialog(parent), m_dm(dm), m_prompts(prompts),
      m_links(new FieldLinks(dm.DSetClients, prompts, this)),
      m_newClient(dm.DSetClients->state() == Dataset::State::Insert)
{
    setObjectName(QStringLiteral("frmAddClient"));
    setWindowTitle(QStringLiteral("Добавление(изменение данных) клиента"));
    resize(762, 370);
    setMinimumSize(770, 404);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    auto *group = new QGroupBox(QStringLiteral("Реквизиты клиента:"), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    auto *columns = new QHBoxLayout(group);
    auto *form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const struct {
        const char *field;
        const char *label;
    } boxes[] = {{"NAMEORG", "Наименование:"},
                 {"BINIIN", "БИН (ИИН):"},
                 {"KBE", "КБЕ:"},
                 {"BANK", "Банк:"},
                 {"BIK", "БИК:"},
                 {"IIK", "ИИК (№ расчетного счета):"},
                 {"TEL", "Телефоны:"},
                 {"ADRES", "Адрес:"}};
    QWidget *previous = nullptr;
    for (const auto &b : boxes) {
        auto *box = new QLineEdit(group);
        box->setObjectName(QStringLiteral("ed") + QLatin1String(b.field));
        auto *label = new QLabel(QString::fromUtf8(b.label), group);
        label->setBuddy(box);
        form->addRow(label, box);
        m_links->bind(box, QString::fromLatin1(b.field));
        if (previous)
            setTabOrder(previous, box);
        previous = box;
    }
    columns->addLayout(form, 1);
    columns->addWidget(createAccounts(), 1);
    layout->addWidget(group, 1);

    auto *bottom = new QWidget(this);
    bottom->setObjectName(QStringLiteral("Panel1"));
    auto *bottomLayout = new QHBoxLayout(bottom);
    auto *ok = new QPushButton(QStringLiteral("ОК"), bottom);
    ok->setObjectName(QStringLiteral("btnClose"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Отмена"), bottom);
    cancel->setObjectName(QStringLiteral("BitBtn1"));
    for (QPushButton *b : {ok, cancel}) {
        b->setToolTip(kCloseHint);
        b->setFixedSize(100, 27);
    }
    bottomLayout->addWidget(ok);
    bottomLayout->addStretch();
    bottomLayout->addWidget(cancel);
    layout->addWidget(bottom);

    connectCommand(ok, this, m_prompts, [this] { btnCloseClick(); });
    connect(cancel, &QPushButton::clicked, this, &TfrmAddClient::reject);
}

QWidget *TfrmAddClient::createAccounts()
{
    auto *group = new QGroupBox(QStringLiteral("Список расчетных счетов клиента"), this);
    group->setObjectName(QStringLiteral("GroupBox2"));
    auto *layout = new QVBoxLayout(group);
    m_DBGrid1 = new DbGrid(group);
    m_DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    m_DBGrid1->setEditable(true);
    m_DBGrid1->setPrompts(m_prompts);
    m_DBGrid1->setDataset(
        m_dm.DSetSchets,
        {{QStringLiteral("IIK"), QStringLiteral("ИИК (№ расчетного счета)"), 0, 20},
         {QStringLiteral("BANK"), QStringLiteral("Наименование банка"), 0, 45},
         {QStringLiteral("BIK"), QStringLiteral("БИК"), 0, 18}});
    layout->addWidget(m_DBGrid1, 1);

    auto *buttons = new QHBoxLayout;
    const struct {
        const char *name;
        const char *caption;
        void (TfrmAddClient::*command)();
    } commands[] = {{"Button1", "По умолчанию", &TfrmAddClient::Button1Click},
                    {"BitBtn3", "Добавить", &TfrmAddClient::BitBtn3Click},
                    {"BitBtn2", "Удалить", &TfrmAddClient::BitBtn2Click}};
    for (const auto &c : commands) {
        auto *button = new QPushButton(QString::fromUtf8(c.caption), group);
        button->setObjectName(QString::fromLatin1(c.name));
        button->setFixedSize(100, 25);
        button->setAutoDefault(false);
        buttons->addWidget(button);
        connectCommand(button, this, m_prompts,
                       [this, command = c.command] { (this->*command)(); });
    }
    buttons->addStretch();
    layout->addLayout(buttons);
    connectCommand(m_DBGrid1, &DbGrid::titleClicked, this, m_prompts,
                   [this](int column) { DBGrid1TitleClick(column); });
    return group;
}

void TfrmAddClient::btnCloseClick()
{
    if (m_dm.DSetSchets->isEditing())
        m_dm.DSetSchets->post();
    m_links->updateRecord();
    if (m_dm.DSetClients->isEditing())
        m_dm.DSetClients->post();
    accept();
}

void TfrmAddClient::cancelClient()
{
    Dataset *accounts = m_dm.DSetSchets;
    accounts->cancel();
    if (m_newClient) {
        // The accounts stored for a client that will never be: none is left without one.
        accounts->first();
        while (!accounts->isEmpty())
            accounts->remove();
    }
    m_dm.DSetClients->cancel();
}

void TfrmAddClient::reject()
{
    if (runCommand(m_prompts, this, [this] { cancelClient(); }))
        QDialog::reject();
}

void TfrmAddClient::Button1Click()
{
    m_links->updateRecord();
    Dataset *client = m_dm.DSetClients;
    const Dataset *accounts = m_dm.DSetSchets;
    ensureEditing(*client);
    for (const char *field : {"IIK", "BANK", "BIK"}) {
        const QString name = QString::fromLatin1(field);
        client->setValue(name, accounts->value(name));
    }
}

void TfrmAddClient::BitBtn3Click()
{
    Dataset *accounts = m_dm.DSetSchets;
    accounts->insert();
    accounts->post();
    m_DBGrid1->setFocus();
}

void TfrmAddClient::BitBtn2Click()
{
    confirmDelete(m_prompts, this, *m_dm.DSetSchets);
}

void TfrmAddClient::DBGrid1TitleClick(int column)
{
    const QString field = m_DBGrid1->fieldName(column);
    if (field.isEmpty())
        return;
    Dataset &accounts = *m_dm.DSetSchets;
    reopenAtSameRow(accounts,
                    QStringLiteral("select * from RASSCHET where KODORG=:KOD order by ") + field,
                    accounts.selectParameters());
}
