// A fresh temporary working directory for tests that write the solve's text
// files; the previous working directory comes back at the end.
#pragma once

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

struct TempWorkDir {
    std::string previous;
    std::string path;
    TempWorkDir() {
        char cwd[4096];
        if (getcwd(cwd, sizeof cwd)) previous = cwd;
        // A tmpfs keeps the many small writes of a solve off the disk.
        char shm[] = "/dev/shm/cube-test-XXXXXX";
        char tmp[] = "/tmp/cube-test-XXXXXX";
        if (mkdtemp(shm))
            path = shm;
        else if (mkdtemp(tmp))
            path = tmp;
        if (!path.empty() && chdir(path.c_str()) != 0) path.clear();
    }
    ~TempWorkDir() {
        if (!previous.empty() && chdir(previous.c_str()) != 0) return;
        if (!path.empty()) {
            const std::string cmd = "rm -rf '" + path + "'";
            if (std::system(cmd.c_str()) != 0) return;
        }
    }
    TempWorkDir(const TempWorkDir&) = delete;
    TempWorkDir& operator=(const TempWorkDir&) = delete;
};

// The whole content of a file, or "<missing>" when it cannot be read.
inline std::string readFile(const std::string& name) {
    struct stat st {};
    if (stat(name.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return "<missing>";
    std::ifstream in(name, std::ios::binary);
    if (!in) return "<missing>";
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}
