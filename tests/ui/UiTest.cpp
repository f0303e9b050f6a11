#include "UiTest.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <vector>

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

namespace {

// The modal dialog shown now that is not among `before`: the active one, or (with no window
// active, as can happen offscreen) a visible modal one.
QDialog* ShownModalDialog(const std::vector<QPointer<QDialog>>& before)
{
    const auto isNew = [&](QDialog* d) {
        return d != nullptr && d->isVisible() && d->isModal() &&
               std::find(before.begin(), before.end(), d) == before.end();
    };
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()); isNew(dialog))
        return dialog;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<QDialog*>(w); isNew(dialog))
            return dialog;
    }
    return nullptr;
}

std::vector<QPointer<QDialog>> ShownModalDialogs()
{
    std::vector<QPointer<QDialog>> shown;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(w);
        if (dialog != nullptr && dialog->isVisible() && dialog->isModal())
            shown.emplace_back(dialog);
    }
    return shown;
}

} // namespace

bool WithModal(const std::function<void()>& open, const std::function<void(QDialog&)>& act)
{
    // Looked for as long as `open` runs, so that a dialog a loaded machine is slow to show is
    // still answered; past this a command that neither shows one nor returns fails the test.
    constexpr int kPatienceMs = 30000;
    bool seen = false;
    bool late = false;
    const std::vector<QPointer<QDialog>> before = ShownModalDialogs(); // a dialog `open` runs in
    QElapsedTimer waited;
    waited.start();
    auto timer = std::make_unique<QTimer>();
    timer->setInterval(10);
    QObject::connect(timer.get(), &QTimer::timeout, [&] {
        QDialog* dialog = ShownModalDialog(before);
        if (dialog == nullptr) {
            if (!late && waited.elapsed() > kPatienceMs) {
                late = true;
                ADD_FAILURE() << "no modal dialog appeared in " << kPatienceMs / 1000
                              << " s while the command ran";
            }
            return;
        }
        if (late) { // reported already: only let the command end
            dialog->reject();
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

InstalledTranslation::InstalledTranslation(const QString& language)
{
    if (language.isEmpty()) {
        m_loaded = true;
        return;
    }
    m_loaded = m_translator.load(":/i18n/mrv003e_" + language + ".qm");
    m_installed = m_loaded && QCoreApplication::installTranslator(&m_translator);
}

InstalledTranslation::~InstalledTranslation()
{
    if (m_installed)
        QCoreApplication::removeTranslator(&m_translator);
}

bool HasChinese(const QString& text)
{
    static const QRegularExpression han("[\\x{4e00}-\\x{9fff}]");
    return han.match(text).hasMatch();
}

} // namespace mrv::test
