// The modal dialogs of the programs' Ui implementations: a message box
// with the icon and buttons asked for, a one-line entry, and a file dialog
// with the program's own captions and labels.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <string>

#include "base/ui_kinds.h"

class QWidget;

namespace wavra {

// Shows a message box and returns the button pressed; `defaultAnswer` is
// the button that Enter presses (Qt's choice when none).
Answer showMessageBox(QWidget* parent, const QString& title, const std::string& text, Buttons buttons, Icon icon,
                      std::optional<Answer> defaultAnswer = std::nullopt);

// A one-line entry; nullopt when cancelled.
std::optional<std::string> askLine(QWidget* parent, const std::string& title, const std::string& prompt,
                                   const std::string& defaultText);

// A file dialog: its caption, start directory, the label of the name box and
// of the accept button, a preset name, and the name patterns (the first one
// selected).
struct FileDialogRequest {
    QString caption;
    QString dir;
    QString label;
    QString button;
    QString name;
    QStringList patterns;
    bool save = false;
};

// The full path chosen; nullopt when cancelled.
std::optional<std::string> chooseFile(QWidget* parent, const FileDialogRequest& request);

} // namespace wavra
