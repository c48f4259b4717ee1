// The POV-Ray scene of the Yagi example from the command line, rendered by
// the real povray: wires and far-field pattern, no parse error, a picture
// that shows something.
#include <QImage>
#include <set>

#include "batch_fixture.h"

using wavra::test::Batch;
using wavra::test::readText;

TEST_F(Batch, YagiSceneRendersWithPovray) {
    auto r = run({"--batch", "--calc", "far", "--theta", "0,180,10", "--phi", "0,350,10", "--pov", "scene/yagi.pov",
                  "--render", "yagi.png", "models/yagi.nec"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err.find("Parse Error"), std::string::npos) << r.err;
    const std::string scene = readText(tree.file("scene/yagi.pov"));
    EXPECT_EQ(scene.rfind(readText(tree.file("exe/default.pov")), 0), 0u);
    EXPECT_NE(scene.find("cylinder {"), std::string::npos);
    EXPECT_NE(scene.find("mesh {"), std::string::npos);
    EXPECT_EQ(scene.find("plane {"), std::string::npos); // the Yagi is in free space
    QImage picture;
    ASSERT_TRUE(picture.load(QString::fromStdString(tree.file("yagi.png"))));
    EXPECT_EQ(picture.size(), QSize(800, 600));
    std::set<QRgb> colours;
    for (int y = 0; y < picture.height(); y += 4)
        for (int x = 0; x < picture.width(); x += 4) colours.insert(picture.pixel(x, y));
    EXPECT_GT(colours.size(), 50u); // background, copper and the pattern's shading

    r = run({"--batch", "--render", "x.png", "models/yagi.nec"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("--render needs --pov FILE"), std::string::npos) << r.err;
}
