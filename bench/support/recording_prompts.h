#pragma once

#include "ui/prompt_service.h"

// The prompt service of the benchmarks that drive windows: a message is a fault, kept for the
// benchmark to report; a question is answered with `answer`, and kept as a fault too when the
// answer is no.
class RecordingPrompts : public PromptService {
public:
    explicit RecordingPrompts(bool answer = false) : m_answer(answer) {}
    bool confirm(QWidget *, const QString &text) override
    {
        if (!m_answer)
            message = text;
        return m_answer;
    }
    void inform(QWidget *, const QString &text) override { message = text; }
    void error(QWidget *, const QString &text, const QString &) override { message = text; }

    QString message; // the last fault, empty while there is none

private:
    bool m_answer;
};
