// kestrune-paths on crafted, broken and shipped paths: the summary line, the
// warnings against a scene, the plot and its node labels.
#include <gtest/gtest.h>

#include <IL/il.h>

#include <algorithm>
#include <cstring>
#include <sstream>

#include "files.h"
#include "show/show.h"

namespace {

std::string tool() {
    return envFolder("KESTRUNE_BIN_DIR") + "/kestrune-paths";
}

// Runs the tool; returns its exit status and what it printed.
int runTool(const std::string& arguments, std::string* output) {
    int status = -1;
    *output = commandOutput(tool() + " " + arguments + " 2>&1", &status);
    return status;
}

class PathsTool : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!std::ifstream(tool()))
            GTEST_SKIP() << "kestrune-paths not built at " << tool();
    }
    TempFolder dir;
};

// The eye against a wall across z = 0: through it, beside it, and standing still.
TEST_F(PathsTool, WarnsWhereTheEyeMeetsTheScene) {
    // A square wall named "Wall", 20 units wide, across the z = 0 plane (the file is z-up).
    Bytes wall =
        file({object("Wall", {vertices({{-10, 0, -10}, {10, 0, -10}, {10, 0, 10}, {-10, 0, 10}}),
                              faces({{0, 1, 2, 0}, {0, 2, 3, 0}})})});
    ASSERT_TRUE(std::filesystem::create_directory(dir.file("models")));
    writeText(dir.file("models/room.3ds"), std::string(wall.begin(), wall.end()));
    // Each case: the eyes' x and their z on a line at y = 1, what the output says and not.
    const struct {
        float x;
        std::vector<float> zs;
        std::vector<std::string> expected, unexpected;
    } cases[] = {
        // Node 3 stands in front of the wall and node 4 behind it.
        {0,
         {7, 5, 3, 1, -1, -3, -5, -7},
         {"8 nodes held, amount 8", "(5 segments)",
          "WARNING: the eye passes through Wall (room.3ds) in segment 3-4"},
         {"clear", "stands still"}},
        // The same beside the wall: clear, 40 units away at the closest.
        {50,
         {7, 5, 3, 1, -1, -3, -5, -7},
         {"eye clear of the scene", "closest approach 40.00 units to Wall (room.3ds)"},
         {"passes through", "stands still"}},
        // Four equal nodes: the eye stops for the segment between the middle two.
        {50, {7, 5, 3, 3, 3, 3, 1, -1}, {"WARNING: the eye stands still"}, {}},
    };
    for (const auto& c : cases) {
        std::vector<Vec3> eyes;
        for (float z : c.zs)
            eyes.push_back({c.x, 1, z});
        writeText(dir.file("path.xml"), pathXml(eyes, eyes.size(), int(eyes.size())));
        std::string output;
        ASSERT_EQ(runTool("--scene 1 --models " + dir.file("models") + " " + dir.file("path.xml"),
                          &output),
                  0)
            << output;
        for (const std::string& text : c.expected)
            EXPECT_NE(output.find(text), std::string::npos) << text << "\n" << output;
        for (const std::string& text : c.unexpected)
            EXPECT_EQ(output.find(text), std::string::npos) << text << "\n" << output;
    }
}

TEST_F(PathsTool, BrokenFilesFailWithAClearMessage) {
    std::vector<Vec3> eyes = {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0}};
    std::string fine = pathXml(eyes, eyes.size(), int(eyes.size()));
    writeText(dir.file("broken_path.xml"), fine.substr(0, fine.size() / 2));
    writeText(dir.file("short_path.xml"), pathXml({{1, 0, 0}, {2, 0, 0}}, 2, 2));
    auto with = [&](const std::string& from, const std::string& to) {
        std::string text = fine;
        return text.replace(text.find(from), from.size(), to);
    };
    writeText(dir.file("nan_path.xml"), with("x=\"2\"", "x=\"nan\""));
    writeText(dir.file("inf_path.xml"), with("zv=\"-5\"", "zv=\"-1e39\""));
    // Finite in the file, but the spline's sums leave the range of floats.
    writeText(dir.file("huge_path.xml"), with("y=\"0\"", "y=\"3e38\""));
    // Each case: the arguments and a part of the message.
    const std::pair<std::string, std::string> cases[] = {
        {dir.file("broken_path.xml"), "cannot be played"},
        {dir.file("short_path.xml"), "fewer than four"},
        {dir.file("no_such_path.xml"), "cannot be played"},
        {dir.file("nan_path.xml"), "node 2: pos x is not a finite number"},
        {dir.file("inf_path.xml"), "node 0: view zv is not a finite number"},
        {dir.file("huge_path.xml"), "leaves the range of numbers in segment 1-2"},
        {"--scene 3 " + dir.file("short_path.xml"), "--scene takes 1, 2 or none"},
        {"", "usage"}};
    for (const auto& [arguments, message] : cases) {
        std::string output;
        EXPECT_EQ(runTool(arguments, &output), 1) << arguments;
        EXPECT_NE(output.find(message), std::string::npos) << output;
    }
}

