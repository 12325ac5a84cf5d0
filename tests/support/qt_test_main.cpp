// Test entry for window tests: real widgets on the offscreen platform.
#include "platform/FileDialogs.h"
#include "support/ModalWatch.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// A file dialog that no test answers would wait for a user who is not there
// until the time-out: it fails the test at once and is cancelled. A test that
// expects a dialog installs its own answerer.
// Any other modal window (a dialog run with exec, a platform box) or the
// program's own box that the program waits on while no test answers it fails
// the test as well and is closed.
class UnansweredWindows : public ::testing::EmptyTestEventListener
{
    void OnTestStart(const ::testing::TestInfo&) override
    {
        platform::SetFileDialogAnswerer([](const platform::FileDialogRequest& request) -> std::optional<QString> {
            ADD_FAILURE() << "a file dialog that the test does not answer: \"" << request.title.toStdString() << "\"";
            return std::nullopt;
        });
        failed_.clear();
        watch_ = new QTimer(QCoreApplication::instance());
        QObject::connect(watch_, &QTimer::timeout, [this] { Check(); });
        watch_->start(2);
    }
    void OnTestEnd(const ::testing::TestInfo&) override { delete watch_; }

    // Runs inside whatever wait the program is in; with no wait running, a
    // window a test shows itself waits on nobody.
    void Check()
    {
        if (QThread::currentThread()->loopLevel() == 0)
            return;
        QWidgetList waiting;
        if (QWidget* modal = QApplication::activeModalWidget())
            waiting << modal;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (modalwatch::IsProgramBox(window) && window->isVisible() && window->property("ResultCode").toInt() == 0)
                waiting << window;
        for (QWidget* window : waiting) {
            if (failed_.contains(window) || modalwatch::Answered(window))
                continue;
            failed_ << window;
            ADD_FAILURE() << "a window that the test does not answer: " << window->metaObject()->className() << " \""
                          << window->windowTitle().toStdString() << '"';
            if (auto* dialog = qobject_cast<QDialog*>(window); dialog != nullptr && !modalwatch::IsProgramBox(window))
                dialog->done(QDialog::Rejected);
            else
                window->close();
        }
    }

    QTimer* watch_ = nullptr;
    QList<QPointer<QWidget>> failed_;
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
    // The program keeps its single-instance lock and socket in the user's
    // runtime folder, and the toolkit its own files: each test program has a
    // runtime folder of its own, which goes when it ends, so that no run
    // meets another's files or leaves its own behind.
    const testsupport::TempFolder runtime("test-runtime");
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime.String()));
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new UnansweredWindows);
    return RUN_ALL_TESTS();
}
