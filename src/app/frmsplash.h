#pragma once

#include <QWidget>
#include <functional>

// The splash window shown while the program starts.
class frmSplash : public QWidget
{
    Q_OBJECT
public:
    explicit frmSplash(QWidget *parent = nullptr);

    // Keeps the event loop running for `passes` pending-events passes.
    static void runPasses(int passes);

    // The splash's load: show it, wait `passes` passes, run `showMainWindow`,
    // then close the splash (unless a key press closed it already).
    static void runSequence(frmSplash *splash, int passes,
                            const std::function<void()> &showMainWindow);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
