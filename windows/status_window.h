// The status window of an engine run (caption "Status"): the steps of the
// run as a list of lines, a progress bar against the expected run time and
// the "Cancel" button that stops the engine. Esc and closing the window
// count as Cancel.
#pragma once

#include <QDialog>

class QListWidget;
class QProgressBar;
class QPushButton;

namespace wavra {

class StatusWindow : public QDialog {
    Q_OBJECT
public:
    explicit StatusWindow(QWidget* parent = nullptr);

    // Empties the list and the bar and takes back an earlier Cancel.
    void clear();
    void addLine(const QString& line);
    // Percentage of the expected run time; -1 when no run time is known,
    // which shows a busy bar instead.
    void setProgress(int percent);
    // The text on the bar, with the percentage after it; empty: only the
    // percentage.
    void setProgressText(const QString& text);

    QStringList lines() const;
    // True once Cancel was pressed since the last clear().
    bool cancelPressed() const { return m_cancelPressed; }

    // Esc and the window's close button.
    void reject() override;

private:
    QListWidget* m_lines;
    QProgressBar* m_bar;
    QPushButton* m_cancel;
    bool m_cancelPressed = false;

    void cancel();
};

} // namespace wavra
