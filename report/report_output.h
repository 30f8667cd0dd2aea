#pragma once

#include "prepared_report.h"

#include <QImage>
#include <QString>

#include <vector>

class QIODevice;

// What the command-line tool writes from prepared pages: JSON, PDF and PNG.
namespace zreport {

// {"pages":[{"paperWidth":mm,"paperHeight":mm,"orientation":"portrait"|"landscape",
//  "margins":[l,t,r,b],"bands":[{"name","left","top","width","height","objects":[{"name",
//  "left","top","width","height","text","lines":[..],"font":{"name","size","bold","italic",
//  "underline"},"frame":{"sides","style","width"},"halign","valign"}]}]}]}
// Bands in output order, band tops from the printable area's top, objects relative to their
// band, lengths in units of 1/96 inch rounded to 4 decimals; "text" has its paragraphs
// separated by "\n"; "lines" are the laid-out lines.
bool writePreparedJson(const PreparedReport &report, QIODevice &device);
bool savePreparedJson(const PreparedReport &report, const QString &path, QString *error);

// One PDF page per prepared page (the valid indexes in `pages`, or all) at its own paper size;
// text is real, selectable text. `title` is the document's title that viewers show. False
// when a write to the device failed.
bool writePreparedPdf(const PreparedReport &report, QIODevice &device,
                      const std::vector<int> &pages = {}, const QString &title = {});
bool savePreparedPdf(const PreparedReport &report, const QString &path, QString *error);

// One image of a page at `dpi`, white background.
QImage renderPreparedPage(const PreparedReport &report, int pageIndex, int dpi);
// PREFIX-1.png, PREFIX-2.png, ...
bool savePreparedPngs(const PreparedReport &report, const QString &prefix, int dpi, QString *error);

} // namespace zreport
