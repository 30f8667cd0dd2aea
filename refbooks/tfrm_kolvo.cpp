#include "tfrm_kolvo.h"

#include "command.h"
#include "dataset.h"
#include "dataset_commands.h"
#include "field_links.h"
#include "prompt_service.h"
#include "tdm.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kQuantity = QStringLiteral("KOLVO");
const QString kStock = QStringLiteral("OSTATOK");

} // namespace

TfrmKolvo::TfrmKolvo(TDM &dm, PromptService &prompts, QWidget *parent)
    : QDialog(parent), m_dm(dm), m_prompts(prompts),
      m_links(new FieldLinks(dm.DSetDetail, prompts, this))
{
    setObjectName(QStringLiteral("frmKolvo"));
    setWindowTitle(QStringLiteral("Введите количество товара(услуги)"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(303, 116);

    auto *group = new QGroupBox(QStringLiteral("Введите количество товара(услуги)"), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    group->setGeometry(4, 2, 295, 78);
    auto *box = new QLineEdit(group);
    box->setObjectName(QStringLiteral("DBEdit1"));
    box->setGeometry(8, 18, 279, 21);
    m_links->bind(box, kQuantity);
    auto *note = new QLabel(QStringLiteral("Данное число будет отнято из указнного остатка  на "
                                           "складе. Или нажмите отмена для ручного ввода"),
                            group);
    note->setObjectName(QStringLiteral("Label1"));
    note->setWordWrap(true);
    note->setGeometry(8, 42, 279, 32);
    QFont small = note->font();
    small.setPointSize(std::max(6, small.pointSize() - 2));
    note->setFont(small);

    auto *ok = new QPushButton(QStringLiteral("ОК"), this);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setGeometry(60, 85, 80, 25);
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Отмена"), this);
    cancel->setObjectName(QStringLiteral("Button2"));
    cancel->setGeometry(163, 85, 80, 25);
    cancel->setAutoDefault(false);
    connectCommand(ok, this, m_prompts, [this] { Button1Click(); });
    connect(cancel, &QPushButton::clicked, this, &TfrmKolvo::reject);
    box->setFocus();
}

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
    if (runCommand(m_prompts, this, [this] { cancelQuantity(); }))
        QDialog::reject();
}
