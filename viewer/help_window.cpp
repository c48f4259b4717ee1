#include "viewer/help_window.h"

#include <QUrl>

namespace wavra::view {

HelpWindow::HelpWindow(const QString& page, QWidget* parent) : QTextBrowser(parent) {
    setWindowFlag(Qt::Window);
    setWindowTitle(QStringLiteral("Viewer help"));
    setOpenExternalLinks(true);
    setSource(QUrl::fromLocalFile(page));
    resize(640, 560);
}

} // namespace wavra::view
