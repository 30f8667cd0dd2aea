#include "matching.h"

#include "invoice_numbers.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kHalfTiyn = 0.005;

bool isOpen(const OpenDocument &document)
{
    return document.due >= kHalfTiyn;
}

} // namespace

DocumentMatch matchDocument(const std::vector<OpenDocument> &documents, const QString &purpose,
                            double amount)
{
    const std::vector<int> numbers = invoiceNumbersIn(purpose);
    const auto named = [&](int number) {
        return number > 0 && std::find(numbers.begin(), numbers.end(), number) != numbers.end();
    };
    const auto covers = [&](const OpenDocument &d) {
        return isOpen(d) && d.due > amount - kHalfTiyn;
    };
    if (!numbers.empty()) {
        using Number = int OpenDocument::*;
        for (Number number : {&OpenDocument::invoiceNumber, &OpenDocument::vatInvoiceNumber}) {
            for (const OpenDocument &d : documents) {
                if (named(d.*number) && covers(d))
                    return {d.kod, MatchRule::NumberInPurpose, d.invoiceNumber};
            }
        }
    }
    const OpenDocument *exact = nullptr;
    for (const OpenDocument &d : documents) {
        if (isOpen(d) && std::abs(d.due - amount) < kHalfTiyn) {
            if (exact)
                return {};
            exact = &d;
        }
    }
    return exact ? DocumentMatch{exact->kod, MatchRule::ExactAmount, exact->invoiceNumber}
                 : DocumentMatch{};
}

DocumentMatcher::DocumentMatcher(QHash<QString, std::vector<OpenDocument>> byBin)
    : m_byBin(std::move(byBin))
{}

DocumentMatch DocumentMatcher::match(const QString &payerBin, const QString &purpose, double amount)
{
    const QString bin = payerBin.trimmed();
    if (bin.isEmpty())
        return {};
    const auto found = m_byBin.find(bin);
    if (found == m_byBin.end())
        return {};
    const DocumentMatch match = matchDocument(*found, purpose, amount);
    for (OpenDocument &d : *found) {
        if (d.kod == match.document)
            d.due -= amount;
    }
    return match;
}

std::vector<OpenDocument> DocumentMatcher::documentsOf(const QString &payerBin) const
{
    std::vector<OpenDocument> result;
    for (const OpenDocument &d : m_byBin.value(payerBin.trimmed())) {
        if (isOpen(d))
            result.push_back(d);
    }
    return result;
}
