#pragma once

#include "prepared_report.h"

#include <QRectF>
#include <QString>

#include <optional>

namespace zreport {

// Where a text was found on the prepared pages: the page (from 1), the object's place among the
// page's objects in output order, and its rectangle on the page in units.
struct FoundText {
    int page = 0;
    int object = 0;
    QRectF rect;
};

// The first object, from `object` on page `page` onwards, whose drawn lines (joined by blanks)
// contain text.
std::optional<FoundText> findText(const PreparedReport &report, const QString &text,
                                  Qt::CaseSensitivity cs, int page, int object);

} // namespace zreport
