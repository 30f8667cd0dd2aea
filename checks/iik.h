#pragma once

#include "id_verdict.h"

class BankDirectory;

// An IIK, the Kazakh IBAN: "KZ", two check digits, the 3-digit code of the bank and 13
// characters of the account, 20 in all, passing the ISO 13616 check (modulo 97). With a
// directory, a passing IIK names its bank.
IdVerdict checkIik(const QString &typed, const BankDirectory *banks = nullptr);

// The bank code (places 5-7) of an IIK that passes, or an empty text.
QString iikBankCode(const QString &typed);
