#pragma once

#include <QDate>
#include <QString>

#include <optional>
#include <vector>

// A bank statement as the banks export it for accounting programs: the text that begins with
// the line 1CClientBankExchange. Only what the program uses is kept.

// Which way the money of a document went, as seen from the business.
enum class MoneyDirection {
    In,         // to one of the statement's accounts
    Out,        // from one of them
    OwnTransfer // between two of the business's own accounts: neither
};

struct StatementParty {
    QString name;
    QString biniin;
    QString iik;
    QString kbe;
    QString bankBik;
    QString bankName;
};

struct StatementOperation {
    int line = 0;         // the line of its СекцияДокумент
    QString documentKind; // what follows "СекцияДокумент="
    QString number;       // text: banks put letters in it
    QDate documentDate;
    QDate operationDate; // ДатаОперации, else the date the money came or went
    QDate valueDate;
    double amount = 0;
    MoneyDirection direction = MoneyDirection::In;
    StatementParty payer;
    StatementParty receiver;
    QString purpose; // lines of a continued purpose joined by a blank
    QString purposeCode;
    QString currency;

    // The business's account the operation moved money on: the receiver's for money in.
    const QString &ownAccount() const
    {
        return direction == MoneyDirection::Out ? payer.iik : receiver.iik;
    }
    // The date a payment made by it is recorded at.
    QDate paymentDate() const { return operationDate.isValid() ? operationDate : documentDate; }
};

// One СекцияРасчСчет: an account's balances and turnovers over a period.
struct StatementAccountSection {
    int line = 0;
    QString account;
    QDate from, to;
    std::optional<double> opening, income, outgo, closing;
};

struct Statement {
    QString version;
    QString encoding; // "UTF-8" or "Windows-1251": as the bytes are, whatever is declared
    QDate from, to;
    std::vector<QString> accounts; // the statement's own accounts, header and sections together
    std::vector<StatementAccountSection> sections;
    std::vector<StatementOperation> operations; // in file order
};
