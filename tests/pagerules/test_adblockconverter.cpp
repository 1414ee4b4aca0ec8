#include "engine/filtercompiler.h"
#include "pagerules/adblockconverter.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <glib.h>

namespace {

// Where "||host" anchors a pattern, as the engine's regular expression (in JSON).
const std::string Host = R"(^[a-z]+://([a-z0-9-]+\\.)*)";
// The one rule that lets a page's own document through rules without a type.
const std::string Rescue =
    R"({"trigger":{"url-filter":".*","resource-type":["document"],"load-context":["top-frame"]},"action":{"type":"ignore-previous-rules"}})";

std::string block(const std::string &trigger)
{
    return R"({"trigger":{)" + trigger + R"(},"action":{"type":"block"}})";
}
std::string letThrough(const std::string &trigger)
{
    return R"({"trigger":{)" + trigger + R"(},"action":{"type":"ignore-previous-rules"}})";
}
std::string hide(const std::string &trigger, const std::string &selector)
{
    return R"({"trigger":{)" + trigger + R"(},"action":{"type":"css-display-none","selector":)" + selector + "}}";
}

struct Row
{
    const char *kind;
    std::string list;
    std::vector<std::string> rules;
    std::size_t skipped;
};

const std::vector<Row> &rows()
{
    static const std::vector<Row> table = {
        {"a host and its subdomains", "||tracker.example^",
         {block(R"("url-filter":")" + Host + R"(tracker\\.example[/:]")"), Rescue}, 0},
        {"a path anywhere, its end a separator or the end",
         "/banner/*/img^",
         {block(R"("url-filter":"/banner/.*/img([^a-zA-Z0-9_.%-].*)?$")"), Rescue}, 0},
        {"anchored at both ends, case kept",
         "|https://x.example/Ad.js|$match-case,script",
         {block(R"("url-filter":"^https://x\\.example/Ad\\.js$","url-filter-is-case-sensitive":true,"resource-type":["script"])")},
         0},
        {"types and third party",
         "||ads.example^$image,third-party",
         {block(R"("url-filter":")" + Host + R"(ads\\.example[/:]","resource-type":["image"],"load-type":["third-party"])")},
         0},
        {"first party by negation, on some sites only",
         "-ad-$~third-party,domain=a.example|b.example",
         {block(R"("url-filter":"-ad-","load-type":["first-party"],"if-domain":["*a.example","*b.example"])"), Rescue}, 0},
        {"all sites but some",
         "/pixel.gif$domain=~news.example",
         {block(R"("url-filter":"/pixel\\.gif","unless-domain":["*news.example"])"), Rescue}, 0},
        {"every type but one, frames included",
         "||cdn.example/ads/$~script",
         {block(R"("url-filter":")" + Host + R"(cdn\\.example/ads/","resource-type":["fetch","font","image","media","other","ping","style-sheet","svg-document","websocket"])"),
          block(R"("url-filter":")" + Host + R"(cdn\\.example/ads/","resource-type":["document"],"load-context":["child-frame"])")},
         0},
        {"a frame's document",
         "||frames.example^$subdocument",
         {block(R"("url-filter":")" + Host + R"(frames\\.example[/:]","resource-type":["document"],"load-context":["child-frame"])")},
         0},
        {"other blockers' names for types and parties, in any case",
         "||a.example^$XHR,3p\n||b.example^$beacon,websocket,1p\n||c.example^$css,font,media,~Third-Party",
         {block(R"("url-filter":")" + Host + R"(a\\.example[/:]","resource-type":["fetch"],"load-type":["third-party"])"),
          block(R"("url-filter":")" + Host + R"(b\\.example[/:]","resource-type":["ping","websocket"],"load-type":["first-party"])"),
          block(R"("url-filter":")" + Host + R"(c\\.example[/:]","resource-type":["font","media","style-sheet"],"load-type":["first-party"])")},
         0},
        {"the same rule in both lists once", "||t.example^$image\n||t.example^$image",
         {block(R"("url-filter":")" + Host + R"(t\\.example[/:]","resource-type":["image"])")}, 0},
        {"a regular expression the engine takes", R"(/\/ad[0-9]+\.gif/)",
         {block(R"("url-filter":"\\/ad[0-9]+\\.gif")"), Rescue}, 0},
        {"an exception comes after what it undoes",
         "@@||cdn.example/lib.js$script\n||cdn.example^",
         {block(R"("url-filter":")" + Host + R"(cdn\\.example[/:]")"), Rescue,
          letThrough(R"("url-filter":")" + Host + R"(cdn\\.example/lib\\.js","resource-type":["script"])")},
         0},
        {"an important rule outranks exceptions; pages stay reachable",
         "||x.example^$important\n@@||x.example^",
         {letThrough(R"("url-filter":")" + Host + R"(x\\.example[/:]")"),
          block(R"("url-filter":")" + Host + R"(x\\.example[/:]","resource-type":["fetch","font","image","media","other","ping","script","style-sheet","svg-document","websocket"])")},
         0},
        {"a page blocked itself",
         "||bad.example^$document",
         {block(R"("url-filter":")" + Host + R"(bad\\.example[/:]")")}, 0},
        {"a whole site let through, last",
         "@@||shop.example^$document\n||t.example^",
         {block(R"("url-filter":")" + Host + R"(t\\.example[/:]")"), Rescue,
          letThrough(R"("url-filter":".*","if-domain":["*shop.example"])")},
         0},
        {"hiding on every site", "##.ad-banner", {hide(R"("url-filter":".*")", R"(".ad-banner")")}, 0},
        {"hiding on some sites, quotes kept",
         "news.example,Blog.example##div[id=\"sponsor\"]",
         {hide(R"("url-filter":".*","if-domain":["*news.example","*blog.example"])", R"("div[id=\"sponsor\"]")")}, 0},
        {"hiding text that is not ASCII, in JSON's escapes",
         "##a[title=\"Реклама\"]\n##[data-\U0001F600]",
         {hide(R"("url-filter":".*")", R"("a[title=\"\u0420\u0435\u043a\u043b\u0430\u043c\u0430\"]")"),
          hide(R"("url-filter":".*")", R"("[data-\ud83d\ude00]")")},
         0},
        {"hiding but on some sites",
         "~forum.example##.promo\n##.promo\nshop.example#@#.promo",
         {hide(R"("url-filter":".*","unless-domain":["*forum.example","*shop.example"])", R"(".promo")"),
          hide(R"("url-filter":".*","unless-domain":["*shop.example"])", R"(".promo")")},
         0},
        {"a site's hiding undone there",
         "a.example,b.example##.box\nb.example#@#.box",
         {hide(R"("url-filter":".*","if-domain":["*a.example"])", R"(".box")")}, 0},
        {"hiding undone everywhere", "##.x\n#@#.x", {}, 0},
        {"element hiding let through on a site",
         "##.ad\n@@||safe.example^$elemhide",
         {hide(R"("url-filter":".*")", R"(".ad")"),
          letThrough(R"("url-filter":".*","resource-type":["document"],"if-domain":["*safe.example"])")},
         0},
        {"generic hiding let through on a site, before the site's own hiding",
         "x.example##.own\n##.generic\n@@||x.example^$generichide",
         {hide(R"("url-filter":".*")", R"(".generic")"),
          letThrough(R"("url-filter":".*","resource-type":["document"],"if-domain":["*x.example"])"),
          hide(R"("url-filter":".*","if-domain":["*x.example"])", R"(".own")")},
         0},
        {"pages let through by their address",
         "@@|https://shop.example/checkout$document",
         {letThrough(R"("url-filter":".*","if-top-url":["^https://shop\\.example/checkout"])")}, 0},
        {"comments and headers are no rules", "[Adblock Plus 2.0]\n! Title: list\n\n   \n", {}, 0},
        {"what the engine cannot do",
         "example.com##+js(abort-on-property-read, ads)\n"
         "||x.example^$redirect=noop.js\n"
         "||x.example^$csp=script-src 'none'\n"
         "||x.example^$removeparam=utm_source\n"
         "example.com##div:has-text(Sponsored)\n"
         "example.com#?#div:-abp-has(.ad)\n"
         "example.com#$#abort-on-property-read ads\n"
         "/ads|banners/\n"
         "/ad{2}/\n"
         "||ümlaut.example^\n"
         "##a{}body{display:none\n"
         "example.*##.ad\n"
         "||x.example^$domain=a.example|~b.a.example\n"
         "||x.example^$unknownoption\n"
         "||x.example^$domain=example.*\n"
         "a.example,~b.a.example##.ad\n"
         "example.com##",
         {}, 17},
    };
    return table;
}

std::string joined(const std::vector<std::string> &rules)
{
    std::string out = "[";
    for (std::size_t i = 0; i < rules.size(); ++i)
        out += (i ? "," : "") + rules[i];
    return out + "]";
}

TEST(AdblockConverter, EachKindOfRuleBecomesWhatTheEngineNeeds)
{
    for (const Row &row : rows()) {
        AdblockConverter converter;
        converter.addList(row.list);
        AdblockConverter::Counts counts;
        EXPECT_EQ(converter.json(&counts), joined(row.rules)) << row.kind;
        EXPECT_EQ(counts.used, row.rules.size()) << row.kind;
        EXPECT_EQ(counts.skipped, row.skipped) << row.kind;
    }
}

TEST(AdblockConverter, TheEnginesCompilerTakesEveryRuleWritten)
{
    AdblockConverter converter;
    for (const Row &row : rows())
        converter.addList(row.list);
    const std::string store = g_get_user_cache_dir() + std::string("/store");
    FilterCompiler compiler(store);
    const FilterCompiler::Result result = compiler.compile("rows", converter.rules());
    EXPECT_TRUE(result.ok) << result.problem;
    EXPECT_EQ(result.rejected, 0u);
}

TEST(AdblockConverter, RulesTheCompilerRejectsAreLeftOut)
{
    const std::vector<std::string> rules = {
        block(R"("url-filter":"a")"), block(R"("url-filter":"b{2}")"), block(R"("url-filter":"c")"),
        block(R"("url-filter":"d|e")"), block(R"("url-filter":"f")")};
    FilterCompiler compiler(g_get_user_cache_dir() + std::string("/store"));
    const FilterCompiler::Result result = compiler.compile("some-rejected", rules);
    EXPECT_TRUE(result.ok) << result.problem;
    EXPECT_EQ(result.rejected, 2u);
}

TEST(AdblockConverter, WithoutGenericHidingOnlyASitesOwnHidingStays)
{
    AdblockConverter converter(false);
    converter.addList("##.everywhere\n~a.example##.nearly\nb.example##.here\n");
    AdblockConverter::Counts counts;
    EXPECT_EQ(converter.json(&counts), joined({hide(R"("url-filter":".*","if-domain":["*b.example"])", R"(".here")")}));
    EXPECT_EQ(counts.skipped, 2u);
}

TEST(AdblockConverter, DamagedListsSkipWhatCannotBeRead)
{
    const struct
    {
        const char *what;
        std::string list;
        std::size_t used, skipped;
    } rows[] = {
        {"bytes that are no text", std::string("||a.example^\n\xff\xfe\x00junk\x01\n||b.example^\n", 29), 3, 1},
        {"cut in the middle of a rule", "||a.example^\n||b.exa", 3, 0},
        {"cut in the middle of its options", "||a.example^\n||b.example^$third-pa", 2, 1},
        {"a line longer than any rule", "||a.example^\n" + std::string(5000, 'x'), 2, 1},
        {"carriage returns", "||a.example^\r\n##.ad\r\n", 3, 0},
    };
    for (const auto &row : rows) {
        AdblockConverter converter;
        converter.addList(row.list);
        AdblockConverter::Counts counts;
        converter.json(&counts);
        EXPECT_EQ(counts.used, row.used) << row.what;
        EXPECT_EQ(counts.skipped, row.skipped) << row.what;
    }
}

TEST(AdblockConverter, AListTooLargeForTheEngineIsSkippedWhole)
{
    std::string huge;
    const std::size_t lines = 1000000;
    for (std::size_t i = 0; i < lines; ++i)
        huge += "||t" + std::to_string(i) + ".example^\n";
    AdblockConverter converter;
    converter.addList("||kept.example^\n");
    converter.addList(huge);
    converter.addList("##.also-kept\n");
    AdblockConverter::Counts counts;
    const std::string json = converter.json(&counts);
    EXPECT_EQ(counts.used, 3u); // the two rules and the page's own document let through
    EXPECT_EQ(counts.skipped, lines);
    EXPECT_NE(json.find("kept"), std::string::npos);
    EXPECT_NE(json.find(".also-kept"), std::string::npos);
}

// What the tests wrote is not left behind.
struct Cleanup : testing::Environment
{
    void TearDown() override { testutil::removeTree(g_get_user_cache_dir()); }
};
const auto *const cleanup = testing::AddGlobalTestEnvironment(new Cleanup);

} // namespace
