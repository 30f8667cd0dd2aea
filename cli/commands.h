#pragma once

#include <QStringList>

// Each command takes the arguments that follow its name and returns the exit code:
// 0 success, 1 the work reported a failure, 2 unusable arguments.
int runInitDb(const QStringList &args);
int runWords(const QStringList &args);
int runRound(const QStringList &args);
int runCalcLine(const QStringList &args);
int runRender(const QStringList &args);
int runCheckIds(const QStringList &args);
int runBackup(const QStringList &args);
int runRestore(const QStringList &args);
int runValidate(const QStringList &args);
int runUpgradeDb(const QStringList &args);
int runUsers(const QStringList &args);
int runImportGoods(const QStringList &args);
int runImportClients(const QStringList &args);
int runDebts(const QStringList &args);
int runPay(const QStringList &args);
int runImportStatement(const QStringList &args);
int runEmail(const QStringList &args);
int runTemplate(const QStringList &args);
