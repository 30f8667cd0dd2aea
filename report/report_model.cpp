#include "report_model.h"

#include "report_units.h"

#include <cmath>
#include <utility>

namespace zreport {

int ReportFont::pointSize() const
{
    // |height| * 72 / 96, halves away from zero.
    return int(std::floor(std::abs(height) * 0.75 + 0.5));
}

int ReportFont::heightForPointSize(int points)
{
    return -int(std::floor(points * 96.0 / 72.0 + 0.5));
}

void Frame::setWidth(double w)
{
    width = w;
    for (FrameLine *line : {&leftLine, &topLine, &rightLine, &bottomLine})
        line->width = w;
}

void Frame::setStyle(FrameLineStyle s)
{
    style = s;
    for (FrameLine *line : {&leftLine, &topLine, &rightLine, &bottomLine})
        line->style = s;
}

void Frame::setColor(const QColor &c)
{
    color = c;
    for (FrameLine *line : {&leftLine, &topLine, &rightLine, &bottomLine})
        line->color = c;
}

void TfrxReportPage::setPaperSize(int code)
{
    settings.paperSize = code;
    if (code >= 256)
        return;
    struct Paper {
        int code;
        double width, height;
    };
    static const Paper papers[] = {
        {1, 215.9, 279.4}, {5, 215.9, 355.6}, {8, 297, 420}, {9, 210, 297}, {11, 148, 210}};
    for (const Paper &p : papers) {
        if (p.code != code)
            continue;
        settings.paperWidth = p.width;
        settings.paperHeight = p.height;
        if (settings.orientation == PageOrientation::poLandscape)
            std::swap(settings.paperWidth, settings.paperHeight);
    }
}

void TfrxReportPage::setPaperWidth(double mm)
{
    settings.paperWidth = mm;
    settings.paperSize = 256;
}

void TfrxReportPage::setPaperHeight(double mm)
{
    settings.paperHeight = mm;
    settings.paperSize = 256;
}

void TfrxReportPage::setOrientation(PageOrientation o)
{
    if (o == settings.orientation)
        return;
    settings.orientation = o;
    std::swap(settings.paperWidth, settings.paperHeight);
    const double l = settings.leftMargin, t = settings.topMargin, r = settings.rightMargin,
                 b = settings.bottomMargin;
    if (o == PageOrientation::poLandscape) {
        settings.leftMargin = t;
        settings.rightMargin = b;
        settings.topMargin = r;
        settings.bottomMargin = l;
    } else {
        settings.topMargin = l;
        settings.bottomMargin = r;
        settings.rightMargin = t;
        settings.leftMargin = b;
    }
}

TfrxDBDataset *TfrxReport::findDataset(QStringView userName) const
{
    for (const DatasetItem &item : datasets) {
        if (item.dataSet && item.dataSet->userName.compare(userName, Qt::CaseInsensitive) == 0)
            return item.dataSet;
    }
    return nullptr;
}

std::vector<TfrxReportPage *> TfrxReport::reportPages() const
{
    std::vector<TfrxReportPage *> result;
    for (const auto &page : pages) {
        if (auto *p = dynamic_cast<TfrxReportPage *>(page.get()))
            result.push_back(p);
    }
    return result;
}

TfrxDBDataset *TfrxReport::windowDatasetByName(QStringView componentName) const
{
    for (const auto &ds : windowDatasets) {
        if (ds->name.compare(componentName, Qt::CaseInsensitive) == 0)
            return ds.get();
    }
    return nullptr;
}

TfrxDBDataset *TfrxReport::windowDatasetByUserName(QStringView userName) const
{
    if (TfrxDBDataset *ds = findDataset(userName))
        return ds;
    for (const auto &ds : windowDatasets) {
        if (ds->userName.compare(userName, Qt::CaseInsensitive) == 0)
            return ds.get();
    }
    return nullptr;
}

void TfrxReport::bind(DataSetLink &link) const
{
    link.dataSet = !link.dataSetRef.isEmpty()    ? windowDatasetByName(link.dataSetRef)
                   : !link.dataSetName.isEmpty() ? windowDatasetByUserName(link.dataSetName)
                                                 : nullptr;
    if (link.dataSet)
        link.dataSetName = link.dataSet->userName;
}

void TfrxReport::resolveReferences()
{
    for (DatasetItem &item : datasets)
        bind(item);
    for (TfrxReportPage *page : reportPages()) {
        for (const auto &band : page->bands) {
            if (band->parentFont)
                band->font = page->font;
            if (auto *data = dynamic_cast<TfrxDataBand *>(band.get()))
                bind(*data);
            for (const auto &view : band->objects) {
                if (view->parentFont)
                    view->font = band->font;
                bind(*view);
            }
        }
    }
}

} // namespace zreport
