#pragma once

#include "band_run.h"
#include "expression.h"

#include <QVariant>

#include <functional>
#include <vector>

// The aggregate calls (SUM, COUNT, ...) of footers during a run: their running totals, fed by
// the rows of their data bands and read when the footer shows them.
namespace zreport {

class Aggregates {
public:
    // Finds the calls written in the data footers and the page footer of a page.
    void collect(const PageRun &page);
    // The value of `call` as written in `holder`; null when no such call was collected.
    QVariant value(const AggregateCall &call, const BandRun *holder) const;
    // After `holder` is shown: its totals start again (running totals go on).
    void reset(const BandRun &holder);
    // After a row of `dataBand`: `evaluate(memoName, expression)` gives the row's value.
    void addRow(const BandRun &dataBand,
                const std::function<QVariant(const QString &memoName, const QString &expression)>
                    &evaluate);

private:
    struct Item {
        AggregateCall call;
        const BandRun *dataBand = nullptr;
        const BandRun *holder = nullptr;
        QVariant total;
        int count = 0;
        QString memoName;
    };
    std::vector<Item> m_items;
};

} // namespace zreport
