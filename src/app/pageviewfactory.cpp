#include "app/startup.h"
#include "browser/pageview.h"

#include <gtkmm/label.h>

namespace {

// Stands in for the page engine until it is built in: shows a line of text
// and remembers the last address asked for.
class PlaceholderPageView : public PageView
{
public:
    PlaceholderPageView() : m_label("The page engine is not built in yet.") {}
    Gtk::Widget &widget() override { return m_label; }
    void navigate(const std::string &address) override
    {
        loadStarted.emit();
        m_address = address;
        urlChanged.emit(address);
        loadFinished.emit(address);
    }
    void showHtml(const std::string &, const std::string &base) override { navigate(base); }
    bool goBack() override { return false; }
    bool goForward() override { return false; }
    void stop() override {}
    void refresh() override {}
    std::string currentAddress() const override { return m_address; }
    std::string currentTitle() const override { return std::string(); }
    bool print() override { return false; }
    bool printPreview() override { return false; }
    bool saveAs() override { return false; }
    void takeFocus() override { m_label.grab_focus(); }
    void zoomBy(int) override {}
    void resetZoom() override {}
    void findText(const std::string &, bool) override {}
    void setJavaScriptEnabled(bool) override {}
    void setImagesEnabled(bool) override {}
    void clearBrowsingData(std::function<void(bool, const std::string &)> done) override
    {
        done(false, "nothing to delete");
    }

private:
    Gtk::Label m_label;
    std::string m_address;
};

} // namespace

std::unique_ptr<PageView> makePageView(Dialogs &, std::function<Gtk::Window *()>)
{
    return std::make_unique<PlaceholderPageView>();
}
