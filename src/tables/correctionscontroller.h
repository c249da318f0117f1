#pragma once
// The corrections of the MAF table from a recording, on the table grid: the context actions
// actSuggest (the preview over the grid and the window fmSuggest), actApplySuggestions (the
// proposals into the table as one undo step) and actLockCells (the selected cells locked
// or unlocked for the connected module), the settings and locks kept in Corrections_A.ini.
//
// Whoever holds the recording and knows the module lends it through `source`; the
// proposals are computed again at once when a setting or a lock changes, and at most a few
// times a second when the recording grows or the chart's page moves (recordingChanged).
// Nothing goes to the module: the user writes the table as always.

#include <QObject>

#include <functional>

#include "analysis/corrections.h"
#include "analysis/correctionsfile.h"
#include "tables/gridoverlay.h"

class CorrectionsDelegate;
class QAbstractItemDelegate;
class QAction;
class QTimer;
class SuggestWindow;
class Table3DPanel;

// What a proposal reads: the archive and its rows, the sensor and the module.
struct CorrectionSource {
    analysis::ValueOf value;     // nullptr when there is no recording
    analysis::RecordingRows rows;
    analysis::SensorKind sensor = analysis::SensorKind::WidebandAfr;
    int readingColumn = analysis::column::L1;
};

class CorrectionsController : public QObject {
    Q_OBJECT
public:
    explicit CorrectionsController(Table3DPanel* panel);

    // Hooks: the recording's rows and sensor (whole or only the chart's page), the
    // identifier of the connected module (empty without one), a non-blocking error box.
    std::function<CorrectionSource(bool pageOnly)> source;
    std::function<QString()> moduleId;
    std::function<void(const QString&)> showError;

    // The settings file; read once at start (a bad file is reported and changes nothing).
    void setFilePath(const QString& path);
    void load();
    const correctionsfile::Contents& contents() const { return m_contents; }
    // Settings as fmSuggest takes them (false, nothing changed, when they do not hold
    // together): kept in the file and shown at once.
    bool setSettings(const analysis::CorrectionSettings& settings);

    // The preview over the table grid and the window; only while the MAF table is shown.
    bool startPreview();
    void endPreview();
    bool previewShown() const { return m_previewShown; }
    // The proposals into the table grid, one undo step, then the preview ends. False when
    // there is nothing to apply or a cell of the table is not a number (reported).
    bool applyProposals();
    // Locks the selected cells, or unlocks them when every one of them is locked.
    bool toggleLocks();
    analysis::CellMask locks() const;
    void setLocks(const analysis::CellMask& mask);

    // The recording changed: the preview follows within a quarter of a second.
    void recordingChanged();
    // Computes the proposals now and shows them (while the preview is shown).
    void recompute();
    const analysis::CorrectionResult& result() const { return m_result; }
    // The tool tip a cell shows in the preview (empty without samples or preview).
    QString toolTip(int c, int r) const;

    SuggestWindow* window() const { return m_window; }
    QAction* actSuggest = nullptr;
    QAction* actApplySuggestions = nullptr;
    QAction* actLockCells = nullptr;

private:
    void updateActions();
    void save();
    void settingsEdited();
    analysis::CorrectionResult compute() const;

    Table3DPanel* m_panel;
    SuggestWindow* m_window;
    CorrectionsDelegate* m_delegate;
    QTimer* m_soon;
    QString m_path;
    correctionsfile::Contents m_contents;
    analysis::CorrectionResult m_result;
    bool m_previewShown = false;
    bool m_placed = false;
    gridoverlay::Kept m_kept;
};
