#pragma once
// A compact window for picking a table file without the system's file dialog: drive list
// `dcbox_3D_Open`, folder list `dlbox_3D_Open`, file list `flbox_3D_Open`, file type box
// `fcbox_3D_Open` (all files), `atb_3D_Open_alternetive_OK` ("ОК") and
// `atb_3D_Open_alternetive_Cancel` ("Отмена"). Fixed size 385 x 421.
//
// Result of exec():
//   Accepted: atb_3D_Open_alternetive_OK, or a file activated (double click / Enter) in the
//             file list; selectedFile() gives the chosen file (empty if none was chosen).
//   Rejected: atb_3D_Open_alternetive_Cancel, Escape or the close button; the caller
//             shows the MAF table again.

#include "dialogs/dialogtext.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

class Tfm_3D_Open : public QDialog {
    Q_OBJECT
  public:
    explicit Tfm_3D_Open(QWidget* parent = nullptr);

    struct Controls {
        QLabel* pathLabel = nullptr;
        QLabel* folderCaption = nullptr;
        QLabel* fileCaption = nullptr;
        QLabel* driveCaption = nullptr;
        QLabel* typeCaption = nullptr;
        QComboBox* dcbox_3D_Open = nullptr;
        QListWidget* dlbox_3D_Open = nullptr;
        QListWidget* flbox_3D_Open = nullptr;
        QComboBox* fcbox_3D_Open = nullptr;
        QPushButton* atb_3D_Open_alternetive_OK = nullptr;
        QPushButton* atb_3D_Open_alternetive_Cancel = nullptr;
    } ui;

    QString directory() const { return m_dir; }
    // Absolute path of the file selected in the file list; empty when none is selected.
    QString selectedFile() const;

  public slots:
    // Caption, list captions and buttons in the chosen language (Russian when false).
    void setLanguage(bool english);
    // Shows the folders and files of dir (made absolute); an unreadable or missing folder
    // leaves the lists as they were.
    void setDirectory(const QString& dir);

  private:
    void folderActivated(QListWidgetItem* item);
    void refreshFiles();

    QString m_dir;
};
