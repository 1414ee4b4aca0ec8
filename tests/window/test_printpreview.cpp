// The print preview window over a PDF made here: its pages, where it opens,
// and the ways to close it.
#include "findwidget.h"
#include "testutil.h"
#include "widgetinput.h"
#include "window/printpreview.h"

#include <cairo-pdf.h>
#include <gtest/gtest.h>

namespace {

std::string twoPagePdf()
{
    gchar *path = nullptr;
    close(g_file_open_tmp("preview-XXXXXX.pdf", &path, nullptr));
    cairo_surface_t *surface = cairo_pdf_surface_create(path, 300, 400);
    cairo_t *cr = cairo_create(surface);
    for (int page = 0; page < 2; ++page) {
        cairo_rectangle(cr, 20, 20, 100, 100);
        cairo_fill(cr);
        cairo_show_page(cr);
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    const std::string result = path;
    g_free(path);
    return result;
}

class Preview : public testing::Test
{
protected:
    void SetUp() override
    {
        main.set_default_size(900, 700);
        main.move(120, 80);
        widgetinput::show(main);
        preview = std::make_unique<PrintPreview>(twoPagePdf(), [this] { ++printed; });
        preview->set_transient_for(main);
        preview->present();
        testutil::spinUntil([this] { return preview->get_mapped(); });
        testutil::spin();
    }

    Gtk::Window main;
    std::unique_ptr<PrintPreview> preview;
    int printed = 0;
};

TEST_F(Preview, OpensCentredOverTheMainWindowOnItsFirstPage)
{
    EXPECT_TRUE(findwidget::named<Gtk::Label>(*preview, "Page 1 of 2"));
    int mx = 0, my = 0, px = 0, py = 0;
    main.get_window()->get_root_origin(mx, my);
    preview->get_window()->get_root_origin(px, py);
    const int mainCentre = mx + main.get_width() / 2, previewCentre = px + preview->get_width() / 2;
    EXPECT_NEAR(previewCentre, mainCentre, 2);
    EXPECT_NEAR(py + preview->get_height() / 2, my + main.get_height() / 2, 2);
}

TEST_F(Preview, CloseAndEscCloseItWithoutPrinting)
{
    Gtk::Button &close = *findwidget::named<Gtk::Button>(*preview, "Close");
    close.clicked();
    EXPECT_FALSE(preview->get_visible());
    preview->present();
    testutil::spinUntil([this] { return preview->get_mapped(); });
    widgetinput::key(close, GDK_KEY_Escape);
    EXPECT_TRUE(testutil::spinUntil([this] { return !preview->get_visible(); }));
    EXPECT_EQ(printed, 0);
}

} // namespace
