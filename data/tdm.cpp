#include "tdm.h"

#include "date_time.h"
#include "db_error.h"
#include "document_totals.h"
#include "fb_statement.h"
#include "payment_status.h"
#include "program_tables.h"
#include "record_titles.h"
#include "tables.h"

#include <initializer_list>

namespace {

// How one column of a table appears in a dataset.
struct Look {
    const char *column;
    const char *label = nullptr;
    int width = 0;
    bool visible = true;
};

FieldDef columnField(const TableDef &table, const QString &name)
{
    const ColumnDef *column = table.column(name);
    Q_ASSERT(column);
    FieldDef f;
    f.name = column->name;
    f.type = column->type;
    f.size = column->size;
    f.required = column->notNull;
    return f;
}

// The listed columns of table, in the listed order, with their labels, widths and
// visibility.
std::vector<FieldDef> fields(const TableDef &table, std::initializer_list<Look> looks)
{
    std::vector<FieldDef> result;
    for (const Look &look : looks) {
        FieldDef f = columnField(table, QString::fromLatin1(look.column));
        if (look.label)
            f.label = QString::fromUtf8(look.label);
        f.displayWidth = look.width;
        f.visible = look.visible;
        result.push_back(f);
    }
    return result;
}

// Every column of table in table order, with labels for some of them.
std::vector<FieldDef> allFields(const TableDef &table,
                                std::initializer_list<std::pair<const char *, const char *>> labels)
{
    std::vector<FieldDef> result;
    for (const ColumnDef &column : table.columns) {
        FieldDef f = columnField(table, column.name);
        for (const auto &[name, label] : labels) {
            if (column.name == QLatin1String(name))
                f.label = QString::fromUtf8(label);
        }
        result.push_back(f);
    }
    return result;
}

FieldDef computed(const char *name, FieldType type, int size, bool visible = true,
                  FieldSource source = FieldSource::Calculated)
{
    FieldDef f;
    f.name = QString::fromLatin1(name);
    f.type = type;
    f.source = source;
    f.size = size;
    f.visible = visible;
    return f;
}

} // namespace

TDM::TDM(QObject *parent) : QObject(parent)
{
    setObjectName(QStringLiteral("DM"));
    UpdRekvizity = makeUpdateSql(rekvizityTable());
    UpdSchetORG = makeUpdateSql(rasschetTable());
    UpdSchets = makeUpdateSql(rasschetTable());
    UpdDocs = makeUpdateSql(docsTable(), documentTotalsColumns());
    UpdNomenkl = makeUpdateSql(nomenklaturaTable());
    UpdClients = makeUpdateSql(clientsTable());
    UpdKNP = makeUpdateSql(knpTable());
    UpdDetail = makeUpdateSql(detailDocsTable());
    UpdOsnovanie = makeUpdateSql(osnovanieTable());

    auto make = [this](const char *name) {
        return new Dataset(TsnRW, QString::fromLatin1(name), this);
    };
    DSetRekvizity = make("DSetRekvizity");
    DSetSchetORG = make("DSetSchetORG");
    DSetDocs = make("DSetDocs");
    DSetDetail = make("DSetDetail");
    DSetNomenkl = make("DSetNomenkl");
    DSetClients = make("DSetClients");
    DSetSchets = make("DSetSchets");
    DSetKNP = make("DSetKNP");
    DSetOsnovanie = make("DSetOsnovanie");
    DSetKOD = make("DSetKOD");
    DSetNumDetail = make("DSetNumDetail");

    DSRekvizity = {QStringLiteral("DSRekvizity"), DSetRekvizity};
    DSSchetORG = {QStringLiteral("DSSchetORG"), DSetSchetORG};
    DSDocs = {QStringLiteral("DSDocs"), DSetDocs};
    DSDetail = {QStringLiteral("DSDetail"), DSetDetail};
    DSClients = {QStringLiteral("DSClients"), DSetClients};
    DSSchets = {QStringLiteral("DSSchets"), DSetSchets};
    DSOsnovanie = {QStringLiteral("DSOsnovanie"), DSetOsnovanie};
    DSNomenkl = {QStringLiteral("DSNomenkl"), DSetNomenkl};
    DSKNP = {QStringLiteral("DSKNP"), DSetKNP};

    defineDatasets();
    wireHandlers();
}

