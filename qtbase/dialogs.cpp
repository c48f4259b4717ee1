#include "qtbase/dialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

#include "qtbase/qt_text.h"

namespace wavra {

namespace {

QMessageBox::Icon qtIcon(Icon icon) {
    switch (icon) {
    case Icon::Information: return QMessageBox::Information;
    case Icon::Question: return QMessageBox::Question;
    case Icon::Exclamation: return QMessageBox::Warning;
    case Icon::Critical: return QMessageBox::Critical;
    case Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons qtButtons(Buttons buttons) {
    switch (buttons) {
    case Buttons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case Buttons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case Buttons::Ok: break;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButton qtButton(Answer answer) {
    switch (answer) {
    case Answer::Cancel: return QMessageBox::Cancel;
    case Answer::Yes: return QMessageBox::Yes;
    case Answer::No: return QMessageBox::No;
    case Answer::Ok: break;
    }
    return QMessageBox::Ok;
}

Answer answerOf(int button) {
    switch (button) {
    case QMessageBox::Cancel: return Answer::Cancel;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return Answer::Ok;
    }
}

} // namespace

Answer showMessageBox(QWidget* parent, const QString& title, const std::string& text, Buttons buttons, Icon icon,
                      std::optional<Answer> defaultAnswer) {
    QMessageBox box(qtIcon(icon), title, q(text), qtButtons(buttons), parent);
    if (defaultAnswer) box.setDefaultButton(qtButton(*defaultAnswer));
    return answerOf(box.exec());
}

std::optional<std::string> askLine(QWidget* parent, const std::string& title, const std::string& prompt,
                                   const std::string& defaultText) {
    bool ok = false;
    const QString answer = QInputDialog::getText(parent, q(title), q(prompt), QLineEdit::Normal, q(defaultText), &ok);
    if (!ok) return std::nullopt;
    return answer.toStdString();
}

std::optional<std::string> chooseFile(QWidget* parent, const FileDialogRequest& request) {
    QFileDialog dialog(parent, request.caption, request.dir);
    dialog.setOption(QFileDialog::DontUseNativeDialog); // the labels below are the program's own
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(request.patterns);
    dialog.setLabelText(QFileDialog::FileName, request.label);
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("Filetype"));
    dialog.setLabelText(QFileDialog::Accept, request.button);
    if (!request.name.isEmpty()) dialog.selectFile(request.name);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

} // namespace wavra
