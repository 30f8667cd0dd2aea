#pragma once

#include "report_enums.h"
#include "report_units.h"

namespace zreport {

// The paper of a page and its margins, as a template's page gives them and as each prepared
// page keeps them.
struct PageSettings {
    int paperSize = 9;
    double paperWidth = 210, paperHeight = 297; // mm
    PageOrientation orientation = PageOrientation::poPortrait;
    double leftMargin = 0, topMargin = 0, rightMargin = 0, bottomMargin = 0; // mm
    bool operator==(const PageSettings &) const = default;

    // The space inside the margins, in units.
    double printableWidth() const { return (paperWidth - leftMargin - rightMargin) * kUnitsPerMm; }
    double printableHeight() const
    {
        return (paperHeight - topMargin - bottomMargin) * kUnitsPerMm;
    }
};

} // namespace zreport
