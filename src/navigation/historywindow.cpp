#include "navigation/historywindow.h"

#include <glibmm/datetime.h>
#include <glibmm/main.h>
#include <gtkmm/treeselection.h>
#include <set>

namespace {

const char *const Title = "History";

bool sameDay(const HistoryDay &day, const Glib::DateTime &date)
{
    return date && day.year == date.get_year() && day.month == date.get_month()
           && day.day == date.get_day_of_month();
}

Glib::DateTime localTime(std::int64_t microseconds)
{
    const Glib::DateTime utc = Glib::DateTime::create_now_utc(microseconds / 1000000);
    return utc ? utc.to_local() : utc;
}

void nameButton(Gtk::Button &button, const char *caption, const char *name)
{
    button.set_label(caption);
    button.set_use_underline(true);
    button.get_accessible()->set_name(name);
}

} // namespace

HistoryWindow::HistoryWindow(HistoryStore &store, std::function<void(const std::string &)> open,
                             Gtk::Window *parent)
    : m_store(store), m_open(std::move(open))
{
    set_title(Title);
    get_accessible()->set_name(Title);
    set_default_size(720, 480);
    if (parent)
        set_transient_for(*parent);
    m_layout.set_border_width(8);
    add(m_layout);

    m_searchLabel.set_text_with_mnemonic("_Search history:");
    m_searchLabel.set_mnemonic_widget(m_searchField);
    m_searchField.get_accessible()->set_name("Search history");
    m_searchField.signal_changed().connect([this] {
        m_keepPlace = false;
        scheduleReload();
    });
    // Enter in the search field opens the first visit found.
    m_searchField.signal_activate().connect([this] {
        if (!m_list.get_selection()->count_selected_rows())
            selectFirstVisit();
        openSelected();
    });
    // Down goes on from the search field to the visits found.
    m_searchField.signal_key_press_event().connect(
        [this](GdkEventKey *event) {
            if (event->keyval != GDK_KEY_Down && event->keyval != GDK_KEY_KP_Down)
                return false;
            selectFirstVisit();
            m_list.grab_focus();
            return true;
        },
        false);
    m_searchRow.pack_start(m_searchLabel, Gtk::PACK_SHRINK);
    m_searchRow.pack_start(m_searchField);
    m_layout.pack_start(m_searchRow, Gtk::PACK_SHRINK);

    // Titles and addresses are the pages' own text: shown as text, never as markup.
    m_list.set_model(m_model);
    m_list.append_column("Title", m_columns.title);
    m_list.append_column("Address", m_columns.address);
    m_list.append_column("Time", m_columns.time);
    for (int n = 0; n < 2; ++n) {
        Gtk::TreeViewColumn *column = m_list.get_column(n);
        column->set_resizable(true);
        column->set_expand(true);
        if (auto *cell = dynamic_cast<Gtk::CellRendererText *>(column->get_first_cell())) {
            cell->property_ellipsize() = Pango::ELLIPSIZE_END;
            cell->property_width_chars() = 20;
        }
    }
    m_list.get_accessible()->set_name("Visits");
    m_list.set_enable_search(false);
    m_list.get_selection()->set_mode(Gtk::SELECTION_MULTIPLE);
    m_list.get_selection()->signal_changed().connect(sigc::mem_fun(*this, &HistoryWindow::selectionChanged));
    m_list.signal_row_activated().connect(sigc::mem_fun(*this, &HistoryWindow::rowActivated));
    m_list.signal_key_press_event().connect(sigc::mem_fun(*this, &HistoryWindow::keyPressed), false);
    m_scroller.set_policy(Gtk::POLICY_AUTOMATIC, Gtk::POLICY_AUTOMATIC);
    m_scroller.set_shadow_type(Gtk::SHADOW_IN);
    m_scroller.add(m_list);
    m_scroller.signal_edge_reached().connect([this](Gtk::PositionType edge) {
        if (edge == Gtk::POS_BOTTOM && m_more)
            appendPage();
    });
    m_layout.pack_start(m_scroller);

    m_state.set_xalign(0);
    m_state.set_line_wrap(true);
    m_state.set_selectable(true);
    m_layout.pack_start(m_state, Gtk::PACK_SHRINK);

    nameButton(m_openButton, "_Open", "Open");
    nameButton(m_deleteButton, "_Delete", "Delete");
    nameButton(m_closeButton, "_Close", "Close");
    m_openButton.signal_clicked().connect(sigc::mem_fun(*this, &HistoryWindow::openSelected));
    m_deleteButton.signal_clicked().connect(sigc::mem_fun(*this, &HistoryWindow::deleteSelected));
    m_closeButton.signal_clicked().connect([this] { hide(); });
    m_buttons.pack_end(m_closeButton, Gtk::PACK_SHRINK);
    m_buttons.pack_end(m_deleteButton, Gtk::PACK_SHRINK);
    m_buttons.pack_end(m_openButton, Gtk::PACK_SHRINK);
    m_layout.pack_start(m_buttons, Gtk::PACK_SHRINK);
    // Esc closes the window, as it does a dialog.
    signal_key_press_event().connect([this](GdkEventKey *event) {
        if (event->keyval != GDK_KEY_Escape)
            return false;
        hide();
        return true;
    });
    selectionChanged();
    m_layout.show_all();
}

