#include "template_loader.h"

#include "report/property_values.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QXmlStreamReader>

#include <functional>

static void initTemplateResources()
{
    Q_INIT_RESOURCE(templates);
}

namespace ztemplates {

using namespace zreport;

namespace {

struct LoadError {
    QString reason;
};

std::unique_ptr<TfrxBand> makeBand(QStringView className)
{
    if (className == u"TfrxReportTitle")
        return std::make_unique<TfrxReportTitle>();
    if (className == u"TfrxHeader")
        return std::make_unique<TfrxHeader>();
    if (className == u"TfrxMasterData")
        return std::make_unique<TfrxMasterData>();
    if (className == u"TfrxFooter")
        return std::make_unique<TfrxFooter>();
    if (className == u"TfrxPageFooter")
        return std::make_unique<TfrxPageFooter>();
    return nullptr;
}

class Loader {
public:
    explicit Loader(QIODevice &device) : m_xml(&device) {}

    std::unique_ptr<TfrxReport> load()
    {
        while (m_xml.readNext() != QXmlStreamReader::StartElement) {
            if (m_xml.atEnd())
                throw LoadError{m_xml.hasError() ? m_xml.errorString()
                                                 : QStringLiteral("файл пуст")};
        }
        if (m_xml.name() != u"TfrxReport")
            throw LoadError{QStringLiteral("корневой элемент должен быть TfrxReport, а не %1")
                                .arg(m_xml.name())};
        auto report = std::make_unique<TfrxReport>();
        applyAttributes(*report);
        readReportChildren(*report);
        while (!m_xml.atEnd()) {
            if (m_xml.readNext() == QXmlStreamReader::StartElement)
                throw LoadError{QStringLiteral("после TfrxReport ничего не должно быть")};
        }
        if (m_xml.hasError())
            throw LoadError{m_xml.errorString()};
        report->resolveReferences();
        return report;
    }

    QString place() const
    {
        return QStringLiteral("%1:%2").arg(m_xml.lineNumber()).arg(m_xml.columnNumber());
    }

private:
    void applyAttributes(TfrxComponent &component)
    {
        for (const QXmlStreamAttribute &attribute : m_xml.attributes()) {
            QString reason;
            const QString name = attribute.name().toString();
            if (!component.setProperty(name, attribute.value().toString(), &reason))
                throw LoadError{reason};
        }
        if (component.name.isEmpty())
            throw LoadError{
                QStringLiteral("у объекта %1 нет имени (Name)").arg(component.className())};
        if (m_names.contains(component.name.toLower()))
            throw LoadError{
                QStringLiteral("имя %1 уже занято другим объектом").arg(component.name)};
        m_names.insert(component.name.toLower());
    }

    // Reads child elements until the current element ends.
    void forEachChild(const std::function<void()> &onChild)
    {
        while (!m_xml.atEnd()) {
            const QXmlStreamReader::TokenType token = m_xml.readNext();
            if (token == QXmlStreamReader::EndElement)
                return;
            if (token == QXmlStreamReader::StartElement) {
                onChild();
                continue;
            }
            if (token == QXmlStreamReader::Characters && !m_xml.isWhitespace())
                throw LoadError{QStringLiteral("текст вне свойства: «%1»").arg(m_xml.text())};
        }
        if (m_xml.hasError())
            throw LoadError{m_xml.errorString()};
    }

    void noAttributes()
    {
        if (!m_xml.attributes().isEmpty())
            throw LoadError{QStringLiteral("у элемента %1 не бывает атрибутов").arg(m_xml.name())};
    }

    QStringList readLines()
    {
        noAttributes();
        QStringList lines;
        forEachChild([&] {
            if (m_xml.name() != u"Line")
                throw LoadError{QStringLiteral("ожидается Line, а не %1").arg(m_xml.name())};
            noAttributes();
            lines << m_xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
            if (m_xml.hasError())
                throw LoadError{m_xml.errorString()};
        });
        return lines;
    }

    void readReportChildren(TfrxReport &report)
    {
        forEachChild([&] {
            const QStringView element = m_xml.name();
            if (element == u"ScriptText") {
                report.scriptText = readLines();
            } else if (element == u"Datasets") {
                noAttributes();
                forEachChild([&] { readDatasetItem(report); });
            } else if (element == u"TfrxDBDataset") {
                auto dataset = std::make_unique<TfrxDBDataset>();
                applyAttributes(*dataset);
                if (dataset->userName.isEmpty())
                    throw LoadError{QStringLiteral("Неверное значение свойства UserName")};
                forEachChild([&] { throw unexpected(QStringLiteral("TfrxDBDataset")); });
                report.windowDatasets.push_back(std::move(dataset));
            } else if (element == u"TfrxDataPage") {
                auto page = std::make_unique<TfrxDataPage>();
                applyAttributes(*page);
                forEachChild([&] { throw unexpected(QStringLiteral("TfrxDataPage")); });
                page->parent = &report;
                report.pages.push_back(std::move(page));
            } else if (element == u"TfrxReportPage") {
                auto page = std::make_unique<TfrxReportPage>();
                applyAttributes(*page);
                page->parent = &report;
                readPageChildren(*page);
                report.pages.push_back(std::move(page));
            } else {
                throw unexpected(QStringLiteral("TfrxReport"));
            }
        });
    }

