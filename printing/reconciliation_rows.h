#pragma once

#include "form_images.h"
#include "form_template.h"
#include "report_shower.h"

#include "report/report_rows.h"

#include <memory>

class TDM;

struct ReconciliationAct;

// The rows the reconciliation act's template (repAktSverki) reads: "DM.DSAkt", one row of its
// texts and totals, and "DM.DSAktRows", the table from "Сальдо начальное" to the last payment.
// The client's half mirrors ours when mirror is set, and is left for the client to fill
// otherwise. In the rows of documents a zero amount is empty; the balances print every amount.
class ReconciliationRows {
public:
    ReconciliationRows(const ReconciliationAct &act, const QString &ground, bool mirror);
    const zreport::DataSources &sources() const { return m_sources; }

private:
    std::unique_ptr<zreport::MemoryRows> m_act, m_rows;
    zreport::DataSources m_sources;
};

// "Акт сверки с ТОО «Альфа» за 01.01.2026 - 31.03.2026": the print job's title.
QString reconciliationTitle(const ReconciliationAct &act);

// Shows the act as its template (repAktSverki) prints it, titled for its print job and with
// the stamp and signatures readImages gives (none without a reader). Gives why it could not,
// or an empty text.
// The business's own version of the form prints where there is one (warn tells when it does
// not load and the built-in one stands in).
QString showReconciliationAct(TDM &dm, const ReconciliationAct &act, const QString &ground,
                              bool mirror, const FormImagesReader &readImages,
                              const ReportShower &show, const TemplateWarning &warn);
