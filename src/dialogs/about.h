#pragma once
// The About box: picture, program name, version `Label2`, a framed panel with the address
// of the documentation, and `atb_OK` ("ОК"), which closes it.
//
// Result of exec(): Accepted on atb_OK, Rejected on Escape or the close button; the caller
// does nothing with either.
//
// The address behaves like a link: blue and underlined while the mouse is over it, back to
// the normal look when it leaves, and a click opens it in the system's web browser
// (QDesktopServices; if no browser can be started, nothing is reported).

#include "dialogs/dialogtext.h"

#include <QDialog>
#include <QPixmap>

class QFrame;
class QLabel;
class QPushButton;

class TfmAbout : public QDialog {
    Q_OBJECT
  public:
    explicit TfmAbout(QWidget* parent = nullptr);

    struct Controls {
        QLabel* picture = nullptr;
        QLabel* titleLabel = nullptr;
        QLabel* Label2 = nullptr; // version
        QFrame* contactPanel = nullptr;
        QLabel* contactCaption = nullptr;
        QLabel* webAddress = nullptr;
        QPushButton* atb_OK = nullptr;
    } ui;

    static QString address(); // the address shown and opened
    // The program's emblem, drawn rather than loaded so the program carries no image files.
    static QPixmap drawPicture(int size);

  public slots:
    // Caption, name, version and panel texts in the chosen language (Russian when false);
    // atb_OK reads "ОК" in both.
    void setLanguage(bool english);
    // Puts the box over the table panel at the right of the main window: left edge at the
    // main window's width minus the width of Panel_Table3D (counted from the main window's
    // left), vertically centred, and kept wholly on the screen.
    void placeLeftEdge(int mainWindowWidth, int panelTable3DWidth);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void setAddressHovered(bool hovered);
};
