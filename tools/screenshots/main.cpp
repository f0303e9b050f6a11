// mrv-screenshots: the pictures of the user guide. Runs the program's own window on the demo
// workspace (scripts/screenshots prepares it, starts the meter simulator and an X server) and
// drives it as a user would: each scene opens a window, fills it, and saves a picture of it.
//
//   mrv-screenshots [--lang LANG] OUTDIR [SCENE...]   (all scenes when none is named; --list
//                                                      names them; LANG zh_CN or en)
//
// A scene whose window this build does not have is reported and left out; the exit status
// is 1 when any picture is missing.
#include "datafile/HhuDataFile.h"
#include "doc/CMrvDoc.h"
#include "doc/QtSettingsStore.h"
#include "ui/app/CMainFrame.h"
#include "ui/app/CMrvApp.h"
#include "ui/app/Language.h"
#include "ui/app/ProgramIcon.h"
#include "ui/app/QtPrompter.h"
#include "ui/meterdlg/CMeterRunDlg.h"
#include "ui/view/CMrvView.h"
#include "ui/view/CRecordListCtrl.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QTableWidget>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>

#include <cstdio>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace mrv;

// Real message boxes; the file choosers answered from the scene's list (a real chooser
// would differ from machine to machine).
class ShotPrompter final : public Prompter {
public:
    QtPrompter real;
    std::deque<std::string> files;

    MsgAnswer Message(const std::string& text, const std::string& caption, MsgIcon icon,
                      MsgButtons buttons) override
    {
        return real.Message(text, caption, icon, buttons);
    }
    std::optional<std::string> ChooseOpenFile(const std::string&, const std::string&,
                                              const std::string&, const std::string&) override
    {
        return Next();
    }
    std::optional<std::string> ChooseSaveFile(const std::string&, const std::string&,
                                              const std::string&, const std::string&) override
    {
        return Next();
    }
    std::optional<std::string> ChooseFolder(const std::string&, const std::string&) override
    {
        return Next();
    }
    std::optional<std::string> AskPassword(const std::string&, const std::string&) override
    {
        return std::nullopt;
    }

private:
    std::optional<std::string> Next()
    {
        if (files.empty())
            return std::nullopt;
        std::string f = files.front();
        files.pop_front();
        return f;
    }
};

// Lets the window paint and the event loop run for `ms`.
void Settle(int ms = 250)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Waits (with the event loop running) until `done` holds, at most `ms`.
bool WaitFor(const std::function<bool()>& done, int ms = 20000)
{
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms)
            return false;
        Settle(50);
    }
    return true;
}

void Close(QWidget& w)
{
    if (auto* box = qobject_cast<QMessageBox*>(&w)) {
        if (QAbstractButton* b = box->escapeButton() ? box->escapeButton() : box->defaultButton())
            b->click();
        else if (!box->buttons().isEmpty())
            box->buttons().first()->click();
    } else if (auto* d = qobject_cast<QDialog*>(&w)) {
        d->reject();
    } else {
        w.close();
    }
}

// Runs `open`, which opens a modal window and waits in it; `inside` gets the window while it
// is up and may open further windows from it. The window is closed after `inside` unless it
// closed itself. false when no modal window came.
bool Modal(const std::function<void()>& open, const std::function<void(QWidget&)>& inside)
{
    bool seen = false;
    QWidget* before = QApplication::activeModalWidget();
    int tries = 0;
    QTimer timer;
    timer.setInterval(50);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QWidget* w = QApplication::activeModalWidget();
        if (w == nullptr || w == before || !w->isVisible()) {
            if (++tries > 200)
                timer.stop();
            return;
        }
        timer.stop();
        seen = true;
        Settle();
        inside(*w);
        if (w->isVisible())
            Close(*w);
    });
    timer.start();
    open();
    timer.stop();
    return seen;
}

template <class T> T* Child(QWidget& w, const char* name)
{
    return w.findChild<T*>(QString::fromLatin1(name));
}

// Presses a meter dialog's run button and waits until its run has ended.
void RunToEnd(QWidget& w)
{
    auto* dialog = qobject_cast<CMeterRunDlg*>(&w);
    auto* run = Child<QPushButton>(w, "run");
    if (dialog == nullptr || run == nullptr)
        return;
    // The wizards stay on the meter, its log in the picture.
    if (auto* skip = Child<QCheckBox>(w, "skip"))
        skip->setChecked(false);
    run->click();
    Settle(300);
    WaitFor([&] { return !dialog->Running(); }, 60000);
}

