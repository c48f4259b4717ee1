#include "qtbase/qt_process.h"

#include <QEventLoop>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

namespace wavra {

namespace {

constexpr qsizetype kOutputLimit = 256 * 1024; // newest bytes kept per stream
constexpr int kGraceMs = 2000;                 // from SIGTERM to SIGKILL
constexpr int kCrashExit = 128 + 9;            // as for a program killed by SIGKILL

void appendLimited(QByteArray& kept, const QByteArray& more) {
    kept += more;
    if (kept.size() > kOutputLimit) kept.remove(0, kept.size() - kOutputLimit);
}

class QtRunningProcess : public RunningProcess {
public:
    explicit QtRunningProcess(QProcess* process) : m_process(process) {
        QObject::connect(process, &QProcess::readyReadStandardOutput, process,
                         [this] { appendLimited(m_out, m_process->readAllStandardOutput()); });
        QObject::connect(process, &QProcess::readyReadStandardError, process,
                         [this] { appendLimited(m_err, m_process->readAllStandardError()); });
    }

    // A program still running when the waiting ends (an editor the user
    // keeps open) runs on; its QProcess goes once the program has ended.
    ~QtRunningProcess() override {
        QObject::disconnect(m_process, nullptr, nullptr, nullptr);
        if (m_process->state() == QProcess::NotRunning) {
            delete m_process;
            return;
        }
        QObject::connect(m_process, &QProcess::finished, m_process, &QObject::deleteLater);
    }

    bool waitFor(int timeoutMs) override {
        if (!finished()) {
            QEventLoop loop;
            QTimer timer;
            timer.setSingleShot(true);
            QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
            QObject::connect(m_process, &QProcess::finished, &loop, &QEventLoop::quit);
            timer.start(std::max(0, timeoutMs));
            loop.exec();
        }
        collect(); // also while it runs: the progress it prints
        return finished();
    }

    bool finished() const override { return m_process->state() == QProcess::NotRunning; }

    int exitCode() const override {
        if (m_process->exitStatus() == QProcess::CrashExit) return kCrashExit;
        return m_process->exitCode();
    }

    std::string standardOutput() const override { return m_out.toStdString(); }
    std::string standardError() const override { return m_err.toStdString(); }

    void terminate() override {
        if (finished()) return;
        const qint64 pid = m_process->processId();
        signalProcessGroup(pid, false); // the launcher and the engine it started
        m_process->terminate();
        if (!m_process->waitForFinished(kGraceMs)) m_process->kill();
        m_process->waitForFinished(kGraceMs);
        signalProcessGroup(pid, true); // what ignored SIGTERM
        collect();
    }

private:
    QProcess* m_process;
    QByteArray m_out, m_err;

    void collect() {
        appendLimited(m_out, m_process->readAllStandardOutput());
        appendLimited(m_err, m_process->readAllStandardError());
    }
};

} // namespace

std::unique_ptr<RunningProcess> QtProcessRunner::start(const std::vector<std::string>& argv,
                                                       const std::string& workingDir, std::string& error) {
    return startWithEnvironment(argv, workingDir, {}, error);
}

std::unique_ptr<RunningProcess> QtProcessRunner::startWithEnvironment(const std::vector<std::string>& argv,
                                                                      const std::string& workingDir,
                                                                      const std::vector<std::string>& environment,
                                                                      std::string& error) {
    if (argv.empty() || argv.front().empty()) {
        error = "no program given";
        return nullptr;
    }
    QString program = QString::fromStdString(argv.front());
    if (!program.contains(u'/')) {
        const QString found = QStandardPaths::findExecutable(program);
        if (found.isEmpty()) {
            error = argv.front() + " not found in PATH";
            return nullptr;
        }
        program = found;
    }
    QStringList arguments;
    for (size_t i = 1; i < argv.size(); ++i) arguments << QString::fromStdString(argv[i]);
    auto* process = new QProcess;
    process->setProgram(program);
    process->setArguments(arguments);
    if (!workingDir.empty()) process->setWorkingDirectory(QString::fromStdString(workingDir));
    if (!environment.empty()) {
        QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
        for (const std::string& entry : environment) {
            const size_t equals = entry.find('=');
            variables.insert(
                QString::fromStdString(entry.substr(0, equals)),
                QString::fromStdString(equals == std::string::npos ? std::string() : entry.substr(equals + 1)));
        }
        process->setProcessEnvironment(variables);
    }
    process->setStandardInputFile(QProcess::nullDevice());
    if (m_forwardOutput) process->setProcessChannelMode(QProcess::ForwardedChannels);
#ifdef Q_OS_UNIX
    // Its own process group, so ending it also ends the programs it started;
    // told to the watcher, if any, before the program runs.
    process->setChildProcessModifier([announceTo = groupAnnouncementSocket()] {
        leadOwnProcessGroup();
        announceOwnGroup(announceTo);
    });
#endif
    process->start();
    if (!process->waitForStarted(10000)) {
        error = process->errorString().toStdString();
        delete process;
        return nullptr;
    }
    return std::make_unique<QtRunningProcess>(process);
}

} // namespace wavra
