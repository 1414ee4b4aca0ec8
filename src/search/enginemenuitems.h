#pragma once

#include <array>
#include <cstddef>

// The engine items of the "Integrated &Search Engine" menu, in menu order.
// A separator follows an item when `separatorAfter` names it.
struct EngineMenuItem
{
    const char *name;
    const char *caption;
    bool visible;
    const char *engineId;
    const char *separatorAfter; // separator's object name, or nullptr
};

inline constexpr std::array<EngineMenuItem, 18> EngineMenuItems{{
    {"mnugotosearch", "DMOZ - Open Directory Project", true, "overture", "mnuseips"},
    {"mnugoogle", "Google", true, "google", "mnusepyao"},
    {"mnuyahoo", "Yahoo", true, "yahoo", "mnuseipmnes"},
    {"mnuexcite", "MSN", true, "excite", "mnuseplycos"},
    {"mnulycos", "Lycos", true, "lycos", "mnuhotbotsep"},
    {"mnudogpile", "HotBot", true, "hotbot", "mnuwebcrasep"},
    {"mnuwebcrawler", "WebCrawler", true, "webcrawler", "mnusepwespe"},
    {"mnualtavista", "Alta Vista", true, "altavista", "mnusepseallsstert"},
    {"mnuabc", "All The Web", true, "abc", nullptr},
    {"mnusearchcom", "Search.com", false, "search", nullptr},
    {"mnuaskjeeves", "Seekways", false, "seekways", nullptr},
    {"mnuseekways", "Seekways", false, "seekways", "mnusepnews"},
    {"mnunewscomsearch", "CNET News.com Search", true, "newscomsearch", nullptr},
    {"mnucbsnewssearch", "CBS News Search", true, "cbsnews", nullptr},
    {"mnufoxnewssearch", "Fox News Search", false, "foxnews", nullptr},
    {"mnucnnnewssearch", "CNN News Search", true, "cnnnews", nullptr},
    {"mnunbcsearch", "NBC News Search", true, "nbcnews", "mnusepdown"},
    {"mnudownloadcom", "Download.com", true, "downloadcom", nullptr},
}};

// Start-up check marks: the stored engine id marks every item that stores it,
// and an empty id marks the search portal's item, as "search" does.
struct EngineMark
{
    const char *engineId;
    const char *item;
};

inline constexpr std::array<EngineMark, EngineMenuItems.size() + 1> StartupEngineMarks = [] {
    std::array<EngineMark, EngineMenuItems.size() + 1> marks{};
    marks[0] = {"", "mnusearchcom"};
    for (std::size_t i = 0; i < EngineMenuItems.size(); ++i)
        marks[i + 1] = {EngineMenuItems[i].engineId, EngineMenuItems[i].name};
    return marks;
}();
