#pragma once

#include <string>
#include <vector>

// The images of a PDF: each written once, when the first page showing it ends; a JPEG as it
// is, any other image as its colours with its transparency as a soft mask.
namespace zreport {

struct PreparedImage;

namespace pdf {

class Objects;

// The images of the document and those of the page being drawn.
struct DocumentImages {
    struct Entry {
        const PreparedImage *image;
        int object = 0; // 0 until written
        std::string resourceName;
    };
    std::vector<Entry> all;
    std::vector<size_t> onPage;

    Entry &entryFor(const PreparedImage &image);
};

void writeImage(Objects &out, const PreparedImage &image, int object);

} // namespace pdf
} // namespace zreport
