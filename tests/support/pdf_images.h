#pragma once

// The images a PDF file holds, as poppler's pdfimages lists them.

#include <QProcess>
#include <QString>
#include <QStringList>

#include <vector>

struct PdfImage {
    QString type; // "image", or "smask" for the transparency of one
    int width = 0;
    int height = 0;
    QString encoding; // "jpeg" for a JPEG passed through, "image" for compressed pixels
    QString object;   // the file's object: one object used twice is one image
};

// One entry per use of an image on a page.
inline std::vector<PdfImage> pdfImages(const QString &pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
    process.waitForFinished(60000);
    const QString list = QString::fromUtf8(process.readAllStandardOutput());
    std::vector<PdfImage> images;
    // Two lines of headings, then page, num, type, width, height, color, comp, bpc, enc,
    // interp, object, ID, ...
    for (const QString &line : list.split(u'\n', Qt::SkipEmptyParts).mid(2)) {
        const QStringList words = line.simplified().split(u' ');
        if (words.size() > 10)
            images.push_back({words[2], words[3].toInt(), words[4].toInt(), words[8], words[10]});
    }
    return images;
}
