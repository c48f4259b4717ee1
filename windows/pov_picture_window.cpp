#include "windows/pov_picture_window.h"

#include <QFileInfo>
#include <QImage>
#include <QPixmap>

#include "export/pov_render.h"
#include "windows/status_window.h"

namespace wavra {

PovPictureWindow::PovPictureWindow(QWidget* parent) : QScrollArea(parent), m_picture(new QLabel) {
    setObjectName(QStringLiteral("PovPicture"));
    setWindowFlag(Qt::Window);
    m_picture->setObjectName(QStringLiteral("picture"));
    setWidget(m_picture);
    setWidgetResizable(false);
}

bool PovPictureWindow::showPicture(const QString& path) {
    const QImage image(path);
    if (image.isNull()) return false;
    m_picture->setPixmap(QPixmap::fromImage(image));
    m_picture->resize(image.size());
    setWindowTitle(QStringLiteral("POV-Ray - ") + QFileInfo(path).fileName());
    resize(image.width() + 4, image.height() + 4);
    show();
    raise();
    activateWindow();
    return true;
}

bool renderAndShow(ProcessRunner& runner, Ui& ui, const PovRenderRequest& request, PovPictureWindow& window,
                   QWidget* statusParent) {
    StatusWindow status(statusParent);
    status.clear();
    status.addLine(QStringLiteral("Rendering ") + QString::fromStdString(request.scene) +
                   QStringLiteral(" with POV-Ray"));
    status.show();
    const bool rendered =
        renderPovScene(runner, ui, request.scene, request.picture, PovPictureSize{}, [&status](int percent) {
            status.setProgress(percent);
            return !status.cancelPressed();
        });
    status.hide();
    if (!rendered) return false;
    if (!window.showPicture(QString::fromStdString(request.picture))) {
        ui.message("Cannot read the picture " + request.picture + ".", "wavra", Icon::Exclamation);
        return false;
    }
    return true;
}

} // namespace wavra
