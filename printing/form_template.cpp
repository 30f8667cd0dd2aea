#include "form_template.h"

#include "data/business_templates.h"
#include "data/db_error.h"
#include "data/tdm.h"
#include "templates/template_loader.h"
#include "templates/template_titles.h"

#include <QBuffer>
#include <QFile>

#include <optional>

namespace {

std::unique_ptr<zreport::TfrxReport> loadBody(const QByteArray &body, const QString &fileName,
                                              QString *error)
{
    QBuffer buffer;
    buffer.setData(body);
    buffer.open(QIODevice::ReadOnly);
    return ztemplates::loadTemplate(buffer, fileName, error);
}

// The data module's transaction reads committed changes, so it sees another computer's version
// as soon as that was saved, without a transaction of its own for each print.
FbTransaction &readingTransaction(TDM &dm)
{
    if (!dm.TsnRW.isActive())
        dm.TsnRW.start();
    return dm.TsnRW;
}

} // namespace

FormTemplate loadFormTemplate(TDM &dm, const QString &name)
{
    FormTemplate result;
    QString problem;
    try {
        if (const std::optional<QByteArray> stored =
                business_templates::body(readingTransaction(dm), name))
            result.report = loadBody(*stored, name, &problem);
    } catch (const DbError &e) {
        // A value too large to be a template; the engine's own errors (a lost connection)
        // stop the print as every other database error does.
        if (!e.engineCodes().empty())
            throw;
        problem = e.message();
    }
    if (result.report) {
        // The form is known by the name it is kept under, whatever name an imported file gave
        // it: the designer saves it back under this one.
        result.report->name = name;
        return result;
    }
    if (!problem.isEmpty())
        result.warning = QStringLiteral("Бланк «%1» из базы данных не загружается (%2); "
                                        "напечатан стандартный бланк.")
                             .arg(ztemplates::builtinTemplateTitle(name), problem);
    result.report = ztemplates::loadBuiltinTemplate(name, &result.error);
    return result;
}

QString templateBodyProblem(const QByteArray &body, const QString &fileName)
{
    if (body.size() > business_templates::kMaxBytes)
        return QStringLiteral("%1: больше %2 байт, шаблоны не бывают такими большими")
            .arg(fileName)
            .arg(business_templates::kMaxBytes);
    QString error;
    if (!loadBody(body, fileName, &error))
        return error;
    return {};
}

QByteArray formTemplateBody(TDM &dm, const QString &name, bool *own)
{
    const std::optional<QByteArray> stored = business_templates::body(readingTransaction(dm), name);
    if (own)
        *own = stored.has_value();
    return stored ? *stored : ztemplates::builtinTemplateBody(name);
}

std::optional<QByteArray> readTemplateFile(const QString &path, QString *problem)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *problem = QStringLiteral("%1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    // One byte more than may be kept tells a file too large from one just large enough.
    const QByteArray body = file.read(business_templates::kMaxBytes + 1);
    *problem = templateBodyProblem(body, path);
    if (!problem->isEmpty())
        return std::nullopt;
    return body;
}

QString storeFormTemplate(TDM &dm, const QString &name, const QByteArray &body)
{
    if (const QString problem = templateBodyProblem(body, name); !problem.isEmpty())
        return problem;
    try {
        FbTransaction transaction(dm.ZNDB);
        transaction.start();
        business_templates::store(transaction, name, body);
        transaction.commit();
    } catch (const DbError &e) {
        return e.message();
    }
    return {};
}
