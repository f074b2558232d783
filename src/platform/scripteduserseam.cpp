#include "platform/scripteduserseam.h"

void ScriptedUserSeam::message(const QString& text) {
    m_shown.push_back({"message", text});
}

UserSeam::Button ScriptedUserSeam::question(Kind, const QString& text, Buttons) {
    m_shown.push_back({"question", text});
    if (m_questions.empty()) {
        throw ScriptExhausted("unanswered question: " + text);
    }
    const Button b = m_questions.front();
    m_questions.pop_front();
    return b;
}

std::optional<QString> ScriptedUserSeam::inputBox(const QString& caption, const QString& prompt,
                                                  const QString& preset) {
    m_shown.push_back({"input", caption + "|" + prompt + "|" + preset});
    if (m_inputs.empty()) {
        throw ScriptExhausted("unanswered input box: " + caption);
    }
    auto answer = m_inputs.front();
    m_inputs.pop_front();
    return answer;
}

void ScriptedUserSeam::error(const QString& text) {
    m_shown.push_back({"error", text});
}

int ScriptedUserSeam::runModal(QDialog& dialog) {
    m_shown.push_back({"modal", QString()});
    if (m_modals.empty()) {
        throw ScriptExhausted("unscripted modal dialog");
    }
    ModalScript script = std::move(m_modals.front());
    m_modals.pop_front();
    return script(dialog);
}

QStringList ScriptedUserSeam::texts(const QString& what) const {
    QStringList result;
    for (const Shown& s : m_shown) {
        if (s.what == what)
            result << s.text;
    }
    return result;
}
