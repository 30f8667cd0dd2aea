#include "tfrm_kolvo.h"
#include "ui_tfrm_kolvo.h"

#include "data/dataset.h"
#include "data/tdm.h"
#include "ui/command.h"
#include "ui/dataset_commands.h"
#include "ui/field_links.h"
#include "ui/prompt_service.h"

namespace {

const QString kQuantity = QStringLiteral("KOLVO");
const QString kStock = QStringLiteral("OSTATOK");

} // namespace

TfrmKolvo::TfrmKolvo(TDM &dm, PromptService &prompts, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TfrmKolvo>()), m_dm(dm), m_prompts(prompts),
      m_links(new FieldLinks(dm.DSetDetail, prompts, this))
{
    m_ui->setupUi(this);
    // A fixed frame without the title bar's buttons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    QFont small = m_ui->Label1->font();
    small.setPointSize(std::max(6, small.pointSize() - 2));
    m_ui->Label1->setFont(small);
    m_links->bind(m_ui->DBEdit1, kQuantity);
    connectCommand(m_ui->Button1, this, m_prompts, [this] { Button1Click(); });
    connect(m_ui->Button2, &QPushButton::clicked, this, &TfrmKolvo::reject);
    m_ui->DBEdit1->setFocus();
}

TfrmKolvo::~TfrmKolvo() = default;

void TfrmKolvo::Button1Click()
{
    Dataset &line = *m_dm.DSetDetail;
    m_links->updateRecord();
    if (line.isEditing())
        line.post();
    Dataset &item = *m_dm.DSetNomenkl;
    item.edit();
    double stock = item.asFloat(kStock) - line.asFloat(kQuantity);
    if (stock < 0) {
        m_prompts.inform(this, QStringLiteral("Количество превышает остаток. Произойдет обнуление "
                                              "остатка, при необходимости исправьте количество "
                                              "вручную."));
        stock = 0;
    }
    item.setValue(kStock, stock);
    item.post();
    accept();
}

void TfrmKolvo::cancelQuantity()
{
    Dataset &line = *m_dm.DSetDetail;
    ensureEditing(line);
    line.setValue(kQuantity, 0);
    line.post();
}

void TfrmKolvo::reject()
{
    if (runClosingCommand(m_prompts, this, [this] { cancelQuantity(); }))
        QDialog::reject();
}
