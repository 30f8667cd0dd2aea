#pragma once

#include <QDate>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

class FbTransaction;

// What the reconciliation act ("Акт сверки взаимных расчетов") with one client states: the
// balance before the period, each sale and payment within it, and the balance after. Seen from
// our side: a sale is the client's debit, a payment its credit, and a positive balance is what
// the client owes us. A document belongs to the client by BIN/IIN, or by name where the BIN/IIN
// is empty, as for the debts; archived documents count.

struct ActEntry {
    QDate date;
    QString document; // "Реализация (накладная № 5 от 03.12.2026)", "Оплата наличными", ...
    double debit = 0;
    double credit = 0;
};

// The client as its card in the reference book gives it.
struct ActClient {
    QString name;
    QString biniin;
};

struct ReconciliationAct {
    QString business; // our name, from the requisites
    QString director;
    QString accountant;
    ActClient client;
    QDate from, to;
    double opening = 0;            // before the period; positive: the client owes us
    std::vector<ActEntry> entries; // within the period, by date, sales before payments
    double debitTurnover = 0;
    double creditTurnover = 0;
    double closing = 0;
};

// The client of the given KOD in the reference book; nothing when there is none.
std::optional<ActClient> actClient(FbTransaction &transaction, int clientKod);

// Every client of the reference book, by name, for choosing the one of an act.
struct ActClientChoice {
    int kod = 0;
    ActClient client;
};
std::vector<ActClientChoice> actClientChoices(FbTransaction &transaction);

// The grounds (contracts) of the client of the given KOD, as its grounds list holds them.
std::vector<QString> clientGrounds(FbTransaction &transaction, int clientKod);

// The periods an act is usually made for, around today.
enum class ActPeriod { ThisQuarter, LastQuarter, ThisYear };
std::pair<QDate, QDate> actPeriod(ActPeriod period, QDate today);

// The act with client over the period from..to (both days included); every amount to tiyn.
// Sales and payments dated after the period do not count.
ReconciliationAct reconciliationAct(FbTransaction &transaction, const ActClient &client, QDate from,
                                    QDate to);

namespace reconciliation {

// "Реализация (накладная № 5 от 03.12.2026)", "Акт выполненных работ № 4 от 01.12.2026" or
// "Счет на оплату № 7 от 01.12.2026".
enum class SaleForm { Waybill, Act, Invoice };
QString saleName(SaleForm form, qlonglong number, QDate date);

// What a payment is called in the act; see the definition for the choices.
QString paymentName(int kind, const QString &docNumber, QDate docDate, const QString &note);

// What the closing balance means by the data of side (our business, or the client in the
// mirrored half): "По данным ТОО «Зарник» на 31.03.2026 задолженность в пользу ТОО «Зарник»
// составляет 1500,00 тенге (Одна тысяча пятьсот тенге 00 тиын)", or "... на 31.03.2026
// задолженность отсутствует".
QString conclusion(const ReconciliationAct &act, const QString &side);

// An amount as the forms print it: two decimals after a comma, no thousands separators.
QString amountText(double amount);

} // namespace reconciliation
