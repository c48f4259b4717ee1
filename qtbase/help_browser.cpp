#include "qtbase/help_browser.h"

#include <QFile>
#include <QUrl>

namespace wavra {

HelpBrowser::HelpBrowser(QString fallbackTitle, QWidget* parent)
    : QTextBrowser(parent), m_fallbackTitle(std::move(fallbackTitle)) {
    // Links between the pages follow inside the browser; web links are not
    // opened from a help page.
    setOpenExternalLinks(false);
    setOpenLinks(true);
}

bool HelpBrowser::showPage(const QString& path, QWidget& titled) {
    if (!QFile::exists(path)) {
        setHtml(QStringLiteral("<h2>Help page missing</h2><p>The page <code>%1</code> was not found. "
                               "Reinstall wavra to restore it.</p>")
                    .arg(path.toHtmlEscaped()));
        titled.setWindowTitle(m_fallbackTitle);
        return false;
    }
    setSource(QUrl::fromLocalFile(path));
    titled.setWindowTitle(documentTitle().isEmpty() ? m_fallbackTitle : documentTitle());
    return true;
}

} // namespace wavra
