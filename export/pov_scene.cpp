#include "export/pov_scene.h"

#include <cmath>
#include <filesystem>
#include <numbers>

#include "base/files.h"
#include "base/text.h"

namespace wavra {

namespace {

constexpr double kMinimumRadius = 0.5; // scene units: thinner wires would vanish

std::string padded(const std::string& text, size_t width) {
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

std::string coordinate(double v) { return padded(formatPicture(v, "####0.0#"), 8); }

std::string angle(double radians) { return formatPicture(radians, "0.0#"); }

double radians(int degrees) { return degrees * std::numbers::pi / 180; }

std::string groundLines(const Model& m) {
    std::string text;
    if (m.groundType == 1) text = "plane { y, 0 texture { PerfGnd } }\n";
    else if (m.groundType == 0 || m.groundType == 2) text = "plane { y, 0 texture { FiniGnd } }\n";
    return text + " \n";
}

// "<X>+<d>*sin(<T>)*cos(<P>),<Y>+<d>*cos(<T>),<Z>+<d>*sin(<T>)*sin(<P>)":
// a point at distance d from the target in the direction (T, P); `t` is
// the theta piece, such as "1.4" or "1.4-dTHE".
std::string around(const std::array<double, 3>& target, const std::string& d, const std::string& t,
                   const std::string& p) {
    return coordinate(target[0]) + "+" + d + "*sin(" + t + ")*cos(" + p + ")," + coordinate(target[1]) + "+" + d +
           "*cos(" + t + ")," + coordinate(target[2]) + "+" + d + "*sin(" + t + ")*sin(" + p + ")";
}

std::string cameraLines(const Model& m, const PovSceneView& v) {
    const auto target = povTarget(v);
    const std::string t = angle(radians(v.theta)), p = angle(radians(v.phi));
    const std::string height = m.groundType == -1 ? "" : "+height";
    return "camera { location < " + around(target, "cdist", t, p) + " > look_at < " + coordinate(target[0]) + "," +
           coordinate(target[1]) + height + "," + coordinate(target[2]) + " > angle cang }\n\n";
}

// The light stands dTHE and dPHI beside the camera, towards the zenith.
std::string lightLines(const PovSceneView& v) {
    const auto target = povTarget(v);
    const std::string t = angle(radians(v.theta)) + (v.theta >= 0 ? "-dTHE" : "+dTHE");
    const std::string p = angle(radians(v.phi)) + "-dPHI";
    return "light_source { < " + around(target, "ldist", t, p) + " > color lcolor }\n\n";
}

std::string wireLines(const Model& m, double scale) {
    std::string text = "union {    // mult-fact=" + formatPicture(scale, "0.0####") + "\n";
    for (int i = 1; i <= m.wireCount; ++i) {
        const size_t w = static_cast<size_t>(i);
        const std::string end2 = povPoint(m.wireX2[w], m.wireY2[w], m.wireZ2[w], scale);
        const std::string radius = formatPicture(std::max(m.wireRadius[w] * scale, kMinimumRadius), "####0.0#");
        const std::string tail = " " + radius + " }   // " + std::to_string(m.wireTag[w]) + "\n";
        text += "cylinder { " + povPoint(m.wireX1[w], m.wireY1[w], m.wireZ1[w], scale) + " " + end2 + tail;
        if (m.wireEnd2Link[w] != 0) text += "sphere { " + end2 + tail;
    }
    return text + "texture { Geometry } }\n";
}

std::string trianglePoint(const PovPatternMesh& mesh, int r, int c, double scale) {
    const auto& pt = mesh.point(r, c);
    return povPoint(pt[0], pt[1], pt[2], scale);
}

// Each grid cell as two triangles over its corners (r, c), (r+1, c),
// (r+1, c+1) and (r, c+1), with the theta and phi of its first corner.
std::string meshLines(const PovPatternMesh& mesh, double scale) {
    std::string text = "mesh {\n";
    for (int r = 0; r + 1 < mesh.rows; ++r) {
        for (int c = 0; c + 1 < mesh.columns; ++c) {
            const std::string a = trianglePoint(mesh, r, c, scale), b = trianglePoint(mesh, r + 1, c, scale);
            const std::string cc = trianglePoint(mesh, r + 1, c + 1, scale), d = trianglePoint(mesh, r, c + 1, scale);
            const auto& at = mesh.angles[static_cast<size_t>(r * mesh.columns + c)];
            text += "triangle { " + a + " " + b + " " + cc + " }\n";
            text += "triangle { " + a + " " + cc + " " + d + " }\n";
            text += "// T,P:" + formatPicture(at[0], "0.0#") + "," + formatPicture(at[1], "0.0#") + "\n";
        }
    }
    return text + "texture { Pattern } }\n";
}

} // namespace

std::array<double, 3> povTarget(const PovSceneView& v) {
    const double t = radians(v.theta), p = radians(v.phi);
    const double s = std::sin(p), c = std::cos(p);
    // The view's horizontal axis is (-sin A, cos A, 0) in the model, its
    // vertical axis (-cos E cos A, -cos E sin A, sin E); in scene order.
    return {-100 * (v.panX * s + v.panY * c * std::cos(t)), 100 * v.panY * std::sin(t),
            100 * (v.panX * c - v.panY * s * std::cos(t))};
}

std::string povPoint(double x, double y, double z, double scale) {
    return "< " + coordinate(x * scale) + "," + coordinate(z * scale) + "," + coordinate(y * scale) + " >";
}

std::string povStatements(const Model& m, const PovSceneView& v, const PovSceneContent& content) {
    std::string text = groundLines(m) + cameraLines(m, v) + lightLines(v);
    if (content.wires) text += wireLines(m, v.scale());
    if (content.pattern && content.pattern->rows > 1 && content.pattern->columns > 1)
        text += meshLines(*content.pattern, v.scale());
    return text;
}

std::string writePovScene(const Model& m, Ui& ui, const PovSceneView& v, const PovSceneContent& content,
                          const std::string& path) {
    std::vector<std::string> lines;
    if (!readLines(m.installDir + "exe/default.pov", lines)) {
        ui.message("Open failure on povray default scene file: exe/default.pov", "wavra", Icon::Exclamation);
        return {};
    }
    std::string text;
    for (const auto& line : lines) (text += line) += '\n';
    text += povStatements(m, v, content);
    std::string reason;
    std::error_code ec;
    if (const std::string dir = directoryOf(path); !dir.empty()) std::filesystem::create_directories(dir, ec);
    if (!writeFileAtomic(path, text, reason)) {
        ui.message("Cannot write the POV-Ray scene " + path + ": " + reason, "wavra", Icon::Exclamation);
        return {};
    }
    return path;
}

} // namespace wavra
