#pragma once

#include "core/register_statements.h"
#include "editor/editor_mode.h"
#include "printing/report_shower.h"
#include "refbooks/reference_list.h"
#include "ui/dialog_runner.h"

#include <QMainWindow>

#include <functional>
#include <vector>

class DbGrid;
class QCheckBox;
class PromptService;
class QDateEdit;
class QMenu;
class QLineEdit;
class QPushButton;
class RadioGroup;
class TDM;
class TfrmAbout;

// The document register: the window the user keeps open all day. It lists the documents
// of one view (current, archived, all), filtered by client and invoice date and sorted by
// any column, with the lines of the selected one; it deletes, archives and restores
// documents and opens the reference books. After almost every command it runs
// RefreshMain, which commits the work and reopens the data.
class TfrmMain : public QMainWindow {
    Q_OBJECT

public:
    // Opens the document editor modally on the current document, in `mode`, and gives its
    // result (QDialog::Accepted or Rejected).
    using DocumentEditor = std::function<int(QWidget *parent, EditorMode mode)>;

    // Creating the window resets the filters and opens the data.
    TfrmMain(TDM &dm, PromptService &prompts, QWidget *parent = nullptr);
    // Commits what is pending.
    ~TfrmMain() override;

    // Commits, closes and reopens the datasets, keeps the current document, enables the
    // document commands and shows the business's name in the caption.
    void RefreshMain();

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

Q_SIGNALS:
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QWidget *createTopStrip();
    QWidget *createCentre();
    QWidget *createCommandColumn();
    QPushButton *addButton(QWidget *parent, const char *name, const QString &caption,
                           const QRect &geometry);

    void rgrTipDocsClick();
    void btnZaprosClick();
    void dbgrSchetsTitleClick(int column);
    void btnClearClick();
    void btnAddClick();
    void btnEditClick();
    void btnUseClick();
    void btnDelClick();
    void btnVArchivClick();
    void btnVernutClick();
    void dbgrSchetsDblClick();
    void btnRekvizClick();
    void BitBtn1Click();
    void btnTovUslClick();
    void btnOrgClick();
    void BitBtn3Click();
    void btnZapOrgClick();
    RefbookContext refbookContext();
    void btnCloseClick();
    // The seven printing commands; sender is the button pressed.
    void btnSchClick(QObject *sender);
    void btnActKnClick();
    void btnActAlbClick();
    void btnRasxKnClick();
    void btnRasxAlbClick();
    void FormDestroy();

    RegisterView view() const;
    // The change of view, whether the user or a command asked for it.
    void showView(RegisterView view);
    // Archives or restores the current document after asking, and shows it in its new view.
    void moveDocument(RegisterView to, const QString &question);
    void sortBy(const QString &column);
    // Gives the register a new statement, for RefreshMain to open.
    void replaceDocumentsStatement(const SelectStatement &statement);
    void arrangeCommands(RegisterView view);
    void enableDocumentCommands();

    TDM &m_dm;
    PromptService &m_prompts;
    DocumentEditor m_editor;
    DialogRunner m_runDialog = execDialog;
    ReportShower m_showReport;
    TfrmAbout *m_about = nullptr;

    RadioGroup *m_rgrTipDocs;
    QDateEdit *m_date1;
    QDateEdit *m_date2;
    QLineEdit *m_edOrg;
    DbGrid *m_dbgrSchets;
    DbGrid *m_DBGrid1;

    QPushButton *m_btnAdd;
    QPushButton *m_btnEdit;
    QPushButton *m_btnUse;
    QPushButton *m_btnDel;
    QPushButton *m_btnVArchiv;
    QPushButton *m_btnVernut;
    QPushButton *m_btnActKn;
    QPushButton *m_btnActAlb;
    QPushButton *m_btnRasxKn;
    QPushButton *m_btnRasxAlb;
    // "Печать и подписи": the forms print the stored stamp, signatures and logo.
    QCheckBox *m_chkPechatPodpisi;
    // Enabled exactly when the register lists a document.
    std::vector<QPushButton *> m_documentCommands;
    QMenu *m_serviceMenu = nullptr;
};
