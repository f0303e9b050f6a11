// mrv003e: the program's entry.
#include "doc/QtSettingsStore.h"
#include "ui/app/CMrvApp.h"
#include "ui/app/ProgramIcon.h"

#include <QApplication>

#include <clocale>
#include <csignal>

int main(int argc, char* argv[])
{
    // A file-size limit makes a write fail with EFBIG, which is reported like a full disk,
    // instead of ending the program with the earlier files' replacements half done.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication qapp(argc, argv);
    // Qt has set the process locale from the environment. Our own numbers never go through
    // it, but a library's printf would: keep its numbers in the C locale too.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setOrganizationName("halvane");
    QApplication::setApplicationName("mrv003e");
    QApplication::setApplicationVersion("1.2");
    QApplication::setWindowIcon(mrv::ProgramIcon());

    mrv::QtSettingsStore store("halvane", "mrv003e");
    mrv::CMrvApp app(store, nullptr, QApplication::applicationFilePath().toStdString());
    if (!app.InitInstance())
        return 1;
    const int rc = QApplication::exec();
    app.ExitInstance();
    store.Sync();
    return rc;
}
