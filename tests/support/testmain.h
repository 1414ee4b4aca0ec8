#pragma once

#include <QApplication>
#include <QtTest>

// QTEST_MAIN, with the shared OpenGL contexts the page engine wants set before
// the application exists.
#define SKIMLARK_TEST_MAIN(TestObject)                                                   \
    int main(int argc, char *argv[])                                                     \
    {                                                                                    \
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);                      \
        QApplication app(argc, argv);                                                    \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                         \
        TestObject tc;                                                                   \
        QTEST_SET_MAIN_SOURCE_PATH                                                       \
        return QTest::qExec(&tc, argc, argv);                                            \
    }
