#pragma once

#include "report/report_rows.h"

#include <QDate>

#include <memory>

struct Debts;

// The debtors as the listing "repDolzhniki" reads them: a row per client ("Debts.Clients")
// and one row of the date and the totals ("Debts.Total").
class DebtorsListingRows {
public:
    DebtorsListingRows(const Debts &debts, QDate at);
    ~DebtorsListingRows();

    const zreport::DataSources &sources() const { return m_sources; }

private:
    std::unique_ptr<zreport::MemoryRows> m_clients;
    std::unique_ptr<zreport::MemoryRows> m_total;
    zreport::DataSources m_sources;
};

inline constexpr const char *kDebtorsTemplate = "repDolzhniki";
