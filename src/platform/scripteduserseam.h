#pragma once

#include "platform/userseam.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <optional>
#include <stdexcept>
#include <vector>

// Thrown when a question comes without a queued answer, so that a loop that
// repeats its question until answered cannot hang a test or a script.
class ScriptExhausted : public std::runtime_error {
public:
    explicit ScriptExhausted(const QString& what) : std::runtime_error(what.toStdString()) {}
};

// Answers from queues and records what was shown, for tests and for the
// command-line tool. An unexpected question is a failure, not a silent default.
class ScriptedUserSeam final : public UserSeam {
public:
    struct Shown {
        QString what; // "message", "question", "input", "error", "modal"
        QString text; // message text, or caption "|" prompt "|" preset for input boxes
    };
    using ModalScript = std::function<int(QDialog&)>;

    void answerQuestion(Button b) { m_questions.push_back(b); }
    void answerInput(std::optional<QString> text) { m_inputs.push_back(std::move(text)); }
    void answerModal(ModalScript script) { m_modals.push_back(std::move(script)); }

    void message(const QString& text) override;
    Button question(Kind kind, const QString& text, Buttons buttons) override;
    std::optional<QString> inputBox(const QString& caption, const QString& prompt,
                                    const QString& preset) override;
    void error(const QString& text) override;
    int runModal(QDialog& dialog) override;

    const std::vector<Shown>& shown() const { return m_shown; }
    // The texts of everything shown of one kind, in order.
    QStringList texts(const QString& what) const;
    // Answers still queued; a finished test expects none.
    size_t pending() const { return m_questions.size() + m_inputs.size() + m_modals.size(); }
    void clearShown() { m_shown.clear(); }

private:
    std::deque<Button> m_questions;
    std::deque<std::optional<QString>> m_inputs;
    std::deque<ModalScript> m_modals;
    std::vector<Shown> m_shown;
};
