#include "debtors_models.h"

#include <QFont>
#include <QLocale>

#include <array>

namespace {

// Money as the desktop writes it, in groups of thousands; nothing where there is none.
QString money(double amount)
{
    return amount == 0 ? QString() : QLocale().toString(amount, 'f', 2);
}

const std::array<QString, 11> kDebtorTitles = {
    QStringLiteral("Клиент"),        QStringLiteral("БИН/ИИН"), QStringLiteral("Выставлено"),
    QStringLiteral("Оплачено"),      QStringLiteral("Долг"),    QStringLiteral("не наступил срок"),
    QStringLiteral("1–30"),          QStringLiteral("31–60"),   QStringLiteral("61–90"),
    QStringLiteral("более 90 дней"), QStringLiteral("Аванс")};

const std::array<QString, 7> kDocumentTitles = {
    QStringLiteral("№ счета"),         QStringLiteral("Дата"), QStringLiteral("Сумма"),
    QStringLiteral("Оплачено"),        QStringLiteral("Долг"), QStringLiteral("Оплатить до"),
    QStringLiteral("Просрочено, дней")};

QVariant figure(const ClientDebt &client, int column)
{
    switch (column) {
    case 0:
        return client.name;
    case 1:
        return client.biniin;
    case 2:
        return money(client.invoiced);
    case 3:
        return money(client.paid);
    case 4:
        return money(client.due);
    case 5:
        return money(client.ages.notDue);
    case 6:
        return money(client.ages.days1to30);
    case 7:
        return money(client.ages.days31to60);
    case 8:
        return money(client.ages.days61to90);
    case 9:
        return money(client.ages.over90);
    case 10:
        return money(client.advance);
    }
    return {};
}

QVariant documentValue(const DocumentDebt &document, int column)
{
    switch (column) {
    case 0:
        return document.number;
    case 1:
        return QLocale().toString(document.date, QLocale::ShortFormat);
    case 2:
        return money(document.amount);
    case 3:
        return money(document.paid);
    case 4:
        return money(document.due);
    case 5:
        return document.dueDate ? QLocale().toString(*document.dueDate, QLocale::ShortFormat)
                                : QString();
    case 6:
        return document.daysOverdue > 0 ? QVariant(document.daysOverdue) : QVariant();
    }
    return {};
}

QVariant alignment(int firstFigureColumn, int column)
{
    return column >= firstFigureColumn ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                       : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
}

} // namespace

DebtorsModel::DebtorsModel(QObject *parent) : QAbstractTableModel(parent) {}

void DebtorsModel::setDebts(Debts debts)
{
    beginResetModel();
    m_debts = std::move(debts);
    endResetModel();
}

const ClientDebt *DebtorsModel::client(int row) const
{
    return row >= 0 && size_t(row) < m_debts.clients.size() ? &m_debts.clients[size_t(row)]
                                                            : nullptr;
}

int DebtorsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_debts.clients.size()) + 1;
}

int DebtorsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(kDebtorTitles.size());
}

QVariant DebtorsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const ClientDebt *row = client(index.row());
    switch (role) {
    case Qt::DisplayRole:
        if (!row && index.column() == 0)
            return QStringLiteral("Итого");
        return figure(row ? *row : m_debts.total, index.column());
    case Qt::TextAlignmentRole:
        return alignment(2, index.column());
    case Qt::FontRole:
        if (!row) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        break;
    }
    return {};
}

QVariant DebtorsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        size_t(section) < kDebtorTitles.size())
        return kDebtorTitles[size_t(section)];
    return QAbstractTableModel::headerData(section, orientation, role);
}

DebtorDocumentsModel::DebtorDocumentsModel(QObject *parent) : QAbstractTableModel(parent) {}

void DebtorDocumentsModel::setDocuments(std::vector<DocumentDebt> documents)
{
    beginResetModel();
    m_documents = std::move(documents);
    endResetModel();
}

int DebtorDocumentsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_documents.size());
}

int DebtorDocumentsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(kDocumentTitles.size());
}

QVariant DebtorDocumentsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || size_t(index.row()) >= m_documents.size())
        return {};
    if (role == Qt::DisplayRole)
        return documentValue(m_documents[size_t(index.row())], index.column());
    if (role == Qt::TextAlignmentRole)
        return alignment(2, index.column());
    return {};
}

QVariant DebtorDocumentsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        size_t(section) < kDocumentTitles.size())
        return kDocumentTitles[size_t(section)];
    return QAbstractTableModel::headerData(section, orientation, role);
}
