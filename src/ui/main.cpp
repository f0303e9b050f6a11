// mrv003e: the program's entry.
#include "doc/QtSettingsStore.h"
#include "ui/app/CMrvApp.h"
#include "ui/app/Language.h"
#include "ui/app/ProgramIcon.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLocale>
#include <QTimer>

#include <clocale>
#include <csignal>
#include <cstdio>

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

    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Install, program and read electricity meters.\n\n"
        "FILE is an installation database (a .db file, or a server's\n"
        "postgresql://user@host:port/dbname), opened as Database > Open Database\n"
        "opens it, or a data file of a hand-held unit (.dbf), shown as View > View File\n"
        "shows it.");
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument("FILE", "The database or data file to open.", "[FILE]");
    parser.process(qapp); // --help and --version print and end the program here
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        // One window holds one installation.
        std::fputs("mrv003e: one FILE at most; see mrv003e --help\n", stderr);
        return 2;
    }

    mrv::QtSettingsStore store("halvane", "mrv003e");
    // Before the first widget: every text is translated as it is built.
    mrv::InstallTranslation(qapp, mrv::TranslationFor(mrv::StoredLanguage(store),
                                                      QLocale::system().uiLanguages()));
    mrv::CMrvApp app(store, nullptr, QApplication::applicationFilePath().toStdString());
    if (!app.InitInstance())
        return 1;
    // Opened from the event loop: the window is on the screen first, and any message about
    // the file stands in front of it.
    if (!files.isEmpty())
        QTimer::singleShot(0, &qapp, [&app, file = files.front()] { app.OpenFile(file); });
    const int rc = QApplication::exec();
    app.ExitInstance();
    store.Sync();
    return rc;
}
