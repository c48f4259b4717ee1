// Watches the model file for saves by another program (a text editor beside
// the plots). A save with other bytes than those loaded, with the setting
// WATCH on, posts kActionModelChanged once the program waits for the user:
// saves in a row within the settling time give one code, and a save while a
// calculation or a dialog runs waits until it is over. With WATCH off the
// file is not read at all: a deck loaded then has no bytes to compare, and
// once WATCH is turned on its next save counts as a change.
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>
#include <functional>
#include <optional>
#include <string>

#include "core/model.h"

namespace wavra {

class ModelFileWatch : public QObject {
public:
    // `idle` tells whether the program waits for the user now. The setting
    // WATCH is read at each load and each save; the code is posted in
    // `view`. `read` gives a file's bytes (none when it cannot be read).
    using Reader = std::function<std::optional<std::string>(const std::string& path)>;
    ModelFileWatch(const Settings& settings, ViewState& view, std::function<bool()> idle, Reader read = {});

    // The model file just loaded, with its bytes as they are now (read only
    // with WATCH on).
    void watch(const std::string& path);

    // How long the file must stay unchanged before it counts as saved.
    static constexpr int kSettleMs = 400;

private:
    const Settings& m_settings;
    ViewState& m_view;
    std::function<bool()> m_idle;
    Reader m_read;
    QFileSystemWatcher m_watcher;
    QTimer m_settle;
    std::string m_path;
    std::optional<std::string> m_known; // the bytes loaded; none when the file was missing
    bool m_bytesRead = false;           // m_known was read (WATCH was on at the load)

    void changed();
    void settled();
};

} // namespace wavra
