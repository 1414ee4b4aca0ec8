#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP (a desktop logout, Ctrl+C, a closed
// terminal) into an ordinary event on the user-interface thread, so the main
// window closes the way the close box closes it instead of the process dying
// mid-handler. One instance per process.
class TerminationSignal : public QObject
{
    Q_OBJECT
public:
    explicit TerminationSignal(QObject *parent = nullptr);
    ~TerminationSignal() override;

    bool isInstalled() const { return m_notifier != nullptr; }

Q_SIGNALS:
    void requested();

private:
    QSocketNotifier *m_notifier = nullptr;
};
