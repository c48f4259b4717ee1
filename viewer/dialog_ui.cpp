#include "viewer/dialog_ui.h"
#include "viewer/qt_text.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace wavra::view {

namespace {

const QString kTitle = QStringLiteral("Viewer");

QMessageBox::Icon boxIcon(Icon icon) {
    switch (icon) {
    case Icon::Information: return QMessageBox::Information;
    case Icon::Question: return QMessageBox::Question;
    case Icon::Exclamation: return QMessageBox::Warning;
    case Icon::Critical: return QMessageBox::Critical;
    case Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void DialogUi::message(const std::string& text, Icon icon) {
    QMessageBox box(boxIcon(icon), kTitle, q(text), QMessageBox::Ok, m_parent);
    box.exec();
}

Answer DialogUi::askYesNoCancel(const std::string& text) {
    const auto button = QMessageBox::question(
        m_parent, kTitle, q(text), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (button == QMessageBox::Yes) return Answer::Yes;
    if (button == QMessageBox::No) return Answer::No;
    return Answer::Cancel;
}

std::optional<std::string> DialogUi::inputBox(const std::string& title, const std::string& prompt,
                                              const std::string& defaultText) {
    bool ok = false;
    const QString text = QInputDialog::getText(m_parent, q(title), q(prompt), QLineEdit::Normal, q(defaultText), &ok);
    if (!ok) return std::nullopt;
    return text.toStdString();
}

std::optional<std::string> DialogUi::runFileDialog(const FileRequest& request, bool save) {
    QFileDialog dialog(m_parent, q(request.caption), q(request.dir));
    dialog.setOption(QFileDialog::DontUseNativeDialog); // the labels below are the viewer's own
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    QStringList filters;
    for (const std::string& pattern : request.patterns) filters << q(pattern);
    dialog.setNameFilters(filters);
    dialog.setLabelText(QFileDialog::FileName, q(request.label));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("Filetype"));
    dialog.setLabelText(QFileDialog::Accept, q(request.button));
    if (!request.name.empty()) dialog.selectFile(q(request.name));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

std::optional<std::string> DialogUi::openFile(const FileRequest& request) { return runFileDialog(request, false); }
std::optional<std::string> DialogUi::saveFile(const FileRequest& request) { return runFileDialog(request, true); }

} // namespace wavra::view
