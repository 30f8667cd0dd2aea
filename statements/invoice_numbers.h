#pragma once

#include <QString>

#include <vector>

// The document numbers a payment's purpose names: those after "счет", "сч.", "счет на оплату",
// "счет-фактура", "СФ", "с/ф", "инвойс", "invoice", "№" or "#", and those listed after one of them
// ("счета 12, 13 и 14"). The parts of a date or an amount and a rate ("12%") are no numbers.
std::vector<int> invoiceNumbersIn(const QString &purpose);
