#include "statement_reader.h"

#include "statement_values.h"

#include "data/kz1048.h"

#include <QSet>
#include <QStringDecoder>

namespace {

const QString kFirstLine = QStringLiteral("1CClientBankExchange");

// A file that is all valid UTF-8 is read as such; Windows-1251 text with Russian letters never
// is. Checked in pieces, so that the whole text is never decoded at once.
bool isUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    constexpr qsizetype kPiece = 1 << 20;
    for (qsizetype at = 0; at < bytes.size(); at += kPiece) {
        const QString piece = decoder.decode(bytes.sliced(at, std::min(kPiece, bytes.size() - at)));
        if (decoder.hasError())
            return false;
    }
    const QString rest = decoder.decode(QByteArrayView());
    return !decoder.hasError();
}

// A key is a word of letters, digits and underscores; a purpose continued on the next line may
// hold "=" too, but never right after such a word alone.
bool isKey(QStringView text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (!c.isLetterOrNumber() && c != QLatin1Char('_'))
            return false;
    }
    return true;
}

enum class Place { Header, AccountSection, Document, Ended };

class Reader {
public:
    explicit Reader(const QStringList &ownAccounts)
    {
        for (const QString &account : ownAccounts)
            m_own.insert(statement_values::account(account));
    }

    // False with m_refusal set when the line is refused.
    bool line(int number, QString text);
    std::variant<Statement, StatementRefusal> finish(int lastLine);
    std::optional<StatementRefusal> refusal() const
    {
        return m_refusal.reason.isEmpty() ? std::nullopt : std::optional(m_refusal);
    }

private:
    bool refuse(int line, const QString &reason)
    {
        m_refusal = {line, reason};
        return false;
    }
    bool marker(int number, const QString &key);
    bool headerValue(int number, const QString &key, const QString &value);
    bool sectionValue(int number, const QString &key, const QString &value);
    bool documentValue(int number, const QString &key, const QString &value);
    bool partyValue(StatementParty &party, const QString &field, const QString &value);
    bool endDocument(int number);
    bool date(int number, const QString &value, QDate &into);
    bool amount(int number, const QString &value, std::optional<double> &into);
    void addAccount(const QString &account);

    Place m_place = Place::Header;
    bool m_started = false;
    int m_openedAt = 0;
    QString m_lastKey;
    Statement m_statement;
    StatementAccountSection m_section;
    StatementOperation m_operation;
    std::optional<double> m_sum, m_sumIn, m_sumOut;
    QSet<QString> m_own;
    QSet<QString> m_statementAccounts;
    std::vector<int> m_explicit; // per operation: 1 СуммаПриход, -1 СуммаРасход, 0 neither
    StatementRefusal m_refusal;
};

bool Reader::line(int number, QString text)
{
    text = text.trimmed();
    if (text.isEmpty())
        return true;
    if (!m_started) {
        if (text.compare(kFirstLine, Qt::CaseInsensitive) != 0)
            return refuse(number, QStringLiteral("это не выписка в формате 1CClientBankExchange"));
        m_started = true;
        return true;
    }
    if (m_place == Place::Ended)
        return true;

    const qsizetype equals = text.indexOf(QLatin1Char('='));
    const QString key = equals < 0 ? text : text.left(equals).trimmed();
    if (!isKey(key) ||
        (equals < 0 && !key.startsWith(QStringLiteral("конец"), Qt::CaseInsensitive) &&
         key.compare(QStringLiteral("СекцияРасчСчет"), Qt::CaseInsensitive) != 0)) {
        if (m_place == Place::Document &&
            m_lastKey.startsWith(QStringLiteral("назначениеплатежа"))) {
            m_operation.purpose += QLatin1Char(' ') + text;
            return true;
        }
        return refuse(number, QStringLiteral("строка не вида «Ключ=Значение»: «%1»").arg(text));
    }
    const QString lower = key.toLower();
    // Some banks write the account section's marker with an empty value after "=".
    if (equals < 0 || lower == QStringLiteral("секциярасчсчет"))
        return marker(number, key);
    const QString value = text.mid(equals + 1).trimmed();
    if (lower == QStringLiteral("секциядокумент")) {
        if (m_place == Place::Document || m_place == Place::AccountSection)
            return refuse(
                number, QStringLiteral("секция, начатая в строке %1, не закрыта").arg(m_openedAt));
        m_place = Place::Document;
        m_openedAt = number;
        m_operation = StatementOperation();
        m_operation.line = number;
        m_operation.documentKind = value;
        m_sum.reset();
        m_sumIn.reset();
        m_sumOut.reset();
        m_lastKey.clear();
        return true;
    }
    m_lastKey = lower;
    switch (m_place) {
    case Place::Header:
        return headerValue(number, lower, value);
    case Place::AccountSection:
        return sectionValue(number, lower, value);
    case Place::Document:
        return documentValue(number, lower, value);
    case Place::Ended:
        break;
    }
    return true;
}

