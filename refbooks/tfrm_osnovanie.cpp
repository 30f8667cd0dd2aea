#include "tfrm_osnovanie.h"

#include "data/dataset.h"
#include "data/tdm.h"
#include "ui/command.h"
#include "ui/dataset_commands.h"
#include "ui/prompt_service.h"

#include <QLabel>
#include <QLayout>

namespace {

const QString kAllClients = QStringLiteral("select * from CLIENTS order by NAMEORG");
const QString kGroundsOfClient =
    QStringLiteral("Select * from OSNOVANIE where KODORG=:KOD order by osnovanie");
// No client has KOD 0: the list of a document whose client is not in the client list.
const QString kNoGrounds =
    QStringLiteral("Select * from OSNOVANIE where KODORG=0 and KODORG=:KOD order by osnovanie");

} // namespace

TfrmOsnovanie::TfrmOsnovanie(const RefbookContext &context, QWidget *parent, ListPick mode)
    : ReferenceList(
          context,
          {"frmOsnovanie",
           QStringLiteral("Основания для работы с клиентом"),
           QStringLiteral("Основания (№ и дата договора, контракта, без договора...)"),
           {552, 366},
           {560, 400},
           427,
           context.dm.DSetOsnovanie,
           {{QStringLiteral("OSNOVANIE"), QStringLiteral("Наименование и описание"), 0, 40}},
           {},
           nullptr,
           {},
           {},
           mode != ListPick::Browse},
          parent)
{
    addCommand("BitBtn1", QStringLiteral("Добавить"), [this] { BitBtn1Click(); });
    addCommand("BitBtn2", QStringLiteral("Удалить"), [this] { deleteCurrent(); });
    m_note = new QLabel(
        QStringLiteral("Клиента документа нет в списке клиентов: основания не показаны."),
        grid()->parentWidget());
    m_note->setObjectName(QStringLiteral("lblNoClient"));
    m_note->setWordWrap(true);
    m_note->setStyleSheet(QStringLiteral("color: #800000"));
    m_note->hide();
    grid()->parentWidget()->layout()->addWidget(m_note);
    if (picking())
        findDocumentsClient();
}

TfrmOsnovanie::~TfrmOsnovanie()
{
    if (!m_clientFound)
        runCommand(m_prompts, nullptr, [this] { reopen(*m_dataset, kGroundsOfClient); });
}

void TfrmOsnovanie::findDocumentsClient()
{
    Dataset &clients = *m_dm.DSetClients;
    reopen(clients, kAllClients);
    const QString name = m_dm.DSetDocs->asString(QStringLiteral("NAMEORG"));
    m_clientFound = false;
    const int column = clients.fieldIndex(QStringLiteral("NAMEORG"));
    const int rows = clients.recordCount();
    for (int row = 0; row < rows && !m_clientFound; ++row) {
        if (clients.valueAt(row, column).toString() == name) {
            clients.setCurrentIndex(row);
            m_clientFound = true;
        }
    }
    // A document whose client is not in the list shows no grounds rather than those of
    // whichever client came first.
    reopen(*m_dataset, m_clientFound ? kGroundsOfClient : kNoGrounds);
    m_note->setVisible(!m_clientFound);
}

void TfrmOsnovanie::BitBtn1Click()
{
    if (!m_clientFound) {
        m_prompts.inform(this, QStringLiteral("Клиента документа нет в списке клиентов. "
                                              "Добавьте его в список клиентов, затем основание."));
        return;
    }
    addRowAtOnce();
}

void TfrmOsnovanie::pick()
{
    pickIntoDocument(QStringLiteral("OSNOVANIE"));
}
