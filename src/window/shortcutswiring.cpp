#include "window/shortcutswiring.h"

#include "window/findbar.h"
#include "window/frmbrowser.h"
#include "interfaces/pageview.h"

#include <functional>
#include <vector>

namespace {

struct Key { guint keyval; GdkModifierType modifiers; };
struct Binding { std::vector<Key> keys; std::function<void()> run; };

constexpr auto Ctrl = GDK_CONTROL_MASK;
constexpr auto Alt = GDK_MOD1_MASK;
constexpr auto None = GdkModifierType(0);

// The key runs exactly what a click on the toolbar button runs.
std::function<void()> clickButton(frmBrowser &window, const char *key)
{
    return [&window, key] {
        if (Gtk::ToolButton *button = window.toolbarButton(key))
            g_signal_emit_by_name(button->gobj(), "clicked");
    };
}

void focusField(Gtk::Entry &field)
{
    field.grab_focus();
    field.select_region(0, -1);
}

} // namespace

void wireShortcuts(frmBrowser &window)
{
    // The menu shows these keys beside its items.
    const std::pair<const char *, Key> menuKeys[] = {
        {"mnuopen", {GDK_KEY_o, Ctrl}}, {"mnusave", {GDK_KEY_s, Ctrl}}, {"mnuprint", {GDK_KEY_p, Ctrl}}};
    for (const auto &[name, key] : menuKeys) {
        if (Gtk::MenuItem *item = window.menuItem(name))
            item->add_accelerator("activate", window.accelGroup, key.keyval, Gdk::ModifierType(key.modifiers),
                                  Gtk::ACCEL_VISIBLE);
    }

    FindBar &findBar = window.keep(std::make_unique<FindBar>(window.WebBrowser1));
    window.Picture1.pack_end(findBar, false, false);
    PageView &view = window.WebBrowser1;

    auto bindings = std::make_shared<std::vector<Binding>>(std::vector<Binding>{
        {{{GDK_KEY_Left, Alt}, {GDK_KEY_KP_Left, Alt}}, clickButton(window, "back")},
        {{{GDK_KEY_Right, Alt}, {GDK_KEY_KP_Right, Alt}}, clickButton(window, "forward")},
        {{{GDK_KEY_F5, None}, {GDK_KEY_r, Ctrl}}, clickButton(window, "refresh")},
        {{{GDK_KEY_Home, Alt}}, clickButton(window, "home")},
        {{{GDK_KEY_l, Ctrl}, {GDK_KEY_d, Alt}}, [&window] { focusField(*window.Combo1.get_entry()); }},
        {{{GDK_KEY_k, Ctrl}}, [&window] { focusField(window.Text1); }},
        {{{GDK_KEY_f, Ctrl}}, [&findBar] { findBar.open(); }},
        {{{GDK_KEY_plus, Ctrl}, {GDK_KEY_equal, Ctrl}, {GDK_KEY_KP_Add, Ctrl}}, [&view] { view.zoomBy(1); }},
        {{{GDK_KEY_minus, Ctrl}, {GDK_KEY_KP_Subtract, Ctrl}}, [&view] { view.zoomBy(-1); }},
        {{{GDK_KEY_0, Ctrl}, {GDK_KEY_KP_0, Ctrl}}, [&view] { view.resetZoom(); }},
    });
    auto stop = clickButton(window, "stop");

    window.signal_key_press_event().connect([bindings, stop, &findBar](GdkEventKey *event) {
        const auto modifiers = GdkModifierType(event->state & (Ctrl | Alt));
        const guint keyval = gdk_keyval_to_lower(event->keyval);
        if (keyval == GDK_KEY_Escape && modifiers == None) {
            // Esc closes the find bar while it is being typed in, and stops
            // the page otherwise; the page still sees the key.
            if (findBar.hasFocusInside()) {
                findBar.close();
                return true;
            }
            stop();
            return false;
        }
        for (const Binding &binding : *bindings) {
            for (const Key &key : binding.keys) {
                if (key.keyval == keyval && key.modifiers == modifiers) {
                    binding.run();
                    return true;
                }
            }
        }
        return false;
    }, false);
}
