#include "db_grid.h"

#include "command.h"
#include "data/dataset.h"
#include "data/db_error.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QTimer>

namespace {

const QColor kTitleColour(0, 0, 128); // navy

// Widths in characters of the fields that set none, by their type.
int defaultCharacters(const FieldDef &field)
{
    switch (field.type) {
    case FieldType::Integer:
        return 11;
    case FieldType::SmallInt:
        return 6;
    case FieldType::Float:
        return 10;
    case FieldType::DateTime:
        return 10;
    case FieldType::Text:
        return std::clamp(field.size, 4, 40);
    }
    return 10;
}

} // namespace

DbGrid::DbGrid(QWidget *parent) : QTableView(parent)
{
    QHeaderView *titles = horizontalHeader();
    QFont titleFont = titles->font();
    titleFont.setBold(true);
    titles->setFont(titleFont);
    QPalette palette = titles->palette();
    palette.setColor(QPalette::ButtonText, kTitleColour);
    palette.setColor(QPalette::WindowText, kTitleColour);
    titles->setPalette(palette);
    titles->setSectionsClickable(true);
    titles->setHighlightSections(false);
    titles->setSectionResizeMode(QHeaderView::Interactive);
    titles->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    titles->setStretchLastSection(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    setWordWrap(false);
    setTabKeyNavigation(false);
    setEditable(false);

    connect(titles, &QHeaderView::sectionClicked, this, &DbGrid::titleClicked);
    connect(titles, &QHeaderView::sectionResized, this, [this](int column, int, int width) {
        if (!m_applyingWidths && m_model)
            m_widths[fieldName(column)] = width;
    });
}

void DbGrid::setEditable(bool editable)
{
    if (m_model)
        m_model->setEditable(editable);
    setSelectionMode(QAbstractItemView::SingleSelection);
    if (editable) {
        setSelectionBehavior(QAbstractItemView::SelectItems);
        setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                        QAbstractItemView::AnyKeyPressed);
    } else {
        setSelectionBehavior(QAbstractItemView::SelectRows);
        setEditTriggers(QAbstractItemView::NoEditTriggers);
    }
}

void DbGrid::setDataset(Dataset *dataset, std::vector<Column> columns)
{
    m_dataset = dataset;
    const bool editable = editTriggers() != QAbstractItemView::NoEditTriggers;
    m_model = new DatasetModel(dataset, this);
    m_model->setEditable(editable);
    std::vector<DatasetModel::Column> modelColumns;
    for (const Column &c : columns) {
        modelColumns.push_back({c.field, c.title});
        if (c.width > 0)
            m_widths[c.field] = c.width;
        if (c.characters > 0)
            m_characters[c.field] = c.characters;
    }
    if (!modelColumns.empty())
        m_model->setColumns(std::move(modelColumns));

    // While the model changes its rows the selection moves by itself; that move is the
    // model's, not the user's, and must not move the dataset. These connections come
    // before the view's own, so the flag is set before the selection reacts.
    auto changing = [this] { m_modelChanging = true; };
    auto changed = [this] { m_modelChanging = false; };
    connect(m_model, &QAbstractItemModel::modelAboutToBeReset, this, changing);
    connect(m_model, &QAbstractItemModel::modelReset, this, changed);
    connect(m_model, &QAbstractItemModel::rowsAboutToBeInserted, this, changing);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, changed);
    connect(m_model, &QAbstractItemModel::rowsAboutToBeRemoved, this, changing);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, changed);
    // The titles lose their widths whenever the model resets.
    connect(m_model, &QAbstractItemModel::modelReset, this, &DbGrid::applyWidths);

    setModel(m_model);
    connect(m_model, &DatasetModel::failed, this, &DbGrid::reportError);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { followGrid(current); });
    connect(dataset, &Dataset::currentChanged, this, &DbGrid::followDataset);
    applyWidths();
    followDataset(dataset->currentIndex());
}

QString DbGrid::fieldName(int column) const
{
    return m_model ? m_model->fieldName(column) : QString();
}

int DbGrid::characterWidth(int column) const
{
    const int fieldIndex = m_dataset->fieldIndex(fieldName(column));
    if (fieldIndex < 0)
        return 64;
    const FieldDef &field = m_dataset->field(fieldIndex);
    const auto given = m_characters.find(field.name);
    const int characters = given != m_characters.end() ? given->second
                           : field.displayWidth > 0    ? field.displayWidth
                                                       : defaultCharacters(field);
    const int cells = characters * fontMetrics().horizontalAdvance(QLatin1Char('0')) + 8;
    const QString title = m_model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    const int titleWidth = horizontalHeader()->fontMetrics().horizontalAdvance(title) + 12;
    return std::max(cells, titleWidth);
}

void DbGrid::applyWidths()
{
    if (!m_model)
        return;
    m_applyingWidths = true;
    for (int column = 0; column < m_model->columnCount(); ++column) {
        const auto it = m_widths.find(fieldName(column));
        setColumnWidth(column, it != m_widths.end() ? it->second : characterWidth(column));
    }
    m_applyingWidths = false;
}

void DbGrid::followDataset(int row)
{
    if (m_syncing || !m_model)
        return;
    m_syncing = true;
    if (row < 0 || row >= m_model->rowCount()) {
        selectionModel()->clear();
    } else {
        const int column = std::max(currentIndex().column(), 0);
        const QModelIndex index = m_model->index(row, column);
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                     (selectionBehavior() == SelectRows
                                                          ? QItemSelectionModel::Rows
                                                          : QItemSelectionModel::NoUpdate));
        scrollTo(index);
    }
    m_syncing = false;
}

void DbGrid::followGrid(const QModelIndex &current)
{
    if (m_syncing || m_modelChanging || !current.isValid() || !m_dataset->isActive())
        return;
    if (current.row() == m_dataset->currentIndex())
        return;
    m_syncing = true;
    QString error;
    try {
        m_dataset->setCurrentIndex(current.row());
    } catch (const DbError &e) {
        error = e.message();
    } catch (const std::exception &e) {
        error = QString::fromLocal8Bit(e.what());
    }
    m_syncing = false;
    if (error.isNull())
        return;
    // The dataset stayed where it was (a row it could not post, say): so does the grid, once
    // the selection has finished its own change; the message comes after that, out of the
    // selection's signal.
    QTimer::singleShot(0, this, [this, error] {
        followDataset(m_dataset->currentIndex());
        reportError(error);
    });
}

void DbGrid::reportError(const QString &message)
{
    if (m_prompts)
        ::reportError(*m_prompts, window(), message);
    else
        qWarning("%s", qPrintable(message));
}

void DbGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTableView::mouseDoubleClickEvent(event);
    Q_EMIT gridDoubleClicked();
}
