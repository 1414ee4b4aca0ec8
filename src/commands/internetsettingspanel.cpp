#include "commands/internetsettingspanel.h"

#include "commands/internetsettings.h"
#include "interfaces/dialogs.h"
#include "interfaces/pageview.h"
#include "settings/settingsstore.h"
#include "util/later.h"
#include "util/recentfiles.h"

#include <gtkmm/box.h>
#include <gtkmm/frame.h>
#include <gtkmm/label.h>

namespace {
const char *const Title = "Internet Properties";

Gtk::Frame &group(const char *caption, Gtk::Box &content)
{
    auto *frame = Gtk::manage(new Gtk::Frame(caption));
    frame->get_accessible()->set_name(caption);
    content.set_border_width(8);
    frame->add(content);
    return *frame;
}
} // namespace

InternetSettingsPanel::InternetSettingsPanel(SettingsStore &settings, Dialogs &dialogs,
                                             PageView &view, std::function<bool()> forgetSurfed,
                                             Gtk::Window *parent)
    : m_settings(settings), m_dialogs(dialogs), m_view(view), m_forgetSurfed(std::move(forgetSurfed)),
      m_javaScriptBox("Enable _JavaScript", true), m_imagesBox("Load _images", true),
      m_blockingBox("Block _trackers and ads", true), m_deleteButton("_Delete browsing data", true)
{
    set_title(Title);
    get_accessible()->set_name(Title);
    set_modal(false);
    if (parent)
        set_transient_for(*parent);
    set_default_size(340, -1);

    auto *history = Gtk::manage(new Gtk::Box(Gtk::ORIENTATION_VERTICAL, 6));
    auto *explanation = Gtk::manage(new Gtk::Label(
        "Cookies, cached pages, site data, saved sign-ins, certificate exceptions and the "
        "pages visited, with the addresses you surfed and the files Skimlark put in the "
        "recently used files."));
    explanation->set_line_wrap(true);
    explanation->set_xalign(0);
    history->pack_start(*explanation, Gtk::PACK_SHRINK);
    m_deleteButton.get_accessible()->set_name("Delete browsing data");
    history->pack_start(m_deleteButton, Gtk::PACK_SHRINK);

    auto *content = Gtk::manage(new Gtk::Box(Gtk::ORIENTATION_VERTICAL, 6));
    m_javaScriptBox.get_accessible()->set_name("Enable JavaScript");
    m_imagesBox.get_accessible()->set_name("Load images");
    content->pack_start(m_javaScriptBox, Gtk::PACK_SHRINK);
    content->pack_start(m_imagesBox, Gtk::PACK_SHRINK);
    m_blockingBox.get_accessible()->set_name("Block trackers and ads");
    content->pack_start(m_blockingBox, Gtk::PACK_SHRINK);
    m_blockingState.set_line_wrap(true);
    m_blockingState.set_xalign(0);
    m_blockingState.set_max_width_chars(48);
    content->pack_start(m_blockingState, Gtk::PACK_SHRINK);

    Gtk::Box *area = get_content_area();
    area->set_spacing(8);
    area->set_border_width(8);
    area->pack_start(group("Browsing data", *history), Gtk::PACK_SHRINK);
    area->pack_start(group("Page content", *content), Gtk::PACK_SHRINK);
    if (Gtk::Button *close = add_button("_Close", Gtk::RESPONSE_CLOSE))
        close->get_accessible()->set_name("Close");
    show_all_children();

    refresh();
    // A choice that cannot be stored is not made: the box flips back (the
    // user is told why elsewhere).
    m_javaScriptBox.signal_toggled().connect([this] {
        if (m_refreshing)
            return;
        if (internetsettings::setJavaScriptEnabled(m_settings, m_javaScriptBox.get_active()))
            m_view.setJavaScriptEnabled(m_javaScriptBox.get_active());
        else
            refresh();
    });
    m_imagesBox.signal_toggled().connect([this] {
        if (m_refreshing)
            return;
        if (internetsettings::setImagesEnabled(m_settings, m_imagesBox.get_active()))
            m_view.setImagesEnabled(m_imagesBox.get_active());
        else
            refresh();
    });
    m_blockingBox.signal_toggled().connect([this] {
        if (m_refreshing)
            return;
        if (internetsettings::setBlockingEnabled(m_settings, m_blockingBox.get_active()))
            m_view.setBlockingEnabled(m_blockingBox.get_active());
        else
            refresh();
        showBlocking();
    });
    m_view.blockingChanged.connect(sigc::mem_fun(*this, &InternetSettingsPanel::showBlocking));
    // Asked once the click has returned, so an assistive tool that clicked
    // can answer the question.
    m_deleteButton.signal_clicked().connect([this] { runLater(*this, [this] { deleteBrowsingData(); }); });
}

