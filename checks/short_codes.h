#pragma once

#include "id_verdict.h"

class BankDirectory;

// A BIK: 8 Latin capitals and digits. With a directory, a BIK of a bank that no longer
// works under it fails, and a known one names its bank.
IdVerdict checkBik(const QString &typed, const BankDirectory *banks = nullptr);

// A KBE (beneficiary code) or KOD (sender code): 2 digits, the first 1 (a resident) or 2
// (a non-resident), the second the sector of the economy, 1 to 9.
IdVerdict checkKbe(const QString &typed);

// A KNP (payment purpose code): 3 digits.
IdVerdict checkKnp(const QString &typed);