void HistoryWindow::present()
{
    if (!get_visible()) {
        m_searchField.set_text("");
        reload();
    }
    Gtk::Window::present();
    m_searchField.grab_focus();
}

void HistoryWindow::historyChanged()
{
    if (!get_visible())
        return;
    // A page opened from the list comes back at its top: the list stays where the user was.
    m_keepPlace = m_keepPlace || !m_pendingReload.connected();
    scheduleReload();
}

void HistoryWindow::tellProblem(const std::string &message)
{
    m_problem = message;
    showCount();
}

std::string HistoryWindow::dayHeading(const HistoryDay &day, const Glib::DateTime &now)
{
    if (sameDay(day, now))
        return "Today";
    if (now && sameDay(day, now.add_days(-1)))
        return "Yesterday";
    const Glib::DateTime date = Glib::DateTime::create_local(day.year, day.month, day.day, 12, 0, 0);
    return date ? date.format("%A %-d %B %Y") : "Unknown date";
}

void HistoryWindow::scheduleReload()
{
    // After the key that changed the search has been handled: typing never waits for the list.
    if (m_pendingReload.connected())
        return;
    m_pendingReload = Glib::signal_idle().connect([this] {
        if (m_keepPlace)
            reloadInPlace();
        else
            reload();
        return false;
    });
}

void HistoryWindow::reload()
{
    m_pendingReload.disconnect();
    m_keepPlace = false;
    m_search = m_searchField.get_text();
    m_model->clear();
    m_last = Visit();
    m_lastDay = HistoryDay();
    m_lastDayRow = Gtk::TreeModel::iterator();
    m_shown = 0;
    m_more = false;
    appendPage();
}

void HistoryWindow::reloadInPlace()
{
    std::set<std::int64_t> selected;
    for (const Gtk::TreeModel::Path &path : m_list.get_selection()->get_selected_rows())
        selected.insert((*m_model->get_iter(path))[m_columns.visit]);
    Gtk::TreeModel::Path top, bottom;
    std::int64_t topVisit = 0;
    if (m_list.get_visible_range(top, bottom))
        topVisit = (*m_model->get_iter(top))[m_columns.visit];
    const std::size_t shown = m_shown;
    reload();
    while (m_more && m_shown < shown)
        appendPage();
    m_model->foreach_iter([&](const Gtk::TreeModel::iterator &row) {
        const std::int64_t visit = (*row)[m_columns.visit];
        if (visit && selected.count(visit))
            m_list.get_selection()->select(row);
        if (visit && visit == topVisit)
            m_list.scroll_to_row(m_model->get_path(row), 0);
        return false;
    });
}

