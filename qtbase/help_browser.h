// The help browser of the three programs: an HTML page shipped with the
// program, titled by the page itself, or a note naming the page when it is
// missing (a damaged install), never an empty window.
#pragma once

#include <QTextBrowser>

namespace wavra {

class HelpBrowser : public QTextBrowser {
public:
    // `fallbackTitle` titles the window when the page has no title or is
    // missing.
    explicit HelpBrowser(QString fallbackTitle, QWidget* parent = nullptr);
    // Shows a page; false (and the note in the browser) when it cannot be
    // read. The window title of `titled` follows the page.
    bool showPage(const QString& path, QWidget& titled);

private:
    QString m_fallbackTitle;
};

} // namespace wavra
