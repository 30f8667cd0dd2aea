#include "design_commands.h"

#include "design_document.h"

namespace zdesigner {

using namespace zreport;

ChangeObjectsCommand::ChangeObjectsCommand(DesignDocument &document,
                                           std::vector<TfrxView *> objects,
                                           std::vector<std::unique_ptr<TfrxView>> before,
                                           std::vector<std::unique_ptr<TfrxView>> after,
                                           const QString &text, const QString &mergeKey)
    : QUndoCommand(text), m_document(document), m_objects(std::move(objects)),
      m_before(std::move(before)), m_after(std::move(after)), m_mergeKey(mergeKey)
{}

void ChangeObjectsCommand::apply(const std::vector<std::unique_ptr<TfrxView>> &states)
{
    for (size_t i = 0; i < m_objects.size(); ++i)
        assignView(*m_objects[i], *states[i]);
    m_document.notifyChanged();
}

void ChangeObjectsCommand::undo()
{
    apply(m_before);
}

void ChangeObjectsCommand::redo()
{
    apply(m_after);
}

bool ChangeObjectsCommand::mergeWith(const QUndoCommand *other)
{
    const auto *change = dynamic_cast<const ChangeObjectsCommand *>(other);
    if (!change || change->m_mergeKey != m_mergeKey || change->m_objects != m_objects)
        return false;
    for (size_t i = 0; i < m_objects.size(); ++i)
        m_after[i] = cloneView(*change->m_after[i]);
    return true;
}

InsertObjectsCommand::InsertObjectsCommand(DesignDocument &document, std::vector<Entry> entries,
                                           bool inserting, const QString &text)
    : QUndoCommand(text), m_document(document), m_entries(std::move(entries)),
      m_inserting(inserting)
{
    for (Entry &entry : m_entries)
        entry.object = entry.held ? entry.held.get() : entry.object;
}

void InsertObjectsCommand::putIn()
{
    // In ascending order of place, so each index is where the object was.
    for (Entry &entry : m_entries) {
        auto &objects = entry.band->objects;
        const size_t index = std::min(entry.index, objects.size());
        entry.held->parent = entry.band;
        objects.insert(objects.begin() + std::ptrdiff_t(index), std::move(entry.held));
    }
    std::vector<TfrxView *> added;
    for (const Entry &entry : m_entries)
        added.push_back(entry.object);
    m_document.setSelection(added);
    m_document.notifyChanged();
}

void InsertObjectsCommand::takeOut()
{
    std::vector<TfrxView *> remaining;
    for (TfrxView *view : m_document.selection()) {
        if (std::none_of(m_entries.begin(), m_entries.end(),
                         [view](const Entry &e) { return e.object == view; }))
            remaining.push_back(view);
    }
    m_document.setSelection(remaining);
    // In descending order of place, so the indexes of those still to take stay right.
    for (auto entry = m_entries.rbegin(); entry != m_entries.rend(); ++entry) {
        auto &objects = entry->band->objects;
        const auto found =
            std::find_if(objects.begin(), objects.end(), [&](const std::unique_ptr<TfrxView> &v) {
                return v.get() == entry->object;
            });
        if (found == objects.end())
            continue;
        entry->index = size_t(found - objects.begin());
        entry->held = std::move(*found);
        objects.erase(found);
    }
    m_document.notifyChanged();
}

void InsertObjectsCommand::undo()
{
    if (m_inserting)
        takeOut();
    else
        putIn();
}

void InsertObjectsCommand::redo()
{
    if (m_inserting)
        putIn();
    else
        takeOut();
}

MoveToBandCommand::MoveToBandCommand(DesignDocument &document, TfrxView *view, TfrxBand *band)
    : QUndoCommand(QStringLiteral("Перемещение")), m_document(document), m_view(view),
      m_from(DesignDocument::bandOf(view)), m_to(band), m_topBefore(view->top),
      m_topAfter(view->top + document.bandTop(m_from) - document.bandTop(band))
{
    const auto &objects = m_from->objects;
    for (size_t i = 0; i < objects.size(); ++i) {
        if (objects[i].get() == view)
            m_index = i;
    }
}

void MoveToBandCommand::move(TfrxBand *from, TfrxBand *to, size_t index, double top)
{
    auto &source = from->objects;
    const auto found = std::find_if(source.begin(), source.end(),
                                    [this](const auto &v) { return v.get() == m_view; });
    if (found == source.end())
        return;
    std::unique_ptr<TfrxView> held = std::move(*found);
    source.erase(found);
    auto &target = to->objects;
    target.insert(target.begin() + std::ptrdiff_t(std::min(index, target.size())), std::move(held));
    m_view->parent = to;
    m_view->top = top;
    m_document.notifyChanged();
}

void MoveToBandCommand::undo()
{
    move(m_to, m_from, m_index, m_topBefore);
}

void MoveToBandCommand::redo()
{
    move(m_from, m_to, m_to->objects.size(), m_topAfter);
}

BandHeightCommand::BandHeightCommand(DesignDocument &document, TfrxBand *band, double height)
    : QUndoCommand(QStringLiteral("Высота бэнда")), m_document(document), m_band(band),
      m_before(band->height), m_after(height)
{}

void BandHeightCommand::undo()
{
    m_band->height = m_before;
    m_document.notifyChanged();
}

void BandHeightCommand::redo()
{
    m_band->height = m_after;
    m_document.notifyChanged();
}

bool BandHeightCommand::mergeWith(const QUndoCommand *other)
{
    const auto *change = dynamic_cast<const BandHeightCommand *>(other);
    if (!change || change->m_band != m_band)
        return false;
    m_after = change->m_after;
    return true;
}

PageSettingsCommand::PageSettingsCommand(DesignDocument &document, TfrxReportPage *page,
                                         const PageSettings &settings, const QString &text)
    : QUndoCommand(text), m_document(document), m_page(page), m_before(page->settings),
      m_after(settings)
{}

void PageSettingsCommand::undo()
{
    m_page->settings = m_before;
    m_document.notifyChanged();
}

void PageSettingsCommand::redo()
{
    m_page->settings = m_after;
    m_document.notifyChanged();
}

} // namespace zdesigner
