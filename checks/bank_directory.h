#pragma once

#include <QString>

#include <optional>
#include <vector>

// The banks of Kazakhstan as the program ships them (kz-banks.tsv, built in): each bank's
// BIK, the 3-digit code its IIKs carry at places 5-7, the name that prints on forms, and
// whether it still works under that BIK. A code or BIK not in it is simply unknown.
class BankDirectory {
public:
    struct Bank {
        QString bik;
        QString code; // empty for a closed bank whose code is not known
        QString name;
        QString status; // "active", or what became of the bank
        bool active() const { return status == QLatin1String("active"); }
        // The BIK the bank works under now, when it only changed its BIK.
        QString renamedTo() const;
    };

    // The directory built into the program.
    static const BankDirectory &builtin();

    // Reads the tab-separated text: '#' lines are notes, the first other line names the
    // columns (bik, bank_code, name_ru, status). Lines it cannot read are skipped.
    static BankDirectory parse(const QString &text);

    // The working bank whose IIKs carry code.
    std::optional<Bank> byCode(const QString &code) const;
    // The bank, working or not, of bik (capital letters).
    std::optional<Bank> byBik(const QString &bik) const;

    const std::vector<Bank> &banks() const { return m_banks; }

private:
    std::vector<Bank> m_banks;
};
