#pragma once

#include "id_verdict.h"

#include <QString>

#include <functional>
#include <span>
#include <vector>

// The identifiers of a record that reach a bank, checked together: what the windows, the
// printing commands and zarnik-cli check-ids report.

enum class IdKind { BinIin, Iik, Bik, Kbe, Knp };

// The check of one kind, with the built-in bank directory for IIKs and BIKs.
IdVerdict checkId(IdKind kind, const QString &typed);
// The name the user knows the kind by: "БИН (ИИН)", "ИИК", "БИК", "КБЕ", "КНП".
QString idLabel(IdKind kind);

// A column of a record and the identifier it holds.
struct IdField {
    const char *field;
    IdKind kind;
};

// A client, the business's own requisites, or the client's requisites copied into a document.
inline constexpr IdField kPartyIds[] = {
    {"BINIIN", IdKind::BinIin}, {"KBE", IdKind::Kbe}, {"IIK", IdKind::Iik}, {"BIK", IdKind::Bik}};
// A bank account (RASSCHET).
inline constexpr IdField kAccountIds[] = {{"IIK", IdKind::Iik}, {"BIK", IdKind::Bik}};

struct IdProblem {
    QString field;
    QString text; // "БИН (ИИН) 123: нужно 12 цифр, а введено 3"
};

// The value of a column of the record being checked.
using FieldValue = std::function<QString(const QString &field)>;

// Every value of fields that fails its check, in the order of fields; then, when the IIK
// belongs to a known bank and the BIK to another known one, the BIK.
std::vector<IdProblem> idProblems(std::span<const IdField> fields, const FieldValue &value);

// The problems' texts, each prefixed by what they belong to ("Счет: ").
QStringList problemTexts(const std::vector<IdProblem> &problems, const QString &prefix = {});
