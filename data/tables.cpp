#include "tables.h"

namespace {

ColumnDef key()
{
    return {QStringLiteral("KOD"), FieldType::Integer, 0, true};
}
ColumnDef integer(const char *name, bool notNull = false)
{
    return {QString::fromLatin1(name), FieldType::Integer, 0, notNull};
}
ColumnDef smallint(const char *name)
{
    return {QString::fromLatin1(name), FieldType::SmallInt};
}
ColumnDef real(const char *name)
{
    return {QString::fromLatin1(name), FieldType::Float};
}
ColumnDef date(const char *name)
{
    return {QString::fromLatin1(name), FieldType::DateTime};
}
ColumnDef text(const char *name, int size = 256)
{
    return {QString::fromLatin1(name), FieldType::Text, size};
}

} // namespace

QStringList TableDef::columnNames() const
{
    QStringList names;
    for (const ColumnDef &c : columns)
        names << c.name;
    return names;
}

const ColumnDef *TableDef::column(const QString &columnName) const
{
    for (const ColumnDef &c : columns) {
        if (c.name.compare(columnName, Qt::CaseInsensitive) == 0)
            return &c;
    }
    return nullptr;
}

const TableDef &docsTable()
{
    static const TableDef table{QStringLiteral("DOCS"),
                                {key(),
                                 smallint("KODARCHIV"),
                                 text("NAMEORG"),
                                 text("KBE"),
                                 text("RNN"),
                                 text("BINIIN"),
                                 text("ADRES"),
                                 text("IIK"),
                                 text("BANK"),
                                 text("BIK"),
                                 text("OSNOVANIE"),
                                 text("KNP"),
                                 date("DATASCH"),
                                 date("DATASCHF"),
                                 date("DATAACT"),
                                 date("DATANAKL"),
                                 date("DATAPRIX"),
                                 date("DATADOV"),
                                 date("DATAPLAT"),
                                 integer("NUMSCH"),
                                 integer("NUMSCHF"),
                                 integer("NUMACT"),
                                 integer("NUMNAKL"),
                                 integer("NUMPRIX"),
                                 integer("NUMDOV"),
                                 integer("NUMPLAT"),
                                 text("USLOVOPLATY"),
                                 text("PUNKTNAZN"),
                                 text("PODOVER"),
                                 text("SPOSOBOTPR"),
                                 text("NAKL"),
                                 real("STNDS"),
                                 real("STREALIZSUM"),
                                 real("SUMBEZNDS"),
                                 real("VTNDS"),
                                 text("SUMPROPIS", 1024),
                                 smallint("SUMTOV"),
                                 date("DEISTVDO"),
                                 text("KOMU"),
                                 text("PASPVYD"),
                                 text("NUM_DATANARYAD")}};
    return table;
}

const TableDef &detailDocsTable()
{
    static const TableDef table{QStringLiteral("DETAILDOCS"),
                                {key(), integer("KODDOCS", true), smallint("NUM"), text("NAME"),
                                 text("EDIZM"), real("KOLVO"), real("CENASHT"),
                                 real("CENASUMBEZNDS"), real("STNDS"), real("SUMNDS"),
                                 real("STREALIZ"), real("STAKCIZ"), real("SUMAKCIZ")}};
    return table;
}

const TableDef &clientsTable()
{
    static const TableDef table{QStringLiteral("CLIENTS"),
                                {key(), smallint("TIP"), text("NAMEORG"), text("KBE"), text("RNN"),
                                 text("BINIIN"), text("ADRES"), text("IIK"), text("BANK"),
                                 text("BIK"), text("TEL")}};
    return table;
}

const TableDef &rasschetTable()
{
    static const TableDef table{
        QStringLiteral("RASSCHET"),
        {key(), integer("KODORG", true), text("IIK"), text("BANK"), text("BIK")}};
    return table;
}

const TableDef &osnovanieTable()
{
    static const TableDef table{QStringLiteral("OSNOVANIE"),
                                {key(), integer("KODORG", true), text("OSNOVANIE")}};
    return table;
}

const TableDef &nomenklaturaTable()
{
    static const TableDef table{
        QStringLiteral("NOMENKLOTURA"),
        {key(), smallint("TIP"), text("NAME"), text("EDIZM"), real("CENA"), real("OSTATOK")}};
    return table;
}

const TableDef &knpTable()
{
    static const TableDef table{QStringLiteral("KNP"), {key(), text("KNP"), text("NAME")}};
    return table;
}

const TableDef &rekvizityTable()
{
    static const TableDef table{
        QStringLiteral("REKVIZITY"),
        {key(), text("NAMEORG"), text("NAMEPODR"), text("NAMESKLAD"), text("RNN"), text("ADRES"),
         text("RUK"), text("GLBUX"), text("KBE"), text("BINIIN"), smallint("NUMSTART"), text("IIK"),
         text("BANK"), text("BIK"), real("STNDS"), smallint("VARRASCHET"), text("TEL")}};
    return table;
}

const std::vector<const TableDef *> &allTables()
{
    static const std::vector<const TableDef *> tables{
        &docsTable(),      &detailDocsTable(),   &clientsTable(), &rasschetTable(),
        &osnovanieTable(), &nomenklaturaTable(), &knpTable(),     &rekvizityTable()};
    return tables;
}
