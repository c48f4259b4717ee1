#include "views/headless_view.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include "core/files.h"
#include "present/key_names.h"
#include "views/result_view.h"

namespace wavra {

namespace {

bool writeBytes(const std::string& path, const QByteArray& bytes, std::string& error) {
    if (writeFileAtomic(path, std::string(bytes.constData(), static_cast<size_t>(bytes.size())))) return true;
    error = "cannot write " + path;
    return false;
}

bool writePng(const ResultView& view, const ViewRequest& r, std::string& error) {
    QImage image(r.width, r.height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        view.paint(painter, QRect(0, 0, r.width, r.height));
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) {
        error = "cannot encode the picture for " + r.png;
        return false;
    }
    return writeBytes(r.png, bytes, error);
}

bool writeSvg(const ResultView& view, const ViewRequest& r, std::string& error) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(r.width, r.height));
    svg.setViewBox(QRect(0, 0, r.width, r.height));
    svg.setTitle(QString::fromStdString("wavra " + view.name()));
    {
        QPainter painter(&svg);
        painter.fillRect(QRect(0, 0, r.width, r.height), Qt::white);
        view.paint(painter, QRect(0, 0, r.width, r.height));
    }
    return writeBytes(r.svg, bytes, error);
}

} // namespace

bool showHeadless(Model& model, Ui& ui, const ViewRequest& r, nlohmann::json& described, std::string& error) {
    auto view = makeResultView(r.view, model, ui);
    if (!view) {
        error = "no view named '" + r.view + "'";
        return false;
    }
    std::vector<int16_t> codes;
    if (!r.keys.empty()) {
        std::string bad;
        auto parsed = actionCodesOfKeyList(r.keys, bad);
        if (!parsed) {
            error = "--keys: '" + bad + "' is not a key name";
            return false;
        }
        codes = std::move(*parsed);
    }
    view->open();
    for (int16_t code : codes) {
        if (returnsToMainLoop(code) || !view->command(code)) {
            error = "--keys: key code " + std::to_string(code) + " leaves the " + r.view + " view";
            return false;
        }
    }
    if (!r.png.empty() && !writePng(*view, r, error)) return false;
    if (!r.svg.empty() && !writeSvg(*view, r, error)) return false;
    described = view->describe();
    described["name"] = view->name();
    if (const std::string status = view->statusText(); !status.empty()) described["status"] = status;
    return true;
}

} // namespace wavra
