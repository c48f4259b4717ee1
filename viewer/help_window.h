// The viewer's help: the HTML page exe/view_help.html in a window.
#pragma once

#include <QTextBrowser>

namespace wavra::view {

class HelpWindow : public QTextBrowser {
public:
    explicit HelpWindow(const QString& page, QWidget* parent = nullptr);
};

} // namespace wavra::view
