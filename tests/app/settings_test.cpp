// The settings file and the start-up options.
#include "app/frame_controller.h"
#include "app/player.h"
#include "app/settings.h"
#include "app/start_options.h"
#include "model/cube.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <vector>

namespace {

void writeText(const std::string& name, const std::string& text) {
    std::ofstream(name, std::ios::binary) << text;
}

int parse(const std::string& text, Settings* out, std::string* message) {
    char msg[kSettingsMessageSize] = "";
    const int ok = parseSettings(text.data(), int(text.size()), out, msg, sizeof msg);
    *message = msg;
    return ok;
}

} // namespace

// Good files give their answers; a damaged one is refused naming its line and changes nothing.
TEST(SettingsFile, AnswersReadBackOrTheDamagedLineNamed) {
    constexpr int U = kUnset;
    const struct {
        std::string text, message; // "": read
        int fullscreen, soft, look, speed;
    } cases[] = {
        {"", "", U, U, U, U},
        {"fullscreen = yes\nsoft = no\n", "", 1, 0, U, U},
        {"# mine\n\n  soft=yes  \r\n\tfullscreen\t=\tno", "", 0, 1, U, U},
        {"colours = bright\nsound = 3\ncolours = dim\nfullscreen = no\n", "", 0, U, U, U},
        {"soft = no\n# fullscreen = yes\n", "", U, 0, U, U},
        {"look = clear\nspeed = 0.5\n", "", U, U, 1, 0},
        {"speed = 20\nlook = plain\n", "", U, U, 0, kPlayerSpeedCount - 1},
        {"speed = 7.5\n", "", U, U, U, 4},
        {"fullscreen yes\n", "line 1 is not \"key = value\"", U, U, U, U},
        {"soft = no\n= yes\n", "line 2 is not \"key = value\"", U, U, U, U},
        {"fullscreen = maybe\n", "line 1: fullscreen takes yes or no", U, U, U, U},
        {"soft = YES\n", "line 1: soft takes yes or no", U, U, U, U},
        {"soft =\n", "line 1: soft takes yes or no", U, U, U, U},
        {"soft = no\nsoft = yes\n", "line 2: soft is given twice", U, U, U, U},
        {"soft = no\nfull\xffscreen = yes\n", "line 2 is not", U, U, U, U},
        {std::string("soft = no\nfullscreen = y\0s\n", 28), "line 2 holds a NUL byte", U, U, U, U},
        {"# " + std::string(300, 'x') + "\n", "line 1 is longer than 255 characters", U, U, U, U},
        {"[section]\nsoft = no\n", "line 1 is not", U, U, U, U},
        {"look = bright\n", "line 1: look takes plain or clear", U, U, U, U},
        {"soft = no\nspeed = 3\n", "line 2: speed takes 0.5, 1, 2, 4, 7.5 or 20", U, U, U, U},
        {"look = clear\nlook = clear\n", "line 2: look is given twice", U, U, U, U},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Settings s;
        std::string message;
        EXPECT_EQ(parse(c.text, &s, &message), c.message.empty() ? 1 : 0) << message;
        EXPECT_EQ(message.find(c.message), 0u) << message;
        EXPECT_EQ(s.fullscreen, c.fullscreen);
        EXPECT_EQ(s.soft, c.soft);
        EXPECT_EQ(s.look, c.look);
        EXPECT_EQ(s.speed, c.speed);
    }
}

