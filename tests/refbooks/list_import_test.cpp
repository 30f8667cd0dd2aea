// "Импорт..." and "Экспорт..." of the goods and the clients lists, driven as the user does:
// the file chosen, the import window's summary read, its choices made, the list looked at.
#include "data/fb_statement.h"
#include "data_module_test.h"
#include "refbooks/tfrm_nomenkl.h"
#include "refbooks/tfrm_org.h"
#include "scripted_prompts.h"
#include "ui/application_title.h"
#include "window_driver.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTemporaryDir>

namespace {

QString s(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

class ListImport : public DataModuleTest {
protected:
    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        const QString path = folder.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    // The import window is answered by inImport, then closed as its buttons left it.
    RefbookContext context()
    {
        RefbookContext c{dm, prompts, execDialog, {}};
        c.runDialog = [this](QDialog &dialog) {
            if (inImport)
                inImport(dialog);
            return dialog.result();
        };
        c.settingsFile = folder.filePath(QStringLiteral("zarnik.conf"));
        return c;
    }

    QTemporaryDir folder;
    ScriptedPrompts prompts;
    QString chosenFile;
    std::function<void(QDialog &)> inImport;
};

TEST_F(ListImport, APriceListComesInWithTheSummaryFirstAndGoesOutAgain)
{
    chosenFile =
        writeFile(QStringLiteral("prices.csv"), "\xEF\xBB\xBFТовар;Ед.;Цена за единицу;Склад\n"
                                                "Гвозди;кг;\"1 250,50\";10\n"
                                                "Болты;шт;12а;1\n"
                                                ";шт;1;1\n"
                                                "Шурупы;шт;3,5;\n");
    TfrmNomenkl list(context());
    list.setActiveTab(1); // "Услуги": rows without a kind column take the tab's
    inImport = [](QDialog &window) {
        EXPECT_EQ(child<QLabel>(window, "lblSummary")->text(),
                  s("Будет добавлено 2, обновлено 0, пропущено 0, с ошибками 2"));
        EXPECT_EQ(child<QPlainTextEdit>(window, "edErrors")->toPlainText(),
                  s("Строка 3, «Стоимость»: «12а» — не число\n"
                    "Строка 4, «Наименование»: пустое значение, строка не импортируется"));
        EXPECT_EQ(child<QComboBox>(window, "cmbCENA")->currentText(), s("3: Цена за единицу"));
        click(window, "btnImport");
    };
    prompts.expectFile(s("Импорт"), chosenFile);
    prompts.expectInform(
        s("Импорт выполнен: добавлено 2, обновлено 0, пропущено 0, с ошибками 2."));
    click(list, "btnImport");
    prompts.verify();
    EXPECT_EQ(columnTexts(*dm.DSetNomenkl, QStringLiteral("NAME")),
              (QStringList{s("Гвозди"), s("Шурупы")}));

    prompts.expectSaveFile(s("Экспорт"), s("Товары и услуги - Услуги.csv"),
                           folder.filePath(QStringLiteral("export.csv")));
    click(list, "btnExport");
    prompts.verify();
    QFile exported(folder.filePath(QStringLiteral("export.csv")));
    ASSERT_TRUE(exported.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(exported.readAll()),
              s("\uFEFFНаименование;Единица измерения;Стоимость;Остаток\r\n"
                "Гвозди;кг;1250,5;10\r\nШурупы;шт;3,5;\r\n"));
}

TEST_F(ListImport, TheLastMappingAndTheDuplicateChoiceApply)
{
    chosenFile = writeFile(QStringLiteral("clients.csv"),
                           "Клиент;Кто звонит;Тел.\nТОО Альфа;Иванов;+7 701 000 00 00\n");
    TfrmOrg list(context());
    // The phone is in an unusual column the first time: the user points at it.
    inImport = [](QDialog &window) {
        EXPECT_EQ(child<QComboBox>(window, "cmbTEL")->currentIndex(), 3);
        child<QComboBox>(window, "cmbTEL")->setCurrentIndex(2);
        click(window, "btnImport");
    };
    prompts.expectFile(s("Импорт"), chosenFile);
    prompts.expectInform(
        s("Импорт выполнен: добавлено 1, обновлено 0, пропущено 0, с ошибками 0."));
    click(list, "btnImport");
    prompts.verify();
    EXPECT_EQ(columnTexts(*dm.DSetClients, QStringLiteral("TEL")), QStringList{s("Иванов")});

    inImport = [](QDialog &window) {
        EXPECT_EQ(child<QComboBox>(window, "cmbTEL")->currentIndex(), 2); // remembered
        child<QComboBox>(window, "cmbTEL")->setCurrentIndex(3);
        child<QRadioButton>(window, "rbUpdate")->setChecked(true);
        EXPECT_EQ(child<QLabel>(window, "lblSummary")->text(),
                  s("Будет добавлено 0, обновлено 1, пропущено 0, с ошибками 0"));
        click(window, "btnImport");
    };
    prompts.expectFile(s("Импорт"), chosenFile);
    prompts.expectInform(
        s("Импорт выполнен: добавлено 0, обновлено 1, пропущено 0, с ошибками 0."));
    click(list, "btnImport");
    prompts.verify();
    EXPECT_EQ(columnTexts(*dm.DSetClients, QStringLiteral("TEL")),
              QStringList{s("+7 701 000 00 00")});
}

TEST_F(ListImport, AFileThatIsNotATableIsRefusedAndNothingOpens)
{
    chosenFile = writeFile(QStringLiteral("photo.csv"), QByteArray("\x89PNG\r\n\x1A\n\0\0", 10));
    TfrmNomenkl list(context());
    inImport = [](QDialog &) { ADD_FAILURE() << "the import window opened"; };
    prompts.expectFile(s("Импорт"), chosenFile);
    prompts.expectError(s("Файл не похож на таблицу CSV: в нём есть двоичные данные. Сохраните "
                          "таблицу как CSV."),
                        applicationTitle());
    click(list, "btnImport");
    prompts.verify();
    EXPECT_TRUE(dm.DSetNomenkl->isEmpty());
}

TEST_F(ListImport, CancelledBeforeWritingChangesNothing)
{
    chosenFile = writeFile(QStringLiteral("prices.csv"), "Наименование\nГвозди\n");
    TfrmNomenkl list(context());
    inImport = [](QDialog &window) { click(window, "btnCancel"); };
    prompts.expectFile(s("Импорт"), chosenFile);
    click(list, "btnImport");
    prompts.verify();
    EXPECT_TRUE(dm.DSetNomenkl->isEmpty());
}

} // namespace
