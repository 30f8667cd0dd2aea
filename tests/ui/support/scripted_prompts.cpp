#include "scripted_prompts.h"

#include <gtest/gtest.h>

namespace {

const char *kindName(ScriptedPrompts::Kind kind)
{
    switch (kind) {
    case ScriptedPrompts::Kind::Confirm:
        return "confirmation";
    case ScriptedPrompts::Kind::Inform:
        return "message";
    case ScriptedPrompts::Kind::Error:
        return "error";
    case ScriptedPrompts::Kind::File:
        return "file window";
    case ScriptedPrompts::Kind::Password:
        return "password question";
    }
    return "";
}

} // namespace

ScriptedPrompts::~ScriptedPrompts()
{
    verify();
}

void ScriptedPrompts::expectConfirm(const QString &text, bool yes)
{
    m_expected.push_back({{Kind::Confirm, text, QStringLiteral("Confirm")}, yes, {}, {}});
}

void ScriptedPrompts::expectInform(const QString &text)
{
    m_expected.push_back({{Kind::Inform, text, {}}, false, {}, {}});
}

void ScriptedPrompts::expectError(const QString &text, const QString &caption)
{
    m_expected.push_back({{Kind::Error, text, caption}, false, {}, {}});
}

void ScriptedPrompts::expectFile(const QString &caption, const QString &file)
{
    m_expected.push_back({{Kind::File, caption, caption}, false, {}, file});
}

void ScriptedPrompts::expectSaveFile(const QString &caption, const QString &suggested,
                                     const QString &file)
{
    m_expected.push_back({{Kind::SaveFile, suggested, caption}, false, {}, file});
}

void ScriptedPrompts::expectPassword(const QString &text, std::optional<QString> password)
{
    m_expected.push_back({{Kind::Password, text, {}}, false, {}, std::move(password)});
}

void ScriptedPrompts::whileShown(std::function<void()> check)
{
    m_expected.back().whileShown = std::move(check);
}

void ScriptedPrompts::verify()
{
    for (const Expected &e : m_expected)
        ADD_FAILURE() << "expected " << kindName(e.prompt.kind) << " \""
                      << e.prompt.text.toStdString() << "\" was never shown";
    m_expected.clear();
}

ScriptedPrompts::Expected ScriptedPrompts::answer(const Prompt &prompt)
{
    m_shown.push_back(prompt);
    if (m_expected.empty()) {
        ADD_FAILURE() << "unexpected " << kindName(prompt.kind) << " \""
                      << prompt.text.toStdString() << "\"";
        return {};
    }
    const Expected expected = m_expected.front();
    m_expected.pop_front();
    EXPECT_EQ(int(prompt.kind), int(expected.prompt.kind))
        << "shown instead: \"" << prompt.text.toStdString() << "\"";
    if (!expected.prompt.text.isEmpty()) {
        EXPECT_EQ(prompt.text.toStdString(), expected.prompt.text.toStdString());
    }
    if (prompt.kind != Kind::Inform && prompt.kind != Kind::Password) {
        EXPECT_EQ(prompt.caption.toStdString(), expected.prompt.caption.toStdString());
    }
    if (expected.whileShown)
        expected.whileShown();
    return expected;
}

bool ScriptedPrompts::confirm(QWidget *, const QString &text)
{
    return answer({Kind::Confirm, text, QStringLiteral("Confirm")}).yes;
}

void ScriptedPrompts::inform(QWidget *, const QString &text)
{
    answer({Kind::Inform, text, {}});
}

void ScriptedPrompts::error(QWidget *, const QString &text, const QString &caption)
{
    answer({Kind::Error, text, caption});
}

QString ScriptedPrompts::chooseFile(QWidget *, const QString &caption, const QString &,
                                    const QString &)
{
    return answer({Kind::File, caption, caption}).reply.value_or(QString());
}

QString ScriptedPrompts::chooseSaveFile(QWidget *, const QString &caption, const QString &suggested,
                                        const QString &)
{
    return answer({Kind::SaveFile, suggested, caption}).reply.value_or(QString());
}

std::optional<QString> ScriptedPrompts::askPassword(QWidget *, const QString &text)
{
    return answer({Kind::Password, text, {}}).reply;
}
