// The calculations attached to the data module's datasets: new-row values, line amounts,
// computed columns and document totals.
#include "tdm.h"

#include "db_error.h"
#include "display_format.h"
#include "money.h"
#include "words/amount_words.h"

#include <cmath>

namespace {

using Extended = long double;

// Separates the holder's identity document from the budget code in DOCS.PASPVYD.
const QString kPaspSeparator = QStringLiteral("$|$");

// Expressions of stored amounts are evaluated in extended precision and stored as a
// double before they are rounded, exactly as the line amounts are.
double roundExtended(Extended exact)
{
    return roundMoney(static_cast<double>(exact));
}

} // namespace

void TDM::DSetDocsNewRecord()
{
    DSetDocs->setValue(QStringLiteral("KODARCHIV"), 0);
}

// A business counts its forms from 1 unless it says otherwise; a form numbered 0 looks like a
// mistake to whoever receives it.
void TDM::DSetRekvizityNewRecord()
{
    DSetRekvizity->setValue(QStringLiteral("NUMSTART"), 1);
}

void TDM::DSetDetailNewRecord()
{
    DSetDetail->setValue(QStringLiteral("KODDOCS"), DSetDocs->value(QStringLiteral("KOD")));
}

void TDM::DSetClientsNewRecord()
{
    DSetClients->setValue(QStringLiteral("TIP"), clientsPage);
}

void TDM::DSetNomenklNewRecord()
{
    DSetNomenkl->setValue(QStringLiteral("TIP"), nomenklPage);
}

void TDM::DSetSchetORGNewRecord()
{
    DSetSchetORG->setValue(QStringLiteral("KODORG"), 0);
}

void TDM::DSetSchetsNewRecord()
{
    DSetSchets->setValue(QStringLiteral("KODORG"), DSetClients->value(QStringLiteral("KOD")));
}

void TDM::DSetOsnovanieNewRecord()
{
    DSetOsnovanie->setValue(QStringLiteral("KODORG"), DSetClients->value(QStringLiteral("KOD")));
}

void TDM::DSetDetailCENASHTChange()
{
    const LineAmounts line =
        computeLineAmounts(vatMode(), DSetDetail->asFloat(QStringLiteral("KOLVO")),
                           DSetDetail->asFloat(QStringLiteral("CENASHT")),
                           DSetDetail->asFloat(QStringLiteral("STNDS")));
    // A rate of -100 % in the VAT-included mode divides by zero; storing infinities would
    // spoil every total that includes the line.
    if (!std::isfinite(line.strealiz) || !std::isfinite(line.sumnds) ||
        !std::isfinite(line.cenasumbeznds))
        throw DbError(QStringLiteral("Недопустимая ставка НДС: %1")
                          .arg(DSetDetail->displayText(QStringLiteral("STNDS"))));
    DSetDetail->setValue(QStringLiteral("STREALIZ"), line.strealiz);
    DSetDetail->setValue(QStringLiteral("SUMNDS"), line.sumnds);
    DSetDetail->setValue(QStringLiteral("CENASUMBEZNDS"), line.cenasumbeznds);
}

void TDM::DSetDetailCalcFields()
{
    if (vatMode() == 2)
        DSetDetail->setValue(QStringLiteral("beznds"), QStringLiteral("без НДС"));
    else
        DSetDetail->setValue(QStringLiteral("beznds"),
                             DSetRekvizity->displayText(QStringLiteral("STNDS")));

    const double quantity = DSetDetail->asFloat(QStringLiteral("KOLVO"));
    if (quantity != 0)
        DSetDetail->setValue(
            QStringLiteral("cenashtbeznds"),
            roundExtended(Extended(DSetDetail->asFloat(QStringLiteral("CENASUMBEZNDS"))) /
                          quantity));
    DSetDetail->setValue(QStringLiteral("kolpropis"), QuantityPropis(quantity).value_or(QString()));
}