bool Reader::marker(int number, const QString &key)
{
    const QString lower = key.toLower();
    const auto notOpen = [&]() {
        return refuse(number, QStringLiteral("«%1» без начала секции").arg(key));
    };
    const auto stillOpen = [&]() {
        return refuse(number,
                      QStringLiteral("секция, начатая в строке %1, не закрыта").arg(m_openedAt));
    };
    if (lower == QStringLiteral("секциярасчсчет")) {
        if (m_place != Place::Header)
            return stillOpen();
        m_place = Place::AccountSection;
        m_openedAt = number;
        m_section = StatementAccountSection();
        m_section.line = number;
        return true;
    }
    if (lower == QStringLiteral("конецрасчсчет")) {
        if (m_place == Place::Document)
            return stillOpen();
        if (m_place != Place::AccountSection)
            return notOpen();
        addAccount(m_section.account);
        m_statement.sections.push_back(m_section);
        m_place = Place::Header;
        return true;
    }
    if (lower == QStringLiteral("конецдокумента")) {
        if (m_place == Place::AccountSection)
            return stillOpen();
        if (m_place != Place::Document)
            return notOpen();
        return endDocument(number);
    }
    if (lower == QStringLiteral("конецфайла")) {
        if (m_place != Place::Header)
            return stillOpen();
        m_place = Place::Ended;
        return true;
    }
    return refuse(number, QStringLiteral("неизвестная строка «%1»").arg(key));
}

void Reader::addAccount(const QString &account)
{
    const QString normal = statement_values::account(account);
    if (normal.isEmpty() || m_statementAccounts.contains(normal))
        return;
    m_statementAccounts.insert(normal);
    m_statement.accounts.push_back(normal);
}

bool Reader::date(int number, const QString &value, QDate &into)
{
    if (value.isEmpty())
        return true;
    into = statement_values::date(value);
    if (!into.isValid())
        return refuse(number, QStringLiteral("дата «%1» не дата ДД.ММ.ГГГГ").arg(value));
    return true;
}

bool Reader::amount(int number, const QString &value, std::optional<double> &into)
{
    if (value.isEmpty())
        return true;
    into = statement_values::amount(value);
    if (!into)
        return refuse(number, QStringLiteral("сумма «%1» не число").arg(value));
    return true;
}

bool Reader::headerValue(int number, const QString &key, const QString &value)
{
    if (key == QStringLiteral("версияформата"))
        m_statement.version = value;
    else if (key == QStringLiteral("датаначала"))
        return date(number, value, m_statement.from);
    else if (key == QStringLiteral("датаконца"))
        return date(number, value, m_statement.to);
    else if (key == QStringLiteral("расчсчет"))
        addAccount(value);
    return true;
}

bool Reader::sectionValue(int number, const QString &key, const QString &value)
{
    if (key == QStringLiteral("датаначала"))
        return date(number, value, m_section.from);
    if (key == QStringLiteral("датаконца"))
        return date(number, value, m_section.to);
    if (key == QStringLiteral("расчсчет"))
        m_section.account = statement_values::account(value);
    else if (key == QStringLiteral("начальныйостаток"))
        return amount(number, value, m_section.opening);
    else if (key == QStringLiteral("всегопоступило"))
        return amount(number, value, m_section.income);
    else if (key == QStringLiteral("всегосписано"))
        return amount(number, value, m_section.outgo);
    else if (key == QStringLiteral("конечныйостаток"))
        return amount(number, value, m_section.closing);
    return true;
}

