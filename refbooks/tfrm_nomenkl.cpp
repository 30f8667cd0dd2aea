#include "tfrm_nomenkl.h"

#include "data/dataset.h"
#include "data/listing_statements.h"
#include "data/tdm.h"
#include "list_transfer.h"
#include "tfrm_kolvo.h"

TfrmNomenkl::TfrmNomenkl(const RefbookContext &context, QWidget *parent, GoodsPick mode)
    : ReferenceList(context,
                    {"frmNomenkl",
                     QStringLiteral("Список предостовляемых товаров и услуг"),
                     QStringLiteral("Список предостовляемых товаров и услуг"),
                     {692, 466},
                     {700, 500},
                     567,
                     context.dm.DSetNomenkl,
                     {{QStringLiteral("NAME"), QStringLiteral("Наименование"), 228},
                      {QStringLiteral("EDIZM"), QStringLiteral("Единица измерения"), 0, 12},
                      {QStringLiteral("CENA"), QStringLiteral("Стоимость"), 70},
                      {QStringLiteral("OSTATOK"), QStringLiteral("Остаток"), 0, 10}},
                     {QStringLiteral("Товары"), QStringLiteral("Услуги"), QStringLiteral("Прочее")},
                     &context.dm.nomenklPage,
                     [](int tab, const QString &order) { return nomenklOfKindSql(tab, order); },
                     QStringLiteral("name"),
                     mode != GoodsPick::Browse},
                    parent),
      m_mode(mode)
{
    addCommand("btnAdd", QStringLiteral("Добавить"), [this] { addRowAtOnce(); });
    addCommand("BitBtn2", QStringLiteral("Удалить"), [this] { deleteCurrent(); });
    addTransferCommands(ImportTarget::Goods);
    addPrintCommand(QStringLiteral("repNomenkl"));
    reloadList();
}

void TfrmNomenkl::pick()
{
    if (m_dataset->isEmpty())
        return;
    if (m_mode == GoodsPick::AddLine)
        addLine();
    else if (m_mode == GoodsPick::ReplaceItem)
        replaceLinesItem();
}

void TfrmNomenkl::copyItemIntoLine()
{
    Dataset &line = *m_dm.DSetDetail;
    line.setValue(QStringLiteral("NAME"), m_dataset->value(QStringLiteral("NAME")));
    line.setValue(QStringLiteral("EDIZM"), m_dataset->value(QStringLiteral("EDIZM")));
    line.setValue(QStringLiteral("CENASHT"), m_dataset->value(QStringLiteral("CENA")));
    line.setValue(QStringLiteral("STNDS"), m_dm.DSetRekvizity->value(QStringLiteral("STNDS")));
}

void TfrmNomenkl::addLine()
{
    Dataset &numbers = *m_dm.DSetNumDetail;
    numbers.close();
    numbers.open();
    Dataset &line = *m_dm.DSetDetail;
    line.insert();
    copyItemIntoLine();
    line.setValue(QStringLiteral("NUM"),
                  numbers.isEmpty() ? 1 : numbers.asInteger(QStringLiteral("NUM")) + 1);
    numbers.close();
    line.post();
    TfrmKolvo quantity(m_dm, m_prompts, this);
    m_context.runDialog(quantity);
}

void TfrmNomenkl::replaceLinesItem()
{
    Dataset &line = *m_dm.DSetDetail;
    if (line.isEmpty())
        return;
    line.edit();
    copyItemIntoLine();
    line.post();
}
