#pragma once

#include "connection_role.h"
#include "database_file.h"
#include "dataset.h"
#include "fb_connection.h"
#include "update_sql.h"

#include <QHash>
#include <QObject>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

// A named link to a dataset, through which grids, master-detail links and printed forms
// reach it.
struct DataSource {
    QString name;
    Dataset *dataset = nullptr;
};

// Which printed form a document's totals are computed for: the payment order takes its
// VAT out of the total at the document's own rate, every other form sums its lines.
enum class TotalsForm { PaymentOrder, Other };

// The data module: the one connection, the one transaction and the named datasets through
// which every window and every printed form reads and writes. Business rules that belong
// to the data (new-row values, line amounts, computed columns, document totals) live in
// its handlers.
class TDM : public QObject {
    Q_OBJECT

public:
    explicit TDM(QObject *parent = nullptr);
    ~TDM() override;

    // Opens the connection to the database (a file, or a server's connection string with the
    // user's own credentials); throws DbError when it cannot.
    void DataModuleCreate(const QString &databasePath = database::defaultPath(),
                          const database::Credentials &serverCredentials = {});
    // Commits what is still pending and closes the connection.
    void DataModuleDestroy();

    // What the opened database lacks of the program's tables, triggers and roles and the user
    // could not make (empty when nothing); see missingProgramPartsText.
    const QStringList &missingProgramParts() const { return m_missingProgramParts; }
    // The role the connection works in: none for a file, the owner, SYSDBA, or a user with
    // rights of their own.
    std::optional<roles::Role> role() const { return m_role; }

    // The nine datasets in the order in which they are (re)opened.
    std::vector<Dataset *> mainDatasets() const;
    // Every dataset of the connection.
    std::vector<Dataset *> allDatasets() const;
    void closeAllDatasets();
    // The nine data sources, through which grids and printed forms reach the datasets.
    std::vector<const DataSource *> dataSources() const;

    // The page shown by the client list and by the goods list; new clients and new
    // catalogue items take their kind from it.
    int clientsPage = 0;
    int nomenklPage = 0;

    // VAT mode of the own requisites: 0 included, 1 added on top, 2 without VAT.
    int vatMode() const;

    // Computes the current document's totals for one kind of form (re-reading its lines
    // first), writes them into the document, which is left in editing state, and moves
    // the lines to the first.
    void computeDocumentTotals(TotalsForm form);

    // Delete the current document with its lines, payments and due date, or the current client
    // with its accounts and grounds, all or nothing: when a step fails the ones before it are taken
    // back, the dataset is read again at the same row, and the error is thrown.
    void deleteDocument();
    void deleteClient();

    FbConnection ZNDB;
    FbTransaction TsnRW{ZNDB};

    UpdateSql UpdRekvizity;
    UpdateSql UpdSchetORG;
    UpdateSql UpdSchets;
    UpdateSql UpdDocs;
    UpdateSql UpdNomenkl;
    UpdateSql UpdClients;
    UpdateSql UpdKNP;
    UpdateSql UpdDetail;
    UpdateSql UpdOsnovanie;

    Dataset *DSetRekvizity;
    Dataset *DSetSchetORG;
    Dataset *DSetDocs;
    Dataset *DSetDetail;
    Dataset *DSetNomenkl;
    Dataset *DSetClients;
    Dataset *DSetSchets;
    Dataset *DSetKNP;
    Dataset *DSetOsnovanie;
    Dataset *DSetKOD;
    Dataset *DSetNumDetail;

    DataSource DSRekvizity;
    DataSource DSSchetORG;
    DataSource DSDocs;
    DataSource DSDetail;
    DataSource DSClients;
    DataSource DSSchets;
    DataSource DSOsnovanie;
    DataSource DSNomenkl;
    DataSource DSKNP;

    // Event handlers of the datasets.
    void DSetRekvizityNewRecord();
    void DSetDocsNewRecord();
    void DSetDetailNewRecord();
    void DSetClientsNewRecord();
    void DSetNomenklNewRecord();
    void DSetSchetORGNewRecord();
    void DSetSchetsNewRecord();
    void DSetOsnovanieNewRecord();
    void DSetDetailCENASHTChange();
    void DSetDetailCalcFields();
    void DSetDocsCalcFields();

private:
    void defineDatasets();
    void wireHandlers();
    QVariant clientTelephone(const QVariant &clientName) const;
    // Reads the telephones of the clients DSetClients lists, the first of each name, whenever
    // that list is opened, closed or posted: a grid asks for them while it paints, where
    // nothing may be fetched.
    void readClientTelephones();

    // Lets go of every statement prepared on the connection, before it goes.
    void releaseStatements();

    QHash<QString, QString> m_clientTelephones;
    // Kept prepared: the telephones are read again whenever the register is refreshed.
    std::unique_ptr<FbStatement> m_telephoneStatement;
    QStringList m_missingProgramParts;
    std::optional<roles::Role> m_role;
};
