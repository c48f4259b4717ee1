#include "app/terminal_progress.h"

#include <unistd.h>

#include <chrono>
#include <iostream>

#include "base/text.h"

namespace wavra {

namespace {

constexpr long long kQuietMs = 1000; // a task shorter than this shows no progress

long long steadyMilliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

std::string progressText(const std::string& program, const std::string& task, const std::string& count,
                         long long elapsedMs) {
    const std::string seconds = formatPicture(static_cast<double>(elapsedMs) / 1000.0, "0.0") + " s";
    return program + ": " + task + ": " + (count.empty() ? "" : count + ", ") + seconds;
}

TerminalProgress::TerminalProgress(std::ostream* terminal, std::string program, Clock clock)
    : m_terminal(terminal), m_program(std::move(program)), m_clock(std::move(clock)) {}

void TerminalProgress::begin(const std::string& task) {
    finish();
    m_task = task;
    m_count.clear();
    m_startMs = m_clock();
}

void TerminalProgress::steps(int done, int total) {
    m_count = std::to_string(done) + " of " + std::to_string(total) + " steps";
    update();
}

void TerminalProgress::runs(int count) {
    m_count = std::to_string(count) + (count == 1 ? " run" : " runs");
    update();
}

void TerminalProgress::update() {
    if (!m_terminal || m_task.empty()) return;
    const long long elapsed = m_clock() - m_startMs;
    if (elapsed < kQuietMs) return;
    std::string line = progressText(m_program, m_task, m_count, elapsed);
    if (line == m_shown) return;
    const size_t length = line.size();
    if (line.size() < m_shown.size()) line.resize(m_shown.size(), ' '); // covers the longer line before
    *m_terminal << '\r' << line << std::flush;
    m_shown = line.substr(0, length);
}

void TerminalProgress::interrupt() {
    if (!m_shown.empty()) *m_terminal << '\n' << std::flush;
    m_shown.clear();
}

void TerminalProgress::finish() {
    interrupt();
    m_task.clear();
}

TerminalProgress stderrProgress(const std::string& program) {
    return TerminalProgress(::isatty(STDERR_FILENO) == 1 ? &std::cerr : nullptr, program, steadyMilliseconds);
}

} // namespace wavra
