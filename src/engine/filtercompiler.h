#pragma once

#include <cstddef>
#include <string>
#include <vector>

typedef struct _WebKitUserContentFilterStore WebKitUserContentFilterStore;

// Compiles content-blocker rules into the engine's filter store, in the
// calling process (the compile helper's: the compiler's memory dies with it).
// Where the engine's compiler rejects the rules, the ones it rejects are
// found and left out.
class FilterCompiler
{
public:
    struct Result
    {
        bool ok = false;
        // Why nothing could be compiled.
        std::string problem;
        // Rules the compiler rejected, left out of what was compiled.
        std::size_t rejected = 0;
    };

    explicit FilterCompiler(const std::string &storeFolder);
    ~FilterCompiler();
    FilterCompiler(const FilterCompiler &) = delete;
    FilterCompiler &operator=(const FilterCompiler &) = delete;

    // Saves the rules (JSON objects) under `identifier`; runs the main
    // context until the compiler has answered.
    Result compile(const std::string &identifier, const std::vector<std::string> &rules);
    // Removes what the store keeps under identifiers beginning with `prefix`,
    // but `keep`.
    void removeOthers(const std::string &prefix, const std::string &keep);

private:
    // Compiles rules [first, last); "" when the compiler took them, else its complaint.
    std::string trySave(const std::string &identifier, const std::vector<std::string> &rules,
                        std::size_t first, std::size_t last);
    // Marks the rules in [first, last) the compiler rejects.
    void findRejected(const std::vector<std::string> &rules, std::size_t first, std::size_t last,
                      std::vector<bool> &rejected);

    WebKitUserContentFilterStore *m_store = nullptr;
};
