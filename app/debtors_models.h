#pragma once

#include "data/debts.h"

#include <QAbstractTableModel>

// The rows of the debtors' window: the clients with their figures and a totals row under them,
// and the documents of the client opened.

class DebtorsModel : public QAbstractTableModel {
public:
    explicit DebtorsModel(QObject *parent = nullptr);

    void setDebts(Debts debts);
    const Debts &debts() const { return m_debts; }
    // The client of a row; nullptr for the totals row.
    const ClientDebt *client(int row) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    Debts m_debts;
};

class DebtorDocumentsModel : public QAbstractTableModel {
public:
    explicit DebtorDocumentsModel(QObject *parent = nullptr);

    void setDocuments(std::vector<DocumentDebt> documents);
    const std::vector<DocumentDebt> &documents() const { return m_documents; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<DocumentDebt> m_documents;
};
