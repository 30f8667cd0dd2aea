#pragma once

#include "design_document.h"

#include "report/prepared_report.h"

#include <QHash>

class QPainter;

// The designed page as the engine would print it with the bracket expressions unevaluated:
// each object becomes a prepared object of the band stacked where it lies, so the engine's
// one drawing path paints it. Text layouts are kept between changes, and redone only for an
// object whose text, look or width changed.
namespace zdesigner {

class DesignDrawing {
public:
    // Rebuilds the prepared page from the document.
    void update(const DesignDocument &document);
    // Paints it; sx, sy: pixels per unit; ox, oy: where the paper's corner lands.
    void paint(QPainter &painter, double sx, double sy, double ox, double oy) const;
    const zreport::PreparedReport &prepared() const { return m_prepared; }

private:
    struct Layout {
        quint32 style = 0;
        QString text;
        double width = -1;
        std::vector<zreport::LaidOutLine> lines;
    };

    zreport::PreparedObject memoObject(const zreport::TfrxMemoView &memo);
    zreport::PreparedObject pictureObject(const zreport::TfrxPictureView &picture,
                                          const zreport::TfrxReport &report);

    zreport::PreparedReport m_prepared;
    QHash<const zreport::TfrxView *, Layout> m_layouts;
    std::vector<zreport::LaidOutLine> m_lines; // of the page being built
};

} // namespace zdesigner
