#include "pdf_images.h"

#include "pdf_objects.h"
#include "prepared_report.h"

#include <algorithm>

namespace zreport::pdf {

DocumentImages::Entry &DocumentImages::entryFor(const PreparedImage &image)
{
    size_t index = 0;
    while (index < all.size() && all[index].image != &image && all[index].image->data != image.data)
        ++index;
    if (index == all.size())
        all.push_back({&image, 0, "Im" + std::to_string(all.size() + 1)});
    if (std::find(onPage.begin(), onPage.end(), index) == onPage.end())
        onPage.push_back(index);
    return all[index];
}

namespace {

// The colour components of a baseline or progressive JPEG (from its frame header); 0 when the
// data is no JPEG a PDF viewer decodes as it is.
int jpegComponents(const QByteArray &data)
{
    const auto byte = [&](qsizetype at) { return quint8(data[at]); };
    if (data.size() < 4 || byte(0) != 0xFF || byte(1) != 0xD8)
        return 0;
    qsizetype at = 2;
    while (at + 4 <= data.size()) {
        if (byte(at) != 0xFF)
            return 0;
        const quint8 marker = byte(at + 1);
        const int length = byte(at + 2) << 8 | byte(at + 3);
        if (marker == 0xC0 || marker == 0xC1 || marker == 0xC2) {
            if (at + 10 > data.size() || byte(at + 4) != 8)
                return 0;
            return byte(at + 9);
        }
        if (marker == 0xDA || length < 2)
            return 0;
        at += 2 + length;
    }
    return 0;
}

} // namespace

void writeImage(Objects &out, const PreparedImage &image, int object)
{
    std::string dictionary = " /Type /XObject /Subtype /Image /Width ";
    appendInt(dictionary, image.image.width());
    dictionary += " /Height ";
    appendInt(dictionary, image.image.height());
    dictionary += " /BitsPerComponent 8";
    const int components = jpegComponents(image.data);
    if (components == 1 || components == 3) {
        dictionary += components == 1 ? " /ColorSpace /DeviceGray" : " /ColorSpace /DeviceRGB";
        std::string head = "<< /Length ";
        appendInt(head, image.data.size());
        head += " /Filter /DCTDecode" + dictionary + " >>\nstream\n";
        out.beginObject(object);
        out.append(head);
        out.append(std::string_view(image.data.constData(), size_t(image.data.size())));
        out.append("\nendstream\nendobj\n");
        return;
    }
    const QImage argb = image.image.convertToFormat(QImage::Format_ARGB32);
    const size_t pixels = size_t(argb.width()) * size_t(argb.height());
    std::string colours(pixels * 3, '\0'), alpha(pixels, '\0');
    char *colour = colours.data();
    char *coverage = alpha.data();
    int allAlpha = 255;
    for (int y = 0; y < argb.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb p = line[x];
            *colour++ = char(qRed(p));
            *colour++ = char(qGreen(p));
            *colour++ = char(qBlue(p));
            *coverage++ = char(qAlpha(p));
            allAlpha &= qAlpha(p);
        }
    }
    const bool opaque = allAlpha == 255;
    dictionary += " /ColorSpace /DeviceRGB";
    if (!opaque) {
        const int mask = out.allocate();
        std::string maskDictionary = " /Type /XObject /Subtype /Image /Width ";
        appendInt(maskDictionary, argb.width());
        maskDictionary += " /Height ";
        appendInt(maskDictionary, argb.height());
        maskDictionary += " /BitsPerComponent 8 /ColorSpace /DeviceGray";
        out.stream(mask, alpha, maskDictionary);
        dictionary += " /SMask ";
        appendInt(dictionary, mask);
        dictionary += " 0 R";
    }
    out.stream(object, colours, dictionary);
}

} // namespace zreport::pdf
