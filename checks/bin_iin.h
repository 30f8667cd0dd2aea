#pragma once

#include "id_verdict.h"

// A BIN (an entity) or an IIN (a person, a sole proprietor): 12 digits by the government's
// rules on identification numbers. An IIN begins with the birth date (YYMMDD) and its
// 7th digit gives the century of birth and the sex (1 to 6); a BIN begins with the year
// and month of registration, its 5th digit is the kind of entity (4 to 6) and its 6th the
// kind of unit (0 to 3). The 12th digit is the check digit: the sum of the first eleven
// weighted 1 to 11, modulo 11; when that is 10, weighted 3 to 11, 1, 2; when that is 10
// again, no number is issued.
IdVerdict checkBinIin(const QString &typed);
