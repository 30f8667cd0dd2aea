#pragma once

#include "ui/prompt_service.h"

#include <QString>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

// A prompt service that answers in place of the user. A test lists the prompts it expects
// in order, with their answers; an unexpected prompt fails the test (and is answered No),
// and so does an expected prompt that never came by the time the service is destroyed.
class ScriptedPrompts : public PromptService {
public:
    enum class Kind { Confirm, Inform, Error, File, SaveFile, Password };
    struct Prompt {
        Kind kind;
        QString text; // of a file window to write: the suggested name
        QString caption;
    };

    ~ScriptedPrompts() override;

    void expectConfirm(const QString &text, bool yes);
    void expectInform(const QString &text);
    // An empty text stands for any text (the engine's wording of an error, say).
    void expectError(const QString &text, const QString &caption);
    // The file window captioned `caption`, answered with `file` (empty: none chosen).
    void expectFile(const QString &caption, const QString &file);
    // The file window to write captioned `caption`, offering `suggested` (empty: any),
    // answered with `file` (empty: none chosen).
    void expectSaveFile(const QString &caption, const QString &suggested, const QString &file);
    // The password question `text`, answered with `password` (nullopt: declined).
    void expectPassword(const QString &text, std::optional<QString> password);
    // Runs while the last expected prompt is on the screen.
    void whileShown(std::function<void()> check);

    // Fails the test for every expected prompt that has not come yet, and forgets them.
    void verify();
    const std::vector<Prompt> &shown() const { return m_shown; }

    bool confirm(QWidget *parent, const QString &text) override;
    void inform(QWidget *parent, const QString &text) override;
    void error(QWidget *parent, const QString &text, const QString &caption) override;
    QString chooseFile(QWidget *parent, const QString &caption, const QString &folder,
                       const QString &filter) override;
    QString chooseSaveFile(QWidget *parent, const QString &caption, const QString &suggested,
                           const QString &filter) override;
    std::optional<QString> askPassword(QWidget *parent, const QString &text) override;

private:
    struct Expected {
        Prompt prompt;
        bool yes = false;
        std::function<void()> whileShown;
        std::optional<QString> reply; // of a file window or a password question
    };
    // The answer the script gives to `prompt`.
    Expected answer(const Prompt &prompt);

    std::deque<Expected> m_expected;
    std::vector<Prompt> m_shown;
};
