// The viewer's single window, captioned "Viewer": the label of the shown
// picture in a text box above it, menus and keys to open, paste, remove,
// save and move between pictures. It draws the store's current slot and
// leaves every rule to the Viewer.
#pragma once

#include <QMainWindow>
#include <functional>
#include <string>

#include "viewer/viewer.h"

class QAction;
class QLabel;
class QLineEdit;
class QScrollArea;

namespace wavra {
class HelpBrowser;
}

namespace wavra::view {

class ViewerWindow : public QMainWindow {
public:
    ViewerWindow(Viewer& viewer, ViewerUi& ui, const Places& places, QWidget* parent = nullptr);
    ~ViewerWindow() override;

    // The menu item with this caption (as written, with its '&'), for tests
    // and for the keys that share its action.
    QAction* menuItem(const QString& caption) const;
    QLineEdit* labelBox() const { return m_label; }
    QLabel* pictureBox() const { return m_picture; }
    // The text the window shows while it holds no picture: how to add one.
    QLabel* emptyHint() const { return m_empty; }
    HelpBrowser* helpWindow() const { return m_help; }

    // Draws the current slot: caption, label, picture; sizes and centres
    // the window when another picture is shown.
    void refresh();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    Viewer& m_viewer;
    ViewerUi& m_ui;
    Places m_places;
    QLineEdit* m_label = nullptr;
    QScrollArea* m_scroll = nullptr;
    QLabel* m_picture = nullptr;
    QLabel* m_empty = nullptr;
    HelpBrowser* m_help = nullptr;
    PicturePtr m_shown; // kept, so a new picture never takes its place unnoticed

    void buildMenus();
    void addKey(const QKeySequence& key, const std::function<void()>& action);
    void act(const std::function<void()>& action);
    void sizeToPicture(const QImage& image);
    void showHelp();
};

} // namespace wavra::view
