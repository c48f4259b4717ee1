// Redraw time of the geometry view: 11,000 segments carrying current and a
// 3-D far-field pattern of 181 x 361 = 65,341 points (every degree), painted
// into an 800 x 800 picture as the window's canvas paints it (scene worked
// out, then drawn with antialiasing). Target: under 16 ms per redraw.
//
// The model store counts pattern points in 16 bits, so a loaded pattern
// stops at 32,767 points; the grid of 65,341 points is handed to the same
// scene builder directly.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstdlib>

#include "core/config.h"
#include "present/geometry_scene.h"
#include "present/pattern_mesh.h"
#include "render/geometry_renderer.h"

namespace {

constexpr int kSegments = 11000;
constexpr int kTheta = 181, kPhi = 361;

// A helix of 11,000 segments with a standing-wave current, as a long
// wire antenna of the report would have them.
void fillStructure(wavra::Model& m) {
    m.maxSegments = kSegments;
    m.allocateModelTables(kSegments, 10, 2, 2, 2);
    m.wireCount = kSegments;
    auto point = [](int k, double& x, double& y, double& z) {
        const double a = k * 0.05;
        x = 2 * std::cos(a);
        y = 2 * std::sin(a);
        z = -5 + k * 10.0 / kSegments;
    };
    for (int i = 1; i <= kSegments; ++i) {
        point(i - 1, m.wireX1[i], m.wireY1[i], m.wireZ1[i]);
        point(i, m.wireX2[i], m.wireY2[i], m.wireZ2[i]);
        m.wireTag[i] = 1;
        m.wireSegments[i] = 1;
        m.wireRadius[i] = 0.001;
        m.wireEnd1Link[i] = static_cast<int16_t>(i - 1);
        m.wireEnd2Link[i] = static_cast<int16_t>(i == kSegments ? 0 : i + 1);
        m.wireCurrentMag[i] = 0.02 * std::fabs(std::sin(i * 0.003));
        m.wireCurrentPhase[i] = std::fmod(i * 0.7, 180.0);
    }
    m.maxCurrentMag = 0.02;
    m.maxCurrentPhase = 180;
    m.modelExtent = 5;
}

struct Pattern {
    std::vector<std::array<double, 2>> angles;
    std::vector<std::array<double, 5>> gains;
    wavra::PatternGrid grid;
    Pattern() {
        angles.resize(kTheta * kPhi + 1);
        gains.resize(kTheta * kPhi + 1);
        size_t i = 0;
        for (int p = 0; p < kPhi; ++p)
            for (int t = 0; t < kTheta; ++t) {
                ++i;
                angles[i] = {static_cast<double>(t), static_cast<double>(p)};
                const double g =
                    7 + 10 * std::log10(1e-3 + std::pow(std::sin(t * 0.01745), 2) * (1.2 + std::cos(p * 0.01745)));
                gains[i] = {g - 3, g - 3, g, 0, 0};
            }
        grid.thetaCount = kTheta;
        grid.phiCount = kPhi;
        grid.angles = angles;
        grid.values = gains;
        grid.largest[3] = 10.4;
    }
};

// The view of the benchmarks: the helix with its currents as bars and,
// when `pattern` is given, the 3-D pattern.
struct Scene {
    wavra::Model m;
    wavra::GeometryViewState s;
    wavra::PatternGrid grid;
    wavra::GeometryScene scene; // the view keeps its scene between redraws
    QImage image{800, 800, QImage::Format_ARGB32_Premultiplied};

    Scene(const Pattern* pattern, bool multiColour) {
        fillStructure(m);
        m.requestMode = 0;
        s = wavra::initialGeometryState(m, m);
        s.multiColour = multiColour;
        s.showCurrent = pattern != nullptr;
        s.showPattern = pattern != nullptr;
        if (pattern) grid = pattern->grid;
    }
    void build() { wavra::buildGeometryScene(m, s, grid, scene); }
    void redraw() {
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        build();
        wavra::paintGeometry(painter, image.rect(), s, scene);
    }
};

const Pattern& everyDegree() {
    static const Pattern pattern;
    return pattern;
}

void BM_RedrawPatternInColours(benchmark::State& st) {
    Scene v(&everyDegree(), true);
    for (auto _ : st) v.redraw();
}

void BM_RedrawPatternInOneColour(benchmark::State& st) {
    Scene v(&everyDegree(), false);
    for (auto _ : st) v.redraw();
}

// The scene alone, without painting.
void BM_ScenePatternInColours(benchmark::State& st) {
    Scene v(&everyDegree(), true);
    for (auto _ : st) {
        v.build();
        benchmark::DoNotOptimize(v.scene.batches.data());
    }
}

// The wires alone in colours by their current.
void BM_RedrawCurrentsInColours(benchmark::State& st) {
    Scene v(nullptr, true);
    for (auto _ : st) v.redraw();
}

BENCHMARK(BM_RedrawPatternInColours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawPatternInOneColour)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScenePatternInColours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawCurrentsInColours)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
