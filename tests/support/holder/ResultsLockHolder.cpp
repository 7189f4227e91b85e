// Another copy of the program holding the results file's append lock, for as long as a
// test wants:
//
//   results_lock_holder <results file>
//
// Takes the lock the way every copy does, prints "locked" once it holds it, and lets go
// when a line (or the end) arrives on its standard input. Status 3 when the lock cannot
// be had.

#include "records/RecordFile.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: results_lock_holder <results file>\n");
        return 2;
    }
    RecordFile file;
    const QString path = QString::fromLocal8Bit(argv[1]);
    if (!file.open(path, RecordFile::Access::ReadWrite).ok() || !file.tryLockExclusive().ok()) {
        std::fprintf(stdout, "refused\n");
        return 3;
    }
    std::fprintf(stdout, "locked\n");
    std::fflush(stdout);
    char line[16];
    std::fgets(line, sizeof line, stdin);
    file.unlock();
    return 0;
}
