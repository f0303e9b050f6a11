#pragma once
// "Create Download File": the user picks HHUs and the dialog writes one download data file for
// each into the download folder. The files are written by a worker thread with its own
// database connection, so the dialog keeps repainting and its Cancel is taken at once: the
// worker looks at the stop flag before each HHU and between meters, a cancelled file is never
// written in part, and the file it would have replaced stays as it was.
#include "datafile/HhuDataFile.h"

#include <QDialog>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace mrv {

class CJobRunner;
class CMrvDoc;
class InstallationSource;
class Prompter;

class CCreateDownloadDlg : public QDialog {
    Q_OBJECT
public:
    // Opens the worker's own connection to the installation (called on the worker thread, its
    // messages through `prompter`); null when it cannot be opened.
    using SourceFactory = std::function<std::unique_ptr<InstallationSource>(Prompter& prompter)>;

    // Without a factory the worker opens the document's installation database.
    explicit CCreateDownloadDlg(CMrvDoc& doc, QWidget* parent = nullptr,
                                SourceFactory factory = {});
    ~CCreateDownloadDlg() override;

    bool Running() const;
    // "Create " and the name of the file written ("0003.dbf", "0003S.dbf"), then "  OK!" or
    // "  Fail!", in the user's language (it is made on the worker thread).
    static QString StatusText(std::int32_t hhuId, bool stored, bool ok);

public slots:
    // Starts a run over the selected HHUs; ignored while a run is going on.
    void OnCreate();
    // During a run: stops it and closes the dialog once the worker has ended. Otherwise
    // closes the dialog.
    void reject() override;

private:
    struct Job {
        std::string folder;
        std::vector<std::int32_t> hhuIds;
        bool stored = false;
        ParameterBlock parameterBlock{};
    };
    void Work(const Job& job);
    // A line added to the status list, which scrolls to it; the earlier lines stay.
    void SetStatus(const QString& text);

    CMrvDoc& m_doc;
    SourceFactory m_factory;
    QLineEdit* m_path;
    QTableWidget* m_list;
    QCheckBox* m_administrator;
    QPushButton* m_create;
    QPushButton* m_cancel;
    QListWidget* m_status;
    std::unique_ptr<CJobRunner> m_runner;
};

} // namespace mrv
