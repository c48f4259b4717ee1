// Helpers of the viewer tests: a scripted ViewerUi, a temporary install
// tree, stand-ins for pictures, the clipboard and the plot program, and the
// Qt application the window and clipboard tests share.
#pragma once

#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "viewer/picture_media.h"
#include "viewer/plot_program.h"
#include "viewer/viewer_ui.h"

namespace wavra::view::test {

class ScriptedUi : public ViewerUi {
public:
    void message(const std::string& text, Icon) override { shown.push_back(text); }
    // Prepared answers in order; Cancel when none is left, so an exit
    // question a test did not expect keeps the program open.
    Answer askYesNoCancel(const std::string& text) override {
        shown.push_back(text);
        questions.push_back(text);
        if (answers.empty()) return Answer::Cancel;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    // Prepared entries in order; the default when none is left.
    std::optional<std::string> inputBox(const std::string& title, const std::string& prompt,
                                        const std::string& defaultText) override {
        prompts.push_back(title + "|" + prompt + "|" + defaultText);
        if (inputs.empty()) return defaultText;
        auto entry = inputs.front();
        inputs.pop_front();
        return entry;
    }
    std::optional<std::string> openFile(const FileRequest& request) override { return takeFile(request); }
    std::optional<std::string> saveFile(const FileRequest& request) override { return takeFile(request); }

    std::vector<std::string> shown;     // messages and questions, in order
    std::vector<std::string> questions; // the Yes/No/Cancel questions
    std::vector<std::string> prompts;   // "title|prompt|default" of each entry
    std::vector<FileRequest> requests;
    std::deque<Answer> answers;
    std::deque<std::optional<std::string>> inputs;
    std::deque<std::optional<std::string>> files; // cancelled when none is left

private:
    std::optional<std::string> takeFile(const FileRequest& request) {
        requests.push_back(request);
        if (files.empty()) return std::nullopt;
        auto file = files.front();
        files.pop_front();
        return file;
    }
};

// A fresh directory, removed afterwards; paths end in '/'.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

void writeText(const std::string& path, const std::string& text);
std::string readText(const std::string& path);
// An empty file, with its directories.
void touch(const std::string& path);
// An empty file that may be run.
void makeRunnable(const std::string& path);

// A picture of a given size without pixels.
class FakePicture : public Picture {
public:
    FakePicture(int width, int height) : m_width(width), m_height(height) {}
    int width() const override { return m_width; }
    int height() const override { return m_height; }

private:
    int m_width, m_height;
};
PicturePtr fakePicture(int width, int height = 10);

// Picture files are any existing files except those holding "bad"; a saved
// picture is written as "picture WxH". The clipboard is a variable.
class FakeMedia : public PictureMedia {
public:
    PicturePtr load(const std::string& path) override;
    bool save(const Picture& picture, const std::string& path) override;
    void clearClipboard() override {
        clipboard.reset();
        ++clears;
    }
    PicturePtr clipboardPicture() override { return clipboard; }

    PicturePtr clipboard;
    int clears = 0;
};

// Records each command; `onRun` plays the plot program (for instance puts a
// picture on the clipboard).
class RecordingRunner : public ProgramRunner {
public:
    bool run(const Command& command) override {
        commands.push_back(command);
        if (onRun) onRun(command);
        return starts;
    }
    std::vector<Command> commands;
    std::function<void(const Command&)> onRun;
    bool starts = true;
};

// The Qt application of the window and clipboard tests (offscreen).
void ensureApplication();
// As a fixture's first member: the application exists before its widgets.
struct WithApplication {
    WithApplication() { ensureApplication(); }
};

} // namespace wavra::view::test
