#pragma once
// fmSuggest: the small window of the corrections from a recording. It holds their settings
// (a target per cell, the delay, the minimum samples, the limit, the deadband, the gain),
// the choice of the chart's page only, the count of samples each filter rejected, and the
// button that applies the proposals. An edit is checked against the setting's range before
// it counts: a refused one is named in the window and the previous value comes back.

#include <QWidget>

#include "analysis/corrections.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

class SuggestWindow : public QWidget {
    Q_OBJECT
public:
    explicit SuggestWindow(QWidget* parent);

    // Writes the settings into the controls (nothing is emitted).
    void showSettings(const analysis::CorrectionSettings& settings);
    const analysis::CorrectionSettings& settings() const { return m_settings; }
    // The filter counts and the summary of a computed result, in the language in force.
    void showResult(const analysis::CorrectionResult& result);
    // A line under the counts (why there is nothing to show, a refused edit); empty hides it.
    void showNote(const QString& text);
    QString note() const;

    QTableWidget* sgrid_Targets;
    QLineEdit* edSuggestDelay;
    QLineEdit* edSuggestMinHits;
    QLineEdit* edSuggestLimit;
    QLineEdit* edSuggestDeadband;
    QLineEdit* edSuggestGain;
    QCheckBox* cbSuggestPage;
    QPushButton* btnSuggestApply;
    // One line per filter (lblSuggestFilter0..), Filter's order.
    QList<QLabel*> filterLabels;
    QLabel* lblSuggestSummary;

signals:
    // A setting was changed and accepted.
    void settingsChanged();
    void pageOnlyChanged(bool pageOnly);
    void applyClicked();

private:
    struct Edit {
        QLineEdit* edit;
        const char* key; // settingFields() key
        QLabel* label;
    };
    void editFinished(const Edit& e);
    void targetEdited(int row, int column);
    void writeControls();
    void refuse(const QString& what, const QString& text);

    analysis::CorrectionSettings m_settings;
    QList<Edit> m_edits;
    QLabel* m_note;
    bool m_writing = false;
};
