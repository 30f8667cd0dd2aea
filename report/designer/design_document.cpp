#include "design_document.h"

#include "design_commands.h"

#include "templates/template_writer.h"

#include <QSet>

#include <algorithm>
#include <cmath>

namespace zdesigner {

using namespace zreport;

std::unique_ptr<TfrxView> cloneView(const TfrxView &view)
{
    if (const auto *memo = dynamic_cast<const TfrxMemoView *>(&view))
        return std::make_unique<TfrxMemoView>(*memo);
    if (const auto *picture = dynamic_cast<const TfrxPictureView *>(&view))
        return std::make_unique<TfrxPictureView>(*picture);
    return nullptr;
}

void assignView(TfrxView &target, const TfrxView &source)
{
    if (auto *memo = dynamic_cast<TfrxMemoView *>(&target))
        *memo = dynamic_cast<const TfrxMemoView &>(source);
    else if (auto *picture = dynamic_cast<TfrxPictureView *>(&target))
        *picture = dynamic_cast<const TfrxPictureView &>(source);
}

namespace {

std::vector<std::unique_ptr<TfrxView>> snapshot(const std::vector<TfrxView *> &objects)
{
    std::vector<std::unique_ptr<TfrxView>> states;
    for (const TfrxView *view : objects)
        states.push_back(cloneView(*view));
    return states;
}

} // namespace

DesignDocument::DesignDocument(std::unique_ptr<TfrxReport> report, QObject *parent)
    : QObject(parent), m_report(std::move(report))
{
    const std::vector<TfrxReportPage *> pages = m_report->reportPages();
    m_page = pages.empty() ? nullptr : pages.front();
}

DesignDocument::~DesignDocument()
{
    // The commands hold objects and point at the template: they go first.
    m_undo.clear();
}

std::vector<PlacedBand> DesignDocument::bands() const
{
    std::vector<PlacedBand> placed;
    if (!m_page)
        return placed;
    for (const auto &band : m_page->bands)
        placed.push_back({band.get(), 0});
    // In the engine's order: by the bands' own Top.
    std::stable_sort(placed.begin(), placed.end(), [](const PlacedBand &a, const PlacedBand &b) {
        return std::round(a.band->top * 100) < std::round(b.band->top * 100);
    });
    double y = 0;
    for (PlacedBand &p : placed) {
        p.top = y;
        y += p.band->height;
    }
    return placed;
}

double DesignDocument::bandTop(const TfrxBand *band) const
{
    for (const PlacedBand &p : bands()) {
        if (p.band == band)
            return p.top;
    }
    return 0;
}

double DesignDocument::bandsHeight() const
{
    const std::vector<PlacedBand> placed = bands();
    return placed.empty() ? 0 : placed.back().top + placed.back().band->height;
}

TfrxBand *DesignDocument::bandAt(double y) const
{
    for (const PlacedBand &p : bands()) {
        if (y >= p.top && y < p.top + p.band->height)
            return p.band;
    }
    return nullptr;
}

TfrxBand *DesignDocument::bandOf(const TfrxView *view)
{
    return dynamic_cast<TfrxBand *>(view->parent);
}

QRectF DesignDocument::rectOnPage(const TfrxView *view) const
{
    const TfrxBand *band = bandOf(view);
    const double top = band ? bandTop(band) : 0;
    return QRectF(view->left, top + view->top, view->width, view->height);
}

void DesignDocument::setRectOnPage(TfrxView *view, const QRectF &rect) const
{
    const TfrxBand *band = bandOf(view);
    const double top = band ? bandTop(band) : 0;
    view->left = rect.left();
    view->top = rect.top() - top;
    view->width = std::max(0.0, rect.width());
    view->height = std::max(0.0, rect.height());
}

std::vector<TfrxView *> DesignDocument::allObjects() const
{
    std::vector<TfrxView *> objects;
    for (const PlacedBand &p : bands()) {
        for (const auto &view : p.band->objects)
            objects.push_back(view.get());
    }
    return objects;
}

TfrxView *DesignDocument::objectAt(QPointF point, double slack) const
{
    const std::vector<TfrxView *> objects = allObjects();
    for (auto view = objects.rbegin(); view != objects.rend(); ++view) {
        if (rectOnPage(*view).adjusted(-slack, -slack, slack, slack).contains(point))
            return *view;
    }
    return nullptr;
}

std::vector<TfrxView *> DesignDocument::objectsIn(const QRectF &area) const
{
    std::vector<TfrxView *> found;
    for (TfrxView *view : allObjects()) {
        const QRectF r = rectOnPage(view);
        // A line has no area: its ends count.
        if (area.intersects(r) || area.contains(r.topLeft()) || area.contains(r.bottomRight()))
            found.push_back(view);
    }
    return found;
}

QString DesignDocument::uniqueName(const QString &prefix, const QStringList &alsoTaken) const
{
    QSet<QString> taken;
    for (const QString &name : alsoTaken)
        taken.insert(name.toLower());
    taken.insert(m_report->name.toLower());
    for (const auto &page : m_report->pages) {
        taken.insert(page->name.toLower());
        if (const auto *reportPage = dynamic_cast<const TfrxReportPage *>(page.get())) {
            for (const auto &band : reportPage->bands) {
                taken.insert(band->name.toLower());
                for (const auto &view : band->objects)
                    taken.insert(view->name.toLower());
            }
        }
    }
    for (const auto &dataset : m_report->windowDatasets)
        taken.insert(dataset->name.toLower());
    // Objects held by the undo stack keep their names too: undoing brings them back.
    for (int n = 1;; ++n) {
        const QString name = prefix + QString::number(n);
        if (!taken.contains(name.toLower()) && !m_heldNames.contains(name.toLower()))
            return name;
    }
}

void DesignDocument::setSelection(std::vector<TfrxView *> objects)
{
    if (objects == m_selection)
        return;
    m_selection = std::move(objects);
    if (!m_selection.empty())
        m_currentBand = bandOf(m_selection.front());
    emit selectionChanged();
}

bool DesignDocument::isSelected(const TfrxView *view) const
{
    return std::find(m_selection.begin(), m_selection.end(), view) != m_selection.end();
}

TfrxBand *DesignDocument::currentBand() const
{
    if (!m_selection.empty())
        return bandOf(m_selection.front());
    if (m_currentBand)
        return m_currentBand;
    const std::vector<PlacedBand> placed = bands();
    return placed.empty() ? nullptr : placed.front().band;
}

void DesignDocument::setCurrentBand(TfrxBand *band)
{
    m_currentBand = band;
    emit selectionChanged();
}

void DesignDocument::changeObjects(const std::vector<TfrxView *> &objects, const QString &text,
                                   const std::function<void(TfrxView &)> &edit,
                                   const QString &mergeKey)
{
    if (objects.empty())
        return;
    std::vector<std::unique_ptr<TfrxView>> before = snapshot(objects);
    std::vector<std::unique_ptr<TfrxView>> after = snapshot(objects);
    for (auto &state : after)
        edit(*state);
    // A change that changes nothing (a choice made again) is no step to undo.
    bool changes = false;
    for (size_t i = 0; i < objects.size() && !changes; ++i)
        changes = ztemplates::writeObject(*before[i]) != ztemplates::writeObject(*after[i]);
    if (!changes)
        return;
    m_undo.push(new ChangeObjectsCommand(*this, objects, std::move(before), std::move(after), text,
                                         mergeKey));
}

void DesignDocument::recordChange(const std::vector<TfrxView *> &objects,
                                  std::vector<std::unique_ptr<TfrxView>> before,
                                  const QString &text)
{
    m_undo.push(
        new ChangeObjectsCommand(*this, objects, std::move(before), snapshot(objects), text, {}));
}

void DesignDocument::moveToBandsUnder(const std::vector<TfrxView *> &objects)
{
    for (TfrxView *view : objects) {
        TfrxBand *under = bandAt(rectOnPage(view).top());
        if (under && under != bandOf(view))
            m_undo.push(new MoveToBandCommand(*this, view, under));
    }
}

void DesignDocument::addObjects(TfrxBand *band, std::vector<std::unique_ptr<TfrxView>> views,
                                const QString &text)
{
    if (!band || views.empty())
        return;
    std::vector<InsertObjectsCommand::Entry> entries;
    for (auto &view : views) {
        m_heldNames.insert(view->name.toLower());
        InsertObjectsCommand::Entry entry;
        entry.band = band;
        entry.index = band->objects.size() + entries.size();
        entry.held = std::move(view);
        entries.push_back(std::move(entry));
    }
    m_undo.push(new InsertObjectsCommand(*this, std::move(entries), true, text));
}

void DesignDocument::deleteObjects(const std::vector<TfrxView *> &objects)
{
    std::vector<InsertObjectsCommand::Entry> entries;
    for (const PlacedBand &p : bands()) {
        for (size_t i = 0; i < p.band->objects.size(); ++i) {
            TfrxView *view = p.band->objects[i].get();
            if (std::find(objects.begin(), objects.end(), view) == objects.end())
                continue;
            m_heldNames.insert(view->name.toLower());
            InsertObjectsCommand::Entry entry;
            entry.band = p.band;
            entry.index = i;
            entry.object = view;
            entries.push_back(std::move(entry));
        }
    }
    if (entries.empty())
        return;
    m_undo.push(
        new InsertObjectsCommand(*this, std::move(entries), false, QStringLiteral("Удаление")));
}

void DesignDocument::setBandHeight(TfrxBand *band, double height)
{
    if (band && band->height != height)
        m_undo.push(new BandHeightCommand(*this, band, height));
}

void DesignDocument::setPageSettings(const PageSettings &settings, const QString &text)
{
    if (m_page && !(m_page->settings == settings))
        m_undo.push(new PageSettingsCommand(*this, m_page, settings, text));
}

void DesignDocument::notifyChanged()
{
    emit changed();
}

} // namespace zdesigner
