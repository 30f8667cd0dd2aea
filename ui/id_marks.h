#pragma once

#include "checks/id_checks.h"

#include <QStringList>

#include <span>

class Dataset;
class DbGrid;
class PromptService;
class QLineEdit;
class QWidget;

// What every window that edits bank identifiers does with them: a value that fails its
// check is framed in red as the user types, with the reason as the tooltip (a passing one
// says what it is); an IIK of a bank in the directory fills the BIK and the bank's name
// where they are empty. The checks only warn: nothing typed is refused or changed.

// Marks box by the check of kind, now and at every change of its text.
void markIdBox(QLineEdit *box, IdKind kind);
// Whether box is marked as failing its check.
bool isMarkedWrong(const QLineEdit *box);

// Marks the cells of grid's columns that show fields, and the boxes that edit them; a
// typed IIK fills the empty BIK and BANK of its row.
void markIdColumns(DbGrid *grid, std::span<const IdField> fields);

// When the IIK typed into iik is of a bank in the directory, fills bik and bank where they
// are empty, as if the user typed them.
void fillBankFromIik(QLineEdit *iik, QLineEdit *bik, QLineEdit *bank);

// Marks the boxes named "ed" + field of window for a client's or the business's
// identifiers, and lets its IIK box fill its BIK and BANK boxes.
void markRequisiteBoxes(QWidget *window);

// "ОК" of a card: the record's identifiers (shown in window's "ed" + field boxes) and
// those of every row of accounts (shown in grid). When some fail, asks whether to store
// them anyway; on "Нет" the focus goes to the first failing value and false is returned.
bool confirmCardIds(PromptService &prompts, QWidget *window, const Dataset &record, DbGrid &grid);

// Asks "Проверьте реквизиты:", the problems one a line, and question (Да/Нет). True when
// there are no problems or the user answered Да.
bool confirmDespiteIdProblems(PromptService &prompts, QWidget *parent, const QStringList &problems,
                              const QString &question);
