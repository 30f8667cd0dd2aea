#include "command_line.h"
#include "commands.h"
#include "open_database.h"

#include "data/database_location.h"
#include "data/db_error.h"
#include "data/email_addresses.h"
#include "data/tdm.h"
#include "mail/mail_settings.h"
#include "mail/send_mail.h"
#include "printing/document_mail.h"

#include <QSettings>

#include <cstdio>
#include <iostream>
#include <optional>
#include <string>

#include <termios.h>
#include <unistd.h>

namespace {

// The forms by the names of their templates, as render takes them.
struct NamedForm {
    const char *name;
    PrintForm form;
    bool portrait;
};
constexpr NamedForm kForms[] = {
    {"repSchet", PrintForm::Invoice, false},  {"repActKn", PrintForm::Act, false},
    {"repActAlb", PrintForm::Act, true},      {"repNaklKn", PrintForm::Waybill, false},
    {"repNaklAlb", PrintForm::Waybill, true}, {"repSchF", PrintForm::VatInvoice, false},
};

std::optional<NamedForm> formNamed(const QString &name)
{
    for (const NamedForm &form : kForms) {
        if (name == QLatin1String(form.name))
            return form;
    }
    return std::nullopt;
}

QString formNames()
{
    QStringList names;
    for (const NamedForm &form : kForms)
        names << QLatin1String(form.name);
    return names.join(QStringLiteral(", "));
}

// Asked on the terminal without echo; nothing when there is no terminal to ask on.
std::optional<QString> askPassword(const QString &prompt)
{
    if (!isatty(STDIN_FILENO))
        return std::nullopt;
    std::fprintf(stderr, "%s", qPrintable(prompt));
    termios saved{};
    tcgetattr(STDIN_FILENO, &saved);
    termios silent = saved;
    silent.c_lflag &= ~tcflag_t(ECHO);
    tcsetattr(STDIN_FILENO, TCSANOW, &silent);
    std::string line;
    std::getline(std::cin, line);
    tcsetattr(STDIN_FILENO, TCSANOW, &saved);
    std::fprintf(stderr, "\n");
    return QString::fromStdString(line);
}

// Applies --smtp HOST:PORT, --security and --user over the settings; an error text when they
// cannot be used.
QString readServerOptions(const QCommandLineParser &parser, mail::MailServer &server)
{
    if (parser.isSet(QStringLiteral("security"))) {
        const QString name = parser.value(QStringLiteral("security"));
        const auto security = mail::securityFromName(name);
        if (!security)
            return QStringLiteral("--security is starttls, ssl or none, not \"%1\"").arg(name);
        server.security = *security;
        server.port = mail::defaultPort(*security);
    }
    if (parser.isSet(QStringLiteral("smtp"))) {
        const QString smtp = parser.value(QStringLiteral("smtp"));
        const qsizetype colon = smtp.lastIndexOf(u':');
        server.host = colon < 0 ? smtp : smtp.left(colon);
        if (colon >= 0) {
            bool ok = false;
            server.port = smtp.mid(colon + 1).toInt(&ok);
            if (!ok || server.port <= 0 || server.port > 65535)
                return QStringLiteral("--smtp %1: the port is a number from 1 to 65535").arg(smtp);
        }
    }
    if (parser.isSet(QStringLiteral("user")))
        server.user = parser.value(QStringLiteral("user"));
    if (server.host.isEmpty())
        return QStringLiteral("no mail server: give --smtp HOST:PORT or set one up in the "
                              "program (\"Сервис\" → \"Настройки почты...\")");
    return {};
}

} // namespace

