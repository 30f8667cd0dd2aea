#pragma once

#include "statement.h"

#include <QStringList>

// What the window and the command line check of a statement before it is loaded.

// The statement's accounts that are not among the business's own, in the statement's order.
QStringList foreignAccounts(const Statement &statement, const QStringList &ownAccounts);

// "Счет KZ…? не найден в реквизитах. Загрузить все равно?"
QString foreignAccountQuestion(const QStringList &accounts);

// Where the documents do not add up to the statement's own totals: one line per account section
// whose income, outgo or closing balance differs. Empty when all agree.
QStringList totalsMismatches(const Statement &statement);