class Shooter {
public:
    Shooter(const QString& outDir, CMrvApp& app, ShotPrompter& prompter)
        : m_out(outDir), m_app(app), m_frame(*app.MainFrame()), m_doc(*app.Document()),
          m_prompter(prompter)
    {
    }

    struct Scene {
        const char* name;
        const char* what;
        std::function<bool(Shooter&)> run;
    };
    static const std::vector<Scene>& Scenes();

    int missing = 0;

    bool Save(QWidget& w, const char* name)
    {
        Settle();
        const QString path = m_out.filePath(QString::fromLatin1(name) + ".png");
        if (!w.grab().save(path)) {
            std::fprintf(stderr, "mrv-screenshots: cannot write %s\n", qPrintable(path));
            return false;
        }
        std::printf("%s\n", qPrintable(path));
        std::fflush(stdout);
        return true;
    }
    bool SaveModal(const std::function<void()>& open, const char* name,
                   const std::function<void(QWidget&)>& fill = {})
    {
        bool saved = false;
        const bool seen = Modal(open, [&](QWidget& w) {
            if (fill)
                fill(w);
            saved = Save(w, name);
        });
        return seen && saved;
    }
    void Trigger(const char* action) { m_frame.Action(action)->trigger(); }

    // The demo installation open in Block mode.
    bool OpenInstallation()
    {
        if (m_doc.IsDatabaseOpen())
            return true;
        m_prompter.files = {m_doc.m_dbName};
        Trigger("OpenDatabase");
        return m_doc.IsDatabaseOpen() != 0;
    }
    // The uploaded file of HHU 1 open in the view's data-file mode.
    bool OpenUpload()
    {
        if (m_doc.GetDataFile().IsLoaded()) {
            Trigger("ViewFile");
            return true;
        }
        const QString upload = UploadFile();
        if (upload.isEmpty())
            return false;
        m_prompter.files = {upload.toStdString()};
        Trigger("ViewFile");
        if (!m_doc.GetDataFile().IsLoaded())
            m_frame.View()->OnOpenDataFile();
        return m_doc.GetDataFile().IsLoaded();
    }
    void ViewButton(int id) { m_frame.View()->OnCommand(id); }
    // The main window while the transfer program runs (the workspace's stand-in takes its
    // time), its status bar saying so.
    bool WhileTransfer(const char* action, const char* name)
    {
        bool saved = false;
        QTimer::singleShot(1000, [&] { saved = Save(m_frame, name); });
        Trigger(action);
        WaitFor([&] { return saved; }, 3000);
        return saved;
    }
    QString UploadFile() const
    {
        QDirIterator it(QString::fromStdString(m_doc.m_dataPath), {"0001.dbf"}, QDir::Files,
                        QDirIterator::Subdirectories);
        return it.hasNext() ? it.next() : QString();
    }
    QDir m_out;
    CMrvApp& m_app;
    CMainFrame& m_frame;
    CMrvDoc& m_doc;
    ShotPrompter& m_prompter;
};

