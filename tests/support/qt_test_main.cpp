// Test entry for window tests: real widgets on the offscreen platform.
#include "platform/FileDialogs.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace {

// A file dialog that no test answers would wait for a user who is not there
// until the time-out: it fails the test at once and is cancelled. A test that
// expects a dialog installs its own answerer.
class UnansweredFileDialogs : public ::testing::EmptyTestEventListener
{
    void OnTestStart(const ::testing::TestInfo&) override
    {
        platform::SetFileDialogAnswerer([](const platform::FileDialogRequest& request) -> std::optional<QString> {
            ADD_FAILURE() << "a file dialog that the test does not answer: \"" << request.title.toStdString() << "\"";
            return std::nullopt;
        });
    }
};

} // namespace

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
    ::testing::UnitTest::GetInstance()->listeners().Append(new UnansweredFileDialogs);
    return RUN_ALL_TESTS();
}
