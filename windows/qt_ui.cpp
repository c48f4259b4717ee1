#include "windows/qt_ui.h"
#include "render/qt_text.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QInputDialog>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace wavra {

namespace {

QMessageBox::Icon qtIcon(Icon icon) {
    switch (icon) {
    case Icon::Information: return QMessageBox::Information;
    case Icon::Question: return QMessageBox::Question;
    case Icon::Exclamation: return QMessageBox::Warning;
    case Icon::Critical: return QMessageBox::Critical;
    default: return QMessageBox::NoIcon;
    }
}

QMessageBox::StandardButtons qtButtons(Buttons buttons) {
    switch (buttons) {
    case Buttons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case Buttons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    default: return QMessageBox::Ok;
    }
}

Answer answerOf(int button) {
    switch (button) {
    case QMessageBox::Cancel: return Answer::Cancel;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return Answer::Ok;
    }
}

// The largest text file shown in the viewer window; reports beyond it are
// shown up to this size with a note.
constexpr qint64 kMaxShownBytes = 8 * 1024 * 1024;

} // namespace

void QtUi::showMessage(const std::string& text, const std::string& title, Icon icon) {
    ask(title, text, Buttons::Ok, icon);
}

Answer QtUi::ask(const std::string& title, const std::string& text, Buttons buttons, Icon icon) {
    QMessageBox box(qtIcon(icon), q(title), q(text), qtButtons(buttons), m_parent);
    return answerOf(box.exec());
}

std::optional<std::string> QtUi::inputBox(const std::string& title, const std::string& prompt,
                                          const std::string& defaultText) {
    bool ok = false;
    const QString answer = QInputDialog::getText(m_parent, q(title), q(prompt), QLineEdit::Normal, q(defaultText), &ok);
    if (!ok) return std::nullopt;
    return answer.toStdString();
}

void QtUi::showTextFile(const std::string& path) {
    QFile file(q(path));
    if (!file.open(QIODevice::ReadOnly)) {
        showMessage("Cannot open " + path + ".", "wavra", Icon::Exclamation);
        return;
    }
    const QByteArray bytes = file.read(kMaxShownBytes);
    QString text = q(bytes.toStdString()); // a Latin-1 file shows as Latin-1
    if (!file.atEnd()) text += QStringLiteral("\n[... the rest of the file is not shown]");
    QDialog window(m_parent);
    window.setWindowTitle(q(path));
    auto* view = new QPlainTextEdit(text, &window);
    view->setReadOnly(true);
    view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    view->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &window);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &window, &QDialog::reject);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(view);
    layout->addWidget(buttons);
    window.resize(760, 520);
    window.exec();
}

std::optional<FileChoice> QtUi::runFileDialog(const FileRequest& request, bool save) {
    QFileDialog dialog(m_parent, q(request.caption), q(request.dir));
    dialog.setOption(QFileDialog::DontUseNativeDialog); // the labels below are the program's own
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters({q(request.pattern), QStringLiteral("*")});
    dialog.setLabelText(QFileDialog::FileName, q(request.label));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("Filetype"));
    dialog.setLabelText(QFileDialog::Accept, save ? QStringLiteral("Save") : QStringLiteral("Open"));
    if (!request.name.empty()) dialog.selectFile(q(request.name));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    std::string path = dialog.selectedFiles().front().toStdString();
    // A name typed without extension when saving gets the pattern's one.
    const std::string patternExt = request.pattern.size() > 1 ? request.pattern.substr(1) : std::string();
    FileChoice choice = splitPath(path);
    if (save && choice.ext.empty() && patternExt.find('*') == std::string::npos) choice.ext = patternExt;
    return choice;
}

std::optional<FileChoice> QtUi::openFile(const FileRequest& request) { return runFileDialog(request, false); }
std::optional<FileChoice> QtUi::saveFile(const FileRequest& request) { return runFileDialog(request, true); }

} // namespace wavra
