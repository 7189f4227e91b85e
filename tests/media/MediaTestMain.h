#pragma once

#include "app/JapaneseFonts.h"
#include "media/viewers/MediaStartup.h"

#include <QApplication>
#include <QTest>

// The main of a test that opens the viewers: the web engine is prepared before the
// application exists, as the program's main does.
#define MIRUNEA_MEDIA_TEST_MAIN(TestObject)                                                        \
    int main(int argc, char** argv) {                                                              \
        prepareMediaRoom();                                                                        \
        QApplication app(argc, argv);                                                              \
        mapJapaneseFonts();                                                                        \
        TestObject test;                                                                           \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