TDM::~TDM()
{
    try {
        DataModuleDestroy();
    } catch (const DbError &) {
        // Leaving anyway: the engine drops what it could not commit.
    }
}

void TDM::defineDatasets()
{
    const TableDef &docs = docsTable();
    auto docsFields = allFields(docs, {{"NAMEORG", "Наименование компании"},
                                       {"KBE", "КБЕ"},
                                       {"RNN", "РНН"},
                                       {"BINIIN", "БИН(ИИН)"},
                                       {"ADRES", "Адрес"},
                                       {"IIK", "ИИК(№ расчетного счета)"},
                                       {"BANK", "Банк"},
                                       {"BIK", "БИК"},
                                       {"OSNOVANIE", "Основание"},
                                       {"KNP", "КНП"},
                                       {"DATASCH", "Дата счета"},
                                       {"DATASCHF", "Дата счет-фактуры"},
                                       {"DATAACT", "Дата акта выполненных работ"},
                                       {"DATANAKL", "Дата накладной на отпуск товара"},
                                       {"DATAPRIX", "Дата приходного кассовго ордера"},
                                       {"DATADOV", "Дата доверенности"},
                                       {"DATAPLAT", "Дата плат"},
                                       {"NUMSCH", "№ счета"},
                                       {"NUMSCHF", "№ счет-фактуры"},
                                       {"NUMACT", "№ акта выполненных работ"},
                                       {"NUMNAKL", "№ накладной на отпуск товара"},
                                       {"NUMPRIX", "№ приходного кассового ордера"},
                                       {"NUMDOV", "№ доверенности"},
                                       {"NUMPLAT", "№ платежного поручения"},
                                       {"USLOVOPLATY", "Условия оплаты"},
                                       {"PUNKTNAZN", "Пункт назначенния"},
                                       {"PODOVER", "Осущетвлено по доверенности"},
                                       {"SPOSOBOTPR", "Способ отправления"},
                                       {"NAKL", "Товарно-транспортная накладная"},
                                       {"STNDS", "Ставка НДС"},
                                       {"STREALIZSUM", "Итого стоимость реализации"},
                                       {"SUMBEZNDS", "Итого стоимость без НДС"},
                                       {"VTNDS", "В том числе НДС"},
                                       {"SUMPROPIS", "Сумма прописью"},
                                       {"SUMTOV", "Количество товара"}});
    docsFields.push_back(computed("gruzot", FieldType::Text, 512));
    docsFields.push_back(computed("gruzopol", FieldType::Text, 512));
    docsFields.push_back(computed("sumtovpropis", FieldType::Text, 512, false));
    docsFields.push_back(computed("tel", FieldType::Text, 256, true, FieldSource::Lookup));
    docsFields.push_back(computed("Docum", FieldType::Text, 256));
    docsFields.push_back(computed("KBK", FieldType::Text, 256));
    // What was paid and the status come with each reading of the register from what is stored,
    // whoever stored it; the status's text follows its code.
    FieldDef paid = computed("OPLACHENO", FieldType::Float, 0, true, FieldSource::Selected);
    paid.label = QStringLiteral("Оплачено");
    docsFields.push_back(paid);
    docsFields.push_back(computed("STATUS", FieldType::Integer, 0, false, FieldSource::Selected));
    FieldDef statusText = computed("STATUSTEXT", FieldType::Text, 32, true, FieldSource::Lookup);
    statusText.label = QStringLiteral("Статус");
    docsFields.push_back(statusText);
    DSetDocs->setFields(docsFields);

    const TableDef &detail = detailDocsTable();
    auto detailFields = fields(detail, {{"KOD", nullptr, 0, false},
                                        {"KODDOCS", nullptr, 0, false},
                                        {"NUM", "№", 2},
                                        {"NAME", "Наименование", 45},
                                        {"EDIZM", "Ед.изм.", 5},
                                        {"KOLVO", "Кол-во", 8},
                                        {"CENASHT", "Цена"},
                                        {"CENASUMBEZNDS", "Ст-ть без НДС", 0, false},
                                        {"STNDS", "Ст. НДС", 0, false},
                                        {"SUMNDS", "Сум.НДС", 0, false},
                                        {"STREALIZ", "Ст-ть реализации"},
                                        {"STAKCIZ", "Ст.акциз", 0, false},
                                        {"SUMAKCIZ", "Сум.акциз", 0, false}});
    detailFields.push_back(computed("beznds", FieldType::Text, 16, false));
    detailFields.push_back(computed("cenashtbeznds", FieldType::Float, 0, false));
    detailFields.push_back(computed("kolpropis", FieldType::Text, 512, false));
    DSetDetail->setFields(detailFields);

    DSetClients->setFields(fields(clientsTable(), {{"KOD", nullptr, 0, false},
                                                   {"TIP", nullptr, 0, false},
                                                   {"NAMEORG", "Наименование", 35},
                                                   {"KBE", "КБЕ", 5},
                                                   {"RNN", "РНН", 12},
                                                   {"BINIIN", "БИН(ИИН)", 15},
                                                   {"ADRES", "Адрес", 30},
                                                   {"IIK", "ИИК (№ расчетного счета)", 20},
                                                   {"BANK", "Банк", 35},
                                                   {"BIK", "БИК", 10},
                                                   {"TEL", "Телефоны", 16}}));

    const auto accountFields = fields(rasschetTable(), {{"KOD", nullptr, 0, false},
                                                        {"KODORG", nullptr, 0, false},
                                                        {"IIK", "ИИК (№ расчетного счета)", 20},
                                                        {"BANK", "Наименование банка", 45},
                                                        {"BIK", "БИК", 18}});
    DSetSchets->setFields(accountFields);
    DSetSchetORG->setFields(accountFields);

    DSetOsnovanie->setFields(
        fields(osnovanieTable(), {{"KOD", nullptr, 0, false},
                                  {"KODORG", nullptr, 0, false},
                                  {"OSNOVANIE", "Наименование и описание", 40}}));

    DSetNomenkl->setFields(fields(nomenklaturaTable(), {{"KOD", nullptr, 0, false},
                                                        {"TIP", nullptr, 0, false},
                                                        {"NAME", "Наименование", 30},
                                                        {"EDIZM", "Единица измерения", 12},
                                                        {"CENA", "Стоимость"},
                                                        {"OSTATOK", "Остаток"}}));

    DSetKNP->setFields(
        fields(knpTable(),
               {{"KOD", nullptr, 0, false}, {"KNP", "КНП", 10}, {"NAME", "Описание КНП", 50}}));

    DSetRekvizity->setFields(allFields(rekvizityTable(), {{"TEL", "Телефоны"}}));

    DSetKOD->setFields(fields(docs, {{"KOD"},
                                     {"KODARCHIV"},
                                     {"NUMSCH"},
                                     {"NUMSCHF"},
                                     {"NUMACT"},
                                     {"NUMNAKL"},
                                     {"NUMPRIX"},
                                     {"NUMDOV"},
                                     {"NUMPLAT"}}));
    DSetNumDetail->setFields(fields(detail, {{"KOD"}, {"KODDOCS"}, {"NUM"}}));

    struct Setup {
        Dataset *dataset;
        const char *select;
        const TableDef *table; // its generator keys new rows; none for read-only datasets
        const UpdateSql *statements;
        Dataset *master;
    };
    const Setup setups[] = {
        {DSetRekvizity, "Select * from REKVIZITY ", &rekvizityTable(), &UpdRekvizity, nullptr},
        {DSetSchetORG, "Select * from RASSCHET where KODORG=0 order by IIK", &rasschetTable(),
         &UpdSchetORG, nullptr},
        {DSetDocs, nullptr, &docs, &UpdDocs, nullptr},
        {DSetDetail, "Select * from DETAILDOCS where KODDOCS=:KOD order by NUM", &detail,
         &UpdDetail, DSetDocs},
        {DSetNomenkl, "Select * from NOMENKLOTURA where TIP=0 order by NAME", &nomenklaturaTable(),
         &UpdNomenkl, nullptr},
        {DSetClients, "Select * from CLIENTS where TIP=0 order by NAMEORG", &clientsTable(),
         &UpdClients, nullptr},
        {DSetSchets, "Select * from RASSCHET where KODORG=:KOD order by IIK", &rasschetTable(),
         &UpdSchets, DSetClients},
        {DSetKNP, "Select * from KNP order by KNP", &knpTable(), &UpdKNP, nullptr},
        {DSetOsnovanie, "Select * from OSNOVANIE where KODORG=:KOD order by osnovanie",
         &osnovanieTable(), &UpdOsnovanie, DSetClients},
        {DSetKOD, "Select * from DOCS", nullptr, nullptr, nullptr},
        {DSetNumDetail, "Select * from DETAILDOCS where KODDOCS=:KOD order by NUM desc", nullptr,
         nullptr, DSetDocs},
    };
    for (const Setup &s : setups) {
        if (s.select)
            s.dataset->setSelectSql(QString::fromLatin1(s.select));
        if (s.table) {
            s.dataset->setKeyGenerator(s.table->generator());
            s.dataset->setRecordTitle([dataset = s.dataset, table = s.table->name] {
                return recordTitle(table, *dataset);
            });
        }
        s.dataset->setUpdateSql(s.statements);
        s.dataset->setMaster(s.master);
    }
    DSetDocs->setSelectSql(payment_sql::documentsSelect() +
                               QStringLiteral("where KODARCHIV=0 order by NUMSCH"),
                           {{QString::fromLatin1(payment_sql::kDateParameter), datetime::today()}});
}

