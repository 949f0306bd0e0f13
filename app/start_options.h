// cube-solver's command line and what start-up makes of it: the cube to
// start on (a state string or a scramble), the answers to the two start-up
// questions given as options, kept in the settings file or asked, and the
// folder the text files go to.
#pragma once

#include "app/settings.h"
#include "model/cube_text.h"
#include "model/moves.h"

struct StartOptions {
    // The state of --state or --state-file, checked; "" for none.
    char state[kStateLineMax + 1] = "";
    // The moves of --scramble, played on the solved cube; -1 for none.
    Move scramble[kHistoryLimit];
    int scrambleCount = -1;
    // --window (0) or --fullscreen (1), and --soft (1); kUnset when not given.
    int fullscreen = kUnset;
    int soft = kUnset;
    int look = kUnset; // --look plain (0) or clear (1)
    int remember = 0;  // --remember: keep this run's answers, look and speed in the settings file
    int desktop = 0;   // --desktop: started from the desktop menu
};

// Reads the command line into `o`. Returns -1 to go on, or the exit status
// to end with: 0 after --help (on standard output), 2 after a
// message on standard error for a bad argument or a state no real cube can
// have.
int readStartOptions(int argc, char** argv, StartOptions* o);

// The answers the options and the settings give before anything is asked;
// kUnset for a question that is still to be asked. Options settle both
// questions (what they leave out comes from the settings, else it is No);
// without options each question takes the settings' answer, if any.
Settings settledAnswers(const StartOptions& o, const Settings& kept);

// The look and the speed a run starts with: --look, else the settings'
// (kUnset where neither says: the program's own).
Settings startLookAndSpeed(const StartOptions& o, const Settings& kept);

// Makes the cube of --state or --scramble the program's cube and marks it as
// given (see startFromState); nothing when neither was given.
void startGivenCube(const StartOptions& o);

// For --desktop: makes the state folder ($XDG_STATE_HOME/cube-solver, else
// ~/.local/state/cube-solver) when needed and makes it the working folder,
// so that the text files go there. Returns 1, or 0 with a message (the
// working folder is then unchanged).
int enterStateFolder(char* message, int messageSize);
