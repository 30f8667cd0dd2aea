#pragma once

#include "printing/form_images.h"
#include "printing/report_shower.h"
#include "ui/db_grid.h"
#include "ui/dialog_runner.h"

#include <QDialog>
#include <QStringList>

#include <functional>
#include <vector>

class Dataset;
class PromptService;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTabBar;
class QVBoxLayout;
class TDM;
enum class ImportTarget;

// What a reference-book window works with: the data module, who answers its questions,
// who runs the windows it opens and who shows what it prints.
struct RefbookContext {
    TDM &dm;
    PromptService &prompts;
    DialogRunner runDialog = execDialog;
    ReportShower showReport;
    // Where the windows remember the last import's mapping: the program's settings when empty.
    QString settingsFile = {};
    // Reads the stamp and signatures a form prints; empty while "Печать и подписи" is off.
    FormImagesReader readImages = {};
};

// The list window that every reference book is: a framed grid over one dataset, optionally
// under a tab strip of kinds, with the window's commands in a column at its right, and a
// bottom panel with the quick search and the closing buttons. A window says what differs:
// its dataset and columns, its tabs and statements, its commands and what picking does.
//
// Opened to pick (a mode other than Browse), "Выбрать" stands at the left as the default button
// and "Отмена" is shown; opened to browse, "Закрыть" stands at the right, Enter closes
// nothing and "Отмена" is hidden. Esc closes the window without a pick in both.
class ReferenceList : public QDialog {
    Q_OBJECT

public:
    struct Form {
        const char *objectName;
        QString caption;
        QString groupCaption;
        QSize size;
        QSize minimumSize;
        int closeLeft; // the left of "Закрыть" at the window's first size
        Dataset *dataset;
        std::vector<DbGrid::Column> columns;
        QStringList tabs;    // no tab strip when empty
        int *page = nullptr; // where the data module reads the active tab
        // The statement of one tab in one order; a window without one does not sort.
        std::function<QString(int tab, const QString &orderColumn)> statement;
        QString defaultOrder;
        bool picking = false;
    };

    // Moves to the first row, in the list's order, whose value in the grid's selected column
    // begins with text, letter case ignored (a text column), or equals it (a number column).
    // Nothing moves when nothing matches.
    void quickSearch(const QString &text);

    int activeTab() const;
    // As a click on a tab does.
    void setActiveTab(int tab);

    DbGrid *grid() const { return m_grid; }
    bool picking() const { return m_form.picking; }
    // Whether the window, opened to pick, gave a row of a list that had one.
    bool chosen() const { return m_chosen; }

    // "Отмена", Esc and the close box: a pending change is posted, nothing is picked.
    void reject() override;

protected:
    ReferenceList(const RefbookContext &context, Form form, QWidget *parent);

    // Whether a command changes what is stored, which some roles may not.
    enum class CommandKind { Changes, Reads };
    // Adds a command to the column at the right, under the ones before it.
    QPushButton *addCommand(const char *name, const QString &caption, std::function<void()> command,
                            CommandKind kind = CommandKind::Changes);
    // Adds "Печать" at the bottom of that column: the listing over the list as it stands.
    void addPrintCommand(const QString &templateName);
    // "Импорт..." and "Экспорт..." of the kind shown, under the commands before them; the list
    // reloads after an import.
    void addTransferCommands(ImportTarget target);
    // Reloads the list of the active tab by name, as the window does when it opens.
    void reloadList();

    // The grid's double click and "Выбрать": what a window in a pick mode writes.
    virtual void pick() {}
    // A pick of a list of one text: the current row's field into the same field of the
    // current document (nothing from an empty list).
    void pickIntoDocument(const QString &field);
    // A double click on a row once its pending change is posted: in a pick mode the pick
    // and closing.
    virtual void rowDoubleClicked();

    // Posts a change of the current row that is still pending.
    void postPending();
    // "Добавить" of a list typed into in place: an empty row stored at once, the grid to type in.
    void addRowAtOnce();
    // "Удалить": asks and deletes the current row, or removes it by remove.
    void deleteCurrent(const std::function<void()> &remove = {});

    RefbookContext m_context;
    TDM &m_dm;
    PromptService &m_prompts;
    Dataset *m_dataset;

private:
    QWidget *createBottomPanel();
    void btnCloseClick();
    void choose();
    void tabChanged(int tab);
    void titleClicked(int column);
    void printListing(const QString &templateName);

    // The folded texts of one column, read once per search column and list: a keystroke
    // then compares texts only.
    const QStringList &searchTexts(int field);

    Form m_form;
    bool m_chosen = false;
    int m_searchField = -1;
    QStringList m_searchTexts;
    QTabBar *m_tabs = nullptr;
    DbGrid *m_grid;
    QVBoxLayout *m_commands;
    QLineEdit *m_search;
    QPushButton *m_close;
    QPushButton *m_cancel;
    bool m_changingTab = false;
};
