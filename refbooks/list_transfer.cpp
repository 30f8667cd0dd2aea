#include "list_transfer.h"

#include "tfrm_import.h"

#include "data/database_location.h"
#include "data/tdm.h"
#include "imports/csv_reader.h"
#include "imports/csv_writer.h"
#include "ui/command.h"
#include "ui/prompt_service.h"

#include <QSaveFile>
#include <QSettings>

#include <memory>

namespace {

std::unique_ptr<QSettings> settingsOf(const RefbookContext &context)
{
    if (!context.settingsFile.isEmpty())
        return std::make_unique<QSettings>(context.settingsFile, QSettings::IniFormat);
    return std::make_unique<QSettings>(database::settingsOrganisation(),
                                       database::settingsApplication());
}

QString mappingKey(ImportTarget target)
{
    return target == ImportTarget::Goods ? QStringLiteral("import/goodsMapping")
                                         : QStringLiteral("import/clientsMapping");
}

} // namespace

void importIntoList(const RefbookContext &context, QWidget *parent, ImportTarget target, int kind)
{
    const QString path =
        context.prompts.chooseFile(parent, QStringLiteral("Импорт"), QString(),
                                   QStringLiteral("Таблицы CSV (*.csv *.txt);;Все файлы (*)"));
    if (path.isEmpty())
        return;
    TableRead read = csv::readFile(path);
    if (!read.ok()) {
        reportError(context.prompts, parent, read.error);
        return;
    }
    const std::unique_ptr<QSettings> settings = settingsOf(context);
    TfrmImport window(context.dm, context.prompts, target, kind, std::move(read.table),
                      settings->value(mappingKey(target)).toString(), parent);
    if (context.runDialog(window) != QDialog::Accepted)
        return;
    settings->setValue(mappingKey(target), window.mappingText());
    context.prompts.inform(parent, QStringLiteral("Импорт выполнен: добавлено %1, обновлено %2, "
                                                  "пропущено %3, с ошибками %4.")
                                       .arg(window.plan().added)
                                       .arg(window.plan().updated)
                                       .arg(window.plan().skipped)
                                       .arg(window.plan().failed));
}

void exportList(const RefbookContext &context, QWidget *parent, ImportTarget target, int kind)
{
    const QString suggested = (target == ImportTarget::Goods ? QStringLiteral("Товары и услуги - ")
                                                             : QStringLiteral("Клиенты - ")) +
                              kindCaptions(target).value(kind) + QStringLiteral(".csv");
    const QString path = context.prompts.chooseSaveFile(
        parent, QStringLiteral("Экспорт"), suggested, QStringLiteral("Таблицы CSV (*.csv)"));
    if (path.isEmpty())
        return;
    const QByteArray csv = exportCsv(context.dm.TsnRW, target, kind);
    // Written whole or not at all: a full disk never leaves half a list behind.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(csv) != csv.size() || !file.commit()) {
        reportError(
            context.prompts, parent,
            QStringLiteral("Не удалось записать файл %1: %2").arg(path, file.errorString()));
    }
}
