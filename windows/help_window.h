// The help window (the program's own help and the NEC-2 card reference,
// both HTML pages shipped in exe/) and the about window. Both are modeless
// and post the keys pressed in them to the main loop.
#pragma once

#include <QDialog>
#include <functional>

namespace wavra {

class HelpBrowser;

using KeyPoster = std::function<void(int16_t code)>;

class HelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit HelpWindow(KeyPoster post, QWidget* parent = nullptr);
    // Shows a page; false (and a note in the window) when it cannot be read.
    bool showPage(const QString& path);
    QString pageTitle() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    KeyPoster m_post;
    HelpBrowser* m_browser;
};

class AboutWindow : public QDialog {
    Q_OBJECT
public:
    explicit AboutWindow(KeyPoster post, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    KeyPoster m_post;
};

} // namespace wavra
