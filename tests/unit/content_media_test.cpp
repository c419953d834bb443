// The generated camera paths and music: the paths parse as the demo reads them, hold the
// nodes their scenes need and keep the camera where it should be; the music decodes to
// long enough, audible pieces with their sync points.
#include <gtest/gtest.h>
#include <tinyxml.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string runDir() {
    const char* dir = std::getenv("KESTRUNE_RUN_DIR");
    return dir ? dir : "";
}

struct P {
    double x, y, z;
};
struct Node {
    P eye, look;
};

// Reads a path as the demo does: root, "points" with "amount", alternating pos/view.
bool readPath(const std::string& file, int* amount, std::vector<Node>* nodes) {
    TiXmlDocument doc(file.c_str());
    if (!doc.LoadFile())
        return false;
    TiXmlElement* root = doc.RootElement();
    TiXmlElement* points = root ? root->FirstChildElement("points") : nullptr;
    if (!points || points->QueryIntAttribute("amount", amount) != TIXML_SUCCESS)
        return false;
    for (TiXmlElement* e = points->FirstChildElement(); e; e = e->NextSiblingElement()) {
        TiXmlElement* view = e->NextSiblingElement();
        if (std::string(e->Value()) != "pos" || !view || std::string(view->Value()) != "view")
            return false;
        Node n;
        if (e->QueryDoubleAttribute("x", &n.eye.x) || e->QueryDoubleAttribute("y", &n.eye.y) ||
            e->QueryDoubleAttribute("z", &n.eye.z) || view->QueryDoubleAttribute("xv", &n.look.x) ||
            view->QueryDoubleAttribute("yv", &n.look.y) ||
            view->QueryDoubleAttribute("zv", &n.look.z))
            return false;
        nodes->push_back(n);
        e = view;
    }
    return true;
}

double cr(double p0, double p1, double p2, double p3, double t) {
    return 0.5 * (2 * p1 + (p2 - p0) * t + (2 * p0 - 5 * p1 + 4 * p2 - p3) * t * t +
                  (-p0 + 3 * p1 - 3 * p2 + p3) * t * t * t);
}
// Eye positions the playback passes through, segment by segment (node 1 to n - 2).
std::vector<P> playedEyes(const std::vector<Node>& n) {
    std::vector<P> out;
    for (size_t k = 1; k + 2 < n.size(); ++k)
        for (int s = 0; s < 10; ++s) {
            double t = s / 10.0;
            out.push_back({cr(n[k - 1].eye.x, n[k].eye.x, n[k + 1].eye.x, n[k + 2].eye.x, t),
                           cr(n[k - 1].eye.y, n[k].eye.y, n[k + 1].eye.y, n[k + 2].eye.y, t),
                           cr(n[k - 1].eye.z, n[k].eye.z, n[k + 1].eye.z, n[k + 2].eye.z, t)});
        }
    return out;
}
double dist(P a, P b) {
    return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) +
                     (a.z - b.z) * (a.z - b.z));
}

class Paths : public ::testing::Test {
  protected:
    void SetUp() override {
        if (runDir().empty())
            GTEST_SKIP() << "KESTRUNE_RUN_DIR is not set; run through ctest";
    }
};

TEST_F(Paths, BothParseAndDeclareWhatTheyHold) {
    for (auto [file, minimum] :
         {std::pair<const char*, int>{"campath2.xml", 90}, {"campath.xml", 60}}) {
        int amount = 0;
        std::vector<Node> nodes;
        ASSERT_TRUE(readPath(runDir() + "/" + file, &amount, &nodes)) << file;
        EXPECT_EQ(size_t(amount), nodes.size()) << file;
        EXPECT_GE(amount, minimum) << file;
    }
}

TEST_F(Paths, FilesLookLikeTheRecordersOutput) {
    FILE* f = std::fopen((runDir() + "/campath.xml").c_str(), "r");
    ASSERT_NE(f, nullptr);
    char line[256] = {};
    ASSERT_NE(std::fgets(line, sizeof line, f), nullptr);
    EXPECT_STREQ(line, "<?xml version=\"1.0\" ?>\n");
    ASSERT_NE(std::fgets(line, sizeof line, f), nullptr);
    EXPECT_STREQ(line, "<camerapath>\n");
    ASSERT_NE(std::fgets(line, sizeof line, f), nullptr);
    EXPECT_EQ(std::string(line).rfind("    <points amount=\"", 0), 0u) << line;
    ASSERT_NE(std::fgets(line, sizeof line, f), nullptr);
    // Numbers printed again with "%f" give the same text only when they were written so.
    double x, y, z;
    ASSERT_EQ(std::sscanf(line, " <pos x=\"%lf\" y=\"%lf\" z=\"%lf\"", &x, &y, &z), 3) << line;
    char expected[256];
    std::snprintf(expected, sizeof expected, "        <pos x=\"%f\" y=\"%f\" z=\"%f\" />\n", x, y,
                  z);
    EXPECT_STREQ(line, expected);
    std::fclose(f);
}

