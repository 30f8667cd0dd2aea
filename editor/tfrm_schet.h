#pragma once

#include "document_pickers.h"
#include "editor_mode.h"

#include <QDialog>
#include <QHash>

#include <functional>
#include <memory>
#include <optional>

class FieldLinks;
class MailSendingsList;
class PromptService;
class QDateEdit;
class TDM;

namespace Ui {
class TfrmSchet;
}

// "Работа с записями": one document's header on seven pages (one per printed form), with
// the per-form numbers and dates, and its lines. The window holds no data of its own:
// every field edits the current record of DSetDocs, the grid edits DSetDetail, and the
// reference books it opens write into those same records. The opener's EditorMode tells
// whether it composes a new document, the current one or a fresh copy.
//
// Every way of closing without "ОК" (the button, Esc, the title bar) is "Отмена": a new
// document's stored lines are removed, and so is a copy with its lines. A database error
// while closing is shown and the window stays open, so that nothing is lost unseen.
class TfrmSchet : public QDialog {
    Q_OBJECT

public:
    TfrmSchet(TDM &dm, PromptService &prompts, DocumentPickers pickers, EditorMode mode,
              QWidget *parent = nullptr);
    ~TfrmSchet() override;

    void reject() override;
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormCreate();
    void FormShow();
    void TabSheetShow();
    void pgCtrlChange();
    void dateDoverChange();
    void datevalut_dovChange();
    void dateSchetChange();
    void dueDateTouched();
    void loadDueDate();
    // Who made the document and who changed it last, in the line beside "ОК".
    void showAudit();
    void showDueDate(std::optional<QDate> due);
    std::optional<QDate> dueDate() const;
    void btnNumClick(const QString &buttonName);
    void pickClient(ClientPick mode);
    void btnKomuClick();
    void pickGround();
    void pickKnp();
    void btnAddClick();
    void btnEditClick();
    void btnDelClick();
    void DBGrid1DblClick();
    void btnOkClick();
    bool btnCancelClick();

    void connectPickers();
    void loadDocumentHalves();
    void postEditedLine();
    void openGoods(GoodsPick mode);
    enum class Typed { Take, Drop };
    // Runs a command of the window, first writing what was typed into the boxes (Take) or
    // leaving it (Drop); an error it raises is shown and the command stops there. True
    // when the command ran to its end.
    bool command(const std::function<void()> &work, Typed typed = Typed::Take);
    // As command, for the work between the window and its closing: true also when the
    // connection to the server is lost, so that the window can still be closed.
    bool closingCommand(const std::function<void()> &work, Typed typed);
    std::function<void()> typedWork(const std::function<void()> &work, Typed typed);

    std::unique_ptr<Ui::TfrmSchet> ui;
    TDM &m_dm;
    PromptService &m_prompts;
    DocumentPickers m_pickers;
    EditorMode m_mode;
    FieldLinks *m_links;
    MailSendingsList *m_sendings;
    std::vector<std::pair<QDateEdit *, QString>> m_dates; // picker, DOCS column
    // The numbers an edited document had when it was opened: a clash it already had is not
    // asked about again.
    QHash<int, qint64> m_numbersAtOpen;
    // "Срок оплаты, дней" of the requisites, and whether "Оплатить до:" still follows the
    // invoice date by that many days (a new document or a copy, until the user changes it).
    int m_termDays = 0;
    bool m_dueFollowsInvoiceDate = false;
    bool m_shown = false;
    bool m_documentRemoved = false; // a cancelled copy no longer exists
};