void TDM::DSetDocsCalcFields()
{
    if (DSetDocs->asInteger(QStringLiteral("NUMACT")) != 0) {
        DSetDocs->setValue(QStringLiteral("gruzot"), QStringLiteral(" - "));
        DSetDocs->setValue(QStringLiteral("gruzopol"), QStringLiteral(" - "));
    } else {
        const QString middle = QStringLiteral(", БИН(ИИН) и адрес: ");
        const QString comma = QStringLiteral(", ");
        DSetDocs->setValue(QStringLiteral("gruzot"),
                           DSetRekvizity->asString(QStringLiteral("NAMEORG")) + middle +
                               DSetRekvizity->asString(QStringLiteral("BINIIN")) + comma +
                               DSetRekvizity->asString(QStringLiteral("ADRES")));
        DSetDocs->setValue(QStringLiteral("gruzopol"),
                           DSetDocs->asString(QStringLiteral("NAMEORG")) + middle +
                               DSetDocs->asString(QStringLiteral("BINIIN")) + comma +
                               DSetDocs->asString(QStringLiteral("ADRES")));
    }
    const QString pasp = DSetDocs->asString(QStringLiteral("PASPVYD"));
    // Position of the separator counted from 1, 0 when there is none: without a separator
    // the budget code is the text less its first two characters.
    const qsizetype p = pasp.indexOf(kPaspSeparator) + 1;
    DSetDocs->setValue(QStringLiteral("KBK"), pasp.mid(p + 2));
    DSetDocs->setValue(QStringLiteral("Docum"), p > 0 ? pasp.left(p - 1) : pasp);
}

void TDM::computeDocumentTotals(TotalsForm form)
{
    // The totals are written into the document: into another user's latest change of it, not
    // over it.
    DSetDocs->refreshCurrentRow();
    DSetDocs->edit();
    DSetDetail->close();
    DSetDetail->open();

    double total = 0;
    double vat = 0;
    double withoutVat = 0;
    int lines = 0;
    double quantity = 0;
    const auto lineValue = [this](const char *column) {
        return DSetDetail->asFloat(QString::fromLatin1(column));
    };
    if (form == TotalsForm::PaymentOrder) {
        for (DSetDetail->first(); !DSetDetail->eof(); DSetDetail->next())
            total = roundExtended(Extended(total) + lineValue("STREALIZ"));
        const Extended rate = DSetDocs->asFloat(QStringLiteral("STNDS"));
        vat = rate != 0 ? roundExtended(total * rate / (rate + 100)) : 0;
        withoutVat = roundExtended(Extended(total) - vat);
    } else {
        DSetDocs->setValue(QStringLiteral("STNDS"), DSetRekvizity->value(QStringLiteral("STNDS")));
        for (DSetDetail->first(); !DSetDetail->eof(); DSetDetail->next()) {
            total = roundExtended(Extended(total) + lineValue("STREALIZ"));
            vat = roundExtended(Extended(vat) + lineValue("SUMNDS"));
            withoutVat = roundExtended(Extended(withoutVat) + lineValue("CENASUMBEZNDS"));
            ++lines;
            quantity += lineValue("KOLVO");
        }
    }
    DSetDocs->setValue(QStringLiteral("STREALIZSUM"), total);
    DSetDocs->setValue(QStringLiteral("VTNDS"), vat);
    DSetDocs->setValue(QStringLiteral("SUMBEZNDS"), withoutVat);
    DSetDocs->setValue(QStringLiteral("SUMTOV"), lines);
    // A total that cannot be spelled (a negative one) leaves the words empty; the form is
    // printed all the same.
    DSetDocs->setValue(QStringLiteral("SUMPROPIS"), QString());
    DSetDocs->setValue(QStringLiteral("SUMPROPIS"), SumPropis(total).value_or(QString()));
    DSetDocs->setValue(QStringLiteral("sumtovpropis"),
                       QuantityPropis(quantity).value_or(QString()));
    DSetDetail->first();
}