// Scene 1 flies inside the hall: within the walls, between floor and ceiling, clear of
// the columns, the sculpture and the lamps.
TEST_F(Paths, RoomPathStaysInsideTheHall) {
    int amount = 0;
    std::vector<Node> nodes;
    ASSERT_TRUE(readPath(runDir() + "/campath2.xml", &amount, &nodes));
    double spacingMin = 1e9, spacingMax = 0;
    for (size_t k = 1; k + 2 < nodes.size(); ++k) {
        double d = dist(nodes[k].eye, nodes[k + 1].eye);
        spacingMin = std::min(spacingMin, d), spacingMax = std::max(spacingMax, d);
    }
    EXPECT_LT(spacingMax, 4.0); // about 1.7 s per segment: no dashes
    for (P e : playedEyes(nodes)) {
        EXPECT_LT(std::fabs(e.x), 16.0);
        EXPECT_LT(std::fabs(e.z), 16.0);
        EXPECT_GT(e.y, -1.5);
        EXPECT_LT(e.y, 11.0);
        for (double cx : {-9.0, 9.0})
            for (double cz : {-9.0, 9.0})
                EXPECT_GT(std::hypot(e.x - cx, e.z - cz), 2.2) << "column at " << cx << "," << cz;
        EXPECT_GT(dist(e, {0, 2.4, 0}), 3.5) << "inside the sculpture";
        for (double lx : {-6.0, 6.0})
            for (double lz : {-6.0, 6.0})
                EXPECT_GT(dist(e, {lx, 8.0, lz}), 1.8) << "through a lamp";
    }
}

// From node 28 (about second 45 of scene 2) the camera frames the platform, and the UFO
// stays in the picture while it rises about 14 units.
TEST_F(Paths, PortPathFramesTheUfoFromNode28) {
    int amount = 0;
    std::vector<Node> nodes;
    ASSERT_TRUE(readPath(runDir() + "/campath.xml", &amount, &nodes));
    const double halfV = 20.0 * M_PI / 180.0, aspect = 16.0 / 9.0;
    for (size_t k = 28; k < nodes.size(); ++k) {
        const Node& n = nodes[k];
        P f = {n.look.x - n.eye.x, n.look.y - n.eye.y, n.look.z - n.eye.z};
        double fl = std::sqrt(f.x * f.x + f.y * f.y + f.z * f.z);
        f = {f.x / fl, f.y / fl, f.z / fl};
        P r = {-f.z, 0, f.x}; // right = f x up
        double rl = std::hypot(r.x, r.z);
        r = {r.x / rl, 0, r.z / rl};
        P u = {r.y * f.z - r.z * f.y, r.z * f.x - r.x * f.z, r.x * f.y - r.y * f.x};
        for (double y :
             {1.0, 1.0 + 14.4 + 6.4}) { // the UFO's feet on the pad, its top at full lift
            for (double x : {-5.7, 5.7}) {
                P d = {x - n.eye.x, y - n.eye.y, -n.eye.z};
                double depth = d.x * f.x + d.y * f.y + d.z * f.z;
                ASSERT_GT(depth, 1.0);
                double sx = (d.x * r.x + d.y * r.y + d.z * r.z) / depth / std::tan(halfV) / aspect;
                double sy = (d.x * u.x + d.y * u.y + d.z * u.z) / depth / std::tan(halfV);
                EXPECT_LT(std::fabs(sx), 0.95) << "node " << k;
                EXPECT_LT(std::fabs(sy), 0.95) << "node " << k;
            }
        }
        EXPECT_GT(dist(n.eye, {0, 0, 0}), 25.0) << "too close to read the flight";
        EXPECT_GT(n.eye.y, 1.0 + 14.4 + 1.0) << "below the raised platform, which hides the UFO";
    }
}

// Decodes with ffmpeg to 44.1 kHz stereo 16-bit samples.
std::vector<int16_t> decode(const std::string& file) {
    std::string cmd = "ffmpeg -v error -i '" + file + "' -f s16le -ac 2 -ar 44100 - 2>/dev/null";
    std::vector<int16_t> pcm;
    FILE* p = popen(cmd.c_str(), "r");
    if (!p)
        return pcm;
    int16_t buf[8192];
    size_t got;
    while ((got = std::fread(buf, sizeof(int16_t), 8192, p)) > 0)
        pcm.insert(pcm.end(), buf, buf + got);
    pclose(p);
    return pcm;
}
double rms(const std::vector<int16_t>& pcm, double from, double to) {
    size_t a = size_t(from * 44100) * 2, b = std::min(pcm.size(), size_t(to * 44100) * 2);
    double sum = 0;
    for (size_t k = a; k < b; ++k)
        sum += double(pcm[k]) * pcm[k];
    return b > a ? std::sqrt(sum / double(b - a)) / 32768.0 : 0.0;
}

class Music : public Paths {};

TEST_F(Music, RoomMusicIsLongEnoughAndBuildsUpTo115Seconds) {
    std::vector<int16_t> pcm = decode(runDir() + "/bgmusic.mp3");
    double seconds = pcm.size() / 2 / 44100.0;
    ASSERT_GE(seconds, 125.0) << "bgmusic.mp3 too short or not decodable";
    for (double t = 0; t + 10 < 125; t += 10)
        EXPECT_GT(rms(pcm, t, t + 10), 0.01) << "silent around " << t << " s";
    // Louder in the build-up than in the quiet breakdown before it.
    EXPECT_GT(rms(pcm, 105, 115), 1.3 * rms(pcm, 62, 78));
}

TEST_F(Music, PortMusicIsLongEnoughAndChangesAt47Seconds) {
    std::vector<int16_t> pcm = decode(runDir() + "/lvl2.mp3");
    double seconds = pcm.size() / 2 / 44100.0;
    ASSERT_GE(seconds, 75.0) << "lvl2.mp3 too short or not decodable";
    for (double t = 0; t + 10 < 75; t += 10)
        EXPECT_GT(rms(pcm, t, t + 10), 0.01) << "silent around " << t << " s";
    EXPECT_GT(rms(pcm, 47.2, 55), 1.3 * rms(pcm, 35, 43));
}

} // namespace
