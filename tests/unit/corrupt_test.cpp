// Damaged input: every truncation of the real files and seeded byte mutations end in a
// model or a clean failure, never a crash (the test build runs under ASan and UBSan).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "model/model.h"
#include "model/reader3ds.h"

namespace {

std::vector<std::vector<uint8_t>> realFiles() {
    std::vector<std::vector<uint8_t>> files;
    const char* dir = getenv("KESTRUNE_SHARED_3DS");
    std::error_code error; // no folder: no files
    for (const auto& entry : std::filesystem::directory_iterator(dir ? dir : "", error)) {
        std::string ext = entry.path().extension();
        std::ifstream in(entry.path(), std::ios::binary);
        std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
        if ((ext == ".3ds" || ext == ".3DS") && !bytes.empty())
            files.push_back(bytes);
    }
    return files;
}

// Reads the bytes; a success must be a sound model that preparation can use.
void readSoundly(const std::vector<uint8_t>& bytes, int& successes) {
    Model m;
    if (!readModelData(m, bytes.data(), bytes.size(), "damaged.3ds")) {
        bool clean = m.error.rfind("Corrupt 3DS file: damaged.3ds!", 0) == 0 ||
                     m.error == "Unable to load PRIMARY chuck from file: damaged.3ds!";
        ASSERT_TRUE(clean) << m.error;
        ASSERT_TRUE(m.objects.empty() && m.materials.empty());
        return;
    }
    successes++;
    for (ModelObject& o : m.objects) {
        for (const ModelFace& f : o.faces)
            ASSERT_TRUE(f.a < o.vertexCount && f.b < o.vertexCount && f.c < o.vertexCount);
        computeNormals(o);
        for (const Vec3& n : o.normals)
            ASSERT_TRUE(std::isfinite(n.x) && std::isfinite(n.y) && std::isfinite(n.z));
    }
}

class Corrupt : public testing::Test {
  protected:
    void SetUp() override {
        files = realFiles();
        if (files.empty())
            GTEST_SKIP() << "no real .3ds files: KESTRUNE_SHARED_3DS is unset or empty";
        modelWarningStream = fopen("/dev/null", "w"); // mutated versions warn a lot
    }
    void TearDown() override {
        if (modelWarningStream)
            fclose(modelWarningStream);
        modelWarningStream = nullptr;
    }
    std::vector<std::vector<uint8_t>> files;
};

} // namespace

TEST_F(Corrupt, EveryTruncationFailsCleanly) {
    for (const auto& file : files) {
        int successes = 0;
        for (size_t n = 0; n < file.size(); n++) {
            // An exact copy on the heap, so ASan sees any read past its end.
            std::vector<uint8_t> cut(file.begin(), file.begin() + long(n));
            readSoundly(cut, successes);
            if (HasFatalFailure())
                FAIL() << "truncated at " << n;
        }
        EXPECT_EQ(successes, 0); // the main chunk's length always gives a cut away
    }
}

TEST_F(Corrupt, SeededMutationsNeverCrash) {
    std::mt19937 rng(20240601);
    int successes = 0, runs = 0;
    for (const auto& file : files) {
        for (int i = 0; i < 400; i++, runs++) {
            std::vector<uint8_t> bytes = file;
            int edits = 1 + int(rng() % 8);
            for (int e = 0; e < edits; e++) {
                // A random byte, one flipped bit, or all ones or zeros.
                uint8_t& at = bytes[rng() % bytes.size()];
                uint8_t r = uint8_t(rng());
                uint8_t choices[3] = {r, uint8_t(at ^ (1u << (r % 8))), uint8_t(r % 2 ? 0xFF : 0)};
                at = choices[rng() % 3];
            }
            readSoundly(bytes, successes);
            if (HasFatalFailure())
                FAIL() << "mutation run " << runs;
        }
    }
    EXPECT_GT(runs, 2000);
    EXPECT_GT(successes, 0); // some mutations only touch data, not structure
}