TEST(SettingsFile, SavingKeepsOtherLinesAndReplacesOnlyItsKeys) {
    TempWorkDir dir;
    const std::string path = dir.path + "/a/b/settings.conf";
    char message[kSettingsMessageSize] = "";
    Settings answers, back;
    ASSERT_EQ(loadSettings(path.c_str(), &back, message, sizeof message), 1) << "no file";
    EXPECT_EQ(back.fullscreen, kUnset);
    answers.fullscreen = 0;
    answers.soft = 1;
    ASSERT_EQ(saveSettings(path.c_str(), answers, message, sizeof message), 1) << message;
    struct stat st {};
    ASSERT_EQ(stat((dir.path + "/a/b").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u) << "made folders are the user's own";

    writeText(path, "# mine\ncolours = bright\nsoft = yes\nspeed = 2");
    answers.fullscreen = 1;
    answers.soft = 0;
    ASSERT_EQ(saveSettings(path.c_str(), answers, message, sizeof message), 1) << message;
    EXPECT_EQ(readFile(path), "# mine\ncolours = bright\nsoft = no\nspeed = 2\nfullscreen = yes\n");
    // The look and the speed go in as words, and read back.
    answers.look = 1;
    answers.speed = 4;
    ASSERT_EQ(saveSettings(path.c_str(), answers, message, sizeof message), 1) << message;
    EXPECT_EQ(readFile(path), "# mine\ncolours = bright\nsoft = no\nspeed = 7.5\nfullscreen = "
                              "yes\nlook = clear\n");
    ASSERT_EQ(loadSettings(path.c_str(), &back, message, sizeof message), 1) << message;
    EXPECT_EQ(back.look, 1);
    EXPECT_EQ(back.speed, 4);
    EXPECT_EQ(readFile(path + ".new"), "<missing>");

    // A folder in its place is refused (a damaged file: see e2e/startup.sh).
    const std::string folder = dir.path + "/folder.conf";
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    EXPECT_EQ(loadSettings(folder.c_str(), &back, message, sizeof message), 0);
}

TEST(StartOptions, OptionsSettleBothQuestionsSettingsEachOfThem) {
    const struct {
        int optFullscreen, optSoft, keptFullscreen, keptSoft, fullscreen, soft;
    } cases[] = {
        {kUnset, kUnset, kUnset, kUnset, kUnset, kUnset}, // no file, no option: both asked
        {kUnset, kUnset, 1, kUnset, 1, kUnset},           // the file answers one
        {0, kUnset, kUnset, kUnset, 0, 0},                // --window: soft mode No
        {1, kUnset, kUnset, 1, 1, 1},                     // --fullscreen, soft from the file
        {kUnset, 1, 1, 0, 1, 1},                          // --soft, full screen from the file
        {0, 1, 1, 0, 0, 1},                               // options beat the file
    };
    for (const auto& c : cases) {
        StartOptions o;
        o.fullscreen = c.optFullscreen;
        o.soft = c.optSoft;
        Settings kept;
        kept.fullscreen = c.keptFullscreen;
        kept.soft = c.keptSoft;
        const Settings got = settledAnswers(o, kept);
        EXPECT_EQ(got.fullscreen, c.fullscreen) << &c - cases;
        EXPECT_EQ(got.soft, c.soft) << &c - cases;
    }
}

// Command lines read or refused; a scramble read is played on the solved cube.
TEST(StartOptions, CommandLinesReadOrRefused) {
    const struct {
        std::vector<const char*> args;
        int status, fullscreen, soft, remember, desktop, scrambled;
    } cases[] = {
        {{}, -1, kUnset, kUnset, 0, 0, -1},
        {{"--window", "--soft", "--remember", "--desktop"}, -1, 0, 1, 1, 1, -1},
        {{"--fullscreen", "--scramble", "R U2 M'"}, -1, 1, kUnset, 0, 0, 4},
        {{"--help"}, 0, kUnset, kUnset, 0, 0, -1},
        {{"--window", "-h"}, 0, 0, kUnset, 0, 0, -1},
        {{"--window", "--fullscreen"}, 2, 0, kUnset, 0, 0, -1},
        {{"--soft", "--soft"}, 2, kUnset, 1, 0, 0, -1},
        {{"--scramble", "R", "--scramble", "U"}, 2, kUnset, kUnset, 0, 0, 1},
        {{"--scramble", "R Q"}, 2, kUnset, kUnset, 0, 0, -1},
        {{"--scramble"}, 2, kUnset, kUnset, 0, 0, -1},
        {{"--fast"}, 2, kUnset, kUnset, 0, 0, -1},
        {{"--state", "UUU"}, 2, kUnset, kUnset, 0, 0, -1},
    };
    for (const auto& c : cases) {
        std::vector<char*> argv = {const_cast<char*>("cube-solver")};
        for (const char* a : c.args) argv.push_back(const_cast<char*>(a));
        SCOPED_TRACE(c.args.empty() ? "(none)" : c.args[0]);
        StartOptions o;
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        EXPECT_EQ(readStartOptions(int(argv.size()), argv.data(), &o), c.status);
        const std::string out = testing::internal::GetCapturedStdout();
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(out.empty(), c.status != 0) << "help on standard output only";
        EXPECT_EQ(err.empty(), c.status != 2) << "errors on standard error only";
        EXPECT_EQ(o.fullscreen, c.fullscreen);
        EXPECT_EQ(o.soft, c.soft);
        EXPECT_EQ(o.remember, c.remember);
        EXPECT_EQ(o.desktop, c.desktop);
        EXPECT_EQ(o.scrambleCount, c.scrambled);
        if (c.status != -1 || c.scrambled <= 0) continue;
        resetProgram(); // played on the solved cube, marked given, not in the history
        startGivenCube(o);
        EXPECT_EQ(givenStateUnsolved, 1);
        EXPECT_EQ(historyTop, 0);
        for (int i = o.scrambleCount - 1; i >= 0; --i)
            turnLayer(o.scramble[i].layer, -o.scramble[i].direction);
        EXPECT_TRUE(isSolved());
        resetProgram();
    }
}
