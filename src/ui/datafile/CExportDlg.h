#pragma once
// File > Export Readings... and Data > Export Energy Database...: the readings as a
// spreadsheet (.xlsx) or CSV table. The user says what to export and into which file; the
// file is written on a worker (the dialog repaints, shows how far it has come, and its Stop
// gives up without leaving anything behind), under a temporary name put in place only when
// complete. A file that exists is replaced only after asking; a folder that cannot be written
// is reported with the system's reason, and nothing is written.
#include "datafile/HhuDataFile.h"
#include "datafile/Spreadsheet.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QDateEdit;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace mrv {

class CJobRunner;
class CMrvDoc;
class Prompter;

// The path the user gave, made ready to write: none (after telling why) when it is empty, a
// folder, or has an ending other than .xlsx or .csv, or when the user does not want a file that
// exists replaced. A name without any ending gets ".xlsx".
std::optional<std::string> ConfirmExportPath(std::string path, Prompter& prompter,
                                             const std::string& caption);

// What both dialogs share: the file row, the status line, Export, Stop and Close.
class CExportDlg : public QDialog {
    Q_OBJECT
public:
    ~CExportDlg() override;

    bool Running() const;
    // The file written by the last export that succeeded; empty before.
    const std::string& Written() const { return m_written; }
    // What that export wrote, for the status bar ("5500 meters written to ...").
    const std::string& Summary() const { return m_summary; }

public slots:
    // Checks the choices and the file, then exports on the worker. Ignored during a run.
    void OnExport();
    void OnBrowse();
    // During a run: asks it to stop. Otherwise closes the dialog.
    void reject() override;

protected:
    // What the export job gives back.
    struct Outcome {
        bool done = false;
        std::string failure; // shown to the user; empty when nothing is to be shown
        std::string summary; // on success
    };

    CExportDlg(CMrvDoc& doc, const QString& caption, QWidget* parent);
    // Lays out `choices` above the file row (which starts with `suggested`) and the buttons.
    void Finish(QGridLayout* choices, const std::string& suggested);

    // Before a run: a problem with the choices (shown), or none.
    virtual std::optional<std::string> CheckChoices() { return std::nullopt; }
    // The job, on the worker: writes `path`; messages through `prompter`.
    virtual std::function<Outcome(Prompter&, const SheetHooks&)>
    MakeJob(const std::string& path) = 0;

    void SetStatus(const QString& text);
    void SetFile(const std::string& path);
    std::string File() const;
    // The file field still shows what the dialog suggested (the user has not typed over it).
    bool FileIsSuggested() const;

    CMrvDoc& m_doc;

private:
    std::string m_caption;
    std::string m_suggested;
    QLineEdit* m_file = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_export = nullptr;
    QPushButton* m_stop = nullptr;
    QPushButton* m_close = nullptr;
    std::unique_ptr<CJobRunner> m_runner;
    std::string m_written;
    std::string m_summary;
};

// File > Export Readings...: the Block the view shows, or every Block of the loaded data file.
class CExportReadingsDlg final : public CExportDlg {
    Q_OBJECT
public:
    // `shownBlock` is the index of the Block the view shows (-1: none).
    CExportReadingsDlg(CMrvDoc& doc, int shownBlock, QWidget* parent = nullptr);

private:
    std::function<Outcome(Prompter&, const SheetHooks&)> MakeJob(const std::string& path) override;
    std::string SuggestedPath(bool everyBlock) const;

    int m_shownBlock;
    std::vector<BlockEntry> m_blocks;
    QRadioButton* m_shown = nullptr;
    QRadioButton* m_every = nullptr;
};

// Data > Export Energy Database...: the rows of the energy database, all or those of a date
// range and/or of some meters.
class CExportEnergyDlg final : public CExportDlg {
    Q_OBJECT
public:
    explicit CExportEnergyDlg(CMrvDoc& doc, QWidget* parent = nullptr);

public slots:
    void OnBrowseDatabase();

private:
    std::optional<std::string> CheckChoices() override;
    std::function<Outcome(Prompter&, const SheetHooks&)> MakeJob(const std::string& path) override;

    QLineEdit* m_database = nullptr;
    QCheckBox* m_fromOn = nullptr;
    QDateEdit* m_from = nullptr;
    QCheckBox* m_toOn = nullptr;
    QDateEdit* m_to = nullptr;
    QLineEdit* m_meters = nullptr;
};

} // namespace mrv
