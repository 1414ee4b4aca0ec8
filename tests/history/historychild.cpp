// A process the history tests start on their own:
//   historychild record PATH PREFIX  records visits until it is killed, printing
//                                    "?address" before each change, "+address"
//                                    once its visit is committed and "-address"
//                                    once it is deleted again;
//   historychild probe PATH          opens the history, records one visit and
//                                    prints what the store made of the file.
#include "history/historydatabase.h"
#include "history/historystore.h"

#include <glibmm/init.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

void tell(char what, const std::string &address)
{
    std::printf("%c%s\n", what, address.c_str());
    std::fflush(stdout);
}

int record(const char *path, const std::string &prefix)
{
    HistoryDatabase db(path);
    HistoryStore store(db);
    std::int64_t earlier = 0;
    std::string earlierAddress;
    for (long n = 0;; ++n) {
        const std::string address = prefix + std::to_string(n);
        tell('?', address);
        const std::int64_t visit = store.recordVisit(address, "Visit " + std::to_string(n));
        if (visit == 0)
            return 1;
        tell('+', address);
        // Titles arriving late and deletions are writes of their own.
        if (n % 3 == 0 && !store.setTitle(visit, "Renamed " + std::to_string(n)))
            return 1;
        if (n % 7 == 6) {
            tell('?', earlierAddress);
            if (!store.remove({earlier}))
                return 1;
            tell('-', earlierAddress);
        }
        if (n % 7 == 2) {
            earlier = visit;
            earlierAddress = address;
        }
    }
}

int probe(const char *path)
{
    HistoryDatabase db(path);
    HistoryStore store(db);
    const bool recorded = store.recordVisit("https://probe.test/", "Probe") != 0;
    std::printf("recorded=%d session=%d visits=%zu\n%s\n", recorded, db.mode() == HistoryDatabase::Mode::SessionOnly,
                store.visits().size(), db.problem().c_str());
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    Glib::init();
    if (argc == 4 && std::strcmp(argv[1], "record") == 0)
        return record(argv[2], argv[3]);
    if (argc == 3 && std::strcmp(argv[1], "probe") == 0)
        return probe(argv[2]);
    std::fprintf(stderr, "usage: historychild record PATH PREFIX | probe PATH\n");
    return 2;
}
