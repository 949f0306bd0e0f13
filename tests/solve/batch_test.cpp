// cube-solve --batch's engine: a line out per line in; any number of jobs.
#include "model/cube_text.h"
#include "solve/batch.h"
#include "tests/support/cube_support.h"

using namespace cubetest;

namespace {

struct BatchRun {
    int ran = 0;
    BatchCounts counts;
    std::vector<std::string> lines;
    std::string message;
};

BatchRun runBatch(const std::string& input, int entry, int jobs) {
    FILE* in = tmpfile();
    FILE* out = tmpfile();
    std::fwrite(input.data(), 1, input.size(), in);
    std::rewind(in);
    BatchOptions o;
    o.entry = entry;
    o.jobs = jobs;
    BatchRun r;
    char message[512] = "";
    r.ran = solveBatch(in, out, o, r.counts, message, sizeof message);
    r.message = message;
    std::rewind(out);
    char line[8192];
    while (std::fgets(line, sizeof line, out)) {
        std::string l = line;
        if (!l.empty() && l.back() == '\n') l.pop_back();
        r.lines.push_back(l);
    }
    std::fclose(in);
    std::fclose(out);
    return r;
}

// A random mix in notation.
std::string randomMix(std::mt19937& rng, int length) {
    static const char* const kTurns[] = {"U", "R", "F", "D", "L", "B", "M", "E", "S"};
    static const char* const kPowers[] = {"", "'", "2"};
    std::string s;
    for (int i = 0; i < length; ++i)
        s += std::string(i ? " " : "") + kTurns[rng() % 9] + kPowers[rng() % 3];
    return s;
}

// Plays notation on the live cube; false if it does not parse.
bool play(const std::string& notation) {
    Move moves[400];
    char message[kTextMessageSize];
    const int n = parseMoves(notation.c_str(), moves, 400, message, sizeof message);
    for (int i = 0; i < n; ++i) turnLayer(moves[i].layer, moves[i].direction);
    return n >= 0;
}

std::string stateOf(const std::string& mix) {
    startState();
    play(mix);
    char state[kStateLength + 1];
    writeStateString(state);
    return state;
}

// Plays `answer` on the cube read from the state of `mix`: solved?
bool solves(const std::string& mix, const std::string& answer) {
    const std::string state = stateOf(mix);
    char message[kTextMessageSize];
    startState();
    return readStateString(state.c_str(), message, sizeof message) && play(answer) && isSolved();
}

class Batch : public CubeTest {};

TEST_F(Batch, EveryLineAnsweredInOrderErrorsNamingTheirLine) {
    std::mt19937 rng(31);
    const std::string mixA = randomMix(rng, 25), mixB = randomMix(rng, 25);
    const std::string solved = "UUUUUUUUURRRRRRRRRFFFFFFFFFDDDDDDDDDLLLLLLLLLBBBBBBBBB";
    // line: text, and the error expected ("" when it solves)
    const std::vector<std::pair<std::string, std::string>> input = {
        {mixA, ""},
        {"R U X", "word 3, \"X\", is not a move"},
        {"  " + stateOf(mixB) + "\r", ""},
        {"", ""},
        {solved.substr(0, 53) + "Q", "none of U, R, F, D, L, B"},
        {std::string(kBatchLineMax + 1, 'R'), "line too long"},
        {solved.substr(0, 8) + "FU" + solved.substr(10, 10) + "R" + solved.substr(21), "twisted"},
        {mixB, ""},
    };
    std::string text;
    for (const auto& line : input) text += line.first + "\n";
    text.pop_back(); // the last line without its line feed
    for (int entry : {6, 0, 3}) {
        const BatchRun r = runBatch(text, entry, 2);
        ASSERT_TRUE(r.ran) << r.message;
        ASSERT_EQ(r.lines.size(), input.size()) << "entry " << entry;
        EXPECT_EQ(r.counts.lines, static_cast<long>(input.size()));
        for (size_t i = 0; i < input.size(); ++i) {
            const std::string& want = input[i].second;
            const std::string& got = r.lines[i];
            if (want.empty()) {
                EXPECT_EQ(got.find("error"), std::string::npos) << "line " << i + 1 << ": " << got;
                const std::string mix = i == 0 ? mixA : i == 3 ? "" : mixB;
                EXPECT_TRUE(solves(mix, got)) << "entry " << entry << " line " << i + 1;
            } else {
                const std::string head = "error: line " + std::to_string(i + 1) + ": ";
                EXPECT_EQ(got.rfind(head, 0), 0u) << got;
                EXPECT_NE(got.find(want), std::string::npos) << got;
            }
        }
        EXPECT_EQ(r.counts.failed, 4);
        if (entry != 3) {
            EXPECT_EQ(r.lines[3], ""); // a blank line: the solved cube
        }
    }
    // The history replay undoes a mix, and cannot solve a given state.
    const BatchRun quick = runBatch(mixA + "\n" + solved + "\n", 5, 1);
    ASSERT_EQ(quick.lines.size(), 2u);
    EXPECT_TRUE(solves(mixA, quick.lines[0])) << quick.lines[0];
    EXPECT_NE(quick.lines[1].find("error: line 2: the history replay"), std::string::npos);
}

TEST_F(Batch, TheSameAnswersForAnyNumberOfJobs) {
    std::mt19937 rng(32);
    std::string text;
    std::vector<std::string> mixes;
    // More lines than one chunk; every fifth a long mix.
    for (int i = 0; i < 270; ++i) {
        mixes.push_back(randomMix(rng, i % 5 == 0 ? 30 : 3));
        text += (i % 2 ? stateOf(mixes.back()) : mixes.back()) + "\n";
    }
    const BatchRun one = runBatch(text, 6, 1);
    ASSERT_TRUE(one.ran) << one.message;
    ASSERT_EQ(one.lines.size(), mixes.size());
    EXPECT_EQ(one.counts.solved, 270);
    for (size_t i = 0; i < mixes.size(); i += 9)
        EXPECT_TRUE(solves(mixes[i], one.lines[i])) << "line " << i + 1;
    for (int jobs : {2, 5}) EXPECT_EQ(runBatch(text, 6, jobs).lines, one.lines) << jobs << " jobs";
}

} // namespace
