// The progress of a long batch run as one line on the terminal, rewritten
// in place: "wavra: sweep: 12 of 40 steps, 3.2 s". Only what is really
// known is shown: the frequency steps the engine reports have printed, the
// optimizer's trial runs, the time since the task began. Nothing appears
// during the first second, so a quick run prints nothing extra, and nothing
// at all when stderr is not a terminal (a script or a log reads it).
#pragma once

#include <functional>
#include <ostream>
#include <string>

namespace wavra {

// "wavra: sweep: 12 of 40 steps, 3.2 s"; `count` may be empty
// ("wavra: far field: 3.2 s").
std::string progressText(const std::string& program, const std::string& task, const std::string& count,
                         long long elapsedMs);

class TerminalProgress {
public:
    using Clock = std::function<long long()>; // milliseconds of a steady clock

    // `terminal`: where the line goes; nullptr shows nothing.
    TerminalProgress(std::ostream* terminal, std::string program, Clock clock);
    ~TerminalProgress() { finish(); }
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    // A task ("sweep", "optimize") begins: its clock starts, its count is empty.
    void begin(const std::string& task);
    void steps(int done, int total);
    void runs(int count);
    // Redraws the line once the task has run a second; called on every poll
    // of the engine wait.
    void update();
    // A message is about to be printed: the line shown so far ends.
    void interrupt();
    // The task is over: the line shown ends with a newline.
    void finish();

private:
    std::ostream* m_terminal;
    std::string m_program, m_task, m_count;
    Clock m_clock;
    long long m_startMs = 0;
    std::string m_shown; // the line on the terminal; empty when none is open
};

// The progress line of this program on stderr when stderr is a terminal,
// silent otherwise.
TerminalProgress stderrProgress(const std::string& program);

} // namespace wavra