void TDM::wireHandlers()
{
    DSetRekvizity->setNewRecordHandler([this] { DSetRekvizityNewRecord(); });
    DSetDocs->setNewRecordHandler([this] { DSetDocsNewRecord(); });
    DSetDetail->setNewRecordHandler([this] { DSetDetailNewRecord(); });
    DSetClients->setNewRecordHandler([this] { DSetClientsNewRecord(); });
    DSetNomenkl->setNewRecordHandler([this] { DSetNomenklNewRecord(); });
    DSetSchetORG->setNewRecordHandler([this] { DSetSchetORGNewRecord(); });
    DSetSchets->setNewRecordHandler([this] { DSetSchetsNewRecord(); });
    DSetOsnovanie->setNewRecordHandler([this] { DSetOsnovanieNewRecord(); });

    for (const char *column : {"KOLVO", "CENASHT", "STNDS"})
        DSetDetail->setFieldChangeHandler(QString::fromLatin1(column),
                                          [this] { DSetDetailCENASHTChange(); });
    DSetDetail->setCalcFieldsHandler([this] { DSetDetailCalcFields(); });
    DSetDocs->setCalcFieldsHandler([this] { DSetDocsCalcFields(); });
    DSetDocs->setLookupResolver(QStringLiteral("tel"), QStringLiteral("NAMEORG"),
                                [this](const QVariant &name) { return clientTelephone(name); });
    DSetDocs->setLookupResolver(
        QStringLiteral("STATUSTEXT"), QStringLiteral("STATUS"),
        [](const QVariant &code) -> QVariant { return paymentStatusText(code); });
    connect(DSetClients, &Dataset::stateChanged, this, [this] {
        if (!DSetClients->isEditing())
            readClientTelephones();
    });
}

