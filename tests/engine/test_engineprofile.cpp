// How the engine is set up: the drawing path a machine gets, and what the
// bar above the page says about the sandbox.
#include "engine/engineprofile.h"
#include "engine/enginesetup.h"
#include "engine/webkitpageview.h"
#include "fakedialogs.h"
#include "findwidget.h"
#include "testutil.h"

#include <glib/gstdio.h>
#include <gtest/gtest.h>
#include <unistd.h>
#include <webkit2/webkit2.h>

namespace {

struct DrawingRow
{
    const char *name;
    std::vector<const char *> devices; // files made in the device folder; null: no folder at all
    SkimlarkDrawingPath path;
};

void PrintTo(const DrawingRow &row, std::ostream *out)
{
    *out << row.name;
}

class DrawingPath : public testing::TestWithParam<DrawingRow>
{
};

TEST_P(DrawingPath, AGpuRenderNodeTurnsTheEnginesOwnPathOn)
{
    const DrawingRow &row = GetParam();
    gchar *base = g_dir_make_tmp("dri-XXXXXX", nullptr);
    const std::string folder = std::string(base) + "/dri";
    g_free(base);
    if (!row.devices.empty() && row.devices.front())
        g_mkdir(folder.c_str(), 0700);
    for (const char *device : row.devices) {
        if (device)
            g_file_set_contents((folder + "/" + device).c_str(), "", 0, nullptr);
    }
    EXPECT_EQ(skimlark_engine_drawing_path_in(folder.c_str()), row.path);
}

INSTANTIATE_TEST_SUITE_P(
    Machines, DrawingPath,
    testing::Values(DrawingRow{"NoDeviceFolder", {nullptr}, SKIMLARK_DRAWING_CPU},
                    DrawingRow{"EmptyFolder", {}, SKIMLARK_DRAWING_CPU},
                    DrawingRow{"DisplayCardOnly", {"card0"}, SKIMLARK_DRAWING_CPU},
                    DrawingRow{"BareRenderPrefix", {"renderD"}, SKIMLARK_DRAWING_CPU},
                    DrawingRow{"RenderNode", {"card0", "renderD128"}, SKIMLARK_DRAWING_GPU},
                    DrawingRow{"SecondRenderNode", {"card1", "renderD129", "by-path"}, SKIMLARK_DRAWING_GPU}),
    [](const testing::TestParamInfo<DrawingRow> &info) { return std::string(info.param.name); });

struct SandboxRow
{
    const char *name;
    const char *variable; // WEBKIT_DISABLE_SANDBOX_THIS_IS_DANGEROUS; null: unset
    bool pagesShown;
    const char *barSays; // "" when the bar stays hidden for a normal user
};

void PrintTo(const SandboxRow &row, std::ostream *out)
{
    *out << row.name;
}

class SandboxBar : public testing::TestWithParam<SandboxRow>
{
};

TEST_P(SandboxBar, TheBarTellsWhatTheSandboxDoes)
{
    const SandboxRow &row = GetParam();
    if (const std::string problem = EngineProfile::probeSandbox(); !problem.empty())
        GTEST_SKIP() << problem;
    if (row.variable)
        g_setenv("WEBKIT_DISABLE_SANDBOX_THIS_IS_DANGEROUS", row.variable, TRUE);
    EngineProfile profile;
    FakeDialogs dialogs;
    WebKitPageView view(profile, dialogs);
    EXPECT_EQ(profile.sandboxProblem().empty(), row.pagesShown);
    // Run as root, the notice stands wherever the sandbox runs.
    const std::string expected = !row.pagesShown || geteuid() != 0 ? row.barSays : "root's rights";
    const std::string said = findwidget::shownText(view.widget(), "Page engine problem");
    EXPECT_EQ(said.empty(), expected.empty());
    EXPECT_NE(said.find(expected), std::string::npos) << said;
    if (!row.pagesShown) {
        view.navigate("http://site.test/");
        // Refused before the engine is asked: it names a load's target as it is asked.
        EXPECT_EQ(webkit_web_view_get_uri(view.engineView()), nullptr);
        testutil::spin();
        EXPECT_EQ(view.currentAddress(), "");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Environments, SandboxBar,
    testing::Values(SandboxRow{"Unset", nullptr, true, ""},
                    // The engine turns its sandbox off for any value at all.
                    SandboxRow{"Empty", "", false, "WEBKIT_DISABLE_SANDBOX_THIS_IS_DANGEROUS"},
                    SandboxRow{"Zero", "0", false, "WEBKIT_DISABLE_SANDBOX_THIS_IS_DANGEROUS"},
                    SandboxRow{"One", "1", false, "WEBKIT_DISABLE_SANDBOX_THIS_IS_DANGEROUS"},
                    SandboxRow{"Word", "yes", false, "WEBKIT_DISABLE_SANDBOX_THIS_IS_DANGEROUS"}),
    [](const testing::TestParamInfo<SandboxRow> &info) { return std::string(info.param.name); });

TEST(SandboxNotice, OnlyRootIsWarned)
{
    EXPECT_EQ(EngineProfile::rootNotice(false), "");
    EXPECT_NE(EngineProfile::rootNotice(true).find("Run Skimlark as a normal user"), std::string::npos);
}

} // namespace
