#pragma once

#include <gtkmm/infobar.h>
#include <gtkmm/label.h>
#include <string>

// The bar above the page that says what keeps the engine from showing
// pages (no sandbox, a page process that keeps ending); hidden otherwise.
class ProblemBar : public Gtk::InfoBar
{
public:
    ProblemBar();

    void say(const std::string &text);

private:
    Gtk::Label m_text;
};