void InternetSettingsPanel::refresh()
{
    m_refreshing = true;
    m_javaScriptBox.set_active(internetsettings::javaScriptEnabled(m_settings));
    m_imagesBox.set_active(internetsettings::imagesEnabled(m_settings));
    m_blockingBox.set_active(internetsettings::blockingEnabled(m_settings));
    m_refreshing = false;
    showBlocking();
}

void InternetSettingsPanel::showBlocking()
{
    const std::string text = blockingText(m_view.blocking(), m_blockingBox.get_active());
    m_blockingState.set_text(text);
    m_blockingState.set_visible(!text.empty());
}

namespace {
// 115234 as "115,234".
std::string grouped(std::size_t number)
{
    std::string digits = std::to_string(number);
    for (int at = int(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(std::size_t(at), ",");
    return digits;
}
} // namespace

std::string InternetSettingsPanel::blockingText(const PageView::Blocking &blocking, bool on)
{
    using Lists = PageView::Blocking::Lists;
    if (blocking.lists == Lists::Missing)
        return "Blocking is off: the lists of trackers and ads are missing. "
               "Install the webext-ublock-origin-firefox package to turn it on.";
    if (!on)
        return "Pages load every tracker and ad they name.";
    switch (blocking.lists) {
    case Lists::Preparing:
        return "Preparing the lists of trackers and ads; pages load unblocked until they are ready.";
    case Lists::Ready:
        return "EasyList and EasyPrivacy: " + grouped(blocking.rulesUsed) + " rules used, "
               + grouped(blocking.rulesSkipped) + " skipped.";
    case Lists::Failed:
        return "The lists of trackers and ads could not be prepared (" + blocking.problem
               + "), so pages load unblocked.";
    default:
        return std::string();
    }
}

void InternetSettingsPanel::on_show()
{
    refresh();
    Gtk::Dialog::on_show();
}

void InternetSettingsPanel::on_response(int)
{
    hide();
}

void InternetSettingsPanel::deleteBrowsingData()
{
    // Nothing of this can be undone: ask first.
    if (!m_dialogs.confirm(this,
                           "Delete cookies, cached pages, site data, saved sign-ins, certificate "
                           "exceptions, the history and the addresses you surfed?",
                           Title, "_Delete", "_Cancel"))
        return;

    // Ours first: they go whatever the engine answers.
    const bool entryRemoved = m_forgetSurfed ? m_forgetSurfed() : true;
    recentfiles::forgetOurs();

    // Told in the panel; an answer that comes once the panel is gone (the
    // program closing) finds nobody to tell.
    sigc::slot<void(bool, const std::string &)> tell = sigc::track_obj(
        [this, entryRemoved](bool ok, const std::string &what) {
            std::string text = ok ? "Deleted " + what + " and the list of addresses you surfed."
                                  : "The page engine's data could not be deleted: " + what
                                        + "\nThe list of addresses you surfed was deleted.";
            if (!entryRemoved)
                text += "\nThe last address surfed could not be removed from the settings file.";
            m_dialogs.message(this, text, Title);
        },
        *this);
    m_view.clearBrowsingData([tell](bool ok, const std::string &what) { tell(ok, what); });
}
