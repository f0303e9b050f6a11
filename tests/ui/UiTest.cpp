#include "UiTest.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <memory>

namespace mrv::test {

namespace {

// One application object for the whole test program, made before the first test.
class QtApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (QApplication::instance() == nullptr)
            m_app = std::make_unique<QApplication>(m_argc, m_argv);
    }
    void TearDown() override { m_app.reset(); }

private:
    int m_argc = 1;
    char m_name[9] = "ui_tests";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QApplication> m_app;
};

[[maybe_unused]] ::testing::Environment* const g_qtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

} // namespace

bool WithModal(const std::function<void()>& open, const std::function<void(QDialog&)>& act)
{
    bool seen = false;
    int tries = 0;
    auto timer = std::make_unique<QTimer>();
    timer->setInterval(10);
    QObject::connect(timer.get(), &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            if (++tries > 300)
                timer->stop(); // never came: `open` returns on its own or the test fails
            return;
        }
        timer->stop();
        seen = true;
        act(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    timer->start();
    open();
    timer->stop();
    return seen;
}

bool OnceDuringRun(const std::function<void()>& run, const std::function<bool()>& ready,
                   const std::function<void()>& act)
{
    bool done = false;
    QTimer timer;
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (done || !ready())
            return;
        done = true;
        act();
    });
    timer.start();
    run();
    timer.stop();
    return done;
}

void Press(QDialog& dialog, QDialogButtonBox::StandardButton which)
{
    auto* box = dialog.findChild<QDialogButtonBox*>();
    ASSERT_NE(box, nullptr);
    QPushButton* button = box->button(which);
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
}

} // namespace mrv::test
