#pragma once

#include <cstdint>
#include <optional>

namespace Gtk { class Entry; }

// The colours of one text field (the address bar's or the search box's).
// Without a colour of the user's the field keeps the desktop theme's own,
// dark themes included. A colour of the user's wins; when only one of the
// pair is the user's and the theme's other one would make the text hard to
// read on it, the other becomes black or white, whichever reads.
class FieldColours
{
public:
    explicit FieldColours(Gtk::Entry &field);
    ~FieldColours();
    FieldColours(const FieldColours &) = delete;
    FieldColours &operator=(const FieldColours &) = delete;

    // A colour number (red in the lowest byte).
    void setText(std::uint32_t colour);
    void setBackground(std::uint32_t colour);

    // Whether two colours read well together (a contrast of at least 3 to 1).
    static bool readable(std::uint32_t a, std::uint32_t b);

private:
    void apply();

    Gtk::Entry &m_field;
    struct _GtkCssProvider *m_provider;
    std::optional<std::uint32_t> m_text;
    std::optional<std::uint32_t> m_background;
};
