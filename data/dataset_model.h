#pragma once

#include <QAbstractTableModel>

#include <functional>
#include <vector>

class Dataset;

// A table model over a dataset, used by every grid of the program. Its rows are the
// dataset's fetched rows (more are fetched as the grid scrolls); its columns are the
// dataset's visible fields with their labels, or a fixed list of fields with titles of
// their own.
class DatasetModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // Header role giving a column's display width in characters (0 when the field sets
    // none), for grids to size their columns.
    static constexpr int DisplayWidthRole = Qt::UserRole + 1;

    struct Column {
        QString field;
        QString title; // the field's label when empty
    };

    explicit DatasetModel(Dataset *dataset, QObject *parent = nullptr);

    // Replaces the automatic columns by a fixed list.
    void setColumns(std::vector<Column> columns);
    void setEditable(bool editable) { m_editable = editable; }

    // What a row gives for the roles the model does not answer itself (its text colour, say),
    // the same in every column; an empty QVariant leaves the view's default.
    using RowRoleData = std::function<QVariant(int row, int role)>;
    void setRowRoleData(RowRoleData rowRoleData) { m_rowRoleData = std::move(rowRoleData); }

    Dataset *dataset() const { return m_dataset; }
    QString fieldName(int column) const;
    int columnOfField(const QString &field) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

Q_SIGNALS:
    // A database error met while a view read or wrote through the model: the view's own
    // calls cannot carry it, so whoever shows the view reports it. A failed fetch is not
    // tried again until the rows are read anew.
    void failed(const QString &message) const;

private:
    void rebuildColumns();
    // Paints and scrolls must not open a message box: the error is reported after them.
    void reportLater(const QString &message) const;
    int fieldIndex(int column) const;

    Dataset *m_dataset;
    std::vector<Column> m_fixedColumns;
    std::vector<int> m_fields; // model column -> dataset field index
    bool m_editable = false;
    bool m_fetchFailed = false;
    RowRoleData m_rowRoleData;
};
