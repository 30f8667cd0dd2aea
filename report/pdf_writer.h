#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

class QIODevice;

// A PDF file written page by page onto a device: each page's content stream is compressed and
// written as soon as the page ends; the fonts, embedded once each as a subset of the glyphs the
// whole document used, follow the last page.
namespace zreport {

class PageCanvas;

class PdfWriter {
public:
    // Device pixels per inch of the canvas: lengths rounded to whole pixels at this resolution
    // fall where they did in the PDF printed through Qt at the same resolution.
    static constexpr int kDeviceDpi = 1200;

    // `title`, when given, is the document's title that viewers show.
    PdfWriter(QIODevice &device, const QByteArray &creator, const QString &title = {});
    ~PdfWriter();
    PdfWriter(const PdfWriter &) = delete;
    PdfWriter &operator=(const PdfWriter &) = delete;

    // Starts a page of this size in points; draw on the canvas at kDeviceDpi, y down from the
    // page's top-left corner, until endPage().
    PageCanvas &beginPage(double widthPoints, double heightPoints);
    void endPage();
    // Writes the fonts, the page tree and the cross-reference table; false when any write to
    // the device failed.
    bool finish();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace zreport
