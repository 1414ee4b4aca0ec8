#include <gtkmm.h>

int main(int argc, char *argv[])
{
    auto app = Gtk::Application::create(argc, argv, "org.velmora.Skimlark");
    Gtk::Window window;
    window.set_title("Skimlark");
    return app->run(window);
}
