#include "viewer/process_runner.h"

#include <QEventLoop>
#include <QProcess>
#include <QStringList>
#include <QWidget>

namespace wavra::view {

bool ProcessRunner::run(const Command& command) {
    QProcess process;
    process.setProgram(QString::fromStdString(command.program));
    QStringList args;
    for (const std::string& arg : command.args) args << QString::fromStdString(arg);
    process.setArguments(args);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    QEventLoop wait;
    QObject::connect(&process, &QProcess::finished, &wait, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &wait, [&wait](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart || error == QProcess::Crashed) wait.quit();
    });
    process.start();
    if (!process.waitForStarted(-1)) return false;
    if (m_busy) m_busy->setEnabled(false);
    if (process.state() != QProcess::NotRunning) wait.exec();
    if (m_busy) m_busy->setEnabled(true);
    return true;
}

} // namespace wavra::view
