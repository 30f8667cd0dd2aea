#include "tfrm_add_client.h"
#include "ui_tfrm_add_client.h"

#include "data/dataset.h"
#include "data/email_addresses.h"
#include "data/tdm.h"
#include "ui/command.h"
#include "ui/dataset_commands.h"
#include "ui/db_grid.h"
#include "ui/email_box.h"
#include "ui/field_links.h"
#include "ui/id_marks.h"
#include "ui/prompt_service.h"

#include <QLabel>

TfrmAddClient::TfrmAddClient(TDM &dm, PromptService &prompts, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TfrmAddClient>()), m_dm(dm), m_prompts(prompts),
      m_links(new FieldLinks(dm.DSetClients, prompts, this)),
      m_newClient(dm.DSetClients->state() == Dataset::State::Insert)
{
    m_ui->setupUi(this);
    for (QLineEdit *box : m_ui->GroupBox1->findChildren<QLineEdit *>(Qt::FindDirectChildrenOnly))
        m_links->bind(box, box->objectName().mid(2)); // "edNAMEORG" shows NAMEORG
    // The address is not a column of the client's row: it has a box of its own.
    m_email = new EmailBox(
        email_addresses::ownerOfClient(dm.DSetClients->value(QStringLiteral("KOD")).toInt()),
        m_ui->GroupBox1);
    auto *emailLabel = new QLabel(QStringLiteral("E-mail:"), m_ui->GroupBox1);
    emailLabel->setBuddy(m_email);
    m_ui->boxes->addRow(emailLabel, m_email);
    if (!m_dm.TsnRW.isActive())
        m_dm.TsnRW.start();
    m_email->load(m_dm.TsnRW);

    DbGrid *accounts = m_ui->DBGrid1;
    accounts->setEditable(true);
    accounts->setPrompts(m_prompts);
    accounts->setDataset(
        m_dm.DSetSchets,
        {{QStringLiteral("IIK"), QStringLiteral("ИИК (№ расчетного счета)"), 0, 20},
         {QStringLiteral("BANK"), QStringLiteral("Наименование банка"), 0, 45},
         {QStringLiteral("BIK"), QStringLiteral("БИК"), 0, 18}});
    markRequisiteBoxes(this);
    markIdColumns(accounts, kAccountIds);

    connectCommand(m_ui->btnClose, this, m_prompts, [this] { btnCloseClick(); });
    connect(m_ui->BitBtn1, &QPushButton::clicked, this, &TfrmAddClient::reject);
    connectCommand(m_ui->Button1, this, m_prompts, [this] { Button1Click(); });
    connectCommand(m_ui->BitBtn3, this, m_prompts, [this] { BitBtn3Click(); });
    connectCommand(m_ui->BitBtn2, this, m_prompts, [this] { BitBtn2Click(); });
    connectCommand(accounts, &DbGrid::titleClicked, this, m_prompts,
                   [this](int column) { DBGrid1TitleClick(column); });
}

TfrmAddClient::~TfrmAddClient() = default;

void TfrmAddClient::btnCloseClick()
{
    if (m_dm.DSetSchets->isEditing())
        m_dm.DSetSchets->post();
    m_links->updateRecord();
    if (!confirmCardIds(m_prompts, this, *m_dm.DSetClients, *m_ui->DBGrid1))
        return;
    if (m_dm.DSetClients->isEditing())
        m_dm.DSetClients->post();
    m_email->save(m_dm.TsnRW);
    accept();
}

void TfrmAddClient::cancelClient()
{
    Dataset *accounts = m_dm.DSetSchets;
    accounts->cancel();
    if (m_newClient) {
        // The accounts stored for a client that will never be: none is left without one.
        accounts->removeAll();
    }
    m_dm.DSetClients->cancel();
}

void TfrmAddClient::reject()
{
    if (runClosingCommand(m_prompts, this, [this] { cancelClient(); }))
        QDialog::reject();
}

void TfrmAddClient::Button1Click()
{
    m_links->updateRecord();
    copyFields(*m_dm.DSetSchets, *m_dm.DSetClients, {"IIK", "BANK", "BIK"});
}

void TfrmAddClient::BitBtn3Click()
{
    addEmptyRow(*m_dm.DSetSchets);
    m_ui->DBGrid1->setFocus();
}

void TfrmAddClient::BitBtn2Click()
{
    confirmDelete(m_prompts, this, *m_dm.DSetSchets);
}

void TfrmAddClient::DBGrid1TitleClick(int column)
{
    const QString field = m_ui->DBGrid1->fieldName(column);
    if (field.isEmpty())
        return;
    Dataset &accounts = *m_dm.DSetSchets;
    reopenAtSameRow(accounts,
                    QStringLiteral("select * from RASSCHET where KODORG=:KOD order by ") + field,
                    accounts.selectParameters());
}
