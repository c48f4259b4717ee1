#include "windows/model_file_watch.h"

#include <QFileInfo>

#include "base/files.h"

namespace wavra {

ModelFileWatch::ModelFileWatch(const Settings& settings, ViewState& view, std::function<bool()> idle, Reader read)
    : m_settings(settings), m_view(view), m_idle(std::move(idle)), m_read(read ? std::move(read) : Reader(fileBytes)) {
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_settle, &QTimer::timeout, this, &ModelFileWatch::settled);
    // An editor may save by writing a new file and renaming it over the old
    // one: the folder tells of that, and the file is watched again.
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &ModelFileWatch::changed);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &ModelFileWatch::changed);
}

void ModelFileWatch::watch(const std::string& path) {
    if (!m_watcher.files().isEmpty()) m_watcher.removePaths(m_watcher.files());
    if (!m_watcher.directories().isEmpty()) m_watcher.removePaths(m_watcher.directories());
    m_settle.stop();
    m_path = path;
    m_bytesRead = m_settings.watchModelFile != 0;
    m_known = m_bytesRead ? m_read(path) : std::nullopt;
    const QString file = QString::fromStdString(path);
    m_watcher.addPath(QFileInfo(file).absolutePath());
    if (QFileInfo::exists(file)) m_watcher.addPath(file);
}

void ModelFileWatch::changed() {
    const QString file = QString::fromStdString(m_path);
    if (!m_watcher.files().contains(file) && QFileInfo::exists(file)) m_watcher.addPath(file);
    m_settle.start(); // each further change starts the settling time again
}

void ModelFileWatch::settled() {
    if (m_settings.watchModelFile == 0 || m_path.empty()) return;
    const std::optional<std::string> now = m_read(m_path);
    if (!now || (m_bytesRead && now == m_known)) return; // gone, or written again with the same bytes
    if (!m_idle() || m_view.actionCode != 0) {
        m_settle.start(); // a calculation or a dialog runs: ask again later
        return;
    }
    m_known = now;
    m_bytesRead = true;
    m_view.actionCode = kActionModelChanged;
}

} // namespace wavra
