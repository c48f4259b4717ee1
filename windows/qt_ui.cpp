#include "qtbase/qt_text.h"
#include "windows/qt_ui.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "qtbase/dialogs.h"

namespace wavra {

namespace {

// The largest text file shown in the viewer window; reports beyond it are
// shown up to this size with a note.
constexpr qint64 kMaxShownBytes = 8 * 1024 * 1024;

} // namespace

void QtUi::showMessage(const std::string& text, const std::string& title, Icon icon) {
    ask(title, text, Buttons::Ok, icon);
}

Answer QtUi::ask(const std::string& title, const std::string& text, Buttons buttons, Icon icon) {
    return showMessageBox(m_parent, q(title), text, buttons, icon);
}

std::optional<std::string> QtUi::inputBox(const std::string& title, const std::string& prompt,
                                          const std::string& defaultText) {
    return askLine(m_parent, title, prompt, defaultText);
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
    FileDialogRequest dialog;
    dialog.caption = q(request.caption);
    dialog.dir = q(request.dir);
    dialog.label = q(request.label);
    dialog.button = save ? QStringLiteral("Save") : QStringLiteral("Open");
    dialog.name = q(request.name);
    dialog.patterns = {q(request.pattern), QStringLiteral("*")};
    dialog.save = save;
    const std::optional<std::string> path = chooseFile(m_parent, dialog);
    if (!path) return std::nullopt;
    // A name typed without extension when saving gets the pattern's one.
    const std::string patternExt = request.pattern.size() > 1 ? request.pattern.substr(1) : std::string();
    FileChoice choice = splitPath(*path);
    if (save && choice.ext.empty() && patternExt.find('*') == std::string::npos) choice.ext = patternExt;
    return choice;
}

std::optional<FileChoice> QtUi::openFile(const FileRequest& request) { return runFileDialog(request, false); }
std::optional<FileChoice> QtUi::saveFile(const FileRequest& request) { return runFileDialog(request, true); }

} // namespace wavra
