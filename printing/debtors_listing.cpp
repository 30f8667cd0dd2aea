#include "debtors_listing.h"

#include "data/debts.h"

using zreport::FieldKind;
using zreport::MemoryRows;

namespace {

const char *const kFigureFields[] = {"INVOICED",   "PAID",       "DUE",    "NOTDUE", "DAYS1TO30",
                                     "DAYS31TO60", "DAYS61TO90", "OVER90", "ADVANCE"};

QList<MemoryRows::Column> figureColumns(QList<MemoryRows::Column> columns)
{
    for (const char *field : kFigureFields)
        columns.append({QString::fromLatin1(field), FieldKind::Numeric});
    return columns;
}

// A figure of nothing is left empty, as the window shows it: the columns of ages read at a
// glance.
QVariantList figures(const ClientDebt &client, QVariantList values)
{
    for (double figure :
         {client.invoiced, client.paid, client.due, client.ages.notDue, client.ages.days1to30,
          client.ages.days31to60, client.ages.days61to90, client.ages.over90, client.advance})
        values << (figure == 0 ? QVariant() : QVariant(figure));
    return values;
}

} // namespace

DebtorsListingRows::DebtorsListingRows(const Debts &debts, QDate at)
    : m_clients(std::make_unique<MemoryRows>(
          figureColumns({{QStringLiteral("NAMEORG")}, {QStringLiteral("BINIIN")}}))),
      m_total(std::make_unique<MemoryRows>(figureColumns({{QStringLiteral("NADATU")}})))
{
    for (const ClientDebt &client : debts.clients)
        m_clients->addRow(figures(client, {client.name, client.biniin}));
    m_total->addRow(figures(debts.total, {at.toString(u"dd.MM.yyyy")}));
    m_sources.insert(QStringLiteral("Debts.Clients"), m_clients.get());
    m_sources.insert(QStringLiteral("Debts.Total"), m_total.get());
}

DebtorsListingRows::~DebtorsListingRows() = default;
