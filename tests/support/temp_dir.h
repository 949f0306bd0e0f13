// A fresh temporary working directory for tests that write the solve's text
// files (on a tmpfs where there is one); the previous one comes back at the end.
#pragma once

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

struct TempWorkDir {
    std::string previous, path;
    TempWorkDir() {
        char cwd[4096], shm[] = "/dev/shm/cube-test-XXXXXX", tmp[] = "/tmp/cube-test-XXXXXX";
        if (getcwd(cwd, sizeof cwd)) previous = cwd;
        if (mkdtemp(shm))
            path = shm;
        else if (mkdtemp(tmp))
            path = tmp;
        if (!path.empty() && chdir(path.c_str()) != 0) path.clear();
    }
    ~TempWorkDir() {
        if (previous.empty() || chdir(previous.c_str()) != 0 || path.empty()) return;
        if (std::system(("rm -rf '" + path + "'").c_str()) != 0) return;
    }
    TempWorkDir(const TempWorkDir&) = delete;
    TempWorkDir& operator=(const TempWorkDir&) = delete;
};

// The whole content of a file, or "<missing>" when it cannot be read.
inline std::string readFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    if (!in) return "<missing>";
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}
