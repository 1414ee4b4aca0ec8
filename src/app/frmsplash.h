#pragma once

#include <QWidget>

// The splash window shown while the program starts.
class frmSplash : public QWidget
{
    Q_OBJECT
public:
    explicit frmSplash(QWidget *parent = nullptr);

    // Keeps the event loop running for `passes` pending-events passes.
    static void runPasses(int passes);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
