// Loops backup calls in the folder given as its argument until it is
// killed. Call k adds 50 points (Y1 = k, Y2 = point number) and, once the
// call returned 0, writes "k\n" to stdout.
//
// With a second argument g: generations of g calls (a rotation every g
// calls), and the labels and methods of BackupRun on their calls.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "BackupRun.h"
#include "core/files/BackupLog.h"
#include "core/model/ChartModel.h"
#include "common/PosixFileSystem.h"

using namespace pelomar::core;

namespace {

bool confirm(int k) {
    char line[32];
    const int n = std::snprintf(line, sizeof line, "%d\n", k);
    return ::write(STDOUT_FILENO, line, static_cast<size_t>(n)) == n;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) return 2;
    const std::string folder = argv[1];
    PosixFileSystem fs;
    ChartModel model;
    BackupLog log(fs);
    if (argc == 3) {
        pelomar::test::BackupRun run;
        run.points = 50;
        const int generation = std::atoi(argv[2]);
        const double limitHours = (generation + 0.5) * run.intervalMs() / 3.6e6;
        for (int k = 1;; ++k) {
            run.fill(model, k);
            if (log.BackUpLog2(model, folder, 1, run.intervalMs(), limitHours) != 0) return 1;
            if (!confirm(k)) return 1;
        }
    }
    // 1 s calls, generations of 200 calls: the first rotation comes at call
    // 201, the second (which drops generation 1) at call 401.
    const double limitHours = 200.5 / 3600;
    for (int k = 1;; ++k) {
        for (int j = 0; j < 50; ++j) model.AddPoints(static_cast<float>(k), static_cast<float>(j));
        if (log.BackUpLog2(model, folder, 1, 1000, limitHours) != 0) return 1;
        if (!confirm(k)) return 1;
        if (k == 390) ::pause();  // never into the second rotation
    }
}