void HistoryWindow::appendPage()
{
    const std::vector<Visit> visits = m_store.visits(m_search, PageSize, m_shown ? &m_last : nullptr);
    m_more = visits.size() == PageSize;
    const Glib::DateTime now = Glib::DateTime::create_now_local();
    for (HistoryDay &day : HistoryStore::byDay(visits)) {
        const bool continues = m_lastDayRow && day.year == m_lastDay.year && day.month == m_lastDay.month
                               && day.day == m_lastDay.day;
        if (!continues) {
            m_lastDayRow = m_model->append();
            (*m_lastDayRow)[m_columns.title] = dayHeading(day, now);
            (*m_lastDayRow)[m_columns.visit] = 0;
            m_lastDay = day;
        }
        for (const Visit &visit : day.visits) {
            Gtk::TreeModel::Row row = *m_model->append(m_lastDayRow->children());
            row[m_columns.title] = visit.title.empty() ? visit.address : visit.title;
            row[m_columns.address] = visit.address;
            const Glib::DateTime time = localTime(visit.time);
            row[m_columns.time] = time ? time.format("%X") : "";
            row[m_columns.visit] = visit.id;
        }
    }
    m_shown += visits.size();
    if (!visits.empty())
        m_last = visits.back();
    m_list.expand_all();
    showCount();
}

void HistoryWindow::showCount()
{
    std::string text;
    if (m_shown == 0)
        text = m_search.empty() ? "No pages visited." : "No visited page matches \u201c" + m_search + "\u201d.";
    if (!m_problem.empty())
        text = text.empty() ? m_problem : text + " " + m_problem;
    m_state.set_text(text);
    m_state.set_visible(!text.empty());
}

void HistoryWindow::rowActivated(const Gtk::TreeModel::Path &path, Gtk::TreeViewColumn *)
{
    const Gtk::TreeModel::iterator row = m_model->get_iter(path);
    if (!row)
        return;
    if ((*row)[m_columns.visit] == 0) {
        if (m_list.row_expanded(path))
            m_list.collapse_row(path);
        else
            m_list.expand_row(path, false);
        return;
    }
    const Glib::ustring address = (*row)[m_columns.address];
    m_open(address);
}

bool HistoryWindow::keyPressed(GdkEventKey *event)
{
    if (event->keyval != GDK_KEY_Delete && event->keyval != GDK_KEY_KP_Delete)
        return false;
    deleteSelected();
    return true;
}

void HistoryWindow::openSelected()
{
    for (const Gtk::TreeModel::Path &path : m_list.get_selection()->get_selected_rows()) {
        const Gtk::TreeModel::iterator row = m_model->get_iter(path);
        if (row && (*row)[m_columns.visit] != 0) {
            const Glib::ustring address = (*row)[m_columns.address];
            m_open(address);
            return;
        }
    }
}

void HistoryWindow::deleteSelected()
{
    std::vector<std::int64_t> visits;
    for (const Gtk::TreeModel::Path &path : m_list.get_selection()->get_selected_rows()) {
        const Gtk::TreeModel::iterator row = m_model->get_iter(path);
        if (!row)
            continue;
        if ((*row)[m_columns.visit] != 0)
            visits.push_back((*row)[m_columns.visit]);
        else
            for (const Gtk::TreeModel::Row &child : row->children())
                visits.push_back(child[m_columns.visit]);
    }
    if (visits.empty())
        return;
    // Where the first selected row was, the row after it is selected next.
    Gtk::TreeModel::Path first = m_list.get_selection()->get_selected_rows().front();
    if (!m_store.remove(visits))
        return;
    reload();
    if (!m_model->get_iter(first) && first.size() > 1 && !first.prev())
        first.up();
    if (m_model->get_iter(first))
        m_list.set_cursor(first);
}

void HistoryWindow::selectFirstVisit()
{
    const Gtk::TreePath first("0:0");
    if (m_model->get_iter(first))
        m_list.set_cursor(first);
}

void HistoryWindow::selectionChanged()
{
    const bool any = m_list.get_selection()->count_selected_rows() > 0;
    m_openButton.set_sensitive(any);
    m_deleteButton.set_sensitive(any);
}
