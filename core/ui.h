// Every message box, question and input box of the system goes through Ui.
// The windows implement it with Qt dialogs, the batch command line prints to
// stderr, and tests script the answers and read back what was shown.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "base/files.h"
#include "base/ui_kinds.h"

namespace wavra {

// A file chosen in a file dialog: directory (with trailing '/'), base name
// and extension (with its dot, empty when the name has none), as splitPath
// takes a path apart.
using FileChoice = PathParts;

// What a file dialog shows: caption, the label of the name box, the
// start directory, the preset name and the pattern of the "Filetype" box.
struct FileRequest {
    std::string caption;
    std::string label;
    std::string dir;
    std::string name;
    std::string pattern; // "*.nec"
};

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

    // File dialogs; nullopt when cancelled. Without windows nothing can be
    // chosen, so the defaults cancel.
    virtual std::optional<FileChoice> openFile(const FileRequest& /*request*/) { return std::nullopt; }
    virtual std::optional<FileChoice> saveFile(const FileRequest& /*request*/) { return std::nullopt; }

    void message(const std::string& text, const std::string& title = "wavra", Icon icon = Icon::None) {
        showMessage(text, title, icon);
    }
    bool askYesNo(const std::string& title, const std::string& text, Icon icon = Icon::Question) {
        return ask(title, text, Buttons::YesNo, icon) == Answer::Yes;
    }
};

// A Ui without windows: records every message, answers questions from a
// queue of prepared answers (the first button when the queue is empty) and
// can hand each message on as it comes (the batch command line prints it on
// stderr). Used by the batch command line and tests.
class RecordingUi : public Ui {
public:
    using Echo = std::function<void(const std::string& text)>;
    explicit RecordingUi(Echo echo = {}) : m_echo(std::move(echo)) {}

    void showMessage(const std::string& text, const std::string& title, Icon icon) override;
    Answer ask(const std::string& title, const std::string& text, Buttons buttons, Icon icon) override;
    std::optional<std::string> inputBox(const std::string& title, const std::string& prompt,
                                        const std::string& defaultText) override;
    void showTextFile(const std::string& path) override { m_shownFiles.push_back(path); }

    void queueAnswer(Answer a) { m_answers.push_back(a); }
    void queueInput(std::optional<std::string> text) { m_inputs.push_back(std::move(text)); }

    // File dialogs take the prepared choices in order; cancelled when none is
    // left. Every request is kept so tests can check captions and patterns.
    std::optional<FileChoice> openFile(const FileRequest& request) override;
    std::optional<FileChoice> saveFile(const FileRequest& request) override;
    void queueFile(std::optional<FileChoice> choice) { m_files.push_back(std::move(choice)); }
    const std::vector<FileRequest>& fileRequests() const { return m_fileRequests; }

    // Everything shown, messages and questions alike, in order.
    const std::vector<std::string>& messages() const { return m_messages; }
    void clear() { m_messages.clear(); }
    bool saw(const std::string& text) const;
    const std::vector<std::string>& shownFiles() const { return m_shownFiles; }

private:
    Echo m_echo;
    std::vector<std::string> m_messages;
    std::vector<std::string> m_shownFiles;
    std::deque<Answer> m_answers;
    std::deque<std::optional<std::string>> m_inputs;
    std::deque<std::optional<FileChoice>> m_files;
    std::vector<FileRequest> m_fileRequests;
    void record(const std::string& text);
    std::optional<FileChoice> takeFile(const FileRequest& request);
};

// A Ui that hands everything on to another one: the base of the Ui wrappers
// below, which change only what happens to messages.
class ForwardingUi : public Ui {
public:
    explicit ForwardingUi(Ui& inner) : m_inner(inner) {}

    void showMessage(const std::string& text, const std::string& title, Icon icon) override {
        m_inner.showMessage(text, title, icon);
    }
    Answer ask(const std::string& title, const std::string& text, Buttons buttons, Icon icon) override {
        return m_inner.ask(title, text, buttons, icon);
    }
    std::optional<std::string> inputBox(const std::string& title, const std::string& prompt,
                                        const std::string& defaultText) override {
        return m_inner.inputBox(title, prompt, defaultText);
    }
    void showTextFile(const std::string& path) override { m_inner.showTextFile(path); }
    std::optional<FileChoice> openFile(const FileRequest& request) override { return m_inner.openFile(request); }
    std::optional<FileChoice> saveFile(const FileRequest& request) override { return m_inner.saveFile(request); }

protected:
    Ui& m_inner;
};

// Holds back floods of like messages during one operation (reading a deck
// with thousands of unknown symbols would otherwise open as many message
// boxes). Messages are alike when they differ only in quoted names and
// numbers. The first kShownPerKind of a kind are shown; finish() then shows
// the first of them again with "… and N more like it; see model.log" for
// each kind that had more, and writes every message of the operation to
// `logPath`.
class MessageLimit : public ForwardingUi {
public:
    static constexpr int kShownPerKind = 10;

    MessageLimit(Ui& inner, std::string logPath) : ForwardingUi(inner), m_logPath(std::move(logPath)) {}
    ~MessageLimit() override { finish(); }
    MessageLimit(const MessageLimit&) = delete;
    MessageLimit& operator=(const MessageLimit&) = delete;

    void showMessage(const std::string& text, const std::string& title, Icon icon) override;
    // Ends the operation: the summaries and the log. Later calls do nothing.
    void finish();

    // The kind of a message: its text without quoted parts and digits.
    static std::string kindOf(const std::string& text);

private:
    struct Kind {
        std::string key;
        std::string first; // the first message of the kind, named in the summary
        long long count = 0;
    };
    std::string m_logPath;
    std::vector<Kind> m_kinds;                           // in the order they first came
    std::unordered_map<std::string, size_t> m_kindIndex; // key -> index into m_kinds
    std::vector<std::string> m_all;                      // every message, for the log
    bool m_finished = false;
};

} // namespace wavra
