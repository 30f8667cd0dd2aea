#pragma once

#include <QMessageBox>
#include <QString>

#include <memory>
#include <optional>

class QWidget;

// Every message box and confirmation of the windows goes through this interface, so that
// a test can answer in place of the user and see every text shown.
class PromptService {
public:
    virtual ~PromptService() = default;

    // A "Confirm" box with "Yes" and "No"; true when the user answered Yes.
    virtual bool confirm(QWidget *parent, const QString &text) = 0;
    // A message of the program's own checks, captioned with the application title.
    virtual void inform(QWidget *parent, const QString &text) = 0;
    // An error box with the error icon and a single "OK".
    virtual void error(QWidget *parent, const QString &text, const QString &caption) = 0;
    // A file to open, chosen in `folder` among `filter`; empty when the user chose none. A
    // service that cannot show the desktop's file window chooses none.
    virtual QString chooseFile(QWidget *parent, const QString &caption, const QString &folder,
                               const QString &filter);
    // A file to write, `suggested` (a name, or a path whose folder the window opens in)
    // offered; empty when the user chose none, and from a service that cannot ask.
    virtual QString chooseSaveFile(QWidget *parent, const QString &caption,
                                   const QString &suggested, const QString &filter);
    // A password asked with `text`; nullopt when the user declined to give one (and from a
    // service that cannot ask).
    virtual std::optional<QString> askPassword(QWidget *parent, const QString &text);
};

// The prompts of the running program: modal message boxes.
class MessageBoxPrompts : public PromptService {
public:
    enum class Kind { Confirm, Inform, Error };

    bool confirm(QWidget *parent, const QString &text) override;
    void inform(QWidget *parent, const QString &text) override;
    void error(QWidget *parent, const QString &text, const QString &caption) override;
    QString chooseFile(QWidget *parent, const QString &caption, const QString &folder,
                       const QString &filter) override;
    QString chooseSaveFile(QWidget *parent, const QString &caption, const QString &suggested,
                           const QString &filter) override;
    std::optional<QString> askPassword(QWidget *parent, const QString &text) override;

    // The box that a prompt of this kind shows, before it is run.
    static std::unique_ptr<QMessageBox> makeBox(Kind kind, QWidget *parent, const QString &text,
                                                const QString &caption = {});
};