bool Reader::partyValue(StatementParty &party, const QString &field, const QString &value)
{
    // Each bank names the fields its own way: the Kazakh names first, then the older ones.
    if (field.isEmpty() || field == QStringLiteral("наименование") || field == QStringLiteral("1"))
        party.name = value;
    else if (field == QStringLiteral("бин_иин") || field == QStringLiteral("биниин") ||
             field == QStringLiteral("бин") || field == QStringLiteral("иин") ||
             field == QStringLiteral("инн"))
        party.biniin = value;
    else if (field == QStringLiteral("иик") || field == QStringLiteral("счет") ||
             field == QStringLiteral("расчсчет"))
        party.iik = statement_values::account(value);
    else if (field == QStringLiteral("кбе") || field == QStringLiteral("код"))
        party.kbe = value;
    else if (field == QStringLiteral("банкбик") || field == QStringLiteral("бик"))
        party.bankBik = value;
    else if (field == QStringLiteral("банкнаименование") || field == QStringLiteral("банк") ||
             field == QStringLiteral("банк1"))
        party.bankName = value;
    return true;
}

bool Reader::documentValue(int number, const QString &key, const QString &value)
{
    StatementOperation &op = m_operation;
    if (key == QStringLiteral("номердокумента") || key == QStringLiteral("номер"))
        op.number = value;
    else if (key == QStringLiteral("датадокумента") || key == QStringLiteral("дата"))
        return date(number, value, op.documentDate);
    else if (key == QStringLiteral("датаоперации"))
        return date(number, value, op.operationDate);
    else if (key == QStringLiteral("датапоступило") || key == QStringLiteral("датасписано")) {
        QDate moved;
        if (!date(number, value, moved))
            return false;
        if (!op.operationDate.isValid())
            op.operationDate = moved;
    } else if (key == QStringLiteral("датавалютирования"))
        return date(number, value, op.valueDate);
    else if (key == QStringLiteral("сумма"))
        return amount(number, value, m_sum);
    else if (key == QStringLiteral("суммаприход"))
        return amount(number, value, m_sumIn);
    else if (key == QStringLiteral("суммарасход"))
        return amount(number, value, m_sumOut);
    else if (key.startsWith(QStringLiteral("назначениеплатежа"))) {
        // Older files split the purpose over НазначениеПлатежа1, 2, ...
        if (!value.isEmpty())
            op.purpose += (op.purpose.isEmpty() ? QString() : QStringLiteral(" ")) + value;
    } else if (key == QStringLiteral("коднназначенияплатежа") ||
               key == QStringLiteral("коднaзначенияплатежа") ||
               key == QStringLiteral("кодназначенияплатежа") || key == QStringLiteral("кнп"))
        op.purposeCode = value;
    else if (key == QStringLiteral("валюта"))
        op.currency = value;
    else if (key.startsWith(QStringLiteral("плательщик")))
        return partyValue(op.payer, key.mid(10), value);
    else if (key.startsWith(QStringLiteral("получатель")))
        return partyValue(op.receiver, key.mid(10), value);
    return true;
}

bool Reader::endDocument(int number)
{
    StatementOperation &op = m_operation;
    if (op.number.isEmpty())
        return refuse(
            number,
            QStringLiteral("у документа из строки %1 нет номера (НомерДокумента)").arg(op.line));
    if (!op.documentDate.isValid())
        return refuse(
            number,
            QStringLiteral("у документа из строки %1 нет даты (ДатаДокумента)").arg(op.line));
    // СуммаПриход and СуммаРасход tell the way where the bank writes them; an empty or zero
    // one tells nothing.
    const bool in = m_sumIn && *m_sumIn != 0;
    const bool out = m_sumOut && *m_sumOut != 0;
    if (in && out)
        return refuse(number,
                      QStringLiteral("у документа из строки %1 и приход, и расход").arg(op.line));
    const std::optional<double> amount = m_sum ? m_sum : in ? m_sumIn : m_sumOut;
    if (!amount)
        return refuse(number, QStringLiteral("у документа из строки %1 нет суммы").arg(op.line));
    if (*amount <= 0)
        return refuse(number,
                      QStringLiteral("сумма документа из строки %1 не больше нуля").arg(op.line));
    op.amount = *amount;
    m_explicit.push_back(in ? 1 : out ? -1 : 0);
    m_statement.operations.push_back(std::move(op));
    m_place = Place::Header;
    return true;
}

} // namespace

