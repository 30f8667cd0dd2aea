#pragma once

#include "matching.h"

#include <QHash>
#include <QSet>
#include <QStringList>

class FbTransaction;

// The business's own accounts: the requisites' account and every account of the business's list.
QStringList ownAccounts(FbTransaction &transaction);

// The documents with money due of the clients with these BIN/IINs, by BIN/IIN, each client's in
// the order of their invoice numbers. Archived documents count: an archived invoice can still
// be owed.
QHash<QString, std::vector<OpenDocument>> openDocumentsOf(FbTransaction &transaction,
                                                          const QSet<QString> &binIins);
