// The status window of an engine run (caption "Status"): the steps of the
// run as a list of lines and a progress bar against the expected run time.
#pragma once

#include <QDialog>

class QListWidget;
class QProgressBar;

namespace wavra {

class StatusWindow : public QDialog {
    Q_OBJECT
public:
    explicit StatusWindow(QWidget* parent = nullptr);

    void clear();
    void addLine(const QString& line);
    // Percentage of the expected run time; -1 when no run time is known,
    // which shows a busy bar instead.
    void setProgress(int percent);

    QStringList lines() const;

private:
    QListWidget* m_lines;
    QProgressBar* m_bar;
};

} // namespace wavra