QVariant TDM::clientTelephone(const QVariant &clientName) const
{
    if (!DSetClients->isActive())
        return QString();
    return m_clientTelephones.value(clientName.toString());
}

void TDM::readClientTelephones()
{
    m_clientTelephones.clear();
    if (!DSetClients->isActive())
        return;
    try {
        // The list's own statement, in its filter and order, read apart from the list so
        // that its rows and its views are left alone; only the two columns, so that a long
        // list crosses a network in few round trips.
        const QString sql = QStringLiteral("select NAMEORG, TEL from (") +
                            DSetClients->selectSql() + QStringLiteral(")");
        if (!m_telephoneStatement || m_telephoneStatement->sql() != sql) {
            m_telephoneStatement.reset();
            auto prepared = std::make_unique<FbStatement>(TsnRW);
            prepared->prepare(sql);
            m_telephoneStatement = std::move(prepared);
        }
        FbStatement &statement = *m_telephoneStatement;
        const QVariantMap &parameters = DSetClients->selectParameters();
        for (auto it = parameters.cbegin(); it != parameters.cend(); ++it)
            statement.setParameter(it.key(), it.value());
        statement.execute();
        int nameColumn = -1, telColumn = -1;
        for (int c = 0; c < statement.columnCount(); ++c) {
            if (statement.columnName(c).compare(u"NAMEORG", Qt::CaseInsensitive) == 0)
                nameColumn = c;
            else if (statement.columnName(c).compare(u"TEL", Qt::CaseInsensitive) == 0)
                telColumn = c;
        }
        while (nameColumn >= 0 && telColumn >= 0 && statement.fetch()) {
            const QString name = statement.value(nameColumn).toString();
            if (!m_clientTelephones.contains(name))
                m_clientTelephones.insert(name, statement.value(telColumn).toString());
        }
    } catch (const DbError &) {
        // Without them the telephones print empty, as for a client not listed.
        m_clientTelephones.clear();
        m_telephoneStatement.reset();
    }
    // A client just posted stays in the list even where the list's filter would not take it.
    if (!DSetClients->isEmpty()) {
        const QString name = DSetClients->asString(QStringLiteral("NAMEORG"));
        if (!m_clientTelephones.contains(name))
            m_clientTelephones.insert(name, DSetClients->asString(QStringLiteral("TEL")));
    }
}