// A declared "amount" that differs from the nodes held: the tool says what the demo's
// playback makes of it, and plays as far as the demo would.
TEST_F(PathsTool, SaysWhatPlaybackMakesOfTheDeclaredAmount) {
    std::vector<Vec3> eyes;
    for (int i = 0; i < 9; i++)
        eyes.push_back({float(i), 0, 0});
    std::vector<Vec3> six(eyes.begin(), eyes.begin() + 6);
    // Each case: the file, and what its summary line says.
    const std::pair<std::string, std::string> cases[] = {
        {pathXml(eyes, 9, 6),
         "9 nodes held, amount 6, plays segments 1-2 to 3-4 (3 segments), 5.0 s "
         "at 60 frames per second; holds 9 nodes but declares 6; the rest are "
         "never played;"},
        {pathXml(six, 6, 40),
         "6 nodes held, amount 40, plays segments 1-2 to 3-4 (3 segments), 5.0 "
         "s at 60 frames per second; declares 40 nodes but holds 6; playback "
         "ends at the last node held;"},
        {pathXml(eyes, 8, 9),
         "8 nodes held, amount 9, plays segments 1-2 to 5-6 (5 segments), 8.4 s "
         "at 60 frames per second; declares 9 nodes but holds 8;"},
        {pathXml(six, 6, -2),
         "6 nodes held, amount 0, plays segments 1-2 to 1-2 (1 segments), 1.7 s "
         "at 60 frames per second; holds 6 nodes but declares 0;"},
    };
    for (const auto& [text, expected] : cases) {
        writeText(dir.file("path.xml"), text);
        std::string output;
        EXPECT_EQ(runTool("--scene none " + dir.file("path.xml"), &output), 0) << output;
        EXPECT_NE(output.find(expected), std::string::npos) << expected << "\n" << output;
    }
}

// The shipped paths, plotted from a copy beside the run folder's models.
class ShippedPaths : public PathsTool {
  protected:
    void SetUp() override {
        PathsTool::SetUp();
        std::string run = envFolder("KESTRUNE_RUN_DIR");
        if (!std::ifstream(run + "/campath.xml"))
            GTEST_SKIP() << "no generated content in " << run;
        models = run + "/models";
        for (const char* name : {"campath.xml", "campath2.xml"})
            writeText(dir.file(name), readText(run + "/" + name));
    }
    std::string models;
};

// Share of the plot's pixels that are neither white nor the page's off-white.
double inkedShare(const std::string& png) {
    ilInit();
    ilBindImage(ilGenImage());
    if (!ilLoadImage(png.c_str()))
        return -1;
    ilConvertImage(IL_RGB, IL_UNSIGNED_BYTE);
    const ILubyte* p = ilGetData();
    size_t pixels = size_t(ilGetInteger(IL_IMAGE_WIDTH)) * ilGetInteger(IL_IMAGE_HEIGHT), inked = 0;
    for (size_t i = 0; i < pixels; i++)
        inked += std::min({p[3 * i], p[3 * i + 1], p[3 * i + 2]}) < 240;
    return double(inked) / double(pixels);
}

// Each shipped path, played by the demo's own playback, lasts its scene, keeps the eye
// the near plane's distance (1) clear of the scene drawn under it and never looks steeply
// up or down (more than 35 degrees) for longer than 2 s. Both views label a good
// share of its nodes, the first and the last among them, and no two labels overlap.
TEST_F(ShippedPaths, LastTheirScenesClearOfTheSceneWithLabelsThatNeverOverlap) {
    for (auto [name, seconds, nodes] :
         {std::tuple{"campath2.xml", show::kSceneOneEnd, 73},
          {"campath.xml", show::kAnimationStart + show::kSceneTwoEnd, 43}}) {
        std::string file = dir.file(name), png = file.substr(0, file.size() - 4) + ".png", output;
        ASSERT_EQ(runTool("--scene none " + file, &output), 0) << output;
        double bare = inkedShare(png);
        ASSERT_EQ(runTool("--label-boxes --models " + models + " " + file, &output), 0) << output;
        auto numberAfter = [&output](const std::string& text) {
            size_t at = output.find(text);
            return at == std::string::npos ? 0.0 : atof(output.c_str() + at + text.size());
        };
        EXPECT_GT(numberAfter("segments), "), seconds) << output; // "N s at 60 frames..."
        EXPECT_GE(numberAfter("eye clear of the scene; closest approach "), 1.0) << output;
        EXPECT_LE(numberAfter("looks more than 35 degrees up or down for "), 2.0) << output;
        EXPECT_GT(inkedShare(png), bare + 0.1) << name << ": " << bare << " without the scene";

        struct Box {
            int view, node;
            double x, y, w, h;
        } b;
        std::vector<Box> boxes;
        std::istringstream lines(output);
        for (std::string line; std::getline(lines, line);)
            if (sscanf(line.c_str(), "label view %d node %d box %lf %lf %lf %lf", &b.view, &b.node,
                       &b.x, &b.y, &b.w, &b.h) == 6)
                boxes.push_back(b);
        for (int view = 0; view < 2; view++) {
            std::vector<bool> labelled(size_t(nodes), false);
            for (const Box& box : boxes)
                labelled.at(size_t(box.node)) = labelled.at(size_t(box.node)) || box.view == view;
            EXPECT_TRUE(labelled[0] && labelled.back()) << name << " view " << view;
            EXPECT_GE(std::count(labelled.begin(), labelled.end(), true), nodes / 3) << name;
        }
        for (size_t i = 0; i < boxes.size(); i++)
            for (size_t j = i + 1; j < boxes.size(); j++) {
                const Box &p = boxes[i], &q = boxes[j];
                EXPECT_FALSE(p.view == q.view && p.x < q.x + q.w && q.x < p.x + p.w &&
                             p.y < q.y + q.h && q.y < p.y + p.h)
                    << name << ": labels of nodes " << p.node << " and " << q.node
                    << " overlap in view " << p.view;
            }
    }
}

} // namespace
