#include "roles.h"

#include "document_totals.h"

#include <QStringList>

namespace roles {

namespace {

// Tables of the program: the business's eight, then those it keeps beside them.
const char *const kTables[] = {
    "DOCS",         "DETAILDOCS",    "CLIENTS",     "RASSCHET", "OSNOVANIE",
    "NOMENKLOTURA", "KNP",           "REKVIZITY",   "IMAGES",   "NUMBERING",
    "PAYMENTS",     "DUEDATES",      "SETTINGS",    "EMAILS",   "BANK_OPERATIONS",
    "DOC_AUDIT",    "MAIL_SENDINGS", "DOC_AMOUNTS", "TEMPLATES"};

const char *const kGenerators[] = {
    "DOCS_KOD_GEN",      "DETAILDOCS_KOD_GEN",      "CLIENTS_KOD_GEN",      "RASSCHET_KOD_GEN",
    "OSNOVANIE_KOD_GEN", "NOMENKLOTURA_KOD_GEN",    "KNP_KOD_GEN",          "REKVIZITY_KOD_GEN",
    "PAYMENTS_KOD_GEN",  "BANK_OPERATIONS_KOD_GEN", "MAIL_SENDINGS_KOD_GEN"};

// What a manager may not do in full: the business's requisites (with its images and the
// program's settings, such as the payment term), the business's forms, deleting documents, and
// the record of who changed what, which only the database's triggers write.
QString managerTablePrivileges(const QString &table)
{
    if (table == u"REKVIZITY" || table == u"IMAGES" || table == u"SETTINGS" ||
        table == u"DOC_AUDIT" || table == u"TEMPLATES")
        return QStringLiteral("S");
    if (table == u"DOCS" || table == u"NUMBERING")
        return QStringLiteral("SIU");
    return QStringLiteral("SIUD");
}

QString tablePrivileges(Role role, const QString &table)
{
    // The documents' stored amounts are written by the database's triggers alone.
    if (table == u"DOC_AMOUNTS")
        return QStringLiteral("S");
    switch (role) {
    case Role::Accountant:
        return table == u"DOC_AUDIT" ? QStringLiteral("S") : QStringLiteral("SIUD");
    case Role::Manager:
        return managerTablePrivileges(table);
    case Role::Viewer:
        break;
    }
    return QStringLiteral("S");
}

const QString kWords[] = {QStringLiteral("accountant"), QStringLiteral("manager"),
                          QStringLiteral("viewer")};

} // namespace

QString sqlName(Role role)
{
    return QStringLiteral("ZARNIK_") + commandWord(role).toUpper();
}

QString title(Role role)
{
    switch (role) {
    case Role::Accountant:
        return QStringLiteral("Бухгалтер");
    case Role::Manager:
        return QStringLiteral("Менеджер");
    case Role::Viewer:
        break;
    }
    return QStringLiteral("Просмотр");
}

QString commandWord(Role role)
{
    return kWords[int(role)];
}

std::optional<Role> fromSqlName(const QString &name)
{
    for (Role role : kAllRoles) {
        if (sqlName(role).compare(name.trimmed(), Qt::CaseInsensitive) == 0)
            return role;
    }
    return std::nullopt;
}

std::optional<Role> fromCommandWord(const QString &word)
{
    for (Role role : kAllRoles) {
        if (commandWord(role) == word)
            return role;
    }
    return std::nullopt;
}

std::vector<Privileges> privilegesOf(Role role)
{
    std::vector<Privileges> all;
    for (const char *table : kTables) {
        const QString name = QString::fromLatin1(table);
        all.push_back({name, tablePrivileges(role, name), false, {}});
    }
    // Printing writes the document's totals back, which reading alone would refuse.
    if (role == Role::Viewer)
        all.push_back(
            {QStringLiteral("DOCS"), QStringLiteral("U"), false, documentTotalsColumns()});
    // Reading never takes a number; a manager never adds to the requisites.
    for (const char *generator : kGenerators) {
        const QString name = QString::fromLatin1(generator);
        if (role == Role::Accountant || (role == Role::Manager && name != u"REKVIZITY_KOD_GEN"))
            all.push_back({name, QStringLiteral("G"), true, {}});
    }
    return all;
}

QString grantStatement(Role role, const Privileges &privileges)
{
    if (privileges.generator)
        return QStringLiteral("GRANT USAGE ON GENERATOR %1 TO ROLE %2")
            .arg(privileges.object, sqlName(role));
    QStringList words;
    for (QChar letter : privileges.privileges) {
        switch (letter.unicode()) {
        case 'S':
            words << QStringLiteral("SELECT");
            break;
        case 'I':
            words << QStringLiteral("INSERT");
            break;
        case 'U':
            words << (privileges.columns.isEmpty()
                          ? QStringLiteral("UPDATE")
                          : QStringLiteral("UPDATE (%1)").arg(privileges.columns.join(u", ")));
            break;
        case 'D':
            words << QStringLiteral("DELETE");
            break;
        default:
            break;
        }
    }
    return QStringLiteral("GRANT %1 ON %2 TO ROLE %3")
        .arg(words.join(QStringLiteral(", ")), privileges.object, sqlName(role));
}

} // namespace roles
