#pragma once

#include <QString>

class Dataset;

// How a user recognises the current row of `dataset`, a row of `table`, in a message about
// another user's change: "Документ: счет № 5 от 01.12.2026, ТОО «Альфа»".
QString recordTitle(const QString &table, const Dataset &dataset);