    void readDatasetItem(TfrxReport &report)
    {
        if (m_xml.name() != u"Item")
            throw LoadError{QStringLiteral("ожидается Item, а не %1").arg(m_xml.name())};
        DatasetItem item;
        for (const QXmlStreamAttribute &attribute : m_xml.attributes()) {
            if (attribute.name() == u"DataSet")
                item.dataSetRef = attribute.value().toString();
            else if (attribute.name() == u"DataSetName")
                item.dataSetName = attribute.value().toString();
            else
                throw LoadError{unknownPropertyMessage(attribute.name().toString(),
                                                       QStringLiteral("Datasets.Item"))};
        }
        forEachChild([&] { throw unexpected(QStringLiteral("Item")); });
        report.datasets.push_back(item);
    }

    void readPageChildren(TfrxReportPage &page)
    {
        forEachChild([&] {
            auto band = makeBand(m_xml.name());
            if (!band)
                throw unexpected(QStringLiteral("TfrxReportPage"));
            applyAttributes(*band);
            band->parent = &page;
            readBandChildren(*band);
            page.bands.push_back(std::move(band));
        });
    }

    void readBandChildren(TfrxBand &band)
    {
        forEachChild([&] {
            if (m_xml.name() == u"TfrxPictureView") {
                auto picture = std::make_unique<TfrxPictureView>();
                applyAttributes(*picture);
                picture->parent = &band;
                forEachChild([&] { throw unexpected(QStringLiteral("TfrxPictureView")); });
                band.objects.push_back(std::move(picture));
                return;
            }
            if (m_xml.name() != u"TfrxMemoView")
                throw unexpected(band.className());
            auto memo = std::make_unique<TfrxMemoView>();
            applyAttributes(*memo);
            memo->parent = &band;
            forEachChild([&] {
                if (m_xml.name() != u"Memo")
                    throw unexpected(QStringLiteral("TfrxMemoView"));
                memo->memo = readLines();
            });
            band.objects.push_back(std::move(memo));
        });
    }

    LoadError unexpected(const QString &parentClass) const
    {
        static const QSet<QString> known{"TfrxReport",
                                         "TfrxReportPage",
                                         "TfrxDataPage",
                                         "TfrxDBDataset",
                                         "TfrxMemoView",
                                         "TfrxReportTitle",
                                         "TfrxPictureView",
                                         "TfrxHeader",
                                         "TfrxMasterData",
                                         "TfrxFooter",
                                         "TfrxPageFooter",
                                         "ScriptText",
                                         "Datasets",
                                         "Memo",
                                         "Line",
                                         "Item"};
        const QString name = m_xml.name().toString();
        if (!known.contains(name))
            return LoadError{QStringLiteral("неизвестный класс %1").arg(name)};
        return LoadError{QStringLiteral("%1 не может стоять внутри %2").arg(name, parentClass)};
    }

    QXmlStreamReader m_xml;
    QSet<QString> m_names;
};

} // namespace

std::unique_ptr<TfrxReport> loadTemplate(QIODevice &device, const QString &fileName, QString *error)
{
    Loader loader(device);
    try {
        return loader.load();
    } catch (const LoadError &failure) {
        if (error)
            *error = QStringLiteral("%1:%2: %3").arg(fileName, loader.place(), failure.reason);
    }
    return nullptr;
}

std::unique_ptr<TfrxReport> loadTemplateFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return nullptr;
    }
    return loadTemplate(file, path, error);
}

static QString builtinDirectory()
{
    static const bool initialised = [] {
        initTemplateResources();
        return true;
    }();
    Q_UNUSED(initialised);
    return QStringLiteral(":/templates/reports");
}

QStringList builtinTemplateNames()
{
    QStringList names;
    for (const QString &file :
         QDir(builtinDirectory()).entryList({"*.xml"}, QDir::Files, QDir::Name))
        names << file.chopped(4);
    return names;
}

static QString builtinPath(const QString &name)
{
    return builtinDirectory() + QLatin1Char('/') + name + QStringLiteral(".xml");
}

std::unique_ptr<TfrxReport> loadBuiltinTemplate(const QString &name, QString *error)
{
    if (!builtinTemplateNames().contains(name)) {
        if (error)
            *error = QStringLiteral("Нет встроенного шаблона %1").arg(name);
        return nullptr;
    }
    return loadTemplateFile(builtinPath(name), error);
}

QByteArray builtinTemplateBody(const QString &name)
{
    if (!builtinTemplateNames().contains(name))
        return {};
    QFile file(builtinPath(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace ztemplates