void TDM::DataModuleCreate(const QString &databasePath,
                           const database::Credentials &serverCredentials)
{
    const database::Credentials credentials =
        database::credentialsFor(databasePath, serverCredentials);
    if (ZNDB.isAttached()) {
        releaseStatements();
        ZNDB.detach();
    }
    // What is missing is made before the connection takes the user's role, which would keep
    // an RDB$ADMIN from making it.
    ZNDB.attach(databasePath, credentials.user, credentials.password);
    m_missingProgramParts = ensureProgramTables(ZNDB);
    m_role = roles::takeGrantedRole(ZNDB, databasePath, credentials.user, credentials.password);
}

void TDM::releaseStatements()
{
    // The datasets keep their statements prepared between uses; they must go before the
    // connection they were prepared on.
    for (Dataset *dataset : allDatasets())
        dataset->releaseStatements();
    m_telephoneStatement.reset();
}

void TDM::DataModuleDestroy()
{
    if (!ZNDB.isAttached())
        return;
    releaseStatements();
    // The engine refuses to let go of a connection with work in progress; what was posted
    // is kept rather than dropped.
    if (TsnRW.isActive())
        TsnRW.commit();
    ZNDB.detach();
}

std::vector<Dataset *> TDM::mainDatasets() const
{
    return {DSetRekvizity, DSetSchetORG, DSetDocs,   DSetNomenkl,  DSetClients,
            DSetSchets,    DSetKNP,      DSetDetail, DSetOsnovanie};
}

std::vector<Dataset *> TDM::allDatasets() const
{
    auto all = mainDatasets();
    all.push_back(DSetKOD);
    all.push_back(DSetNumDetail);
    return all;
}

void TDM::closeAllDatasets()
{
    for (Dataset *dataset : allDatasets())
        dataset->close();
}

std::vector<const DataSource *> TDM::dataSources() const
{
    return {&DSRekvizity, &DSSchetORG,  &DSDocs,    &DSDetail, &DSClients,
            &DSSchets,    &DSOsnovanie, &DSNomenkl, &DSKNP};
}

int TDM::vatMode() const
{
    return int(DSetRekvizity->asInteger(QStringLiteral("VARRASCHET")));
}
