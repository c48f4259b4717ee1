#include "windows/smith_window.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "present/sweep_compare.h"
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

namespace wavra {

SmithWindow::SmithWindow(Model& model, Ui& ui, QWidget* parent)
    : ViewWindow(model, std::make_unique<SmithView>(model, ui), kActionSmith, QStringLiteral("Smith Chart"), parent),
      m_smith(static_cast<SmithView*>(&view())) {
    setObjectName(QStringLiteral("Sm"));
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    addCommand(file, QStringLiteral("Load measured...  (Ctrl+L)"), kActionLoadMeasured);
    addCommand(file, QStringLiteral("Unload measured   (Ctrl+Shift+L)"), kActionUnloadMeasured);
    addCompareMenu();
    QMenu* viewMenu = menuBar()->addMenu(QStringLiteral("&View"));
    addCommand(viewMenu, QStringLiteral("Next frequency  (Right)"), 39)->setObjectName(QStringLiteral("nfr"));
    addCommand(viewMenu, QStringLiteral("Prev.frequency  (Left)"), 37)->setObjectName(QStringLiteral("pfr"));
    addCommand(viewMenu, QStringLiteral("Move to gen.     (shift+Left)"), 137)->setObjectName(QStringLiteral("mgen"));
    addCommand(viewMenu, QStringLiteral("Move to load     (shift+Right)"), 139)->setObjectName(QStringLiteral("mld"));
    QMenu* show = menuBar()->addMenu(QStringLiteral("&Show"));
    m_normalised = addCheckCommand(show, QStringLiteral("Normalized        [Home]"), 36);
    m_normalised->setObjectName(QStringLiteral("norm"));
    m_coarse = addCheckCommand(show, QStringLiteral("Coarse grid       (G)"), 'G');
    m_coarse->setObjectName(QStringLiteral("grid"));
    m_cartesian = addCheckCommand(show, QStringLiteral("Cartesian not.   (X)"), 'X');
    m_cartesian->setObjectName(QStringLiteral("cart"));
    addCommand(show, QStringLiteral("Insert Z/Y         [Ins]"), 45)->setObjectName(QStringLiteral("inse"));
    addCommand(show, QStringLiteral("Delete Z/Y        (Del}"), 46)->setObjectName(QStringLiteral("dele"));
    QMenu* printMenu = menuBar()->addMenu(QStringLiteral("&Print"));
    addCommand(printMenu, QStringLiteral("Print chart   (Ctrl+P)"), kActionPrint)->setObjectName(QStringLiteral("pri"));
    m_smith->setPrinter([this] { print(); });
    m_smith->setCaption([this](const std::string& caption) { setWindowTitle(QString::fromStdString(caption)); });
    resize(620, 780);
}

void SmithWindow::updateChecks() {
    m_normalised->setChecked(m_smith->state().normalise == 1);
    m_coarse->setChecked(m_model.smithMode != 0);
    m_cartesian->setChecked(m_model.complexNotation == 0);
}

void SmithWindow::print() {
    QPrinter printer(QPrinter::HighResolution);
    if (!m_pdfPath.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_pdfPath);
    } else {
        QPrintDialog dialog(&printer, this);
        dialog.setWindowTitle(QStringLiteral("Print Smith Chart"));
        if (dialog.exec() != QDialog::Accepted) return;
    }
    print(printer);
}

void SmithWindow::print(QPrinter& printer) {
    QPainter painter(&printer);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRect page = painter.viewport();
    painter.fillRect(page, Qt::white);
    view().paint(painter, page);
}

} // namespace wavra
