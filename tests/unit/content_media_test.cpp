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
    P operator-(P b) const { return {x - b.x, y - b.y, z - b.z}; }
    P operator/(double s) const { return {x / s, y / s, z / s}; }
    double dot(P b) const { return x * b.x + y * b.y + z * b.z; }
    double length() const { return std::sqrt(dot(*this)); }
    P cross(P b) const { return {y * b.z - z * b.y, z * b.x - x * b.z, x * b.y - y * b.x}; }
};
struct Node {
    P eye, look;
};

// Reads a path as the demo does: root, "points" with "amount", alternating pos/view.
bool readPath(const std::string& file, int* amount, std::vector<Node>* nodes) {
    TiXmlDocument doc((runDir() + "/" + file).c_str());
    TiXmlElement* points = doc.LoadFile() && doc.RootElement()
                               ? doc.RootElement()->FirstChildElement("points")
                               : nullptr;
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
        for (double t = 0; t < 0.99; t += 0.1)
            out.push_back({cr(n[k - 1].eye.x, n[k].eye.x, n[k + 1].eye.x, n[k + 2].eye.x, t),
                           cr(n[k - 1].eye.y, n[k].eye.y, n[k + 1].eye.y, n[k + 2].eye.y, t),
                           cr(n[k - 1].eye.z, n[k].eye.z, n[k + 1].eye.z, n[k + 2].eye.z, t)});
    return out;
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
        ASSERT_TRUE(readPath(file, &amount, &nodes)) << file;
        EXPECT_EQ(size_t(amount), nodes.size()) << file;
        EXPECT_GE(amount, minimum) << file;
    }
}

// Scene 1 flies inside the hall: within the walls, between floor and ceiling, clear of
// the columns, the sculpture and the lamps, in short steps.
TEST_F(Paths, RoomPathStaysInsideTheHall) {
    int amount = 0;
    std::vector<Node> nodes;
    ASSERT_TRUE(readPath("campath2.xml", &amount, &nodes));
    for (size_t k = 1; k + 2 < nodes.size(); ++k)
        EXPECT_LT((nodes[k].eye - nodes[k + 1].eye).length(), 4.0) << "node " << k;
    for (P e : playedEyes(nodes)) {
        EXPECT_LT(std::fabs(e.x), 16.0);
        EXPECT_LT(std::fabs(e.z), 16.0);
        EXPECT_GT(e.y, -1.5);
        EXPECT_LT(e.y, 11.0);
        for (double cx : {-9.0, 9.0})
            for (double cz : {-9.0, 9.0})
                EXPECT_GT(std::hypot(e.x - cx, e.z - cz), 2.2) << "column at " << cx << "," << cz;
        EXPECT_GT((e - P{0, 2.4, 0}).length(), 3.5) << "inside the sculpture";
        for (double lx : {-6.0, 6.0})
            for (double lz : {-6.0, 6.0})
                EXPECT_GT((e - P{lx, 8.0, lz}).length(), 1.8) << "through a lamp";
    }
}

// From node 28 (about second 45 of scene 2) the camera frames the platform, and the UFO
// stays in the picture while it rises about 14 units.
TEST_F(Paths, PortPathFramesTheUfoFromNode28) {
    int amount = 0;
    std::vector<Node> nodes;
    ASSERT_TRUE(readPath("campath.xml", &amount, &nodes));
    const double tanHalfV = std::tan(20.0 * M_PI / 180.0), aspect = 16.0 / 9.0;
    for (size_t k = 28; k < nodes.size(); ++k) {
        const Node& n = nodes[k];
        P f = (n.look - n.eye) / (n.look - n.eye).length();
        P r = f.cross({0, 1, 0});
        r = r / r.length();
        P u = r.cross(f);
        // The UFO's feet on the pad, its top at full lift.
        for (double y : {1.0, 1.0 + 14.4 + 6.4})
            for (double x : {-5.7, 5.7}) {
                P d = P{x, y, 0} - n.eye;
                double depth = d.dot(f);
                ASSERT_GT(depth, 1.0);
                EXPECT_LT(std::fabs(d.dot(r) / depth / tanHalfV / aspect), 0.95) << "node " << k;
                EXPECT_LT(std::fabs(d.dot(u) / depth / tanHalfV), 0.95) << "node " << k;
            }
        EXPECT_GT(n.eye.length(), 25.0) << "too close to read the flight";
        EXPECT_GT(n.eye.y, 1.0 + 14.4 + 1.0) << "below the raised platform, which hides the UFO";
    }
}

// Decodes with ffmpeg to 44.1 kHz stereo 16-bit samples.
std::vector<int16_t> decode(const std::string& file) {
    std::string cmd = "ffmpeg -v error -i '" + file + "' -f s16le -ac 2 -ar 44100 - 2>/dev/null";
    std::vector<int16_t> pcm;
    FILE* p = popen(cmd.c_str(), "r");
    int16_t buf[8192];
    size_t got;
    while (p && (got = std::fread(buf, sizeof(int16_t), 8192, p)) > 0)
        pcm.insert(pcm.end(), buf, buf + got);
    if (p)
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

using Music = Paths;

// Long enough, never silent, and louder at the sync point (bgmusic's build-up towards the
// fade at 115 s, lvl2's change at 47 s) than in the quieter stretch before it.
TEST_F(Music, LongEnoughAudibleAndLouderAtTheSyncPoint) {
    struct Piece {
        const char* file;
        double seconds, loudFrom, loudTo, quietFrom, quietTo;
    } pieces[] = {{"bgmusic.mp3", 125, 105, 115, 62, 78}, {"lvl2.mp3", 75, 47.2, 55, 35, 43}};
    for (const Piece& piece : pieces) {
        std::vector<int16_t> pcm = decode(runDir() + "/" + piece.file);
        ASSERT_GE(pcm.size() / 2 / 44100.0, piece.seconds)
            << piece.file << " too short or not decodable";
        for (double t = 0; t + 10 < piece.seconds; t += 10)
            EXPECT_GT(rms(pcm, t, t + 10), 0.01) << piece.file << " silent around " << t << " s";
        EXPECT_GT(rms(pcm, piece.loudFrom, piece.loudTo),
                  1.3 * rms(pcm, piece.quietFrom, piece.quietTo))
            << piece.file;
    }
}

} // namespace
