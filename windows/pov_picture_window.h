// Rendering a POV-Ray scene from the geometry window and showing the
// picture: povray runs with its progress in a status window (caption
// "Status", with Cancel), then the picture opens in a window of its own
// ("POV-Ray - <name>.png").
#pragma once

#include <QLabel>
#include <QScrollArea>
#include <memory>

#include "core/ui.h"
#include "engine/process.h"
#include "present/pov_export_request.h"

namespace wavra {

class PovPictureWindow : public QScrollArea {
    Q_OBJECT
public:
    explicit PovPictureWindow(QWidget* parent = nullptr);
    // False when the picture cannot be read.
    bool showPicture(const QString& path);
    const QLabel& picture() const { return *m_picture; }

private:
    QLabel* m_picture;
};

// Renders the request into its picture and shows it in `window`; the
// reason is shown through ui when povray fails or is stopped.
bool renderAndShow(ProcessRunner& runner, Ui& ui, const PovRenderRequest& request, PovPictureWindow& window,
                   QWidget* statusParent);

} // namespace wavra
