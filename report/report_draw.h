#pragma once

#include "prepared_report.h"

class QPainter;

// Drawing prepared pages on any paint device (screen, image, printer) or canvas (the PDF file).
//
// Line breaks and line widths come from the 600-dpi layout stored on the page; every
// character is placed at its scaled 600-dpi position, so the text looks the same at every
// resolution and scale.
namespace zreport {

class PageCanvas;

// sx, sy: device pixels per unit (1 on a 96-dpi screen at 100 %, dpi / 96 on paper);
// ox, oy: the device position of the sheet's top-left corner.
void drawPreparedPage(QPainter &painter, const PreparedReport &report, const PreparedPage &page,
                      double sx, double sy, double ox = 0, double oy = 0);
void drawPreparedPage(PageCanvas &canvas, const PreparedReport &report, const PreparedPage &page,
                      double sx, double sy, double ox = 0, double oy = 0);

// One memo whose rectangle (in units) is given in page coordinates of the printable area,
// already moved by the margins through ox, oy.
void drawPreparedObject(QPainter &painter, const PreparedReport &report, const PreparedPage &page,
                        const PreparedObject &object, double left, double top, double sx, double sy,
                        double ox, double oy);

} // namespace zreport
