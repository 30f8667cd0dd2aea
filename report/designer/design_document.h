#pragma once

#include "report/report_model.h"

#include <QObject>
#include <QRectF>
#include <QSet>
#include <QUndoStack>

#include <functional>
#include <memory>
#include <vector>

// The template being designed: its first report page, the bands stacked as they print, the
// objects chosen, and the undo stack through which every change goes.
namespace zdesigner {

struct PlacedBand {
    zreport::TfrxBand *band = nullptr;
    double top = 0; // units from the top of the page's printable area
};

class DesignDocument : public QObject {
    Q_OBJECT
public:
    explicit DesignDocument(std::unique_ptr<zreport::TfrxReport> report, QObject *parent = nullptr);
    ~DesignDocument() override;

    zreport::TfrxReport &report() { return *m_report; }
    const zreport::TfrxReport &report() const { return *m_report; }
    // The page designed; nullptr when the template has none.
    zreport::TfrxReportPage *page() const { return m_page; }
    QUndoStack &undoStack() { return m_undo; }

    // The bands in the order they print, one under the other.
    std::vector<PlacedBand> bands() const;
    double bandTop(const zreport::TfrxBand *band) const;
    // Height of all the bands stacked.
    double bandsHeight() const;
    zreport::TfrxBand *bandAt(double y) const;
    static zreport::TfrxBand *bandOf(const zreport::TfrxView *view);

    // An object's box in units of the printable area.
    QRectF rectOnPage(const zreport::TfrxView *view) const;
    // Moves an object so that its box on the page is `rect`; it stays in its band.
    void setRectOnPage(zreport::TfrxView *view, const QRectF &rect) const;
    // The topmost object whose box holds the point, with `slack` units around thin ones.
    zreport::TfrxView *objectAt(QPointF point, double slack) const;
    std::vector<zreport::TfrxView *> objectsIn(const QRectF &area) const;
    // Every object of the page in painting order.
    std::vector<zreport::TfrxView *> allObjects() const;

    // "Memo12": the prefix with the first number no object of the template has, nor `alsoTaken`.
    QString uniqueName(const QString &prefix, const QStringList &alsoTaken = {}) const;

    const std::vector<zreport::TfrxView *> &selection() const { return m_selection; }
    void setSelection(std::vector<zreport::TfrxView *> objects);
    bool isSelected(const zreport::TfrxView *view) const;
    // The band that new objects go into: the first chosen object's, else the one last
    // clicked, else the first.
    zreport::TfrxBand *currentBand() const;
    void setCurrentBand(zreport::TfrxBand *band);

    // Changes objects through the undo stack: `edit` is applied to each, and undo brings
    // back what they were. Consecutive changes with the same non-empty `mergeKey` on the same
    // objects are undone as one (typing, arrow keys).
    void changeObjects(const std::vector<zreport::TfrxView *> &objects, const QString &text,
                       const std::function<void(zreport::TfrxView &)> &edit,
                       const QString &mergeKey = {});
    // A change made already (a drag): `before` holds the objects as they were.
    void recordChange(const std::vector<zreport::TfrxView *> &objects,
                      std::vector<std::unique_ptr<zreport::TfrxView>> before, const QString &text);
    // Objects dropped over another band go into it, at the same place on the page.
    void moveToBandsUnder(const std::vector<zreport::TfrxView *> &objects);
    void addObjects(zreport::TfrxBand *band, std::vector<std::unique_ptr<zreport::TfrxView>> views,
                    const QString &text);
    void deleteObjects(const std::vector<zreport::TfrxView *> &objects);
    void setBandHeight(zreport::TfrxBand *band, double height);
    void setPageSettings(const zreport::PageSettings &settings, const QString &text);

    // Called by the commands after they changed the template.
    void notifyChanged();

signals:
    void changed();
    void selectionChanged();

private:
    std::unique_ptr<zreport::TfrxReport> m_report;
    zreport::TfrxReportPage *m_page = nullptr;
    QUndoStack m_undo;
    std::vector<zreport::TfrxView *> m_selection;
    zreport::TfrxBand *m_currentBand = nullptr;
    // Names of objects deleted or added once: an undo or redo may bring them back.
    QSet<QString> m_heldNames;
};

// A copy of an object, and an object made equal to another of its class.
std::unique_ptr<zreport::TfrxView> cloneView(const zreport::TfrxView &view);
void assignView(zreport::TfrxView &target, const zreport::TfrxView &source);

} // namespace zdesigner
