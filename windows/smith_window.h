// The window of the Smith chart (F11): menus "&View", "&Show" and "&Print",
// the keys of the view, the mouse read-out, and printing through Qt's
// print dialog (or into a PDF file, for tests and scripts).
#pragma once

#include <QString>

#include "render/smith_view.h"
#include "windows/view_window.h"

class QPrinter;

namespace wavra {

class SmithWindow : public ViewWindow {
    Q_OBJECT
public:
    SmithWindow(Model& model, Ui& ui, QWidget* parent = nullptr);

    SmithView& smithView() { return *m_smith; }
    // Ctrl+P writes this PDF file instead of asking for a printer.
    void printToFile(const QString& pdfPath) { m_pdfPath = pdfPath; }
    // Paints the chart on the printer's page.
    void print(QPrinter& printer);

protected:
    void updateChecks() override;

private:
    SmithView* m_smith;
    QAction* m_normalised = nullptr;
    QAction* m_coarse = nullptr;
    QAction* m_cartesian = nullptr;
    QString m_pdfPath;

    void print();
};

} // namespace wavra
