#pragma once

#include "core/register_statements.h"
#include "editor/editor_mode.h"
#include "printing/report_shower.h"
#include "refbooks/reference_list.h"
#include "ui/dialog_runner.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class PromptService;
class QAction;
class QMenu;
class QPushButton;
class TDM;
class TfrmAbout;
class WorkSession;

namespace Ui {
class TfrmMain;
}

// The document register: the window the user keeps open all day. It lists the documents
// of one view (current, archived, all), filtered by client, invoice date and payment and sorted
// by any column, with what was paid for each and the lines of the selected one; it deletes,
// archives and restores documents, records their payments and opens the reference books. After
// almost every command it refreshes the work session, which commits the work and reopens the data;
// the window follows the reopened data.
class TfrmMain : public QMainWindow {
    Q_OBJECT

public:
    // Opens the document editor modally on the current document, in `mode`, and gives its
    // result (QDialog::Accepted or Rejected).
    using DocumentEditor = std::function<int(QWidget *parent, EditorMode mode)>;

    // Creating the window resets the filters and opens the data. Closing it commits what is
    // pending.
    TfrmMain(WorkSession &session, PromptService &prompts, QWidget *parent = nullptr);
    ~TfrmMain() override;

    // "Добавить", "Изменить" and "Копировать" (and the double click) need an editor; without
    // one they stay disabled.
    void setDocumentEditor(DocumentEditor editor);
    // "Сервис": the commands on the database itself; whoever assembles the program adds them.
    QMenu *serviceMenu() const { return m_serviceMenu; }
    // Runs every window this one opens modally.
    void setDialogRunner(DialogRunner runner) { m_runDialog = std::move(runner); }
    // Shows what the reference books print.
    void setReportShower(ReportShower shower) { m_showReport = std::move(shower); }
    // The About window that "О программе" shows; without one it shows a new one.
    void setAboutWindow(TfrmAbout *about) { m_about = about; }
    // What the reference books' windows opened from here work with, the reconciliation act too.
    RefbookContext refbookContext();

Q_SIGNALS:
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void connectCommands();
    // The data is open again: the document commands follow the register, the caption the
    // business's name.
    void dataReopened();
    // Disables the commands the connection's role may not use, saying why.
    void limitToRole();
    void limitServiceCommandsToRole();

    void rgrTipDocsClick();
    void rgrOplataClick();
    void btnZaprosClick();
    void dbgrSchetsTitleClick(int column);
    void btnClearClick();
    void btnAddClick();
    void btnEditClick();
    void btnUseClick();
    void btnDelClick();
    void btnVArchivClick();
    void btnVernutClick();
    void btnOplatyClick();
    void dbgrSchetsDblClick();
    void btnRekvizClick();
    void BitBtn1Click();
    void btnTovUslClick();
    void btnOrgClick();
    void BitBtn3Click();
    void btnZapOrgClick();
    // Reads the stamp and signatures while "Печать и подписи" is ticked; empty otherwise.
    FormImagesReader formImagesReader();
    void btnCloseClick();
    // The seven printing commands; sender is the button pressed.
    void btnSchClick(QObject *sender);
    // A printed cash receipt order attests the cash received: offers to record it as paid.
    void offerPaymentAfterCashReceipt();
    void btnActKnClick();
    void btnActAlbClick();
    void btnRasxKnClick();
    void btnRasxAlbClick();
    void FormClose();

    RegisterView view() const;
    PaymentFilter paymentFilter() const;
    // The change of view, whether the user or a command asked for it; the register rests on
    // the document kod when that is given and listed.
    void showView(RegisterView view, std::optional<qint64> kod = std::nullopt);
    // Archives or restores the current document after asking, and shows it in its new view.
    void moveDocument(RegisterView to, const QString &question);
    void sortBy(const QString &column);
    // Gives the register a new statement, for the session's refresh to open.
    void replaceDocumentsStatement(const SelectStatement &statement);
    void arrangeCommands(RegisterView view);
    void enableDocumentCommands();

    std::unique_ptr<Ui::TfrmMain> ui;
    WorkSession &m_session;
    TDM &m_dm;
    PromptService &m_prompts;
    DocumentEditor m_editor;
    DialogRunner m_runDialog = execDialog;
    ReportShower m_showReport;
    TfrmAbout *m_about = nullptr;

    // Enabled exactly when the register lists a document.
    std::vector<QPushButton *> m_documentCommands;
    // "Оплаты..." in the register's own menu.
    QAction *m_paymentsAction = nullptr;
    QMenu *m_serviceMenu = nullptr;
};
