#include "form_fields.h"

#include <QRegularExpression>
#include <QSet>

namespace zdesigner {

using namespace zreport;

QStringList formFields(const TfrxReport &report)
{
    static const QRegularExpression fieldReference(
        QStringLiteral(R"re(([A-Za-z_][A-Za-z0-9_]*)\."([^"\]]+)")re"));
    QSet<QString> fields;
    for (const TfrxReportPage *page : report.reportPages()) {
        for (const auto &band : page->bands) {
            for (const auto &view : band->objects) {
                if (!view->dataSetName.isEmpty() && !view->dataField.isEmpty())
                    fields.insert(
                        QStringLiteral("[%1.\"%2\"]").arg(view->dataSetName, view->dataField));
                const auto *memo = dynamic_cast<const TfrxMemoView *>(view.get());
                if (!memo)
                    continue;
                auto match = fieldReference.globalMatch(memo->text());
                while (match.hasNext()) {
                    const QRegularExpressionMatch m = match.next();
                    fields.insert(QStringLiteral("[%1.\"%2\"]").arg(m.captured(1), m.captured(2)));
                }
            }
        }
    }
    QStringList list(fields.begin(), fields.end());
    list.sort(Qt::CaseInsensitive);
    list << QStringLiteral("[Date]") << QStringLiteral("[Time]") << QStringLiteral("[Page#]")
         << QStringLiteral("[TotalPages#]") << QStringLiteral("[Line#]");
    return list;
}

} // namespace zdesigner
