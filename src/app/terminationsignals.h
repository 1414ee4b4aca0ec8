#pragma once

class QWidget;

// A desktop session that ends, or `kill`, asks the program to stop with
// SIGTERM (or SIGHUP, SIGINT). The window is then closed as if the user had
// chosen Exit, so the page engine writes its cookies and storage to disk.
namespace terminationsignals {
void closeOnTermination(QWidget *window);
}
