// "Бланки документов": the list of forms with those the business changed, and importing,
// exporting and restoring a form through it, driven as the user does.
#include "app/form_templates_dialog.h"
#include "app/template_designer_command.h"
#include "changed_invoice.h"
#include "data/business_templates.h"
#include "printing/form_template.h"
#include "report/designer/designer_window.h"
#include "window_driver.h"
#include "window_test.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

const QString kCaption = QStringLiteral("Бланки документов");

class FormTemplates : public WindowTest {
protected:
    FormTemplates() : WindowTest(TempDatabase::Demo) {}

    void openDialog(FormTemplatesDialog::OpenDesigner designer = {})
    {
        dialog = std::make_unique<FormTemplatesDialog>(dm, prompts, std::move(designer));
        grid = child<QTableWidget>(*dialog, "gridForms");
    }

    // Chooses the row of the template name, as the user clicks it.
    void choose(const QString &name)
    {
        for (int row = 0; row < grid->rowCount(); ++row) {
            if (grid->item(row, 1)->text() == name) {
                grid->selectRow(row);
                return;
            }
        }
        ADD_FAILURE() << "no row of " << name.toStdString();
    }

    // The "Изменен" column of the template name's row.
    QString changedOf(const QString &name)
    {
        for (int row = 0; row < grid->rowCount(); ++row) {
            if (grid->item(row, 1)->text() == name)
                return grid->item(row, 2)->text();
        }
        return QStringLiteral("no row");
    }

    bool stored(const QString &name)
    {
        if (!dm.TsnRW.isActive())
            dm.TsnRW.start();
        return business_templates::body(dm.TsnRW, name).has_value();
    }

    QString file(const char *name) const { return db.folder() + u'/' + QLatin1String(name); }

    std::unique_ptr<FormTemplatesDialog> dialog;
    QTableWidget *grid = nullptr;
};

TEST_F(FormTemplates, ImportedFormIsListedAsChangedAndRestoringItRemovesIt)
{
    openDialog();
    ASSERT_EQ(grid->rowCount(), 15);
    EXPECT_EQ(grid->item(0, 0)->text(), QStringLiteral("Акт выполненных работ (книжный)"));
    choose(QStringLiteral("repSchet"));
    EXPECT_FALSE(child<QPushButton>(*dialog, "btnReset")->isEnabled());

    QFile changed(file("schet.xml"));
    ASSERT_TRUE(changed.open(QIODevice::WriteOnly));
    changed.write(changedInvoice());
    changed.close();
    prompts.expectFile(QStringLiteral("Импорт бланка"), changed.fileName());
    click(*dialog, "btnImport");
    EXPECT_TRUE(stored(QStringLiteral("repSchet")));
    EXPECT_FALSE(changedOf(QStringLiteral("repSchet")).isEmpty());
    EXPECT_TRUE(changedOf(QStringLiteral("repSchF")).isEmpty());

    // The export gives the form as it prints now: the business's version.
    prompts.expectSaveFile(QStringLiteral("Экспорт бланка"), QStringLiteral("repSchet.xml"),
                           file("out.xml"));
    click(*dialog, "btnExport");
    QFile exported(file("out.xml"));
    ASSERT_TRUE(exported.open(QIODevice::ReadOnly));
    EXPECT_EQ(exported.readAll(), changedInvoice());

    ASSERT_TRUE(child<QPushButton>(*dialog, "btnReset")->isEnabled());
    const QString question = QStringLiteral("Восстановить стандартный бланк «Счет на оплату»? "
                                            "Измененный бланк будет удален из базы данных.");
    prompts.expectConfirm(question, false);
    click(*dialog, "btnReset");
    EXPECT_TRUE(stored(QStringLiteral("repSchet")));
    prompts.expectConfirm(question, true);
    click(*dialog, "btnReset");
    EXPECT_FALSE(stored(QStringLiteral("repSchet")));
    EXPECT_TRUE(changedOf(QStringLiteral("repSchet")).isEmpty());
    EXPECT_FALSE(child<QPushButton>(*dialog, "btnReset")->isEnabled());
}

TEST_F(FormTemplates, AFileThatIsNotATemplateIsRefusedWithItsPlaceAndNothingIsStored)
{
    openDialog();
    choose(QStringLiteral("repDov"));
    QFile broken(file("broken.xml"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("<TfrxReport Name=\"repDov\">\n  <TfrxShape/>\n</TfrxReport>\n");
    broken.close();
    prompts.expectFile(QStringLiteral("Импорт бланка"), broken.fileName());
    prompts.expectError(QStringLiteral("Файл не загружен как бланк «Доверенность»:\n%1:2:14: "
                                       "неизвестный класс TfrxShape")
                            .arg(broken.fileName()),
                        kCaption);
    click(*dialog, "btnImport");
    EXPECT_FALSE(stored(QStringLiteral("repDov")));
}

TEST_F(FormTemplates, EditOpensTheDesignerOnTheChosenFormAndShowsWhatItSaved)
{
    openDialog();
    EXPECT_FALSE(child<QPushButton>(*dialog, "btnEdit")->isEnabled()); // no designer given

    QStringList opened;
    openDialog([&](const QString &name) {
        opened << name;
        FbTransaction transaction(dm.ZNDB);
        transaction.start();
        business_templates::store(transaction, name, changedInvoice());
        transaction.commit();
    });
    choose(QStringLiteral("repSchet"));
    click(*dialog, "btnEdit");
    EXPECT_EQ(opened, QStringList{QStringLiteral("repSchet")});
    EXPECT_FALSE(changedOf(QStringLiteral("repSchet")).isEmpty());
}

// The program's own path: the designer on the form as the business prints it, a line added
// under the total and saved, and the next print uses it.
TEST_F(FormTemplates, TheDesignerSavesALineThatTheNextPrintHas)
{
    const QString line = QStringLiteral("Товар получен в полном объеме, претензий не имею");
    bool designed = false;
    QTimer::singleShot(0, [&] {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            auto *designer = qobject_cast<zdesigner::DesignerWindow *>(window);
            if (!designer || !designer->isVisible())
                continue;
            designed = true;
            auto memo = std::make_unique<zreport::TfrxMemoView>();
            memo->memo = QStringList{line};
            memo->width = 300;
            memo->height = 20;
            designer->addObject(std::move(memo));
            EXPECT_TRUE(designer->save());
            designer->reject();
        }
    });
    openFormDesigner(nullptr, dm, prompts, QStringLiteral("repSchet"),
                     zpreview::PreviewHooks::standard());
    ASSERT_TRUE(designed);
    EXPECT_TRUE(stored(QStringLiteral("repSchet")));
    const FormTemplate printed = loadFormTemplate(dm, QStringLiteral("repSchet"));
    ASSERT_TRUE(printed.report);
    EXPECT_TRUE(printed.warning.isEmpty()) << printed.warning.toStdString();
    EXPECT_TRUE(QString::fromUtf8(formTemplateBody(dm, QStringLiteral("repSchet"))).contains(line));
}

} // namespace
