#include "report_copy.h"

#include "templates/template_loader.h"
#include "templates/template_writer.h"

#include <QBuffer>

namespace zdesigner {

std::unique_ptr<zreport::TfrxReport> copyOfReport(const zreport::TfrxReport &report, QString *error)
{
    QByteArray xml = ztemplates::writeTemplate(report);
    QBuffer buffer(&xml);
    buffer.open(QIODevice::ReadOnly);
    auto copy = ztemplates::loadTemplate(buffer, report.name, error);
    if (copy) {
        copy->images = report.images;
        copy->documentTitle = report.documentTitle;
    }
    return copy;
}

} // namespace zdesigner
