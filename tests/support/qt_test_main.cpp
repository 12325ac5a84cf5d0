// Test entry for window tests: real widgets on the offscreen platform.
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // No test may reach the machine's own serial ports (another test program
    // running at the same time could hold one, and its report would wait for
    // an answer): every port number points at a path that does not exist
    // unless a test points it elsewhere.
    for (int n = 1; n <= 32; ++n) {
        const QByteArray name = "QVS_COM" + QByteArray::number(n);
        if (!qEnvironmentVariableIsSet(name.constData()))
            qputenv(name.constData(), "/nonexistent/qvs-test-com" + QByteArray::number(n));
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