int runEmail(const QStringList &args)
{
    CommandLine line(
        QStringLiteral("email"),
        QStringLiteral("--db LOCATION --doc KOD --to ADDRESS [--template NAME ...] "
                       "[--subject TEXT] [--text TEXT] [--stamps] [--smtp HOST:PORT] "
                       "[--security starttls|ssl|none] [--user NAME]"),
        QStringLiteral("Sends the document's forms as PDF attachments by e-mail and records the "
                       "sending in the database. Without --smtp, the mail server set up in the "
                       "program; the password is taken from ZARNIK_SMTP_PASSWORD, else asked on "
                       "the terminal. The sender is the settings' one, else the business's "
                       "own e-mail and name."));
    QCommandLineParser &parser = line.parser();
    const QCommandLineOption dbOption({QStringLiteral("database"), QStringLiteral("db")},
                                      QStringLiteral("The database, a file or on a server."),
                                      QStringLiteral("LOCATION"));
    parser.addOptions({
        dbOption,
        {QStringLiteral("doc"), QStringLiteral("The document's KOD."), QStringLiteral("KOD")},
        {QStringLiteral("to"), QStringLiteral("The recipient's address."),
         QStringLiteral("ADDRESS")},
        {QStringLiteral("template"),
         QStringLiteral("A form to attach, repeated for several: %1 (repSchet when none).")
             .arg(formNames()),
         QStringLiteral("NAME")},
        {QStringLiteral("subject"),
         QStringLiteral("The subject (\"Счет на оплату № 7 от 01.12.2026 — ТОО «Заря»\" by "
                        "default)."),
         QStringLiteral("TEXT")},
        {QStringLiteral("text"), QStringLiteral("The message's text."), QStringLiteral("TEXT")},
        {QStringLiteral("stamps"),
         QStringLiteral("Print the stored stamp and signatures on the forms.")},
        {QStringLiteral("smtp"), QStringLiteral("The outgoing mail server."),
         QStringLiteral("HOST:PORT")},
        {QStringLiteral("security"), QStringLiteral("How the connection is protected."),
         QStringLiteral("starttls|ssl|none")},
        {QStringLiteral("user"), QStringLiteral("The mail server's user name."),
         QStringLiteral("NAME")},
    });
    if (const std::optional<int> exitCode = line.parse(args))
        return *exitCode;
    const std::variant<QString, int> database = line.databaseWithoutArguments(dbOption);
    if (const int *exitCode = std::get_if<int>(&database))
        return *exitCode;
    const QString &db = std::get<QString>(database);
    bool docOk = false;
    const int doc = parser.value(QStringLiteral("doc")).toInt(&docOk);
    if (!docOk)
        return line.usageError(QStringLiteral("--doc needs the document's KOD"));
    if (parser.value(QStringLiteral("to")).isEmpty())
        return line.usageError(QStringLiteral("--to needs the recipient's address"));
    std::vector<NamedForm> forms;
    for (const QString &name : parser.values(QStringLiteral("template"))) {
        const auto form = formNamed(name);
        if (!form)
            return line.usageError(
                QStringLiteral("unknown form %1; the forms are: %2").arg(name, formNames()));
        forms.push_back(*form);
    }
    if (forms.empty())
        forms.push_back(kForms[0]);

    const QSettings settings(database::settingsOrganisation(), database::settingsApplication());
    mail::MailServer server = mail::readSettings(settings);
    if (const QString problem = readServerOptions(parser, server); !problem.isEmpty())
        return line.usageError(problem);
    if (!server.user.isEmpty()) {
        if (qEnvironmentVariableIsSet("ZARNIK_SMTP_PASSWORD")) {
            server.password = qEnvironmentVariable("ZARNIK_SMTP_PASSWORD");
        } else if (auto typed = askPassword(
                       QStringLiteral("Password of %1 on %2: ").arg(server.user, server.host))) {
            server.password = *typed;
        } else {
            return line.usageError(QStringLiteral("no password: set ZARNIK_SMTP_PASSWORD"));
        }
    }

    try {
        TDM dm;
        if (!openDatabase(dm, db, "email"))
            return 1;
        for (Dataset *dataset : dm.mainDatasets())
            dataset->open();
        dm.DSetDocs->close();
        dm.DSetDocs->setSelectSql(QStringLiteral("select * from DOCS order by NUMSCH"));
        dm.DSetDocs->open();
        if (!dm.DSetDocs->locate(doc)) {
            std::fprintf(stderr, "email: there is no document with KOD %d\n", doc);
            return 2;
        }
        if (server.senderAddress.isEmpty()) {
            if (!dm.TsnRW.isActive())
                dm.TsnRW.start();
            server.senderAddress = email_addresses::of(dm.TsnRW, email_addresses::ownOwner());
            if (server.senderName.isEmpty())
                server.senderName = dm.DSetRekvizity->asString(QStringLiteral("NAMEORG"));
        }

        mail::Message message;
        message.to = QStringList{parser.value(QStringLiteral("to"))};
        message.subject = parser.isSet(QStringLiteral("subject"))
                              ? parser.value(QStringLiteral("subject"))
                              : mailSubject(dm);
        message.text = parser.isSet(QStringLiteral("text")) ? parser.value(QStringLiteral("text"))
                                                            : mailText(dm);
        FormImagesReader readImages;
        if (parser.isSet(QStringLiteral("stamps")))
            readImages = [&dm](const QSet<QString> &names) {
                FormImages stored = readFormImages(dm.ZNDB, names);
                if (!stored.problem.isEmpty())
                    std::fprintf(stderr, "email: %s\n", qPrintable(stored.problem));
                return stored.images;
            };
        const TemplateWarning warnOnStderr = [](const QString &warning) {
            std::fprintf(stderr, "email: %s\n", qPrintable(warning));
        };
        QStringList titles;
        for (const NamedForm &form : forms) {
            if (const QString problem =
                    attachForm(dm, form.form, form.portrait, readImages, warnOnStderr, message);
                !problem.isEmpty()) {
                std::fprintf(stderr, "email: %s\n", qPrintable(problem));
                return 1;
            }
            titles << mailFormTitle(form.form);
        }
        // The totals were worked out for these forms only; the file stays as it was.
        dm.DSetDocs->cancel();

        const mail::SendResult result = mail::send(server, message);
        if (!result.sent()) {
            std::fprintf(stderr, "email: %s\n", qPrintable(result.error));
            return 1;
        }
        recordSending(dm, message, titles,
                      qEnvironmentVariable("USER", qEnvironmentVariable("LOGNAME")));
        std::printf("%s: sent to %s (%s)\n", qPrintable(message.subject),
                    qPrintable(message.to.join(QStringLiteral(", "))),
                    qPrintable(titles.join(QStringLiteral(", "))));
        return 0;
    } catch (const DbError &e) {
        std::fprintf(stderr, "email: %s\n", qPrintable(e.message()));
        return 1;
    }
}
