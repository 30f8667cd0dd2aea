#include "tfrm_knp.h"

#include "data/dataset.h"
#include "data/tdm.h"

TfrmKNP::TfrmKNP(const RefbookContext &context, QWidget *parent, ListPick mode)
    : ReferenceList(context,
                    {"frmKNP",
                     QStringLiteral("Справочник КНП (кодов назначения платежей)"),
                     QStringLiteral("Справочник КНП (кодов назначения платежей)"),
                     {552, 346},
                     {560, 380},
                     428,
                     context.dm.DSetKNP,
                     {{QStringLiteral("KNP"), QStringLiteral("КНП"), 0, 10},
                      {QStringLiteral("NAME"), QStringLiteral("Описание КНП"), 0, 50}},
                     {},
                     nullptr,
                     [](int, const QString &order) {
                         return QStringLiteral("select * from KNP order by ") + order;
                     },
                     {},
                     mode != ListPick::Browse},
                    parent)
{
    addCommand("BitBtn1", QStringLiteral("Добавить"), [this] { addRowAtOnce(); });
    addCommand("BitBtn2", QStringLiteral("Удалить"), [this] { deleteCurrent(); });
    addPrintCommand(QStringLiteral("repKNP"));
    // The list keeps the order it was last given, for the rest of the run.
}

void TfrmKNP::pick()
{
    pickIntoDocument(QStringLiteral("KNP"));
}
