// Every message box, question and input box of the system goes through Ui.
// The windows implement it with Qt dialogs, the batch command line prints to
// stderr, and tests script the answers and read back what was shown.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace wavra {

enum class Icon { None, Information, Question, Exclamation, Critical };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };

class Ui {
public:
    virtual ~Ui() = default;

    virtual void showMessage(const std::string& text, const std::string& title, Icon icon) = 0;
    virtual Answer ask(const std::string& title, const std::string& text, Buttons buttons, Icon icon) = 0;
    // One-line input; nullopt when cancelled.
    virtual std::optional<std::string> inputBox(const std::string& title, const std::string& prompt,
                                                const std::string& defaultText) = 0;

    // Shows a text file (a report such as model.log) in the user's viewer.
    virtual void showTextFile(const std::string& path) = 0;

    void message(const std::string& text, const std::string& title = "wavra", Icon icon = Icon::None) {
        showMessage(text, title, icon);
    }
    bool askYesNo(const std::string& title, const std::string& text, Icon icon = Icon::Question) {
        return ask(title, text, Buttons::YesNo, icon) == Answer::Yes;
    }
};

// A Ui without windows: records every message, answers questions from a
// queue of prepared answers (the first button when the queue is empty) and
// can echo each message to stderr. Used by the batch command line and tests.
class RecordingUi : public Ui {
public:
    explicit RecordingUi(bool echoToStderr = false) : m_echo(echoToStderr) {}

    void showMessage(const std::string& text, const std::string& title, Icon icon) override;
    Answer ask(const std::string& title, const std::string& text, Buttons buttons, Icon icon) override;
    std::optional<std::string> inputBox(const std::string& title, const std::string& prompt,
                                        const std::string& defaultText) override;
    void showTextFile(const std::string& path) override { m_shownFiles.push_back(path); }

    void queueAnswer(Answer a) { m_answers.push_back(a); }
    void queueInput(std::optional<std::string> text) { m_inputs.push_back(std::move(text)); }

    // Everything shown, messages and questions alike, in order.
    const std::vector<std::string>& messages() const { return m_messages; }
    void clear() { m_messages.clear(); }
    bool saw(const std::string& text) const;
    const std::vector<std::string>& shownFiles() const { return m_shownFiles; }

private:
    bool m_echo;
    std::vector<std::string> m_messages;
    std::vector<std::string> m_shownFiles;
    std::deque<Answer> m_answers;
    std::deque<std::optional<std::string>> m_inputs;
    void record(const std::string& text);
};

} // namespace wavra
