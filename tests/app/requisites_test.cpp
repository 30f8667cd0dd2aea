#include "app/tfrm_main.h"
#include "core/work_session.h"
#include "data/business_images.h"
#include "data/fb_statement.h"
#include "data/tdm.h"
#include "encoded_image.h"
#include "images/business_image.h"
#include "refbooks/tfrm_const.h"
#include "scoped_locale.h"
#include "scripted_prompts.h"
#include "temp_database.h"
#include "ui/application_title.h"
#include "ui/db_grid.h"
#include "ui/id_marks.h"
#include "ui/radio_group.h"
#include "window_driver.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

const QString kEmptyTable = QStringLiteral("Таблица пуста. Невозможно удалить!");
const QString kDeleteQuestion = QStringLiteral("Вы действительно хотите удалить выдленную запись?");
const QString kStartOutOfRange =
    QStringLiteral("Значение 99999 поля «Номер с которого вести отсчет» вне допустимого "
                   "диапазона: допустимы целые числа от -32768 до 32767.");

// Saves a picture of the window when ZARNIK_SCREENSHOTS names a folder, to look at.
void keepPicture(QWidget &window, const QString &name)
{
    const QString folder = qEnvironmentVariable("ZARNIK_SCREENSHOTS");
    if (!folder.isEmpty())
        window.grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

// The requisites window, opened from the register's "Реквизиты" as the user opens it; each
// test fills it in through its controls and closes it with one of its buttons.
class Requisites : public ::testing::Test {
protected:
    explicit Requisites(TempDatabase::Content content = TempDatabase::Demo) : db(content) {}

    void SetUp() override
    {
        dm.DataModuleCreate(db.path());
        window = std::make_unique<TfrmMain>(session, prompts);
        window->show();
    }
    void TearDown() override { window.reset(); }

    // Opens the requisites window, lets fill work in it, and runs the register's refresh.
    void openRequisites(const std::function<void(TfrmConst &)> &fill)
    {
        bool opened = false;
        window->setDialogRunner([&](QDialog &dialog) {
            auto *requisites = qobject_cast<TfrmConst *>(&dialog);
            EXPECT_TRUE(requisites);
            opened = true;
            requisites->show();
            fill(*requisites);
            return requisites->result();
        });
        click(*window, "btnRekviz");
        EXPECT_TRUE(opened);
    }

    // A stored value, read through a connection of its own.
    QVariant stored(const QString &sql)
    {
        TDM reader;
        reader.DataModuleCreate(db.path());
        FbTransaction &transaction = reader.TsnRW;
        transaction.start();
        return FbStatement::scalar(transaction, sql);
    }

    TempDatabase db;
    TDM dm;
    WorkSession session{dm};
    ScriptedPrompts prompts;
    std::unique_ptr<TfrmMain> window;

private:
    ScopedLocale m_locale{QLocale(QLocale::Russian, QLocale::Kazakhstan)};
};

class EmptyRequisites : public Requisites {
protected:
    EmptyRequisites() : Requisites(TempDatabase::Empty) {}
};

TEST_F(Requisites, OkStoresTheChangesAndTheCaptionShowsTheNewName)
{
    openRequisites([](TfrmConst &w) {
        EXPECT_EQ(child<QLineEdit>(w, "edNAMEORG")->text(),
                  QStringLiteral("ТОО «Алтын Дала Трейд»"));
        typeInto(w, "edNAMEORG", QStringLiteral("ТОО \"Жаңа\" 'Береке' Құрылыс-Өнім"));
        typeInto(w, "edNUMSTART", QStringLiteral("100"));
        typeInto(w, "edSTNDS", QStringLiteral("12,5"));
        click(w, "btnClose");
        EXPECT_EQ(w.result(), QDialog::Accepted);
    });
    EXPECT_EQ(window->windowTitle(),
              QStringLiteral("ТОО \"Жаңа\" 'Береке' Құрылыс-Өнім Zarnik 1.2"));
    EXPECT_EQ(stored(QStringLiteral("select NAMEORG from REKVIZITY")).toString(),
              QStringLiteral("ТОО \"Жаңа\" 'Береке' Құрылыс-Өнім"));
    EXPECT_EQ(stored(QStringLiteral("select NUMSTART from REKVIZITY")).toInt(), 100);
    EXPECT_EQ(stored(QStringLiteral("select STNDS from REKVIZITY")).toDouble(), 12.5);
}

TEST_F(Requisites, PaymentTermDaysStartAtTenAndOkStoresThem)
{
    openRequisites([](TfrmConst &w) {
        auto *days = child<QSpinBox>(w, "edSrokOplaty");
        EXPECT_EQ(days->value(), 10);
        days->setValue(30);
        click(w, "btnClose");
        EXPECT_EQ(w.result(), QDialog::Accepted);
    });
    EXPECT_EQ(stored(QStringLiteral("select VAL from SETTINGS where NAME = 'SROKOPLATY'")).toInt(),
              30);
    openRequisites([](TfrmConst &w) {
        EXPECT_EQ(child<QSpinBox>(w, "edSrokOplaty")->value(), 30);
        click(w, "BitBtn1");
    });
}

TEST_F(Requisites, CancelDropsTheChangedNameButKeepsAnAddedAccount)
{
    openRequisites([](TfrmConst &w) {
        click(w, "BitBtn3");
        typeInto(w, "edNAMEORG", QStringLiteral("Другое имя"));
        click(w, "BitBtn1");
        EXPECT_EQ(w.result(), QDialog::Rejected);
    });
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ТОО «Алтын Дала Трейд» Zarnik 1.2"));
    EXPECT_EQ(stored(QStringLiteral("select count(*) from RASSCHET where KODORG=0")).toInt(), 3);
}

TEST_F(Requisites, WithoutVatIsStoredAsTwoAndShownSelectedAgain)
{
    openRequisites([](TfrmConst &w) {
        auto *variant = child<RadioGroup>(w, "rgrVarRaschet");
        EXPECT_EQ(variant->itemIndex(), 0);
        variant->button(2)->click();
        click(w, "btnClose");
    });
    EXPECT_EQ(stored(QStringLiteral("select VARRASCHET from REKVIZITY")).toInt(), 2);
    openRequisites([](TfrmConst &w) {
        EXPECT_EQ(child<RadioGroup>(w, "rgrVarRaschet")->itemIndex(), 2);
        EXPECT_TRUE(child<RadioGroup>(w, "rgrVarRaschet")->button(2)->isChecked());
        click(w, "BitBtn1");
    });
}

TEST_F(Requisites, DefaultCopiesTheSelectedAccountIntoTheRequisites)
{
    openRequisites([](TfrmConst &w) {
        clickRow(*child<DbGrid>(w, "DBGrid1"), 1);
        click(w, "Button1");
        EXPECT_EQ(child<QLineEdit>(w, "edIIK")->text(), QStringLiteral("KZ64722S000001234567"));
        click(w, "btnClose");
    });
    EXPECT_EQ(
        stored(QStringLiteral("select IIK || '|' || BANK || '|' || BIK from REKVIZITY")).toString(),
        QStringLiteral("KZ64722S000001234567|АО «Kaspi Bank»|CASPKZKA"));
}

TEST_F(Requisites, DeletingAnAccountAsksFirst)
{
    prompts.expectConfirm(kDeleteQuestion, false);
    prompts.expectConfirm(kDeleteQuestion, true);
    openRequisites([](TfrmConst &w) {
        click(w, "BitBtn2");
        click(w, "BitBtn2");
        click(w, "btnClose");
    });
    EXPECT_EQ(stored(QStringLiteral("select count(*) from RASSCHET where KODORG=0")).toInt(), 1);
}

TEST_F(Requisites, SortingTheAccountsStaysOnTheSelectedOne)
{
    openRequisites([this](TfrmConst &w) {
        auto &grid = *child<DbGrid>(w, "DBGrid1");
        click(w, "BitBtn3");
        Dataset &accounts = *dm.DSetSchetORG;
        const QModelIndex bank = grid.model()->index(accounts.currentIndex(), 1);
        grid.model()->setData(bank, QStringLiteral("Я-Банк"), Qt::EditRole);
        grid.model()->setData(bank.siblingAtColumn(0), QStringLiteral("AA000"), Qt::EditRole);
        clickTitle(grid, 1);
        EXPECT_EQ(columnTexts(accounts, QStringLiteral("BANK")).last(), QStringLiteral("Я-Банк"));
        EXPECT_EQ(accounts.asString(QStringLiteral("IIK")), QStringLiteral("AA000"));
        clickTitle(grid, 0);
        EXPECT_EQ(columnTexts(accounts, QStringLiteral("IIK")).first(), QStringLiteral("AA000"));
        EXPECT_EQ(grid.currentIndex().row(), 0);
        prompts.expectConfirm(QStringLiteral("Проверьте реквизиты:\nСчет: ИИК AA000: ИИК "
                                             "начинается с KZ, а не с «AA»\n\nСохранить всё "
                                             "равно?"),
                              true);
        click(w, "btnClose");
    });
}

TEST_F(Requisites, AWrongOwnBinIsAskedAboutAndAnIikFillsTheClearedBank)
{
    openRequisites([this](TfrmConst &w) {
        typeInto(w, "edBINIIN", QStringLiteral("123"));
        auto *bin = child<QLineEdit>(w, "edBINIIN");
        EXPECT_TRUE(isMarkedWrong(bin));
        EXPECT_EQ(bin->toolTip(), QStringLiteral("нужно 12 цифр, а введено 3"));
        typeInto(w, "edBIK", QString());
        typeInto(w, "edBANK", QString());
        typeInto(w, "edIIK", QStringLiteral("KZ24722S000000686267"));
        EXPECT_EQ(child<QLineEdit>(w, "edBIK")->text(), QStringLiteral("CASPKZKA"));
        EXPECT_EQ(child<QLineEdit>(w, "edBANK")->text(), QStringLiteral("АО «KASPI BANK»"));
        const QString question =
            QStringLiteral("Проверьте реквизиты:\nБИН (ИИН) 123: нужно 12 цифр, а введено 3"
                           "\n\nСохранить всё равно?");
        prompts.expectConfirm(question, false);
        click(w, "btnClose");
        EXPECT_TRUE(w.isVisible());
        EXPECT_EQ(w.focusWidget(), bin);
        prompts.expectConfirm(question, true);
        click(w, "btnClose");
        EXPECT_EQ(w.result(), QDialog::Accepted);
    });
    EXPECT_EQ(stored(QStringLiteral("select BINIIN || '|' || IIK || '|' || BIK || '|' || BANK "
                                    "from REKVIZITY"))
                  .toString(),
              QStringLiteral("123|KZ24722S000000686267|CASPKZKA|АО «KASPI BANK»"));
}

TEST_F(Requisites, TheRateTakesTheFullStopAndTheDesktopsSeparator)
{
    const struct {
        QString typed;
        double stored;
    } cases[] = {{QStringLiteral("12.5"), 12.5}, {QStringLiteral("7,25"), 7.25}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        openRequisites([&](TfrmConst &w) {
            typeInto(w, "edSTNDS", c.typed);
            EXPECT_EQ(child<QLineEdit>(w, "edSTNDS")->text(), c.typed);
            click(w, "btnClose");
        });
        EXPECT_EQ(stored(QStringLiteral("select STNDS from REKVIZITY")).toDouble(), c.stored);
    }
}

TEST_F(Requisites, AStartNumberOutOfRangeIsNamedByItsLabelAndCanBePutRight)
{
    prompts.expectError(kStartOutOfRange, applicationTitle());
    openRequisites([this](TfrmConst &w) {
        typeInto(w, "edNUMSTART", QStringLiteral("99999"));
        click(w, "btnClose");
        EXPECT_TRUE(w.isVisible()) << "the window closed with a refused number";
        EXPECT_EQ(child<QLineEdit>(w, "edNUMSTART")->text(), QStringLiteral("99999"));
        typeInto(w, "edNUMSTART", QStringLiteral("32767"));
        click(w, "btnClose");
        EXPECT_EQ(w.result(), QDialog::Accepted);
    });
    EXPECT_EQ(stored(QStringLiteral("select NUMSTART from REKVIZITY")).toInt(), 32767);
}

TEST_F(Requisites, AccountsShowTheirThreeColumnsWholeAndGrowWithTheWindow)
{
    openRequisites([](TfrmConst &w) {
        EXPECT_EQ(w.size(), QSize(762, 630));
        auto &grid = *child<DbGrid>(w, "DBGrid1");
        const int digit = grid.fontMetrics().horizontalAdvance(QLatin1Char('0'));
        const auto titleWidth = [&](int column) {
            return grid.horizontalHeader()->sectionSizeHint(column);
        };
        auto expectWhole = [&](int bankDigits) {
            EXPECT_EQ(grid.horizontalScrollBar()->maximum(), 0) << "the grid scrolls sideways";
            EXPECT_GE(grid.columnWidth(0), std::max(20 * digit, titleWidth(0)));
            EXPECT_GE(grid.columnWidth(1), std::max(bankDigits * digit, titleWidth(1)));
            EXPECT_GE(grid.columnWidth(2), std::max(18 * digit, titleWidth(2)));
        };
        expectWhole(30);
        // A new account, typed in up to its last column, leaves the first in view.
        click(w, "BitBtn3");
        const QModelIndex bik = grid.model()->index(grid.currentIndex().row(), 2);
        grid.setCurrentIndex(bik);
        grid.scrollTo(bik);
        grid.model()->setData(bik, QStringLiteral("HSBKKZKX"), Qt::EditRole);
        EXPECT_EQ(grid.horizontalScrollBar()->value(), 0);
        EXPECT_EQ(grid.columnViewportPosition(0), 0);

        for (const char *name : {"Button1", "BitBtn3", "BitBtn2", "btnClose", "BitBtn1"}) {
            auto *button = child<QPushButton>(w, name);
            EXPECT_GE(button->width(), button->sizeHint().width()) << name << " is clipped";
        }
        for (const char *name : {"edNAMEORG", "edTEL", "edADRES"})
            EXPECT_GE(child<QLineEdit>(w, name)->width(), w.width() / 3) << name;
        keepPicture(w, QStringLiteral("requisites-762x630"));

        const int narrow = grid.width();
        w.resize(1100, 700);
        QApplication::sendPostedEvents();
        w.layout()->activate();
        EXPECT_GT(grid.width(), narrow + 300);
        expectWhole(45);
        keepPicture(w, QStringLiteral("requisites-1100x700"));
        click(w, "BitBtn1");
    });
}

TEST_F(Requisites, NumberBoxesRefuseOtherCharacters)
{
    openRequisites([](TfrmConst &w) {
        typeInto(w, "edNUMSTART", QStringLiteral("1a2,5"));
        EXPECT_EQ(child<QLineEdit>(w, "edNUMSTART")->text(), QStringLiteral("125"));
        typeInto(w, "edSTNDS", QStringLiteral("x1,5e1"));
        EXPECT_EQ(child<QLineEdit>(w, "edSTNDS")->text(), QStringLiteral("1,5e1"));
        click(w, "btnClose");
    });
    EXPECT_EQ(stored(QStringLiteral("select NUMSTART from REKVIZITY")).toInt(), 125);
    EXPECT_EQ(stored(QStringLiteral("select STNDS from REKVIZITY")).toDouble(), 15.0);
}

TEST_F(EmptyRequisites, FirstChangeStartsTheRowAndDeletingFromNoAccountsSaysSo)
{
    prompts.expectInform(kEmptyTable);
    openRequisites([](TfrmConst &w) {
        // The amounts are computed as "НДС в сумме" until another variant is chosen.
        auto *variant = child<RadioGroup>(w, "rgrVarRaschet");
        EXPECT_EQ(variant->itemIndex(), 0);
        EXPECT_TRUE(variant->button(0)->isChecked());
        click(w, "BitBtn2");
        typeInto(w, "edNAMEORG", QStringLiteral("ИП Первый"));
        click(w, "btnClose");
    });
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ИП Первый Zarnik 1.2"));
    EXPECT_EQ(stored(QStringLiteral("select KOD from REKVIZITY")).toInt(), 1);
    EXPECT_EQ(stored(QStringLiteral("select NAMEORG from REKVIZITY")).toString(),
              QStringLiteral("ИП Первый"));
    // A new business numbers its first forms 1, not 0.
    EXPECT_EQ(stored(QStringLiteral("select NUMSTART from REKVIZITY")).toInt(), 1);
}

// --- the images of the business ---------------------------------------------------------------

// A file of the test's folder holding bytes.
QString writtenFile(const QTemporaryDir &folder, const char *name, const QByteArray &bytes)
{
    const QString path = folder.filePath(QString::fromLatin1(name));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    return path;
}

// A stamp scanned on white paper: a dark ring on white.
QByteArray scannedStamp()
{
    QImage scan(200, 200, QImage::Format_RGB32);
    scan.fill(Qt::white);
    QPainter painter(&scan);
    painter.setPen(QPen(QColor(20, 40, 160), 12));
    painter.drawEllipse(QRect(20, 20, 160, 160));
    painter.end();
    return encodedImage(scan, "PNG");
}

QByteArray storedImage(TDM &dm, const char *slot)
{
    return BusinessImages(dm.ZNDB).load(QString::fromLatin1(slot));
}

bool showsPicture(const TfrmConst &w, const char *preview)
{
    const QLabel *label = child<QLabel>(w, preview);
    return label && !label->pixmap().isNull();
}

TEST_F(Requisites, ALoadedStampIsStoredByOkWithItsWhiteMadeTransparent)
{
    QTemporaryDir folder;
    const QString stamp = writtenFile(folder, "stamp.png", scannedStamp());
    prompts.expectFile(QStringLiteral("Изображение «Печать»"), stamp);
    openRequisites([](TfrmConst &w) {
        EXPECT_EQ(child<QGroupBox>(w, "grpImages")->title(),
                  QStringLiteral("Изображения на бланках"));
        EXPECT_TRUE(child<QCheckBox>(w, "chkTransparent")->isChecked());
        EXPECT_FALSE(child<QPushButton>(w, "btnDelStamp")->isEnabled()) << "nothing to delete";
        click(w, "btnLoadStamp");
        EXPECT_TRUE(showsPicture(w, "imgStamp"));
        EXPECT_TRUE(child<QPushButton>(w, "btnDelStamp")->isEnabled());
        click(w, "btnClose");
    });
    const QImage stored = QImage::fromData(storedImage(dm, "stamp"));
    ASSERT_FALSE(stored.isNull());
    EXPECT_EQ(qAlpha(stored.pixel(0, 0)), 0) << "the paper";
    EXPECT_EQ(qAlpha(stored.pixel(stored.width() / 2, 20 * stored.height() / 200)), 255)
        << "the ink";
    EXPECT_TRUE(storedImage(dm, "logo").isNull());
}

TEST_F(Requisites, CancelDropsALoadedImageAndAnUntickedBoxKeepsTheWhite)
{
    QTemporaryDir folder;
    const QString scan = writtenFile(folder, "head.png", scannedStamp());
    prompts.expectFile(QStringLiteral("Изображение «Подпись руководителя»"), scan);
    openRequisites([](TfrmConst &w) {
        click(w, "btnLoadHead");
        click(w, "BitBtn1");
    });
    EXPECT_TRUE(storedImage(dm, "head").isNull());

    prompts.expectFile(QStringLiteral("Изображение «Подпись руководителя»"), scan);
    openRequisites([](TfrmConst &w) {
        child<QCheckBox>(w, "chkTransparent")->setChecked(false);
        click(w, "btnLoadHead");
        click(w, "btnClose");
    });
    const QImage stored = QImage::fromData(storedImage(dm, "head"));
    ASSERT_FALSE(stored.isNull());
    EXPECT_EQ(stored.pixel(0, 0), qRgb(255, 255, 255));
}

struct RefusedFile {
    const char *what;
    QByteArray (*bytes)(); // made once the test runs, when the image codecs are there
    const char *message;
};

TEST_F(Requisites, ARefusedFileSaysWhyAndStoresNothing)
{
    const RefusedFile cases[] = {
        {"not an image", [] { return QByteArray("Счет № 7\n"); },
         "Файл не является изображением или поврежден."},
        {"a PNG cut short", [] { return scannedStamp().left(60); },
         "Файл не является изображением или поврежден."},
        {"over 10 MB", [] { return QByteArray(zimages::kMaxFileBytes + 1, '\0'); },
         "Файл больше 10 МБ. Выберите файл поменьше."},
    };
    QTemporaryDir folder;
    for (const RefusedFile &c : cases) {
        SCOPED_TRACE(c.what);
        prompts.expectFile(QStringLiteral("Изображение «Логотип»"),
                           writtenFile(folder, "logo.png", c.bytes()));
        prompts.expectError(QString::fromUtf8(c.message), applicationTitle());
        openRequisites([](TfrmConst &w) {
            click(w, "btnLoadLogo");
            EXPECT_FALSE(showsPicture(w, "imgLogo"));
            EXPECT_FALSE(child<QPushButton>(w, "btnDelLogo")->isEnabled());
            click(w, "btnClose");
        });
        prompts.verify();
        EXPECT_TRUE(storedImage(dm, "logo").isNull());
    }
}

TEST_F(Requisites, DeleteEmptiesASlotAtOkAndADamagedImageCanBeDeleted)
{
    BusinessImages(dm.ZNDB).store(QStringLiteral("stamp"), scannedStamp());
    BusinessImages(dm.ZNDB).store(QStringLiteral("accountant"), QByteArray("garbage"));
    openRequisites([](TfrmConst &w) {
        EXPECT_TRUE(showsPicture(w, "imgStamp"));
        EXPECT_EQ(child<QLabel>(w, "imgAccountant")->text(),
                  QStringLiteral("Изображение повреждено"));
        keepPicture(w, QStringLiteral("requisites-images"));
        click(w, "btnDelStamp");
        click(w, "btnDelAccountant");
        EXPECT_EQ(child<QLabel>(w, "imgStamp")->text(), QStringLiteral("Нет изображения"));
        EXPECT_FALSE(child<QPushButton>(w, "btnDelStamp")->isEnabled());
        click(w, "btnClose");
    });
    EXPECT_TRUE(storedImage(dm, "stamp").isNull());
    EXPECT_TRUE(storedImage(dm, "accountant").isNull());
}

} // namespace
