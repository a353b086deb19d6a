// A separate program that opens a content file for writing, as another program on the
// machine would: it runs one SQL text without waiting for locks, prints "rc=<engine code>",
// and keeps the connection (and any transaction the text left open) until its input closes.
//   content_lock_holder PATH KEY SQL
#include <cstdio>
#include <cstring>
#include <sqlite3.h>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fputs("usage: content_lock_holder PATH KEY SQL\n", stderr);
        return 2;
    }
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(argv[1], &db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_key(db, argv[2], int(std::strlen(argv[2])));
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, argv[3], nullptr, nullptr, nullptr);
    std::printf("rc=%d\n", rc);
    std::fflush(stdout);
    while (std::fgetc(stdin) != EOF) {
    }
    sqlite3_close_v2(db);
    return 0;
}
