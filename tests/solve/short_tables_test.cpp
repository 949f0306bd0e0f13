// The Short routine's table file refused for every kind of damage, with a
// message naming the file and the fault; the same cube answered the same way
// on any thread and in any order; the worker's answer taken by the solve.
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
    {"a byte too many", [](std::string& i) { i.push_back('\0'); }, "expected"},
    {"content size in the header",
     [](std::string& i) { putWord(i, offsetof(ShortTableHeader, contentBytes), 12345); },
     "expected"},
    {"the last byte", [](std::string& i) { i.back() ^= static_cast<char>(0x80); },
     "checksum mismatch"},
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
        // The image check alone says the same.
        char alone[512] = "";
        if (!image.empty()) {
            EXPECT_FALSE(shortCheckTableImage(reinterpret_cast<const unsigned char*>(image.data()),
                                              image.size(), alone, sizeof alone))
                << d.name;
        }
    }
    char fault[512] = "";
    EXPECT_EQ(shortMapTableFile((dir.path + "/none.bin").c_str(), fault, sizeof fault), nullptr);
    EXPECT_NE(std::strstr(fault, "none.bin: missing"), nullptr) << fault;
    EXPECT_EQ(shortMapTableFile(dir.path.c_str(), fault, sizeof fault), nullptr);
    EXPECT_NE(std::strstr(fault, "not a regular file"), nullptr) << fault;
}

TEST(ShortTableFile, TheMakersFileIsWhatTheProgramMaps) {
    // Written again from the mapped record, the file is the same byte for byte.
    TempWorkDir dir;
    const std::string path = dir.path + "/again.bin";
    ASSERT_TRUE(shortWriteTableFile(path.c_str(), *shortTables()));
    EXPECT_TRUE(readFile(path) == goodImage());
}

// Same cube, same answer: on one thread or two, beside other searches.
TEST(ShortDeterminism, SameCubeSameAnswerOnAnyThreadInAnyOrder) {
    ASSERT_EQ(shortPrepare(), nullptr);
    std::mt19937 rng(91);
    constexpr int kCubes = 40;
    std::vector<ShortViews> cubes(kCubes);
    for (ShortViews& v : cubes) {
        randomCube(rng, 30);
        ASSERT_TRUE(shortReadViews(v));
    }
    using Answer = std::vector<std::pair<int, int>>;
    const auto answer = [](ShortSearch& s, const ShortViews& v, int threads) {
        Move out[kShortSolveMaxLength];
        const int n = s.solve(v, out, kShortSolveMaxLength, threads);
        Answer a;
        for (int i = 0; i < n; ++i) a.push_back({out[i].layer, out[i].direction});
        if (n <= 0) a.push_back({n, 0});
        return a;
    };
    std::vector<Answer> first(kCubes);
    ShortSearch search(*shortTables());
    for (int i = 0; i < kCubes; ++i) first[i] = answer(search, cubes[i], 1);
    // Three searches at once (one or two threads each), each through all the
    // cubes from another start.
    std::vector<std::vector<Answer>> seen(3, std::vector<Answer>(kCubes));
    std::vector<std::thread> threads;
    for (int t = 0; t < 3; ++t)
        threads.emplace_back([&, t] {
            ShortSearch own(*shortTables());
            for (int k = 0; k < kCubes; ++k) {
                const int i = t == 0 ? k : t == 1 ? (3 * k + 7) % kCubes : kCubes - 1 - k;
                seen[static_cast<size_t>(t)][static_cast<size_t>(i)] =
                    answer(own, cubes[i], t % 2 + 1);
            }
        });
    for (std::thread& t : threads) t.join();
    for (int t = 0; t < 3; ++t)
        for (int i = 0; i < kCubes; ++i)
            EXPECT_EQ(seen[static_cast<size_t>(t)][static_cast<size_t>(i)], first[i])
                << "cube " << i << ", thread " << t;
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
    ASSERT_EQ(kMenu[kShortEntry].wholeSolve, shortWholeSolve);
    ASSERT_EQ(prepareMenuEntry(kShortEntry), nullptr);
    std::mt19937 rng(92);
    for (int round = 0; round < 12; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        randomCube(rng, 25);
        static Move expected[kShortSolveMaxLength];
        const int n = shortSolve(expected, kShortSolveMaxLength);
        ASSERT_GT(n, 0);
        EXPECT_EQ(menuEntryReadyToSolve(kShortEntry), 0); // not started yet
        // Every third round the cube turns while the worker thinks: that
        // answer is not taken, the new cube is searched for instead.
        if (round % 3 == 2) turnLayer(3, 1);
        ASSERT_TRUE(waitForAnswer());
        EXPECT_EQ(shortWorkerBusy(), 0);
        std::remove(kJournalFileName);
        ASSERT_TRUE(computeSolve(kShortEntry));
        const Moves moves = solution();
        EXPECT_EQ(readFile(kJournalFileName), linesOf(moves));
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
