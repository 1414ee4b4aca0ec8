#include "commands/fieldcolours.h"

#include "util/colournumber.h"

#include <cmath>
#include <gtkmm/entry.h>
#include <string>

namespace {

constexpr std::uint32_t Black = 0;
constexpr std::uint32_t White = 0xFFFFFF;

double luminance(std::uint32_t colour)
{
    double sum = 0;
    const double weights[] = {0.2126, 0.7152, 0.0722};
    for (int channel = 0; channel < 3; ++channel) {
        const double c = ((colour >> (8 * channel)) & 0xFF) / 255.0;
        sum += weights[channel] * (c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
    }
    return sum;
}

std::uint32_t numberOf(const Gdk::RGBA &colour)
{
    return colournumber::fromRgba(colour) & 0xFFFFFF;
}

std::string css(const char *property, std::uint32_t colour)
{
    return std::string(" ") + property + ": " + colournumber::toRgba(colour).to_string() + ";";
}

} // namespace

FieldColours::FieldColours(Gtk::Entry &field) : m_field(field), m_provider(gtk_css_provider_new())
{
    gtk_style_context_add_provider(field.get_style_context()->gobj(), GTK_STYLE_PROVIDER(m_provider),
                                   GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
}

FieldColours::~FieldColours()
{
    g_object_unref(m_provider);
}

void FieldColours::setText(std::uint32_t colour)
{
    m_text = colour & White;
    apply();
}

void FieldColours::setBackground(std::uint32_t colour)
{
    m_background = colour & White;
    apply();
}

bool FieldColours::readable(std::uint32_t a, std::uint32_t b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05) >= 3.0;
}

void FieldColours::apply()
{
    // The theme's pair, as the field shows without colours of ours.
    gtk_css_provider_load_from_data(m_provider, "", -1, nullptr);
    auto style = m_field.get_style_context();
    G_GNUC_BEGIN_IGNORE_DEPRECATIONS
    const std::uint32_t themeText = numberOf(style->get_color(Gtk::STATE_FLAG_NORMAL));
    const std::uint32_t themeBackground = numberOf(style->get_background_color(Gtk::STATE_FLAG_NORMAL));
    G_GNUC_END_IGNORE_DEPRECATIONS
    auto partner = [](std::uint32_t colour) { return luminance(colour) > 0.18 ? Black : White; };

    std::optional<std::uint32_t> text = m_text, background = m_background;
    if (text && !background && !readable(*text, themeBackground))
        background = partner(*text);
    if (background && !text && !readable(*background, themeText))
        text = partner(*background);

    std::string rules = "entry {";
    if (text)
        rules += css("color", *text);
    if (background)
        rules += css("background-color", *background) + " background-image: none;";
    rules += " }";
    gtk_css_provider_load_from_data(m_provider, rules.c_str(), -1, nullptr);
}
