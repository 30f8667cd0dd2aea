#include "reconciliation_rows.h"

#include "data/reconciliation_act.h"

using zreport::FieldKind;
using zreport::MemoryRows;

namespace {

const QString kLine = QStringLiteral("________________");

QString dateText(QDate date)
{
    return date.toString(u"dd.MM.yyyy");
}

// The debit and credit of a balance: what the client owes on the debit side, what we owe on
// the credit side, the other side zero.
std::pair<double, double> balanceSides(double balance)
{
    return balance >= 0 ? std::pair{balance, 0.0} : std::pair{0.0, -balance};
}

QVariant amountOrEmpty(double amount)
{
    return amount == 0 ? QVariant() : QVariant(amount);
}

// "по договору № 12 от 05.01.2026" of the ground "Договор № 12 от 05.01.2026": a ground usually
// names its contract, which the line names already.
QString groundLine(const QString &ground)
{
    if (ground.isEmpty())
        return {};
    static const QString contract = QStringLiteral("договор ");
    const QString rest = ground.startsWith(contract, Qt::CaseInsensitive)
                             ? ground.mid(contract.size()).trimmed()
                             : ground;
    return QStringLiteral("по договору ") + rest;
}

QString orLine(const QString &text)
{
    return text.isEmpty() ? kLine : text;
}

} // namespace

ReconciliationRows::ReconciliationRows(const ReconciliationAct &act, const QString &ground,
                                       bool mirror)
{
    QList<MemoryRows::Column> actColumns;
    for (const char *name :
         {"BUSINESS", "CLIENT", "PERIOD", "BETWEEN", "GROUND", "OPENING", "OURHEAD", "CLIENTHEAD",
          "RUK", "GLBUX", "CONCLUSION", "CLIENTCONCLUSION", "FROMBUSINESS", "FROMCLIENT"})
        actColumns.push_back({QLatin1String(name), FieldKind::String});
    for (const char *name :
         {"TURN_D", "TURN_C", "CLOSE_D", "CLOSE_C", "CTURN_D", "CTURN_C", "CCLOSE_D", "CCLOSE_C"})
        actColumns.push_back({QLatin1String(name), FieldKind::Numeric});
    m_act = std::make_unique<MemoryRows>(actColumns);

    const auto [closingDebit, closingCredit] = balanceSides(act.closing);
    const auto mirrored = [mirror](double amount) {
        return mirror ? QVariant(amount) : QVariant();
    };
    m_act->addRow(
        {act.business,
         act.client.name,
         QStringLiteral("за период: с %1 по %2").arg(dateText(act.from), dateText(act.to)),
         QStringLiteral("между %1 и %2").arg(act.business, act.client.name),
         groundLine(ground),
         QStringLiteral("Мы, нижеподписавшиеся, %1 (%2), с одной стороны, и %3 (%4), с другой "
                        "стороны, составили настоящий акт сверки в том, что состояние взаимных "
                        "расчетов по данным учета следующее:")
             .arg(orLine(act.director), act.business, QStringLiteral("________"), act.client.name),
         QStringLiteral("По данным %1, KZT").arg(act.business),
         QStringLiteral("По данным %1, KZT").arg(act.client.name),
         orLine(act.director),
         orLine(act.accountant),
         reconciliation::conclusion(act, act.business),
         mirror ? reconciliation::conclusion(act, act.client.name) : QString(),
         QStringLiteral("От %1").arg(act.business),
         QStringLiteral("От %1").arg(act.client.name),
         act.debitTurnover,
         act.creditTurnover,
         closingDebit,
         closingCredit,
         mirrored(act.creditTurnover),
         mirrored(act.debitTurnover),
         mirrored(closingCredit),
         mirrored(closingDebit)});

    QList<MemoryRows::Column> rowColumns;
    for (const char *name : {"DATE", "DOC", "CDATE", "CDOC"})
        rowColumns.push_back({QLatin1String(name), FieldKind::String});
    for (const char *name : {"DEBIT", "CREDIT", "CDEBIT", "CCREDIT"})
        rowColumns.push_back({QLatin1String(name), FieldKind::Numeric});
    m_rows = std::make_unique<MemoryRows>(rowColumns);

    const auto [openingDebit, openingCredit] = balanceSides(act.opening);
    // The client's half names its balance rows even when its figures are left to fill.
    const QString opening = QStringLiteral("Сальдо начальное");
    m_rows->addRow({QString(), opening, QString(), opening, openingDebit, openingCredit,
                    mirrored(openingCredit), mirrored(openingDebit)});
    for (const ActEntry &entry : act.entries) {
        const QString date = dateText(entry.date);
        m_rows->addRow({date, entry.document, mirror ? date : QString(),
                        mirror ? entry.document : QString(), amountOrEmpty(entry.debit),
                        amountOrEmpty(entry.credit),
                        mirror ? amountOrEmpty(entry.credit) : QVariant(),
                        mirror ? amountOrEmpty(entry.debit) : QVariant()});
    }

    m_sources = {{QStringLiteral("DM.DSAkt"), m_act.get()},
                 {QStringLiteral("DM.DSAktRows"), m_rows.get()}};
}

QString reconciliationTitle(const ReconciliationAct &act)
{
    return QStringLiteral("Акт сверки с %1 за %2 - %3")
        .arg(act.client.name, dateText(act.from), dateText(act.to));
}

QString showReconciliationAct(TDM &dm, const ReconciliationAct &act, const QString &ground,
                              bool mirror, const FormImagesReader &readImages,
                              const ReportShower &show, const TemplateWarning &warn)
{
    const FormTemplate loaded = loadFormTemplate(dm, QStringLiteral("repAktSverki"));
    if (!loaded.report)
        return loaded.error;
    if (!loaded.warning.isEmpty() && warn)
        warn(loaded.warning);
    zreport::TfrxReport *report = loaded.report.get();
    report->documentTitle = reconciliationTitle(act);
    if (readImages)
        report->images = readImages(pictureImageNames(*report));
    const ReconciliationRows rows(act, ground, mirror);
    show(*report, rows.sources());
    return {};
}
