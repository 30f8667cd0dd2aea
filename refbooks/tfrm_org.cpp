#include "tfrm_org.h"

#include "data/dataset.h"
#include "data/listing_statements.h"
#include "data/tdm.h"
#include "list_transfer.h"
#include "tfrm_add_client.h"
#include "tfrm_akt_sverki.h"
#include "tfrm_osnovanie.h"
#include "ui/dataset_commands.h"
#include "ui/prompt_service.h"

#include <QLineEdit>

namespace {

const QString kPassportSeparator = QStringLiteral("$|$");

} // namespace

TfrmOrg::TfrmOrg(const RefbookContext &context, QWidget *parent, ClientPick mode)
    : ReferenceList(context,
                    {"frmOrg",
                     QStringLiteral("Список Клиентов"),
                     QStringLiteral("Список клиентов"),
                     {692, 466},
                     {700, 500},
                     567,
                     context.dm.DSetClients,
                     {{QStringLiteral("NAMEORG"), QStringLiteral("Наименование"), 0, 35},
                      {QStringLiteral("KBE"), QStringLiteral("КБЕ"), 0, 5},
                      {QStringLiteral("BINIIN"), QStringLiteral("БИН(ИИН)"), 0, 15},
                      {QStringLiteral("ADRES"), QStringLiteral("Адрес"), 0, 30},
                      {QStringLiteral("IIK"), QStringLiteral("ИИК (№ расчетного счета)"), 0, 20},
                      {QStringLiteral("BANK"), QStringLiteral("Банк"), 0, 35},
                      {QStringLiteral("BIK"), QStringLiteral("БИК"), 0, 10},
                      {QStringLiteral("TEL"), QStringLiteral("Телефоны"), 0, 16}},
                     {QStringLiteral("Организации"), QStringLiteral("Частные лица (ИП)"),
                      QStringLiteral("Прочие")},
                     &context.dm.clientsPage,
                     [](int tab, const QString &order) { return clientsOfKindSql(tab, order); },
                     QStringLiteral("nameORG"),
                     mode != ClientPick::Browse},
                    parent),
      m_mode(mode)
{
    addCommand("BitBtn1", QStringLiteral("Добавить"), [this] { BitBtn1Click(); });
    addCommand("BitBtn3", QStringLiteral("Изменить"), [this] { BitBtn3Click(); });
    addCommand("BitBtn2", QStringLiteral("Удалить"), [this] { deleteClient(); });
    addCommand(
        "btnOsnov", QStringLiteral("Основания"), [this] { btnOsnovClick(); }, CommandKind::Reads);
    addCommand(
        "btnAktSverki", QStringLiteral("Акт сверки..."), [this] { btnAktSverkiClick(); },
        CommandKind::Reads);
    addTransferCommands(ImportTarget::Clients);
    addPrintCommand(QStringLiteral("repOrg"));
    reloadList();
}

void TfrmOrg::openClient()
{
    TfrmAddClient client(m_context.dm, m_prompts, this);
    m_context.runDialog(client);
}

void TfrmOrg::BitBtn1Click()
{
    postPending();
    m_dataset->insert();
    openClient();
}

void TfrmOrg::BitBtn3Click()
{
    postPending();
    if (m_dataset->isEmpty())
        m_dataset->insert();
    else
        m_dataset->edit();
    openClient();
}

void TfrmOrg::deleteClient()
{
    deleteCurrent([this] { m_dm.deleteClient(); });
}

void TfrmOrg::btnOsnovClick()
{
    postPending();
    if (m_dataset->isEmpty()) {
        m_prompts.inform(this, QStringLiteral("Таблица пуста. Невозможно открыть!"));
        return;
    }
    TfrmOsnovanie grounds(m_context, this);
    m_context.runDialog(grounds);
}

void TfrmOrg::btnAktSverkiClick()
{
    postPending();
    openReconciliationAct(this, m_context,
                          m_dataset->isEmpty() ? 0
                                               : int(m_dataset->asInteger(QStringLiteral("KOD"))));
}

void TfrmOrg::rowDoubleClicked()
{
    if (m_mode == ClientPick::Browse)
        BitBtn3Click();
    else
        ReferenceList::rowDoubleClicked();
}

void TfrmOrg::pick()
{
    if (m_dataset->isEmpty())
        return; // an empty tab has no client to give
    const Dataset &client = *m_dataset;
    Dataset &document = *m_dm.DSetDocs;
    switch (m_mode) {
    case ClientPick::DocumentClient:
        // TEL is not copied: the document looks the phone up by the client's name.
        copyFields(client, document,
                   {"NAMEORG", "KBE", "RNN", "BINIIN", "ADRES", "IIK", "BANK", "BIK"});
        break;
    case ClientPick::RegisterFilter:
        if (m_clientFilter)
            m_clientFilter->setText(client.asString(QStringLiteral("NAMEORG")));
        break;
    case ClientPick::AttorneyHolder: {
        ensureEditing(document);
        document.setValue(QStringLiteral("KOMU"), client.value(QStringLiteral("NAMEORG")));
        // The identity document takes the first half of PASPVYD; the KBK half stays.
        const QString passport = document.asString(QStringLiteral("PASPVYD"));
        const qsizetype separator = passport.indexOf(kPassportSeparator);
        const QString kbk =
            separator < 0 ? QString() : passport.mid(separator + kPassportSeparator.size());
        document.setValue(QStringLiteral("PASPVYD"),
                          client.asString(QStringLiteral("BANK")) + kPassportSeparator + kbk);
        break;
    }
    case ClientPick::Browse:
        break;
    }
}