const std::vector<Shooter::Scene>& Shooter::Scenes()
{
    static const std::vector<Scene> scenes = {
        {"main-blocks", "the installation's Blocks and the meters of one",
         [](Shooter& s) { return s.OpenInstallation() && s.Save(s.m_frame, "main-blocks"); }},
        {"main-hhus", "the HHUs with the Blocks each reads",
         [](Shooter& s) {
             if (!s.OpenInstallation())
                 return false;
             s.Trigger("HhuSetting");
             return s.Save(s.m_frame, "main-hhus");
         }},
        {"comm-setting", "Communication > Config",
         [](Shooter& s) { return s.SaveModal([&] { s.Trigger("Config"); }, "comm-setting"); }},
        {"file-paths", "Data > File Path Setting",
         [](Shooter& s) {
             return s.SaveModal([&] { s.Trigger("FilePathSetting"); }, "file-paths");
         }},
        {"parameters", "Data > Parameter Setting",
         [](Shooter& s) {
             return s.SaveModal([&] { s.Trigger("ParameterSetting"); }, "parameters");
         }},
        {"create-download", "Data > Create Download File, HHU 1 made",
         [](Shooter& s) {
             if (!s.OpenInstallation())
                 return false;
             return s.SaveModal(
                 [&] { s.Trigger("CreateDownloadFile"); }, "create-download",
                 [&](QWidget& w) {
                     auto* list = Child<QTableWidget>(w, "hhuList");
                     if (list && list->rowCount() > 0)
                         list->selectRow(0);
                     // Create, and wait for its end on the status line.
                     auto* create = Child<QPushButton>(w, "createButton");
                     auto* status = Child<QListWidget>(w, "status");
                     if (create == nullptr || status == nullptr)
                         return;
                     create->click();
                     WaitFor([&] {
                         return status->count() > 0 &&
                                status->item(status->count() - 1)->text().contains("OK") &&
                                create->isEnabled();
                     });
                 });
         }},
        {"view-file", "View > View File: the readings of the uploaded file",
         [](Shooter& s) { return s.OpenUpload() && s.Save(s.m_frame, "view-file"); }},
        {"convert", "Data > Convert Data File: the message of a conversion",
         [](Shooter& s) {
             const QString upload = s.UploadFile();
             if (upload.isEmpty())
                 return false;
             s.m_prompter.files = {upload.toStdString()};
             bool saved = false;
             Modal([&] { s.Trigger("ConvertDataFile"); },
                   [&](QWidget& box) { saved = s.Save(box, "convert"); });
             return saved;
         }},
        {"print-preview", "File > Print Preview of the readings",
         [](Shooter& s) {
             if (!s.OpenUpload())
                 return false;
             return s.SaveModal([&] { s.Trigger("PrintPreview"); }, "print-preview",
                                [](QWidget& w) {
                                    w.resize(900, 700);
                                    Settle(500);
                                });
         }},
        {"export-readings", "File > Export Readings...: the readings for a spreadsheet",
         [](Shooter& s) {
             if (!s.OpenUpload())
                 return false;
             return s.SaveModal([&] { s.Trigger("ExportReadings"); }, "export-readings");
         }},
        {"hhu-add", "HHU Setting's Add: a new hand-held unit",
         [](Shooter& s) {
             if (!s.OpenInstallation())
                 return false;
             s.Trigger("HhuSetting");
             return s.SaveModal([&] { s.ViewButton(CMrvView::IdAdd); }, "hhu-add");
         }},
        {"block-add", "Meter Setting's Add: a new Block",
         [](Shooter& s) {
             if (!s.OpenInstallation())
                 return false;
             s.Trigger("MeterSetting");
             return s.SaveModal([&] { s.ViewButton(CMrvView::IdAdd); }, "block-add");
         }},
        {"meter-add", "Meter Setting's meter Add: meters of a Block",
         [](Shooter& s) {
             if (!s.OpenInstallation())
                 return false;
             s.Trigger("MeterSetting");
             return s.SaveModal([&] { s.ViewButton(CMrvView::IdMeterAdd); }, "meter-add");
         }},
        {"download", "Data > Download File: the transfer program at work",
         [](Shooter& s) { return s.WhileTransfer("DownloadFile", "download"); }},
        {"upload", "Data > Upload File: the transfer program at work",
         [](Shooter& s) { return s.WhileTransfer("UploadFile", "upload"); }},
        {"view-data-file", "the view's Para: the parameters of the uploaded file",
         [](Shooter& s) {
             return s.OpenUpload() &&
                    s.SaveModal([&] { s.ViewButton(CMrvView::IdPara); }, "view-data-file");
         }},
        {"data-info", "the view's Info: everything one reading holds",
         [](Shooter& s) {
             if (!s.OpenUpload())
                 return false;
             s.m_frame.View()->ListCtrl(CMrvView::IdReadings)->SelectRow(0);
             return s.SaveModal([&] { s.ViewButton(CMrvView::IdInfo); }, "data-info");
         }},
        {"input", "the view's Input: the readings stored in the energy database",
         [](Shooter& s) {
             if (!s.OpenUpload())
                 return false;
             s.m_prompter.files = {s.m_doc.m_dbEnergy.empty() ? std::string("energy.db")
                                                              : s.m_doc.m_dbEnergy};
             bool saved = false;
             Modal([&] { s.ViewButton(CMrvView::IdInput); },
                   [&](QWidget& box) { saved = s.Save(box, "input"); });
             return saved;
         }},
        {"line-check", "Communication > Line Check: the meters found on the line",
         [](Shooter& s) {
             return s.SaveModal(
                 [&] { s.Trigger("LineCheck"); }, "line-check",
                 [](QWidget& w) {
                     // One speed and parity, the first few addresses: a short scan to picture.
                     for (QCheckBox* box : w.findChildren<QCheckBox*>())
                         if (box->objectName().startsWith("baud") ||
                             box->objectName().startsWith("parity"))
                             box->setChecked(box->objectName() == "baud1200" ||
                                             box->objectName().toLower() == "parityeven");
                     if (auto* first = Child<QSpinBox>(w, "firstAddress"))
                         first->setValue(1);
                     if (auto* last = Child<QSpinBox>(w, "lastAddress"))
                         last->setValue(5);
                     auto* check = Child<QPushButton>(w, "check");
                     auto* run = qobject_cast<CMeterRunDlg*>(&w);
                     if (check == nullptr)
                         return;
                     check->click();
                     Settle(300);
                     WaitFor([&] { return run ? !run->Running() : check->isEnabled(); }, 60000);
                 });
         }},
        {"operate", "Communication > Operate: meter 1 read over the line",
         [](Shooter& s) {
             return s.SaveModal([&] { s.Trigger("Operate"); }, "operate",
                                [](QWidget& w) {
                                    if (auto* address = Child<QLineEdit>(w, "address"))
                                        address->setText("1");
                                    for (const char* op : {"R Time", "R total energy", "R Version"})
                                        if (auto* box = Child<QCheckBox>(w, op))
                                            box->setChecked(true);
                                    auto* send = Child<QPushButton>(w, "send");
                                    if (send == nullptr)
                                        return;
                                    send->click();
                                    Settle(300);
                                    WaitFor([&] { return send->isEnabled(); });
                                });
         }},
        {"port-refused", "a port that cannot be opened: the status bar says why",
         [](Shooter& s) {
             // COM1 on an adapter that is not plugged in, for this scene only.
             const std::string device = s.m_doc.ComDevice(0);
             s.m_doc.SetComDevice(0, "/dev/ttyUSB7");
             bool saved = false;
             Modal([&] { s.Trigger("Operate"); },
                   [&](QWidget& operate) {
                       auto* send = Child<QPushButton>(operate, "send");
                       if (send == nullptr)
                           return;
                       operate.hide(); // the main window's status bar is the point
                       Modal([&] { send->click(); },
                             [&](QWidget&) { saved = s.Save(s.m_frame, "port-refused"); });
                   });
             s.m_doc.SetComDevice(0, device);
             return saved;
         }},
        {"meter-test", "Communication > Meter Test: meter 1 tested on the bench",
         [](Shooter& s) {
             return s.SaveModal([&] { s.Trigger("MeterTest"); }, "meter-test",
                                [](QWidget& w) {
                                    auto* id = Child<QLineEdit>(w, "meterId");
                                    auto* test = Child<QPushButton>(w, "test");
                                    auto* run = qobject_cast<CMeterRunDlg*>(&w);
                                    if (id == nullptr || test == nullptr || run == nullptr)
                                        return;
                                    id->setText("01");
                                    test->click();
                                    Settle(300);
                                    WaitFor([&] { return !run->Running(); }, 60000);
                                });
         }},
        {"meter-setting", "the Blocks' Set: the Meter Setting wizard on a Block's meter",
         [](Shooter& s) {
             if (!s.OpenInstallation())
                 return false;
             s.Trigger("MeterSetting");
             s.m_frame.View()->ListCtrl(CMrvView::IdMeters)->SelectRow(0);
             return s.SaveModal([&] { s.ViewButton(CMrvView::IdSet); }, "meter-setting", RunToEnd);
         }},
        {"reading", "the readings' Read: the Reading wizard on an uploaded file's meter",
         [](Shooter& s) {
             if (!s.OpenUpload())
                 return false;
             s.m_frame.View()->ListCtrl(CMrvView::IdReadings)->SelectRow(0);
             return s.SaveModal([&] { s.ViewButton(CMrvView::IdRead); }, "reading", RunToEnd);
         }},
        {"read-all", "the Reading wizard's Read All: a Block read over the line, summed up",
         [](Shooter& s) {
             // A copy of the download file: none of its meters read yet.
             const QString fresh =
                 QDir(QString::fromStdString(s.m_doc.m_dataPath)).filePath("read-all.dbf");
             QFile::remove(fresh);
             if (!QFile::copy(
                     QDir(QString::fromStdString(s.m_doc.m_downloadPath)).filePath("0001.dbf"),
                     fresh))
                 return false;
             s.m_doc.GetDataFile().Close();
             s.m_prompter.files = {fresh.toStdString()};
             s.Trigger("ViewFile");
             if (!s.m_doc.GetDataFile().IsLoaded())
                 s.m_frame.View()->OnOpenDataFile();
             if (!s.m_doc.GetDataFile().IsLoaded())
                 return false;
             s.m_frame.View()->ListCtrl(CMrvView::IdReadings)->SelectRow(0);
             return s.SaveModal([&] { s.ViewButton(CMrvView::IdRead); }, "read-all",
                                [](QWidget& w) {
                                    auto* dialog = qobject_cast<CMeterRunDlg*>(&w);
                                    auto* readAll = Child<QPushButton>(w, "readAll");
                                    if (dialog == nullptr || readAll == nullptr)
                                        return;
                                    // The meters the simulator does not serve cost little.
                                    dialog->Link().SetIdleTimeout(100);
                                    readAll->click();
                                    Settle(300);
                                    WaitFor([&] { return !dialog->Running(); }, 300000);
                                    // The summary's head at the top, the last meters above it.
                                    QPlainTextEdit* log = dialog->LogEdit();
                                    log->moveCursor(QTextCursor::Start);
                                    // The words between the count and the first figure
                                    // of the summary, in the window's language.
                                    const QString summary = QCoreApplication::translate(
                                        "mrv::BlockReading",
                                        "%1 meters: %2 read now, %3 read before, %4 not read.");
                                    const qsizetype from = summary.indexOf("%1") + 2;
                                    if (log->find(
                                            summary.mid(from, summary.indexOf("%2") - from))) {
                                        QTextCursor at = log->textCursor();
                                        at.clearSelection();
                                        log->setTextCursor(at);
                                        const int line = at.block().firstLineNumber();
                                        log->verticalScrollBar()->setValue(std::max(0, line - 4));
                                    }
                                });
         }},
    };
    return scenes;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication qapp(argc, argv);
    QApplication::setOrganizationName("halvane");
    QApplication::setApplicationName("mrv003e");
    QApplication::setWindowIcon(mrv::ProgramIcon());
    QStringList args = QApplication::arguments().mid(1);
    // The pictures of a translated user guide: the window in that language.
    if (args.value(0) == "--lang") {
        const QString language = args.value(1);
        if (!mrv::InstallTranslation(qapp, language)) {
            std::fprintf(stderr, "mrv-screenshots: no translation %s\n", qPrintable(language));
            return 2;
        }
        args = args.mid(2);
    }
    if (args.value(0) == "--list") {
        for (const auto& scene : Shooter::Scenes())
            std::printf("%-16s %s\n", scene.name, scene.what);
        return 0;
    }
    if (args.isEmpty()) {
        std::fprintf(stderr, "usage: mrv-screenshots [--lang LANG] OUTDIR [SCENE...] | --list\n");
        return 2;
    }
    const QString outDir = args[0];
    QDir().mkpath(outDir);
    const QStringList wanted = args.mid(1);

    mrv::QtSettingsStore store("halvane", "mrv003e");
    ShotPrompter prompter;
    // As if started from the build's bin folder, beside the tools and convert.cfg.
    mrv::CMrvApp app(store, &prompter,
                     (QApplication::applicationDirPath() + "/mrv003e").toStdString());
    if (!app.InitInstance())
        return 1;
    prompter.real.SetParent(app.MainFrame());
    app.MainFrame()->resize(900, 600);

    // A message no scene expected (one a click brought up) would wait for ever: after half
    // a minute it is named and closed, and the scene goes on.
    QTimer watchdog;
    QWidget* lastModal = nullptr;
    int modalSeconds = 0;
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        QWidget* w = QApplication::activeModalWidget();
        modalSeconds = w != nullptr && w == lastModal ? modalSeconds + 1 : 0;
        lastModal = w;
        const auto* box = qobject_cast<QMessageBox*>(w);
        if (box == nullptr || modalSeconds < 30)
            return;
        std::fprintf(stderr, "mrv-screenshots: closing a message left open: %s\n",
                     qPrintable(box->text()));
        Close(*w);
        modalSeconds = 0;
    });
    watchdog.start(1000);

    Shooter shooter(outDir, app, prompter);
    QTimer::singleShot(300, [&] {
        for (const auto& scene : Shooter::Scenes()) {
            if (!wanted.isEmpty() && !wanted.contains(QString::fromLatin1(scene.name)))
                continue;
            if (!scene.run(shooter)) {
                std::fprintf(stderr, "mrv-screenshots: no picture of %s (%s)\n", scene.name,
                             scene.what);
                ++shooter.missing;
            }
        }
        QApplication::quit();
    });
    QApplication::exec();
    app.ExitInstance();
    return shooter.missing ? 1 : 0;
}
