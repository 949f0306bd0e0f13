// The Short table file refused for every damage; the worker's answer taken.
#include "solve/menu.h"
#include "solve/short/routine.h"
#include "tests/support/cube_support.h"

#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>

using namespace cubetest;

namespace {

// The table file this process maps, read whole once.
const std::string& goodImage() {
    static const std::string image = readFile(shortTablesPath());
    return image;
}

struct Damage {
    const char* name;
    void (*apply)(std::string& image);
    const char* fault; // part of the message
};

void putWord(std::string& image, size_t at, uint32_t value) {
    std::memcpy(&image[at], &value, sizeof value);
}

const Damage kDamages[] = {
    {"empty", [](std::string& i) { i.clear(); }, "empty"},
    {"shorter than a header", [](std::string& i) { i.resize(20); }, "shorter than its header"},
    {"foreign magic", [](std::string& i) { i[0] = 'X'; }, "not a table file"},
    {"other byte order",
     [](std::string& i) { putWord(i, offsetof(ShortTableHeader, byteOrder), 0x04030201u); },
     "other byte order"},
    {"newer version",
     [](std::string& i) {
         putWord(i, offsetof(ShortTableHeader, version), kShortTableVersion + 1);
     },
     "format version 2, this program reads 1"},
    {"cut short by a page", [](std::string& i) { i.resize(i.size() - 4096); }, "expected"},
    {"content size in the header",
     [](std::string& i) { putWord(i, offsetof(ShortTableHeader, contentBytes), 12345); },
     "expected"},
    {"two words swapped",
     [](std::string& i) {
         const size_t a = kShortTableHeaderBytes + 1024 * 1024, b = a + 8;
         for (int k = 0; k < 8; ++k) std::swap(i[a + k], i[b + k]);
         if (i.compare(a, 8, i, b, 8) == 0) i[a] ^= 1; // equal words: damage them anyway
     },
     "checksum mismatch"},
    {"the checksum itself", [](std::string& i) { i[offsetof(ShortTableHeader, checksum)] ^= 1; },
     "checksum mismatch"},
};

TEST(ShortTableFile, EveryDamageIsRefusedWithTheFileAndTheFault) {
    ASSERT_EQ(shortPrepare(), nullptr);
    ASSERT_EQ(goodImage().size(), kShortTableFileBytes);
    TempWorkDir dir;
    const std::string path = dir.path + "/tables.bin";
    {
        std::ofstream(path, std::ios::binary) << goodImage();
        char fault[512] = "";
        EXPECT_NE(shortMapTableFile(path.c_str(), fault, sizeof fault), nullptr) << fault;
    }
    for (const Damage& d : kDamages) {
        std::string image = goodImage();
        d.apply(image);
        std::ofstream(path, std::ios::binary | std::ios::trunc) << image;
        char fault[512] = "";
        EXPECT_EQ(shortMapTableFile(path.c_str(), fault, sizeof fault), nullptr) << d.name;
        EXPECT_NE(std::strstr(fault, path.c_str()), nullptr) << d.name << ": " << fault;
        EXPECT_NE(std::strstr(fault, d.fault), nullptr) << d.name << ": " << fault;
    }
    char fault[512] = "";
    EXPECT_EQ(shortMapTableFile(dir.path.c_str(), fault, sizeof fault), nullptr);
    EXPECT_NE(std::strstr(fault, "not a regular file"), nullptr) << fault;
}

// Polls the worker until its answer for the live cube is in (at most 10 s).
bool waitForAnswer() {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!shortAnswerReady())
        if (std::chrono::steady_clock::now() > until)
            return false;
        else
            std::this_thread::sleep_for(std::chrono::microseconds(200));
    return true;
}

constexpr int kShortEntry = 6;

TEST_F(CubeTest, TheWorkersAnswerIsTheSolveOfTheCubeItWasFoundFor) {
    ASSERT_EQ(prepareMenuEntry(kShortEntry), nullptr);
    std::mt19937 rng(92);
    for (int round = 0; round < 12; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        randomCube(rng, 25);
        static Move expected[kShortSolveMaxLength];
        const int n = shortSolve(expected, kShortSolveMaxLength);
        ASSERT_GT(n, 0);
        EXPECT_EQ(menuEntryReadyToSolve(kShortEntry), 0); // not started yet
        // Every third round the cube turns meanwhile: that answer is not taken.
        if (round % 3 == 2) turnLayer(3, 1);
        ASSERT_TRUE(waitForAnswer());
        EXPECT_EQ(shortWorkerBusy(), 0);
        ASSERT_TRUE(computeSolve(kShortEntry));
        const Moves moves = solution();
        if (round % 3 == 2) {
            apply(moves);
            EXPECT_TRUE(isSolved());
            playbackEnded();
            continue;
        }
        Moves want;
        for (int i = 0; i < n; ++i) want.push_back({expected[i].layer, expected[i].direction});
        EXPECT_EQ(moves, want);
        playbackEnded();
        EXPECT_EQ(menuEntryReadyToSolve(kShortEntry), 0); // taken: the same cube asks again
        ASSERT_TRUE(waitForAnswer());
    }
}

} // namespace