namespace {

std::variant<Statement, StatementRefusal> Reader::finish(int lastLine)
{
    if (!m_started)
        return StatementRefusal{0, QStringLiteral("файл пуст")};
    if (m_place == Place::Document || m_place == Place::AccountSection)
        return StatementRefusal{lastLine, QStringLiteral("файл оборван: секция, начатая в "
                                                         "строке %1, не закрыта")
                                              .arg(m_openedAt)};
    if (m_place != Place::Ended)
        return StatementRefusal{lastLine, QStringLiteral("файл оборван: нет строки КонецФайла")};

    // A statement that gives its period only in its account sections covers all of them.
    for (const StatementAccountSection &section : m_statement.sections) {
        if (section.from.isValid() &&
            (!m_statement.from.isValid() || section.from < m_statement.from))
            m_statement.from = section.from;
        if (section.to.isValid() && (!m_statement.to.isValid() || section.to > m_statement.to))
            m_statement.to = section.to;
    }
    const auto ours = [&](const QString &iik) {
        return !iik.isEmpty() && (m_statementAccounts.contains(iik) || m_own.contains(iik));
    };
    for (size_t i = 0; i < m_statement.operations.size(); ++i) {
        StatementOperation &op = m_statement.operations[i];
        const bool payerOurs = ours(op.payer.iik);
        const bool receiverOurs = ours(op.receiver.iik);
        if (payerOurs && receiverOurs)
            op.direction = MoneyDirection::OwnTransfer;
        else if (m_explicit[i] != 0)
            op.direction = m_explicit[i] > 0 ? MoneyDirection::In : MoneyDirection::Out;
        else if (receiverOurs)
            op.direction = MoneyDirection::In;
        else if (payerOurs)
            op.direction = MoneyDirection::Out;
        else
            return StatementRefusal{op.line, QStringLiteral("ни плательщик, ни получатель "
                                                            "документа не владелец счета выписки")};
        // Some banks leave the statement's own side empty: it is the statement's account.
        QString &own = op.direction == MoneyDirection::Out ? op.payer.iik : op.receiver.iik;
        if (own.isEmpty() && m_statement.accounts.size() == 1)
            own = m_statement.accounts.front();
    }
    return std::move(m_statement);
}

} // namespace

QString StatementRefusal::text() const
{
    return line > 0 ? QStringLiteral("строка %1: %2").arg(line).arg(reason) : reason;
}

std::variant<Statement, StatementRefusal> readStatement(const QByteArray &bytes,
                                                        const QStringList &ownAccounts)
{
    QByteArrayView body = bytes;
    const bool bom = body.startsWith("\xEF\xBB\xBF");
    if (bom)
        body = body.sliced(3);
    const bool utf8 = bom || isUtf8(body);

    Reader reader(ownAccounts);
    int number = 0;
    qsizetype at = 0;
    while (at < body.size()) {
        qsizetype end = body.indexOf('\n', at);
        if (end < 0)
            end = body.size();
        QByteArrayView line = body.sliced(at, end - at);
        if (line.endsWith('\r'))
            line.chop(1);
        at = end + 1;
        ++number;
        const QString text =
            utf8 ? QString::fromUtf8(line)
                 : kz1048::decode(std::string_view(line.data(), size_t(line.size())));
        if (!reader.line(number, text))
            break;
    }
    std::variant<Statement, StatementRefusal> result =
        reader.refusal() ? std::variant<Statement, StatementRefusal>(*reader.refusal())
                         : reader.finish(number);
    if (Statement *statement = std::get_if<Statement>(&result))
        statement->encoding = utf8 ? QStringLiteral("UTF-8") : QStringLiteral("Windows-1251");
    return result;
}
